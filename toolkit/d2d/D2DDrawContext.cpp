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

// Faces with the same metrics, for systems without the requested family
// (Wine, a stripped-down Windows).
struct Substitute
{
    const wchar_t* family;
    const wchar_t* alternatives[2];
};
constexpr Substitute kSubstitutes[] = {
    {L"Arial", {L"Liberation Sans", L"Arimo"}},
    {L"Times New Roman", {L"Liberation Serif", L"Tinos"}},
    {L"Courier New", {L"Liberation Mono", L"Cousine"}},
};

// The font of the system collection that text in `name` is drawn with.
bool findFont(IDWriteFactory* factory, const char* name, DWRITE_FONT_WEIGHT weight,
              DWRITE_FONT_STYLE style, std::wstring& family, ComRef<IDWriteFont>& font)
{
    ComRef<IDWriteFontCollection> collection;
    if (!make(collection, [&](IDWriteFontCollection** out) {
            return factory->GetSystemFontCollection(out, FALSE);
        }))
        return false;
    auto lookup = [&](const wchar_t* candidate, UINT32& index) {
        BOOL exists = FALSE;
        return SUCCEEDED(collection->FindFamilyName(candidate, &index, &exists)) && exists;
    };
    UINT32 index = 0;
    family = widen(name);
    bool found = !family.empty() && lookup(family.c_str(), index);
    for (const Substitute& s : kSubstitutes) {
        if (found || _wcsicmp(s.family, family.c_str()) != 0)
            continue;
        for (const wchar_t* alternative : s.alternatives) {
            if (alternative && lookup(alternative, index)) {
                family = alternative;
                found = true;
                break;
            }
        }
    }
    if (!found) {
        if (collection->GetFontFamilyCount() == 0)
            return false;
        index = 0;
    }
    ComRef<IDWriteFontFamily> fontFamily;
    if (!make(fontFamily,
              [&](IDWriteFontFamily** out) { return collection->GetFontFamily(index, out); }))
        return false;
    if (!found) {
        ComRef<IDWriteLocalizedStrings> names;
        if (!make(names,
                  [&](IDWriteLocalizedStrings** out) { return fontFamily->GetFamilyNames(out); }))
            return false;
        wchar_t buffer[128] = {};
        if (FAILED(names->GetString(0, buffer, 128)))
            return false;
        family = buffer;
    }
    return make(font, [&](IDWriteFont** out) {
        return fontFamily->GetFirstMatchingFont(weight, DWRITE_FONT_STRETCH_NORMAL, style, out);
    });
}

} // namespace

