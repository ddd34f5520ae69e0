// The window's pixels in memory on Windows: dirty areas are collected and
// painted once per idle into a 32-bit DIB section through a Direct2D DC
// render target; the platform copies the DIB to the window. (A Direct2D
// HWND render target stays black in child windows under Wine.)
#pragma once

#include "toolkit/d2d/ComRef.h"
#include "toolkit/d2d/D2DResourceCache.h"
#include "toolkit/platform/DirtyArea.h"
#include "toolkit/platform/IPlatformFrame.h"

#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>

#include <memory>

namespace VSTGUI::D2D {

class BackBuffer
{
public:
    // size in unscaled units; the DIB holds size times the scale factor.
    BackBuffer(IPlatformFrameCallback* callback, const CRect& size, double scaleFactor = 1.0);
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    bool isValid() const { return bits_ != nullptr && target_; }
    bool resize(const CRect& size) { return resize(size, scaleFactor_); }
    bool resize(const CRect& size, double scaleFactor);
    // An area in unscaled units.
    void invalidRect(const CRect& rect);
    bool hasDirtyArea() const { return !dirty_.isEmpty(); }
    // Paints the dirty area and returns it in pixels (empty when nothing
    // was dirty).
    CRect paint();

    const CRect& getSize() const { return size_; }
    const CRect& getPixelSize() const { return pixelSize_; }
    double getScaleFactor() const { return scaleFactor_; }
    // Memory device context that holds the pixels, for copying to a window.
    HDC getDC() const { return dc_; }

private:
    bool create(const CRect& size, double scaleFactor);
    void release();

    IPlatformFrameCallback* callback_;
    CRect size_;
    CRect pixelSize_;
    double scaleFactor_ = 1.0;
    DirtyArea dirty_;
    ComRef<ID2D1Factory> factory_;
    ComRef<IDWriteFactory> writeFactory_;
    ComRef<ID2D1DCRenderTarget> target_;
    // What paints draw with; lives and dies with target_.
    std::unique_ptr<ResourceCache> cache_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    void* bits_ = nullptr;
};

} // namespace VSTGUI::D2D
