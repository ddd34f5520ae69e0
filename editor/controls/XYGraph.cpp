#include "editor/controls/XYGraph.h"

#include "editor/controls/PlotAxesShared.h"
#include "toolkit/CDrawContext.h"

#include <cmath>
#include <cstring>

using namespace VSTGUI;
using namespace plot_axes;

CXYGraph::CXYGraph(const CRect& size, CControlListener* listener, int32_t selectionTag,
                   CBitmap* background, int32_t maxPoints_)
    : CPlotAxes(size, listener, selectionTag, background),
      floorLevel(yMin),
      homeXMin(xMin),
      homeXMax(xMax),
      invHomeX(invXRange),
      homeYMin(yMin),
      homeYMax(yMax),
      invHomeY(invYRange),
      zoomStart(size.getTopLeft()),
      zoomEnd(size.getTopLeft()),
      maxPoints(maxPoints_ > 0 ? maxPoints_ : 0),
      points(static_cast<size_t>(maxPoints) + kCorners)
{
    // Zooming needs the mouse even before any point group exists.
    setMouseEnabled(true);
}

CXYGraph::CXYGraph(const CXYGraph& other) = default;
CXYGraph::~CXYGraph() = default;

bool CXYGraph::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CXYGraph") == 0) || CPlotAxes::isTypeOf(type);
}

// ---- Ranges and settings ---------------------------------------------------

void CXYGraph::setXRangeHome(float a, float b, bool asHome)
{
    if (asHome && storeRange(homeXMin, homeXMax, a, b))
        invHomeX = 1.f / std::max(homeXMax - homeXMin, kMinRange);
    setXRange(a, b);
    invalidatePoints(true);
}

void CXYGraph::setYRangeHome(float a, float b, bool asHome)
{
    if (asHome && storeRange(homeYMin, homeYMax, a, b))
        invHomeY = 1.f / std::max(homeYMax - homeYMin, kMinRange);
    setYRange(a, b);
    invalidatePoints(true);
}

void CXYGraph::setBarMode(int32_t mode)
{
    barMode = mode;
    setDirty();
}

void CXYGraph::setDrawStyle(int32_t style)
{
    if (store(drawStyle, style))
        setDirty();
}
void CXYGraph::setCurveLineWidth(double width)
{
    if (store(lineWidth, width))
        setDirty();
}
void CXYGraph::setZoomEnabled(bool enabled)
{
    zoomEnabled = enabled;
}

void CXYGraph::setFloorLevel(float level)
{
    if (store(floorLevel, level))
        invalidatePoints(true);
}

void CXYGraph::invalidatePoints(bool dirty)
{
    if (!store(pointsDirty, dirty))
        return;
    if (dirty)
        setDirty();
}

// ---- Data ------------------------------------------------------------------

void CXYGraph::setCurveData(const float* x, const float* y, int32_t count, ReduceFunction reduce_)
{
    xData = x;
    yData = y;
    dataCount = x && y && count > 0 ? count : 0;
    reduce = reduce_;
    if (dataCount >= 1) {
        xStart = x[0];
        xEnd = x[dataCount - 1];
    } else {
        xStart = 0;
        xEnd = 1;
    }
    invXSpan = 1.f / std::max(xEnd - xStart, kMinRange);
    invalidatePoints(true);
}

void CXYGraph::setEvenCurveData(float xStart_, float xEnd_, int32_t count, const float* y,
                                ReduceFunction reduce_)
{
    xData = nullptr;
    yData = y;
    dataCount = y && count > 0 ? count : 0;
    reduce = reduce_;
    xStart = xStart_;
    xEnd = xEnd_;
    invXSpan = 1.f / std::max(xEnd - xStart, kMinRange);
    invalidatePoints(true);
}

float CXYGraph::getCurveValue(float x) const
{
    if (!yData || dataCount < 1 || !(x >= xStart && x <= xEnd))
        return 0.f;
    const int32_t last = dataCount - 1;
    int32_t i = 0;
    float f = 0;
    if (!xData) {
        const float p = (x - xStart) * static_cast<float>(last) * invXSpan;
        i = std::min(static_cast<int32_t>(std::floor(p)), last);
        f = p - static_cast<float>(i);
    } else {
        // The sample before the first one at or beyond x, weighted by where
        // x lies between it and the next.
        int32_t k = 0;
        while (k < last && xData[k] < x)
            ++k;
        i = k > 0 ? k - 1 : 0;
    }
    const int32_t j = std::min(i + 1, last);
    if (xData) {
        const float span = xData[j] - xData[i];
        f = span > 0 ? (x - xData[i]) / span : 0.f;
    }
    f = std::clamp(f, 0.f, 1.f);
    return (1 - f) * yData[i] + f * yData[j];
}

