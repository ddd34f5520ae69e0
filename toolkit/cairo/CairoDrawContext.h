// Drawing context on a Cairo image surface (Linux windows and off-screen
// rendering share it, so both produce the same pixels).
#pragma once

#include "toolkit/CDrawContext.h"
#include "toolkit/cairo/CairoHandles.h"

namespace VSTGUI::Cairo {

class DrawContext : public CDrawContext
{
public:
    // The surface must outlive the context. At a scale factor above 1 the
    // surface holds that many pixels per unscaled unit, and everything is
    // drawn at that size.
    explicit DrawContext(cairo_surface_t* surface, double scaleFactor = 1.0);

    void setClipRect(const CRect& clip) override;
    void drawLine(const CPoint& start, const CPoint& end) override;
    void drawRect(const CRect& rect, const CDrawStyle drawStyle = kDrawStroked) override;
    void drawEllipse(const CRect& rect, const CDrawStyle drawStyle = kDrawStroked) override;
    void drawPoint(const CPoint& point, const CColor& color) override;
    void drawString(const char* string, const CRect& rect, const CHoriTxtAlign hAlign = kCenterText,
                    bool antialias = true) override;
    void drawString(const char* string, const CPoint& point, bool antialias = true) override;
    CCoord getStringWidth(const char* string) override;
    void drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode = kPathFilled) override;
    void fillLinearGradient(CGraphicsPath* path, const CGradient& gradient,
                            const CPoint& startPoint, const CPoint& endPoint,
                            bool evenOdd = false) override;
    void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                    float alpha = 1.f) override;

private:
    void setSourceColor(const CColor& color);
    void applyLineState();
    void applyFont(bool antialias);
    void addPath(const CGraphicsPath& path);
    void fillAndStroke(CDrawStyle drawStyle);
    // Half-pixel shift that puts odd-width aliased lines on pixel centres.
    double pixelShift() const;

    Context cr_;
};

} // namespace VSTGUI::Cairo