struct DrawContext::TextLayout
{
    ComRef<IDWriteTextLayout> layout;
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

DrawContext::DrawContext(ID2D1RenderTarget* target, ID2D1Factory* factory,
                         IDWriteFactory* writeFactory, const CRect& surfaceRect, double scaleFactor)
    : CDrawContext(surfaceRect, scaleFactor),
      target_(target),
      factory_(factory),
      writeFactory_(writeFactory)
{}

DrawContext::~DrawContext() = default;

bool DrawContext::makeBrush(const CColor& color, ComRef<ID2D1SolidColorBrush>& brush)
{
    return make(brush, [&](ID2D1SolidColorBrush** out) {
        return target_->CreateSolidColorBrush(toColor(color, globalAlpha_), out);
    });
}

ID2D1StrokeStyle* DrawContext::strokeStyle()
{
    const bool dashed = lineStyle_ == kLineOnOffDash;
    ComRef<ID2D1StrokeStyle>& style = dashed ? dashedStroke_ : solidStroke_;
    if (!style) {
        // Dashes as long as the line is wide with butt caps; solid lines with
        // square caps, as the Linux backend draws them.
        const D2D1_CAP_STYLE cap = dashed ? D2D1_CAP_STYLE_FLAT : D2D1_CAP_STYLE_SQUARE;
        const D2D1_STROKE_STYLE_PROPERTIES properties = D2D1::StrokeStyleProperties(
            cap, cap, D2D1_CAP_STYLE_FLAT, D2D1_LINE_JOIN_MITER, 10.f,
            dashed ? D2D1_DASH_STYLE_CUSTOM : D2D1_DASH_STYLE_SOLID, 0.f);
        const float dashes[] = {1.f, 1.f};
        make(style, [&](ID2D1StrokeStyle** out) {
            return factory_->CreateStrokeStyle(properties, dashed ? dashes : nullptr,
                                               dashed ? 2 : 0, out);
        });
    }
    return style.get();
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
    ComRef<ID2D1SolidColorBrush> brush;
    if (!makeBrush(frameColor_, brush))
        return;
    ClipScope clip(target_, clipRect_);
    applyAntialias();
    const float shift = pixelShift();
    target_->DrawLine(toPoint(start, shift), toPoint(end, shift), brush.get(),
                      static_cast<float>(lineWidth_), strokeStyle());
}

void DrawContext::fillAndStroke(ID2D1Geometry* geometry, CDrawStyle drawStyle)
{
    if (drawStyle == kDrawFilled || drawStyle == kDrawFilledAndStroked) {
        ComRef<ID2D1SolidColorBrush> brush;
        if (makeBrush(fillColor_, brush))
            target_->FillGeometry(geometry, brush.get());
    }
    if (drawStyle == kDrawStroked || drawStyle == kDrawFilledAndStroked) {
        ComRef<ID2D1SolidColorBrush> brush;
        if (makeBrush(frameColor_, brush))
            target_->DrawGeometry(geometry, brush.get(), static_cast<float>(lineWidth_),
                                  strokeStyle());
    }
}

void DrawContext::drawRect(const CRect& rect, const CDrawStyle drawStyle)
{
    ClipScope clip(target_, clipRect_);
    applyAntialias();
    if (drawStyle == kDrawFilled) {
        ComRef<ID2D1SolidColorBrush> brush;
        if (makeBrush(fillColor_, brush))
            target_->FillRectangle(toRect(rect), brush.get());
        return;
    }
    // The stroke lies inside the rectangle, so a framed rectangle covers
    // exactly the pixels of a filled one.
    const double shift = drawMode_ == kAntiAliasing ? lineWidth_ / 2 : pixelShift();
    CRect inner = rect;
    inner.inset(shift, shift);
    ComRef<ID2D1RectangleGeometry> geometry;
    if (drawStyle == kDrawFilledAndStroked) {
        ComRef<ID2D1SolidColorBrush> brush;
        if (makeBrush(fillColor_, brush))
            target_->FillRectangle(toRect(inner), brush.get());
    }
    if (make(geometry, [&](ID2D1RectangleGeometry** out) {
            return factory_->CreateRectangleGeometry(toRect(inner), out);
        }))
        fillAndStroke(geometry.get(), kDrawStroked);
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
    ComRef<ID2D1EllipseGeometry> geometry;
    if (make(geometry, [&](ID2D1EllipseGeometry** out) {
            return factory_->CreateEllipseGeometry(ellipse, out);
        }))
        fillAndStroke(geometry.get(), drawStyle);
}

void DrawContext::drawPoint(const CPoint& point, const CColor& color)
{
    ComRef<ID2D1SolidColorBrush> brush;
    if (!makeBrush(color, brush))
        return;
    ClipScope clip(target_, clipRect_);
    target_->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    const float x = static_cast<float>(std::floor(point.x));
    const float y = static_cast<float>(std::floor(point.y));
    target_->FillRectangle(D2D1::RectF(x, y, x + 1, y + 1), brush.get());
}

bool DrawContext::layoutText(const char* string, bool antialias, TextLayout& out)
{
    const std::wstring text = widen(string);
    if (text.empty())
        return false;
    const int32_t style = font_ ? font_->getStyle() : kNormalFace;
    const DWRITE_FONT_WEIGHT weight =
        (style & kBoldFace) ? DWRITE_FONT_WEIGHT_BOLD : DWRITE_FONT_WEIGHT_NORMAL;
    const DWRITE_FONT_STYLE slant =
        (style & kItalicFace) ? DWRITE_FONT_STYLE_ITALIC : DWRITE_FONT_STYLE_NORMAL;
    const float size = static_cast<float>(font_ && font_->getSize() > 0 ? font_->getSize() : 12);
    std::wstring family;
    ComRef<IDWriteFont> font;
    if (!findFont(writeFactory_, font_ ? font_->getName() : "Arial", weight, slant, family, font))
        return false;
    DWRITE_FONT_METRICS metrics{};
    font->GetMetrics(&metrics);
    const float unitsPerEm = metrics.designUnitsPerEm > 0 ? metrics.designUnitsPerEm : 2048.f;
    out.ascent = metrics.ascent * size / unitsPerEm;
    out.descent = metrics.descent * size / unitsPerEm;

    ComRef<IDWriteTextFormat> format;
    if (!make(format, [&](IDWriteTextFormat** f) {
            return writeFactory_->CreateTextFormat(family.c_str(), nullptr, weight, slant,
                                                   DWRITE_FONT_STRETCH_NORMAL, size, L"", f);
        }))
        return false;
    format->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    if (!make(out.layout, [&](IDWriteTextLayout** l) {
            return writeFactory_->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()),
                                                   format.get(), 1e5f, 1e5f, l);
        }))
        return false;
    DWRITE_TEXT_METRICS textMetrics{};
    if (FAILED(out.layout->GetMetrics(&textMetrics)))
        return false;
    out.width = textMetrics.widthIncludingTrailingWhitespace;
    DWRITE_LINE_METRICS line{};
    UINT32 lines = 0;
    out.lineBaseline = SUCCEEDED(out.layout->GetLineMetrics(&line, 1, &lines)) && lines > 0
                           ? line.baseline
                           : out.ascent;
    target_->SetTextAntialiasMode(antialias ? D2D1_TEXT_ANTIALIAS_MODE_GRAYSCALE
                                            : D2D1_TEXT_ANTIALIAS_MODE_ALIASED);
    return true;
}