double CXYGraph::floorRow() const
{
    const CRect& r = getViewSize();
    if (floorLevel >= yMax)
        return r.top - 1;
    if (floorLevel <= yMin)
        return r.bottom + 1;
    return valueToPixel(xMin, floorLevel).y;
}

// ---- Normalised values keep to the home ranges --------------------------------

CPoint CXYGraph::normalizedToPixel(float nx, float ny) const
{
    return valueToPixel(homeXMin + (homeXMax - homeXMin) * nx,
                        homeYMin + (homeYMax - homeYMin) * ny);
}

float CXYGraph::pixelToNormalizedX(const CPoint& p) const
{
    CPoint q = p;
    clampToView(q);
    return (pixelToXValue(q) - homeXMin) * invHomeX;
}

float CXYGraph::pixelToNormalizedY(const CPoint& p) const
{
    CPoint q = p;
    clampToView(q);
    return (pixelToYValue(q) - homeYMin) * invHomeY;
}

// ---- Resize ----------------------------------------------------------------

void CXYGraph::setViewSize(const CRect& rect, bool invalidate)
{
    if (rect == getViewSize())
        return;
    CPlotAxes::setViewSize(rect, invalidate);
    setMouseableArea(rect);
    if (invalidate) {
        setDirty();
        invalidatePoints(true);
    }
}

// ---- Zoom ------------------------------------------------------------------

CMouseEventResult CXYGraph::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    const CMouseEventResult result = CPlotAxes::onMouseDown(where, buttons);
    if (result != kMouseEventNotHandled || zooming || !(buttons & kLButton) || !zoomEnabled)
        return result;
    zooming = true;
    zoomStart = where;
    zoomEnd = where;
    return onMouseMoved(where, buttons);
}

CMouseEventResult CXYGraph::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!zooming)
        return CPlotAxes::onMouseMoved(where, buttons);
    updateCrosshair(where);
    zoomEnd = where;
    clampToView(zoomEnd);
    setDirty();
    return kMouseEventHandled;
}

CMouseEventResult CXYGraph::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (!zooming)
        return CPlotAxes::onMouseUp(where, buttons);
    zooming = false;
    if (zoomEnd == zoomStart) {
        // A plain click: back to the full view.
        setXRangeHome(homeXMin, homeXMax, false);
        setYRangeHome(homeYMin, homeYMax, false);
        setDirty();
        return kMouseEventHandled;
    }
    const float x0 = pixelToXValue(zoomStart);
    const float x1 = pixelToXValue(zoomEnd);
    const float y0 = pixelToYValue(zoomStart);
    const float y1 = pixelToYValue(zoomEnd);
    if (std::abs(x1 - x0) > kMinRange && std::abs(y1 - y0) > kMinRange) {
        setXRange(x0, x1); // ordered, and the reciprocals recomputed
        setYRange(y0, y1);
        invalidatePoints(true);
    }
    setDirty();
    return kMouseEventHandled;
}

// ---- Drawing ---------------------------------------------------------------

void CXYGraph::drawUnderlay(CDrawContext* context)
{
    if (pointsDirty)
        rebuildPoints();
    if (pointCount > 0) {
        context->setLineWidth(lineWidth);
        context->setLineStyle(kLineSolid);
        context->setFrameColor(selectedColor);
        context->setFillColor(pointColor);
        if (barMode && pointCount < kMaxBarEntries) {
            drawBars(context);
        } else {
            context->setDrawMode(kAntiAliasing);
            context->drawPolygon(points.data(), pointCount, static_cast<CDrawStyle>(drawStyle));
        }
    }
    if (zooming) {
        context->setDrawMode(kAliasing);
        context->setLineWidth(1);
        context->setLineStyle(kLineOnOffDash);
        context->setFrameColor(selectedColor);
        context->setFillColor(withAlpha(selectedColor, 48));
        const CRect box(std::min(zoomStart.x, zoomEnd.x), std::min(zoomStart.y, zoomEnd.y),
                        std::max(zoomStart.x, zoomEnd.x), std::max(zoomStart.y, zoomEnd.y));
        context->drawRect(box, kDrawFilledAndStroked);
    }
}

void CXYGraph::drawBars(CDrawContext* context)
{
    context->setDrawMode(kAliasing);
    const double bottom = floorRow();
    const double right = getViewSize().right;
    for (int32_t k = kCorners; k < pointCount; ++k) {
        const CPoint& p = points[static_cast<size_t>(k)];
        const double from = (points[static_cast<size_t>(k) - 1].x + p.x) / 2 + 2;
        const double to =
            k + 1 < pointCount ? (p.x + points[static_cast<size_t>(k) + 1].x) / 2 : right - 2;
        const CRect bar(from, std::min(p.y, bottom), to, std::max(p.y, bottom));
        context->drawRect(bar, static_cast<CDrawStyle>(drawStyle));
    }
}
