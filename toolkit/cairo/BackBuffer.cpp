#include "toolkit/cairo/BackBuffer.h"

#include "toolkit/cairo/CairoDrawContext.h"

namespace VSTGUI::Cairo {

namespace {

constexpr int kMaxSide = 16384;

Surface makeSurface(const CRect& size)
{
    const double w = size.getWidth();
    const double h = size.getHeight();
    if (!(w >= 1 && h >= 1 && w <= kMaxSide && h <= kMaxSide))
        return nullptr;
    return checked(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w), static_cast<int>(h)));
}

} // namespace

BackBuffer::BackBuffer(IPlatformFrameCallback* callback, const CRect& size)
    : callback_(callback), size_(size), surface_(makeSurface(size))
{}

bool BackBuffer::resize(const CRect& size)
{
    Surface surface = makeSurface(size);
    if (!surface)
        return false;
    surface_ = std::move(surface);
    size_ = size;
    dirty_.setAll(size);
    return true;
}

void BackBuffer::invalidRect(const CRect& rect)
{
    dirty_.add(rect, size_);
}

CRect BackBuffer::paint()
{
    const CRect area = dirty_.take();
    if (!surface_ || area.isEmpty())
        return {};
    {
        DrawContext context(surface_.get());
        context.setClipRect(area);
        // Opaque black under everything, so transparent views never show
        // stale pixels.
        context.setFillColor(kBlackCColor);
        context.drawRect(area, kDrawFilled);
        callback_->platformDrawRect(&context, area);
    }
    cairo_surface_flush(surface_.get());
    return area;
}

} // namespace VSTGUI::Cairo
