#include "toolkit/cairo/BackBuffer.h"

#include "toolkit/cairo/CairoDrawContext.h"

#include <cmath>

namespace VSTGUI::Cairo {

namespace {

constexpr int kMaxSide = 16384;

Surface makeSurface(const CRect& size)
{
    const double w = size.getWidth();
    const double h = size.getHeight();
    if (!(w >= 1 && h >= 1 && w <= kMaxSide && h <= kMaxSide))
        return nullptr;
    return checked(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w), static_cast<int>(h)));
}

} // namespace

BackBuffer::BackBuffer(IPlatformFrameCallback* callback, const CRect& size)
    : callback_(callback), size_(size), surface_(makeSurface(size))
{
}

bool BackBuffer::resize(const CRect& size)
{
    Surface surface = makeSurface(size);
    if (!surface)
        return false;
    surface_ = std::move(surface);
    size_ = size;
    dirty_ = CRect(0, 0, size.getWidth(), size.getHeight());
    return true;
}

void BackBuffer::invalidRect(const CRect& rect)
{
    CRect r(std::floor(rect.left), std::floor(rect.top), std::ceil(rect.right), std::ceil(rect.bottom));
    r.bound(CRect(0, 0, size_.getWidth(), size_.getHeight()));
    if (!r.isEmpty())
        dirty_.unite(r);
}

CRect BackBuffer::paint()
{
    CRect area = dirty_;
    dirty_ = CRect();
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
