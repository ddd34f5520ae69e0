// A picture loaded from the binary's resources by name (PNG). A picture
// that cannot be found or decoded has size 0 and draws nothing.
#pragma once

#include "toolkit/CBaseObject.h"
#include "toolkit/CGraphics.h"
#include "toolkit/CResources.h"

#include <memory>

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

class CBitmap : public CBaseObject
{
public:
    explicit CBitmap(const CResourceDescription& desc);
    ~CBitmap() override;

    CCoord getWidth() const { return platformBitmap_ ? platformBitmap_->getWidth() : 0; }
    CCoord getHeight() const { return platformBitmap_ ? platformBitmap_->getHeight() : 0; }
    bool isLoaded() const { return platformBitmap_ != nullptr; }

    // Draws the part of the picture starting at offset into rect.
    virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0),
                      float alpha = 1.f);

    IPlatformBitmap* getPlatformBitmap() const { return platformBitmap_.get(); }

private:
    std::unique_ptr<IPlatformBitmap> platformBitmap_;
};

} // namespace VSTGUI
