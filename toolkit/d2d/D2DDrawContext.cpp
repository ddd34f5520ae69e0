#include "toolkit/d2d/D2DDrawContext.h"

#include "toolkit/CBitmap.h"
#include "toolkit/d2d/D2DBitmap.h"
#include "toolkit/platform/win32/Win32Module.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace VSTGUI::D2D {

namespace {

D2D1_COLOR_F toColor(const CColor& c, float alpha)
{
    return D2D1::ColorF(c.red / 255.f, c.green / 255.f, c.blue / 255.f, c.alpha / 255.f * alpha);
}

D2D1_RECT_F toRect(const CRect& r)
{
    return D2D1::RectF(static_cast<float>(r.left), static_cast<float>(r.top),
                       static_cast<float>(r.right), static_cast<float>(r.bottom));
}

D2D1_POINT_2F toPoint(const CPoint& p, float shift = 0)
{
    return D2D1::Point2F(static_cast<float>(p.x) + shift, static_cast<float>(p.y) + shift);
}

} // namespace

struct DrawContext::TextLayout
{
    IDWriteTextLayout* layout = nullptr;
    float width = 0;
    float ascent = 0;
    float descent = 0;
    float lineBaseline = 0;
};

// Limits a drawing call to the context's clip rectangle.
class DrawContext::ClipScope
{
public:
    ClipScope(ID2D1RenderTarget* target, const CRect& clip) : target_(target)
    {
        target_->PushAxisAlignedClip(toRect(clip), D2D1_ANTIALIAS_MODE_ALIASED);
    }
    ~ClipScope() { target_->PopAxisAlignedClip(); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    ID2D1RenderTarget* target_;
};

DrawContext::DrawContext(ResourceCache& cache, const CRect& surfaceRect, double scaleFactor)
    : CDrawContext(surfaceRect, scaleFactor), cache_(cache), target_(cache.target())
{}

DrawContext::~DrawContext() = default;

ID2D1SolidColorBrush* DrawContext::brush(const CColor& color)
{
    return cache_.brush(toColor(color, globalAlpha_));
}

ID2D1StrokeStyle* DrawContext::strokeStyle()
{
    return cache_.strokeStyle(lineStyle_ == kLineOnOffDash);
}

void DrawContext::applyAntialias()
{
    target_->SetAntialiasMode(drawMode_ == kAntiAliasing ? D2D1_ANTIALIAS_MODE_PER_PRIMITIVE
                                                         : D2D1_ANTIALIAS_MODE_ALIASED);
}

float DrawContext::pixelShift() const
{
    if (drawMode_ == kAntiAliasing)
        return 0;
    return std::fmod(std::round(lineWidth_), 2.0) == 1.0 ? 0.5f : 0.0f;
}

void DrawContext::drawLine(const CPoint& start, const CPoint& end)
{
    ID2D1SolidColorBrush* stroke = brush(frameColor_);
    if (!stroke)
        return;
    ClipScope clip(target_, clipRect_);
    applyAntialias();
    const float shift = pixelShift();
    target_->DrawLine(toPoint(start, shift), toPoint(end, shift), stroke,
                      static_cast<float>(lineWidth_), strokeStyle());
}

void DrawContext::fillAndStroke(ID2D1Geometry* geometry, CDrawStyle drawStyle)
{
    if (drawStyle == kDrawFilled || drawStyle == kDrawFilledAndStroked) {
        if (ID2D1SolidColorBrush* fill = brush(fillColor_))
            target_->FillGeometry(geometry, fill);
    }
    if (drawStyle == kDrawStroked || drawStyle == kDrawFilledAndStroked) {
        if (ID2D1SolidColorBrush* stroke = brush(frameColor_))
            target_->DrawGeometry(geometry, stroke, static_cast<float>(lineWidth_), strokeStyle());
    }
}

void DrawContext::drawRect(const CRect& rect, const CDrawStyle drawStyle)
{
    ClipScope clip(target_, clipRect_);
    applyAntialias();
    if (drawStyle == kDrawFilled) {
        if (ID2D1SolidColorBrush* fill = brush(fillColor_))
            target_->FillRectangle(toRect(rect), fill);
        return;
    }
    // The stroke lies inside the rectangle, so a framed rectangle covers
    // exactly the pixels of a filled one.
    const double shift = drawMode_ == kAntiAliasing ? lineWidth_ / 2 : pixelShift();
    CRect inner = rect;
    inner.inset(shift, shift);
    if (drawStyle == kDrawFilledAndStroked) {
        if (ID2D1SolidColorBrush* fill = brush(fillColor_))
            target_->FillRectangle(toRect(inner), fill);
    }
    if (ID2D1Geometry* geometry = cache_.rectangle(toRect(inner)))
        fillAndStroke(geometry, kDrawStroked);
}

void DrawContext::drawEllipse(const CRect& rect, const CDrawStyle drawStyle)
{
    if (rect.getWidth() <= 0 || rect.getHeight() <= 0)
        return;
    ClipScope clip(target_, clipRect_);
    applyAntialias();
    const CPoint centre = rect.getCenter();
    const D2D1_ELLIPSE ellipse =
        D2D1::Ellipse(toPoint(centre), static_cast<float>(rect.getWidth() / 2),
                      static_cast<float>(rect.getHeight() / 2));
    if (ID2D1Geometry* geometry = cache_.ellipse(ellipse))
        fillAndStroke(geometry, drawStyle);
}

void DrawContext::drawPoint(const CPoint& point, const CColor& color)
{
    ID2D1SolidColorBrush* fill = brush(color);
    if (!fill)
        return;
    ClipScope clip(target_, clipRect_);
    target_->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    const float x = static_cast<float>(std::floor(point.x));
    const float y = static_cast<float>(std::floor(point.y));
    target_->FillRectangle(D2D1::RectF(x, y, x + 1, y + 1), fill);
}

bool DrawContext::layoutText(const char* string, bool antialias, TextLayout& out)
{
    const std::wstring text = widen(string);
    if (text.empty())
        return false;
    const int32_t style = font_ ? font_->getStyle() : kNormalFace;
    const float size = static_cast<float>(font_ && font_->getSize() > 0 ? font_->getSize() : 12);
    const ResourceCache::TextFormat* format =
        cache_.textFormat(font_ ? font_->getName() : "Arial", style, size);
    if (!format)
        return false;
    const ResourceCache::TextLayout* layout = cache_.textLayout(*format, text);
    if (!layout)
        return false;
    out.layout = layout->layout.get();
    out.width = layout->width;
    out.ascent = format->ascent;
    out.descent = format->descent;
    out.lineBaseline = layout->lineBaseline;
    target_->SetTextAntialiasMode(antialias ? D2D1_TEXT_ANTIALIAS_MODE_GRAYSCALE
                                            : D2D1_TEXT_ANTIALIAS_MODE_ALIASED);
    return true;
}

void DrawContext::drawString(const char* string, const CRect& rect, const CHoriTxtAlign hAlign,
                             bool antialias)
{
    drawText(string, antialias, [&](const TextLayout& text) {
        double x = rect.left;
        if (hAlign == kCenterText)
            x = rect.left + (rect.getWidth() - text.width) / 2;
        else if (hAlign == kRightText)
            x = rect.right - text.width;
        const double baseline = rect.top + (rect.getHeight() + text.ascent - text.descent) / 2;
        return D2D1::Point2F(static_cast<float>(std::round(x)),
                             static_cast<float>(std::round(baseline)));
    });
}

void DrawContext::drawString(const char* string, const CPoint& point, bool antialias)
{
    drawText(string, antialias, [&](const TextLayout&) {
        return D2D1::Point2F(static_cast<float>(point.x), static_cast<float>(point.y));
    });
}

template <class Place>
void DrawContext::drawText(const char* string, bool antialias, Place&& place)
{
    TextLayout text;
    if (!layoutText(string, antialias, text))
        return;
    ID2D1SolidColorBrush* fill = brush(fontColor_);
    if (!fill)
        return;
    const D2D1_POINT_2F baseline = place(text);
    ClipScope clip(target_, clipRect_);
    target_->DrawTextLayout(D2D1::Point2F(baseline.x, baseline.y - text.lineBaseline), text.layout,
                            fill);
}

CCoord DrawContext::getStringWidth(const char* string)
{
    TextLayout text;
    return layoutText(string, true, text) ? text.width : 0;
}

namespace {

// Writes a path's figures into a geometry sink.
bool buildPath(const CGraphicsPath& path, bool evenOdd, ID2D1GeometrySink* sink)
{
    sink->SetFillMode(evenOdd ? D2D1_FILL_MODE_ALTERNATE : D2D1_FILL_MODE_WINDING);
    bool open = false;
    auto endFigure = [&](D2D1_FIGURE_END end) {
        if (open)
            sink->EndFigure(end);
        open = false;
    };
    for (const auto& e : path.getElements()) {
        switch (e.type) {
        case CGraphicsPath::ElementType::kBeginSubpath:
            endFigure(D2D1_FIGURE_END_OPEN);
            sink->BeginFigure(toPoint(e.point), D2D1_FIGURE_BEGIN_FILLED);
            open = true;
            break;
        case CGraphicsPath::ElementType::kLine:
            // A line without a start point starts the figure there.
            if (open) {
                sink->AddLine(toPoint(e.point));
            } else {
                sink->BeginFigure(toPoint(e.point), D2D1_FIGURE_BEGIN_FILLED);
                open = true;
            }
            break;
        case CGraphicsPath::ElementType::kRect: {
            endFigure(D2D1_FIGURE_END_OPEN);
            const D2D1_RECT_F r = toRect(e.rect);
            sink->BeginFigure(D2D1::Point2F(r.left, r.top), D2D1_FIGURE_BEGIN_FILLED);
            sink->AddLine(D2D1::Point2F(r.right, r.top));
            sink->AddLine(D2D1::Point2F(r.right, r.bottom));
            sink->AddLine(D2D1::Point2F(r.left, r.bottom));
            sink->EndFigure(D2D1_FIGURE_END_CLOSED);
            break;
        }
        case CGraphicsPath::ElementType::kEllipse: {
            endFigure(D2D1_FIGURE_END_OPEN);
            if (e.rect.getWidth() <= 0 || e.rect.getHeight() <= 0)
                break;
            // Four cubic quarter arcs.
            constexpr float k = 0.5522847498f;
            const float cx = static_cast<float>(e.rect.getCenter().x);
            const float cy = static_cast<float>(e.rect.getCenter().y);
            const float rx = static_cast<float>(e.rect.getWidth() / 2);
            const float ry = static_cast<float>(e.rect.getHeight() / 2);
            sink->BeginFigure(D2D1::Point2F(cx + rx, cy), D2D1_FIGURE_BEGIN_FILLED);
            sink->AddBezier(D2D1::BezierSegment(D2D1::Point2F(cx + rx, cy + k * ry),
                                                D2D1::Point2F(cx + k * rx, cy + ry),
                                                D2D1::Point2F(cx, cy + ry)));
            sink->AddBezier(D2D1::BezierSegment(D2D1::Point2F(cx - k * rx, cy + ry),
                                                D2D1::Point2F(cx - rx, cy + k * ry),
                                                D2D1::Point2F(cx - rx, cy)));
            sink->AddBezier(D2D1::BezierSegment(D2D1::Point2F(cx - rx, cy - k * ry),
                                                D2D1::Point2F(cx - k * rx, cy - ry),
                                                D2D1::Point2F(cx, cy - ry)));
            sink->AddBezier(D2D1::BezierSegment(D2D1::Point2F(cx + k * rx, cy - ry),
                                                D2D1::Point2F(cx + rx, cy - k * ry),
                                                D2D1::Point2F(cx + rx, cy)));
            sink->EndFigure(D2D1_FIGURE_END_CLOSED);
            break;
        }
        case CGraphicsPath::ElementType::kClose:
            endFigure(D2D1_FIGURE_END_CLOSED);
            break;
        }
    }
    endFigure(D2D1_FIGURE_END_OPEN);
    return true;
}

} // namespace

ID2D1Geometry* DrawContext::geometry(const CGraphicsPath& path, bool evenOdd)
{
    // The path's elements and fill rule name the geometry completely.
    std::string key(1, evenOdd ? 'a' : 'w');
    for (const auto& e : path.getElements()) {
        appendKey(key, e.type);
        appendKey(key, e.point.x);
        appendKey(key, e.point.y);
        appendKey(key, e.rect.left);
        appendKey(key, e.rect.top);
        appendKey(key, e.rect.right);
        appendKey(key, e.rect.bottom);
    }
    return cache_.path(std::move(key),
                       [&](ID2D1GeometrySink* sink) { return buildPath(path, evenOdd, sink); });
}

void DrawContext::drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode)
{
    ID2D1Geometry* shape = path ? geometry(*path, mode == kPathFilledEvenOdd) : nullptr;
    if (!shape)
        return;
    ClipScope clip(target_, clipRect_);
    applyAntialias();
    fillAndStroke(shape, mode == kPathStroked ? kDrawStroked : kDrawFilled);
}

