#include "toolkit/platform/offscreen/OffscreenFrame.h"

#include <cstring>

namespace VSTGUI {

OffscreenFrame::OffscreenFrame(IPlatformFrameCallback* callback, const CRect& size,
                               double scaleFactor)
    : buffer_(callback, size, scaleFactor)
{}

bool OffscreenFrame::setSize(const CRect& newSize, bool)
{
    return buffer_.resize(newSize);
}

bool OffscreenFrame::setScaleFactor(double scaleFactor, bool)
{
    return buffer_.resize(buffer_.getSize(), scaleFactor);
}

CColor OffscreenFrame::getPixel(int x, int y) const
{
    return readSurfacePixel(buffer_.getSurface(), x, y);
}

bool OffscreenFrame::writePNG(const char* path) const
{
    return path && buffer_.getSurface() &&
           cairo_surface_write_to_png(buffer_.getSurface(), path) == CAIRO_STATUS_SUCCESS;
}

CColor readSurfacePixel(void* cairoImageSurface, int x, int y)
{
    auto* surface = static_cast<cairo_surface_t*>(cairoImageSurface);
    if (!surface)
        return kBlackCColor;
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24)
        return kBlackCColor;
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    if (x < 0 || y < 0 || x >= w || y >= h)
        return kBlackCColor;
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t argb;
    std::memcpy(&argb, row + 4 * x, 4);
    const uint32_t a = format == CAIRO_FORMAT_RGB24 ? 255 : argb >> 24;
    auto channel = [a](uint32_t v) -> uint8_t {
        return a == 0 ? 0 : static_cast<uint8_t>((v * 255 + a / 2) / a);
    };
    return CColor{channel((argb >> 16) & 0xff), channel((argb >> 8) & 0xff), channel(argb & 0xff),
                  static_cast<uint8_t>(a)};
}

std::unique_ptr<IPlatformFrame> createOffscreenFrame(IPlatformFrameCallback* callback,
                                                     const CRect& size, double scaleFactor)
{
    auto frame = std::make_unique<OffscreenFrame>(callback, size, scaleFactor);
    if (!frame->isValid())
        return nullptr;
    return frame;
}

} // namespace VSTGUI
