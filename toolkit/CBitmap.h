// A picture loaded from the binary's resources by name (PNG), with an
// optional second drawing at twice the size ("gui@2x.png" beside
// "gui.png") for windows at a scale factor above 1. A picture that cannot
// be found or decoded has size 0 and draws nothing.
#pragma once

#include "toolkit/CBaseObject.h"
#include "toolkit/CGraphics.h"
#include "toolkit/CResources.h"

#include <memory>
#include <string>

namespace VSTGUI {

class CDrawContext;

// Decoded pixels in the drawing backend's own form.
class IPlatformBitmap
{
public:
    virtual ~IPlatformBitmap() = default;
    virtual int32_t getWidth() const = 0;
    virtual int32_t getHeight() const = 0;
};

// Backend factory: decodes PNG bytes; null on failure.
std::unique_ptr<IPlatformBitmap> createPlatformBitmapFromPNG(const uint8_t* data, size_t size);

// The resource name of a picture's 2x drawing: "@2x" before the extension.
std::string doubleSizeResourceName(const char* name);

class CBitmap : public CBaseObject
{
public:
    explicit CBitmap(const CResourceDescription& desc);
    ~CBitmap() override;

    // The size in unscaled coordinates (the 1x picture's pixels).
    CCoord getWidth() const { return width_; }
    CCoord getHeight() const { return height_; }
    bool isLoaded() const { return platformBitmap_ != nullptr || hasDoubleSize(); }

    // Draws the part of the picture starting at offset into rect.
    virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0),
                      float alpha = 1.f);

    // The 1x picture.
    IPlatformBitmap* getPlatformBitmap() const { return platformBitmap_.get(); }
    // The drawing closest to a context's scale factor (the 2x one from a
    // factor of 1.5 up, where it exists), and its own factor in
    // *bitmapScale. Window thread: the 2x picture is decoded on first use.
    IPlatformBitmap* getBestPlatformBitmapForScaleFactor(double scaleFactor,
                                                         double* bitmapScale = nullptr) const;

private:
    bool hasDoubleSize() const;

    std::string doubleSizeName_;
    std::unique_ptr<IPlatformBitmap> platformBitmap_;
    mutable std::unique_ptr<IPlatformBitmap> doubleSize_;
    mutable bool doubleSizeTried_ = false;
    CCoord width_ = 0;
    CCoord height_ = 0;
};

} // namespace VSTGUI