void DrawContext::fillLinearGradient(CGraphicsPath* path, const CGradient& gradient,
                                     const CPoint& startPoint, const CPoint& endPoint, bool evenOdd)
{
    ID2D1Geometry* shape =
        path && !gradient.getColorStops().empty() ? geometry(*path, evenOdd) : nullptr;
    if (!shape)
        return;
    std::vector<D2D1_GRADIENT_STOP> stops;
    for (const auto& stop : gradient.getColorStops())
        stops.push_back(
            D2D1::GradientStop(static_cast<float>(stop.start), toColor(stop.color, globalAlpha_)));
    ID2D1LinearGradientBrush* fill = cache_.linearGradient(
        stops.data(), static_cast<uint32_t>(stops.size()), toPoint(startPoint), toPoint(endPoint));
    if (!fill)
        return;
    ClipScope clip(target_, clipRect_);
    applyAntialias();
    target_->FillGeometry(shape, fill);
}

void DrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
    double bitmapScale = 1.0;
    auto* platform = bitmap ? dynamic_cast<Bitmap*>(bitmap->getBestPlatformBitmapForScaleFactor(
                                  scaleFactor_, &bitmapScale))
                            : nullptr;
    if (!platform)
        return;
    // The part of the picture that lands in dest, within the picture, in
    // unscaled units.
    CRect source(offset.x, offset.y, offset.x + dest.getWidth(), offset.y + dest.getHeight());
    source.bound(
        CRect(0, 0, platform->getWidth() / bitmapScale, platform->getHeight() / bitmapScale));
    if (source.isEmpty())
        return;
    CRect target(dest.left + (source.left - offset.x), dest.top + (source.top - offset.y), 0, 0);
    target.setWidth(source.getWidth()).setHeight(source.getHeight());
    ClipScope clip(target_, clipRect_);
    const float opacity = alpha * globalAlpha_;
    // A picture drawn at the window's own scale keeps its exact pixels; one
    // drawn at another scale is resampled smoothly.
    const D2D1_BITMAP_INTERPOLATION_MODE interpolation =
        bitmapScale == scaleFactor_ ? D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR
                                    : D2D1_BITMAP_INTERPOLATION_MODE_LINEAR;
    if (ID2D1Bitmap* image = cache_.bitmap(*platform)) {
        const D2D1_RECT_F sourceRect =
            toRect(CRect(source.left * bitmapScale, source.top * bitmapScale,
                         source.right * bitmapScale, source.bottom * bitmapScale));
        target_->DrawBitmap(image, toRect(target), opacity, interpolation, &sourceRect);
        return;
    }
    // A picture larger than the device takes: only the rows drawn go to the
    // device, for this call.
    const int width = platform->getWidth();
    const int top = static_cast<int>(std::floor(source.top * bitmapScale));
    const int bottom =
        std::min(platform->getHeight(), static_cast<int>(std::ceil(source.bottom * bitmapScale)));
    ComRef<ID2D1Bitmap> image;
    const D2D1_BITMAP_PROPERTIES properties = D2D1::BitmapProperties(
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
    if (!make(image, [&](ID2D1Bitmap** out) {
            return target_->CreateBitmap(
                D2D1::SizeU(static_cast<UINT32>(width), static_cast<UINT32>(bottom - top)),
                platform->getPixels() + static_cast<size_t>(top) * static_cast<size_t>(width),
                static_cast<UINT32>(width) * 4, properties, out);
        }))
        return;
    const D2D1_RECT_F sourceRect =
        toRect(CRect(source.left * bitmapScale, source.top * bitmapScale - top,
                     source.right * bitmapScale, source.bottom * bitmapScale - top));
    target_->DrawBitmap(image.get(), toRect(target), opacity, interpolation, &sourceRect);
}

} // namespace VSTGUI::D2D
