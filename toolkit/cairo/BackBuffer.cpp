#include "toolkit/cairo/BackBuffer.h"

#include "toolkit/ScaleFactor.h"
#include "toolkit/cairo/CairoDrawContext.h"

namespace VSTGUI::Cairo {

namespace {

constexpr int kMaxSide = 16384;

CRect pixelRect(const CRect& size, double scaleFactor)
{
    return CRect(0, 0, scaledPixels(size.getWidth(), scaleFactor),
                 scaledPixels(size.getHeight(), scaleFactor));
}

Surface makeSurface(const CRect& pixels)
{
    const double w = pixels.getWidth();
    const double h = pixels.getHeight();
    if (!(w >= 1 && h >= 1 && w <= kMaxSide && h <= kMaxSide))
        return nullptr;
    return checked(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w), static_cast<int>(h)));
}

} // namespace

BackBuffer::BackBuffer(IPlatformFrameCallback* callback, const CRect& size, double scaleFactor)
    : callback_(callback), size_(size), scaleFactor_(clampScaleFactor(scaleFactor))
{
    pixelSize_ = pixelRect(size_, scaleFactor_);
    surface_ = makeSurface(pixelSize_);
}

bool BackBuffer::resize(const CRect& size, double scaleFactor)
{
    scaleFactor = clampScaleFactor(scaleFactor);
    const CRect pixels = pixelRect(size, scaleFactor);
    Surface surface = makeSurface(pixels);
    if (!surface)
        return false;
    surface_ = std::move(surface);
    size_ = size;
    pixelSize_ = pixels;
    scaleFactor_ = scaleFactor;
    dirty_.setAll(pixelSize_);
    return true;
}

void BackBuffer::invalidRect(const CRect& rect)
{
    dirty_.add(scaleRectOut(rect, scaleFactor_), pixelSize_);
}

void BackBuffer::invalidPixels(const CRect& pixels)
{
    dirty_.add(pixels, pixelSize_);
}

CRect BackBuffer::paint()
{
    const CRect area = dirty_.take();
    if (!surface_ || area.isEmpty())
        return {};
    {
        DrawContext context(surface_.get(), scaleFactor_);
        // The views draw whole unscaled units; the window pixels they cover
        // around the dirty area are repainted alike.
        const CRect units = unscaleRectOut(area, scaleFactor_);
        context.setClipRect(units);
        // Opaque black under everything, so transparent views never show
        // stale pixels.
        context.setFillColor(kBlackCColor);
        context.drawRect(units, kDrawFilled);
        callback_->platformDrawRect(&context, units);
    }
    cairo_surface_flush(surface_.get());
    return area;
}

} // namespace VSTGUI::Cairo