void DrawContext::drawString(const char* string, const CRect& rect, const CHoriTxtAlign hAlign,
                             bool antialias)
{
    TextLayout text;
    if (!layoutText(string, antialias, text))
        return;
    ComRef<ID2D1SolidColorBrush> brush;
    if (!makeBrush(fontColor_, brush))
        return;
    double x = rect.left;
    if (hAlign == kCenterText)
        x = rect.left + (rect.getWidth() - text.width) / 2;
    else if (hAlign == kRightText)
        x = rect.right - text.width;
    const double baseline = rect.top + (rect.getHeight() + text.ascent - text.descent) / 2;
    ClipScope clip(target_, clipRect_);
    target_->DrawTextLayout(
        D2D1::Point2F(static_cast<float>(std::round(x)),
                      static_cast<float>(std::round(baseline)) - text.lineBaseline),
        text.layout.get(), brush.get());
}

void DrawContext::drawString(const char* string, const CPoint& point, bool antialias)
{
    TextLayout text;
    if (!layoutText(string, antialias, text))
        return;
    ComRef<ID2D1SolidColorBrush> brush;
    if (!makeBrush(fontColor_, brush))
        return;
    ClipScope clip(target_, clipRect_);
    target_->DrawTextLayout(
        D2D1::Point2F(static_cast<float>(point.x), static_cast<float>(point.y) - text.lineBaseline),
        text.layout.get(), brush.get());
}

CCoord DrawContext::getStringWidth(const char* string)
{
    TextLayout text;
    return layoutText(string, true, text) ? text.width : 0;
}

bool DrawContext::makeGeometry(const CGraphicsPath& path, bool evenOdd,
                               ComRef<ID2D1PathGeometry>& geometry)
{
    if (!make(geometry, [&](ID2D1PathGeometry** out) { return factory_->CreatePathGeometry(out); }))
        return false;
    ComRef<ID2D1GeometrySink> sink;
    if (!make(sink, [&](ID2D1GeometrySink** out) { return geometry->Open(out); }))
        return false;
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
    return SUCCEEDED(sink->Close());
}

void DrawContext::drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode)
{
    ComRef<ID2D1PathGeometry> geometry;
    if (!path || !makeGeometry(*path, mode == kPathFilledEvenOdd, geometry))
        return;
    ClipScope clip(target_, clipRect_);
    applyAntialias();
    fillAndStroke(geometry.get(), mode == kPathStroked ? kDrawStroked : kDrawFilled);
}

void DrawContext::fillLinearGradient(CGraphicsPath* path, const CGradient& gradient,
                                     const CPoint& startPoint, const CPoint& endPoint, bool evenOdd)
{
    ComRef<ID2D1PathGeometry> geometry;
    if (!path || gradient.getColorStops().empty() || !makeGeometry(*path, evenOdd, geometry))
        return;
    std::vector<D2D1_GRADIENT_STOP> stops;
    for (const auto& stop : gradient.getColorStops())
        stops.push_back(
            D2D1::GradientStop(static_cast<float>(stop.start), toColor(stop.color, globalAlpha_)));
    ComRef<ID2D1GradientStopCollection> collection;
    if (!make(collection, [&](ID2D1GradientStopCollection** out) {
            return target_->CreateGradientStopCollection(stops.data(),
                                                         static_cast<UINT32>(stops.size()), out);
        }))
        return;
    ComRef<ID2D1LinearGradientBrush> brush;
    if (!make(brush, [&](ID2D1LinearGradientBrush** out) {
            return target_->CreateLinearGradientBrush(
                D2D1::LinearGradientBrushProperties(toPoint(startPoint), toPoint(endPoint)),
                collection.get(), out);
        }))
        return;
    ClipScope clip(target_, clipRect_);
    applyAntialias();
    target_->FillGeometry(geometry.get(), brush.get());
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
    // Only the rows drawn go to the device: one frame of a strip, or the
    // band of a picture under a small dirty area.
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
    ClipScope clip(target_, clipRect_);
    const D2D1_RECT_F sourceRect =
        toRect(CRect(source.left * bitmapScale, source.top * bitmapScale - top,
                     source.right * bitmapScale, source.bottom * bitmapScale - top));
    // A picture drawn at the window's own scale keeps its exact pixels; one
    // drawn at another scale is resampled smoothly.
    target_->DrawBitmap(image.get(), toRect(target), alpha * globalAlpha_,
                        bitmapScale == scaleFactor_
                            ? D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR
                            : D2D1_BITMAP_INTERPOLATION_MODE_LINEAR,
                        &sourceRect);
}

} // namespace VSTGUI::D2D
