// Drawing context: the state (colours, font, line width and style, draw
// mode, clip) and the drawing operations the views use. Each platform
// supplies one backend; coordinates are the frame's unscaled coordinates,
// and the backend draws them at its scale factor.
#pragma once

#include "toolkit/CBaseObject.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/CGraphics.h"
#include "toolkit/CGraphicsPath.h"

namespace VSTGUI {

class CBitmap;

class CDrawContext : public CBaseObject
{
public:
    enum PathDrawMode
    {
        kPathFilled,
        kPathFilledEvenOdd,
        kPathStroked,
    };

    // surfaceRect in unscaled coordinates; scaleFactor window pixels per unit.
    explicit CDrawContext(const CRect& surfaceRect, double scaleFactor = 1.0);
    ~CDrawContext() override;

    // State.
    void setFillColor(const CColor& color) { fillColor_ = color; }
    const CColor& getFillColor() const { return fillColor_; }
    void setFrameColor(const CColor& color) { frameColor_ = color; }
    const CColor& getFrameColor() const { return frameColor_; }
    void setFontColor(const CColor& color) { fontColor_ = color; }
    const CColor& getFontColor() const { return fontColor_; }
    // Size 0 and style -1 keep the font's own size and style.
    void setFont(const CFontRef font, const CCoord& size = 0, const int32_t& style = -1);
    CFontRef getFont() const { return font_; }
    void setLineWidth(CCoord width) { lineWidth_ = width > 0 ? width : 1; }
    CCoord getLineWidth() const { return lineWidth_; }
    void setLineStyle(CLineStyle style) { lineStyle_ = style; }
    CLineStyle getLineStyle() const { return lineStyle_; }
    void setDrawMode(CDrawMode mode) { drawMode_ = mode; }
    CDrawMode getDrawMode() const { return drawMode_; }
    void setGlobalAlpha(float alpha) { globalAlpha_ = alpha < 0 ? 0 : (alpha > 1 ? 1 : alpha); }
    float getGlobalAlpha() const { return globalAlpha_; }
    virtual void setClipRect(const CRect& clip);
    CRect& getClipRect(CRect& clip) const { return clip = clipRect_; }
    void resetClipRect() { setClipRect(surfaceRect_); }

    // Lines.
    void moveTo(const CPoint& point) { penPosition_ = point; }
    void lineTo(const CPoint& point);
    virtual void drawLine(const CPoint& start, const CPoint& end) = 0;

    // Shapes. A polygon is closed from its last point back to its first.
    void drawPolygon(const CPoint* points, int32_t numberOfPoints,
                     const CDrawStyle drawStyle = kDrawStroked);
    virtual void drawRect(const CRect& rect, const CDrawStyle drawStyle = kDrawStroked) = 0;
    virtual void drawEllipse(const CRect& rect, const CDrawStyle drawStyle = kDrawStroked) = 0;
    virtual void drawPoint(const CPoint& point, const CColor& color) = 0;

    // Text, in the current font and font colour.
    virtual void drawString(const char* string, const CRect& rect,
                            const CHoriTxtAlign hAlign = kCenterText, bool antialias = true) = 0;
    // Baseline-anchored text starting at point.
    virtual void drawString(const char* string, const CPoint& point, bool antialias = true) = 0;
    virtual CCoord getStringWidth(const char* string) = 0;

    // Paths and gradients.
    CGraphicsPath* createGraphicsPath() { return new CGraphicsPath(); }
    virtual void drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode = kPathFilled) = 0;
    virtual void fillLinearGradient(CGraphicsPath* path, const CGradient& gradient,
                                    const CPoint& startPoint, const CPoint& endPoint,
                                    bool evenOdd = false) = 0;

    // Bitmaps: draws the part of the bitmap starting at offset into rect.
    virtual void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                            float alpha = 1.f) = 0;

    const CRect& getSurfaceRect() const { return surfaceRect_; }
    // Window pixels per unscaled unit: bitmaps pick the picture drawn
    // closest to it.
    double getScaleFactor() const { return scaleFactor_; }

protected:
    CColor fillColor_ = kWhiteCColor;
    CColor frameColor_ = kBlackCColor;
    CColor fontColor_ = kWhiteCColor;
    CFontRef font_ = nullptr;
    CCoord lineWidth_ = 1;
    CLineStyle lineStyle_ = kLineSolid;
    CDrawMode drawMode_ = kAliasing;
    float globalAlpha_ = 1.f;
    CRect surfaceRect_;
    CRect clipRect_;
    double scaleFactor_ = 1.0;
    CPoint penPosition_;
};

} // namespace VSTGUI
