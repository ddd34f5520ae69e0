// A frame's window as an image in memory, for tests, screenshots and
// tools that run without a display.
#pragma once

#include "toolkit/cairo/BackBuffer.h"
#include "toolkit/platform/IPlatformFrame.h"

namespace VSTGUI {

class OffscreenFrame : public IPlatformFrame
{
public:
    OffscreenFrame(IPlatformFrameCallback* callback, const CRect& size, double scaleFactor = 1.0);

    CRect getSize() const override { return buffer_.getSize(); }
    bool setSize(const CRect& newSize, bool resizeParent) override;
    bool setScaleFactor(double scaleFactor, bool resizeParent) override;
    double getScaleFactor() const override { return buffer_.getScaleFactor(); }
    void invalidRect(const CRect& rect) override { buffer_.invalidRect(rect); }
    void processEvents() override {}
    void paint() override { buffer_.paint(); }
    bool isVisible() const override { return false; }

    bool isValid() const { return buffer_.isValid(); }
    // The image's size in pixels (the size times the scale factor).
    int getPixelWidth() const { return static_cast<int>(buffer_.getPixelSize().getWidth()); }
    int getPixelHeight() const { return static_cast<int>(buffer_.getPixelSize().getHeight()); }
    // Pixel of the last paint (in image pixels), un-premultiplied; black
    // outside the image.
    CColor getPixel(int x, int y) const;
    bool writePNG(const char* path) const;

private:
    Cairo::BackBuffer buffer_;
};

// Reads a pixel from a Cairo ARGB32 or RGB24 image surface, un-premultiplied.
CColor readSurfacePixel(void* cairoImageSurface, int x, int y);

} // namespace VSTGUI
