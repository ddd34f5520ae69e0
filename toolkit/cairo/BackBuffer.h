// The window's pixels in memory: dirty areas are collected, painted into a
// Cairo image surface once per idle, and then shown by the platform.
#pragma once

#include "toolkit/cairo/CairoHandles.h"
#include "toolkit/platform/DirtyArea.h"
#include "toolkit/platform/IPlatformFrame.h"

namespace VSTGUI::Cairo {

class BackBuffer
{
public:
    BackBuffer(IPlatformFrameCallback* callback, const CRect& size);

    bool isValid() const { return surface_ != nullptr; }
    bool resize(const CRect& size);
    void invalidRect(const CRect& rect);
    bool hasDirtyArea() const { return !dirty_.isEmpty(); }
    // Paints the dirty area and returns it (empty when nothing was dirty).
    CRect paint();

    cairo_surface_t* getSurface() const { return surface_.get(); }
    const CRect& getSize() const { return size_; }

private:
    IPlatformFrameCallback* callback_;
    CRect size_;
    DirtyArea dirty_;
    Surface surface_;
};

} // namespace VSTGUI::Cairo
