// Drawing context on a Direct2D render target, with DirectWrite text (the
// Windows build's backend; Cairo's on Linux). The caller has called
// BeginDraw on the target and calls EndDraw after the context is gone.
#pragma once

#include "toolkit/CDrawContext.h"
#include "toolkit/d2d/ComRef.h"
#include "toolkit/d2d/D2DResourceCache.h"

#include <d2d1.h>
#include <dwrite.h>

namespace VSTGUI::D2D {

class DrawContext : public CDrawContext
{
public:
    // The cache (and the target it draws on) must outlive the context. The
    // target's transform already scales by scaleFactor.
    DrawContext(ResourceCache& cache, const CRect& surfaceRect, double scaleFactor = 1.0);
    ~DrawContext() override;

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
    class ClipScope;
    struct TextLayout;

    ID2D1SolidColorBrush* brush(const CColor& color);
    ID2D1StrokeStyle* strokeStyle();
    void applyAntialias();
    // Half-pixel shift that puts odd-width aliased lines on pixel centres.
    float pixelShift() const;
    void fillAndStroke(ID2D1Geometry* geometry, CDrawStyle drawStyle);
    ID2D1Geometry* geometry(const CGraphicsPath& path, bool evenOdd);
    bool layoutText(const char* string, bool antialias, TextLayout& out);
    // Lays out `string` and draws it with its baseline at the point that
    // `place` gives for the laid-out text.
    template <class Place>
    void drawText(const char* string, bool antialias, Place&& place);

    ResourceCache& cache_;
    ID2D1RenderTarget* target_;
};

} // namespace VSTGUI::D2D
