#include "toolkit/CDrawContext.h"

namespace VSTGUI {

CDrawContext::CDrawContext(const CRect& surfaceRect, double scaleFactor)
    : surfaceRect_(surfaceRect), clipRect_(surfaceRect), scaleFactor_(scaleFactor)
{
    font_ = new CFontDesc("Arial", 12, kNormalFace);
}

CDrawContext::~CDrawContext()
{
    if (font_)
        font_->forget();
}

void CDrawContext::setFont(const CFontRef font, const CCoord& size, const int32_t& style)
{
    if (!font)
        return;
    // The context keeps a private copy so that later changes of the caller's
    // font object cannot alter what has been set.
    auto* copy = new CFontDesc(font->getName(), size > 0 ? size : font->getSize(),
                               style >= 0 ? style : font->getStyle());
    if (font_)
        font_->forget();
    font_ = copy;
}

void CDrawContext::setClipRect(const CRect& clip)
{
    clipRect_ = clip;
    clipRect_.bound(surfaceRect_);
}

void CDrawContext::lineTo(const CPoint& point)
{
    drawLine(penPosition_, point);
    penPosition_ = point;
}

void CDrawContext::drawPolygon(const CPoint* points, int32_t numberOfPoints,
                               const CDrawStyle drawStyle)
{
    if (!points || numberOfPoints < 2)
        return;
    CGraphicsPath* path = createGraphicsPath();
    path->beginSubpath(points[0]);
    for (int32_t i = 1; i < numberOfPoints; ++i)
        path->addLine(points[i]);
    path->closeSubpath();
    if (drawStyle == kDrawFilled || drawStyle == kDrawFilledAndStroked)
        drawGraphicsPath(path, kPathFilled);
    if (drawStyle == kDrawStroked || drawStyle == kDrawFilledAndStroked)
        drawGraphicsPath(path, kPathStroked);
    path->forget();
}

} // namespace VSTGUI
