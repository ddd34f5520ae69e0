// The window's pixels in memory: dirty areas are collected, painted into a
// Cairo image surface once per idle, and then shown by the platform. The
// buffer holds size times the scale factor pixels; the views draw into it
// in unscaled coordinates.
#pragma once

#include "toolkit/cairo/CairoHandles.h"
#include "toolkit/platform/DirtyArea.h"
#include "toolkit/platform/IPlatformFrame.h"

namespace VSTGUI::Cairo {

class BackBuffer
{
public:
    BackBuffer(IPlatformFrameCallback* callback, const CRect& size, double scaleFactor = 1.0);

    bool isValid() const { return surface_ != nullptr; }
    // A new size (unscaled) or scale factor; the whole buffer is then dirty.
    bool resize(const CRect& size, double scaleFactor);
    bool resize(const CRect& size) { return resize(size, scaleFactor_); }
    // An area in unscaled coordinates.
    void invalidRect(const CRect& rect);
    // An area in window pixels (an expose event).
    void invalidPixels(const CRect& pixels);
    bool hasDirtyArea() const { return !dirty_.isEmpty(); }
    // Paints the dirty area and returns it in window pixels (empty when
    // nothing was dirty).
    CRect paint();

    cairo_surface_t* getSurface() const { return surface_.get(); }
    const CRect& getSize() const { return size_; }
    // The buffer's size in window pixels.
    const CRect& getPixelSize() const { return pixelSize_; }
    double getScaleFactor() const { return scaleFactor_; }

private:
    IPlatformFrameCallback* callback_;
    CRect size_;
    CRect pixelSize_;
    double scaleFactor_;
    DirtyArea dirty_;
    Surface surface_;
};

} // namespace VSTGUI::Cairo
