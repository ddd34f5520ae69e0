#include "toolkit/cairo/CairoDrawContext.h"

#include "toolkit/CBitmap.h"
#include "toolkit/ScaleFactor.h"
#include "toolkit/cairo/CairoBitmap.h"

#include <cmath>

namespace VSTGUI::Cairo {

namespace {

CRect surfaceBounds(cairo_surface_t* surface, double scaleFactor)
{
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return {};
    return CRect(0, 0, cairo_image_surface_get_width(surface) / scaleFactor,
                 cairo_image_surface_get_height(surface) / scaleFactor);
}

// Invariant state of a drawing call is restored by the destructor.
class SavedState
{
public:
    explicit SavedState(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
    ~SavedState() { cairo_restore(cr_); }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    cairo_t* cr_;
};

} // namespace

DrawContext::DrawContext(cairo_surface_t* surface, double scaleFactor)
    : CDrawContext(surfaceBounds(surface, clampScaleFactor(scaleFactor)),
                   clampScaleFactor(scaleFactor)),
      cr_(cairo_create(surface))
{
    if (scaleFactor_ != 1.0)
        cairo_scale(cr_.get(), scaleFactor_, scaleFactor_);
    setClipRect(getSurfaceRect());
}

void DrawContext::setClipRect(const CRect& clip)
{
    CDrawContext::setClipRect(clip);
    cairo_reset_clip(cr_.get());
    cairo_rectangle(cr_.get(), clipRect_.left, clipRect_.top, clipRect_.getWidth(),
                    clipRect_.getHeight());
    cairo_clip(cr_.get());
}

void DrawContext::setSourceColor(const CColor& color)
{
    cairo_set_source_rgba(cr_.get(), color.red / 255.0, color.green / 255.0, color.blue / 255.0,
                          color.alpha / 255.0 * globalAlpha_);
}

double DrawContext::pixelShift() const
{
    if (drawMode_ == kAntiAliasing)
        return 0;
    return std::fmod(std::round(lineWidth_), 2.0) == 1.0 ? 0.5 : 0.0;
}

void DrawContext::applyLineState()
{
    cairo_t* cr = cr_.get();
    cairo_set_antialias(cr, drawMode_ == kAntiAliasing ? CAIRO_ANTIALIAS_DEFAULT
                                                       : CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, lineWidth_);
    if (lineStyle_ == kLineOnOffDash) {
        const double dash[] = {lineWidth_, lineWidth_};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    } else {
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    }
}

void DrawContext::drawLine(const CPoint& start, const CPoint& end)
{
    SavedState state(cr_.get());
    applyLineState();
    const double shift = pixelShift();
    cairo_move_to(cr_.get(), start.x + shift, start.y + shift);
    cairo_line_to(cr_.get(), end.x + shift, end.y + shift);
    setSourceColor(frameColor_);
    cairo_stroke(cr_.get());
}

void DrawContext::fillAndStroke(CDrawStyle drawStyle)
{
    cairo_t* cr = cr_.get();
    if (drawStyle == kDrawFilled || drawStyle == kDrawFilledAndStroked) {
        setSourceColor(fillColor_);
        if (drawStyle == kDrawFilledAndStroked)
            cairo_fill_preserve(cr);
        else
            cairo_fill(cr);
    }
    if (drawStyle == kDrawStroked || drawStyle == kDrawFilledAndStroked) {
        setSourceColor(frameColor_);
        cairo_stroke(cr);
    }
}

void DrawContext::drawRect(const CRect& rect, const CDrawStyle drawStyle)
{
    SavedState state(cr_.get());
    applyLineState();
    cairo_set_line_join(cr_.get(), CAIRO_LINE_JOIN_MITER);
    if (drawStyle == kDrawFilled) {
        cairo_rectangle(cr_.get(), rect.left, rect.top, rect.getWidth(), rect.getHeight());
    } else {
        // The stroke lies inside the rectangle, so a framed rectangle covers
        // exactly the pixels of a filled one.
        const double shift = drawMode_ == kAntiAliasing ? lineWidth_ / 2 : pixelShift();
        cairo_rectangle(cr_.get(), rect.left + shift, rect.top + shift, rect.getWidth() - 2 * shift,
                        rect.getHeight() - 2 * shift);
    }
    fillAndStroke(drawStyle);
}

void DrawContext::drawEllipse(const CRect& rect, const CDrawStyle drawStyle)
{
    if (rect.getWidth() <= 0 || rect.getHeight() <= 0)
        return;
    SavedState state(cr_.get());
    applyLineState();
    const CPoint centre = rect.getCenter();
    cairo_save(cr_.get());
    cairo_translate(cr_.get(), centre.x, centre.y);
    cairo_scale(cr_.get(), rect.getWidth() / 2, rect.getHeight() / 2);
    cairo_new_path(cr_.get());
    cairo_arc(cr_.get(), 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr_.get());
    fillAndStroke(drawStyle);
}

void DrawContext::drawPoint(const CPoint& point, const CColor& color)
{
    SavedState state(cr_.get());
    cairo_rectangle(cr_.get(), std::floor(point.x), std::floor(point.y), 1, 1);
    setSourceColor(color);
    cairo_fill(cr_.get());
}

void DrawContext::applyFont(bool antialias)
{
    cairo_t* cr = cr_.get();
    const int32_t style = font_ ? font_->getStyle() : kNormalFace;
    cairo_select_font_face(cr, font_ ? font_->getName() : "Arial",
                           (style & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC
                                                 : CAIRO_FONT_SLANT_NORMAL,
                           (style & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font_ ? font_->getSize() : 12);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options,
                                     antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

void DrawContext::drawString(const char* string, const CRect& rect, const CHoriTxtAlign hAlign,
                             bool antialias)
{
    if (!string || !*string)
        return;
    SavedState state(cr_.get());
    applyFont(antialias);
    cairo_text_extents_t text;
    cairo_text_extents(cr_.get(), string, &text);
    cairo_font_extents_t font;
    cairo_font_extents(cr_.get(), &font);
    double x = rect.left;
    if (hAlign == kCenterText)
        x = rect.left + (rect.getWidth() - text.x_advance) / 2;
    else if (hAlign == kRightText)
        x = rect.right - text.x_advance;
    const double baseline = rect.top + (rect.getHeight() + font.ascent - font.descent) / 2;
    cairo_move_to(cr_.get(), std::round(x), std::round(baseline));
    setSourceColor(fontColor_);
    cairo_show_text(cr_.get(), string);
}

void DrawContext::drawString(const char* string, const CPoint& point, bool antialias)
{
    if (!string || !*string)
        return;
    SavedState state(cr_.get());
    applyFont(antialias);
    cairo_move_to(cr_.get(), point.x, point.y);
    setSourceColor(fontColor_);
    cairo_show_text(cr_.get(), string);
}

CCoord DrawContext::getStringWidth(const char* string)
{
    if (!string || !*string)
        return 0;
    SavedState state(cr_.get());
    applyFont(true);
    cairo_text_extents_t text;
    cairo_text_extents(cr_.get(), string, &text);
    return text.x_advance;
}

void DrawContext::addPath(const CGraphicsPath& path)
{
    cairo_t* cr = cr_.get();
    cairo_new_path(cr);
    for (const auto& e : path.getElements()) {
        switch (e.type) {
        case CGraphicsPath::ElementType::kBeginSubpath:
            cairo_move_to(cr, e.point.x, e.point.y);
            break;
        case CGraphicsPath::ElementType::kLine:
            cairo_line_to(cr, e.point.x, e.point.y);
            break;
        case CGraphicsPath::ElementType::kRect:
            cairo_rectangle(cr, e.rect.left, e.rect.top, e.rect.getWidth(), e.rect.getHeight());
            break;
        case CGraphicsPath::ElementType::kEllipse:
            if (e.rect.getWidth() > 0 && e.rect.getHeight() > 0) {
                const CPoint centre = e.rect.getCenter();
                cairo_new_sub_path(cr);
                cairo_save(cr);
                cairo_translate(cr, centre.x, centre.y);
                cairo_scale(cr, e.rect.getWidth() / 2, e.rect.getHeight() / 2);
                cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
                cairo_restore(cr);
                cairo_close_path(cr);
            }
            break;
        case CGraphicsPath::ElementType::kClose:
            cairo_close_path(cr);
            break;
        }
    }
}

void DrawContext::drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode)
{
    if (!path)
        return;
    SavedState state(cr_.get());
    applyLineState();
    addPath(*path);
    if (mode == kPathStroked) {
        setSourceColor(frameColor_);
        cairo_stroke(cr_.get());
    } else {
        cairo_set_fill_rule(cr_.get(), mode == kPathFilledEvenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                  : CAIRO_FILL_RULE_WINDING);
        setSourceColor(fillColor_);
        cairo_fill(cr_.get());
    }
}

void DrawContext::fillLinearGradient(CGraphicsPath* path, const CGradient& gradient,
                                     const CPoint& startPoint, const CPoint& endPoint, bool evenOdd)
{
    if (!path)
        return;
    SavedState state(cr_.get());
    cairo_set_antialias(cr_.get(), drawMode_ == kAntiAliasing ? CAIRO_ANTIALIAS_DEFAULT
                                                              : CAIRO_ANTIALIAS_NONE);
    Pattern pattern(
        cairo_pattern_create_linear(startPoint.x, startPoint.y, endPoint.x, endPoint.y));
    for (const auto& stop : gradient.getColorStops()) {
        const CColor& c = stop.color;
        cairo_pattern_add_color_stop_rgba(pattern.get(), stop.start, c.red / 255.0, c.green / 255.0,
                                          c.blue / 255.0, c.alpha / 255.0 * globalAlpha_);
    }
    addPath(*path);
    cairo_set_fill_rule(cr_.get(), evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_set_source(cr_.get(), pattern.get());
    cairo_fill(cr_.get());
}

void DrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
    double bitmapScale = 1.0;
    auto* platform = bitmap ? dynamic_cast<Bitmap*>(bitmap->getBestPlatformBitmapForScaleFactor(
                                  scaleFactor_, &bitmapScale))
                            : nullptr;
    if (!platform)
        return;
    SavedState state(cr_.get());
    cairo_rectangle(cr_.get(), dest.left, dest.top, dest.getWidth(), dest.getHeight());
    cairo_clip(cr_.get());
    cairo_translate(cr_.get(), dest.left - offset.x, dest.top - offset.y);
    if (bitmapScale != 1.0)
        cairo_scale(cr_.get(), 1.0 / bitmapScale, 1.0 / bitmapScale);
    cairo_set_source_surface(cr_.get(), platform->getSurface(), 0, 0);
    // A picture drawn at the window's own scale keeps its exact pixels;
    // one drawn at another scale is resampled smoothly.
    cairo_pattern_set_filter(cairo_get_source(cr_.get()), bitmapScale == scaleFactor_
                                                              ? CAIRO_FILTER_NEAREST
                                                              : CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr_.get(), alpha * globalAlpha_);
}

} // namespace VSTGUI::Cairo
