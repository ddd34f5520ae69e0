// Value, pixel and normalised coordinates in the three plot modes.
#include "editor/controls/PlotAxes.h"

#include "editor/controls/PlotAxesShared.h"

#include <cmath>

using namespace VSTGUI;
using namespace plot_axes;

CPoint CPlotAxes::valueToPixel(float x, float y) const
{
    const CRect& r = getViewSize();
    const double w1 = r.right - r.left - 1;
    const double h1 = r.bottom - r.top - 1;
    const double linearRow = nearest(r.top + h1 * static_cast<double>(yMax - y) * invYRange);
    CPoint p;
    switch (plotMode) {
    case kPlotLinear:
        p = CPoint(nearest(r.left + static_cast<double>(x - xMin) * w1 * invXRange), linearRow);
        break;
    case kPlotPolar: {
        const double angle = static_cast<double>((x - xMin) * invXRange) * kTwoPi;
        const double radius = static_cast<double>((y - yMin) * invYRange);
        p = CPoint(nearest((r.left + r.right) / 2 + std::cos(angle) * radius * w1 / 2),
                   nearest((r.top + r.bottom) / 2 - std::sin(angle) * radius * h1 / 2));
        break;
    }
    case kPlotLogX:
        p = CPoint(nearest(r.left + std::log(static_cast<double>(x * invXMin)) * invLogXRatio * w1),
                   linearRow);
        break;
    default:
        return CPoint(0, 0);
    }
    clampToView(p);
    return p;
}

float CPlotAxes::pixelToXValue(const CPoint& p) const
{
    const CRect& r = getViewSize();
    switch (plotMode) {
    case kPlotPolar: {
        const double theta = std::atan2((r.top + r.bottom - 2 * p.y) * (r.right - r.left),
                                        (2 * p.x - (r.left + r.right)) * (r.bottom - r.top));
        return xMin + (xMax - xMin) * static_cast<float>(theta / kTwoPi);
    }
    case kPlotLogX:
        return xMin * std::exp(static_cast<float>(nearest(p.x - r.left)) * invWidth * logXRatio);
    default:
        return xMin + (xMax - xMin) * static_cast<float>(nearest(p.x - r.left)) * invWidth;
    }
}

float CPlotAxes::pixelToYValue(const CPoint& p) const
{
    const CRect& r = getViewSize();
    if (plotMode == kPlotPolar) {
        const float dx = static_cast<float>(p.x - (r.left + r.right) / 2) * invWidth;
        const float dy = static_cast<float>(p.y - (r.top + r.bottom) / 2) * invHeight;
        return yMin + 2 * (yMax - yMin) * std::hypot(dx, dy);
    }
    return yMax + (yMax - yMin) * static_cast<float>(nearest(r.top - p.y)) * invHeight;
}

void CPlotAxes::clampToView(CPoint& p) const
{
    const CRect& r = getViewSize();
    p.x = clampCoord(p.x, r.left - 1, r.right + 1);
    p.y = clampCoord(p.y, r.top - 1, r.bottom + 1);
}

CPoint CPlotAxes::normalizedToPixel(float nx, float ny) const
{
    return valueToPixel(xMin + (xMax - xMin) * nx, yMin + (yMax - yMin) * ny);
}

// On a linear axis the value's round trip through axis units cancels out;
// taking the pixel's fraction directly keeps pixels that lie on simple
// fractions (the middle row, the edges) exactly on them.
float CPlotAxes::pixelToNormalizedX(const CPoint& p) const
{
    CPoint q = p;
    clampToView(q);
    if (plotMode == kPlotLinear) {
        const CRect& r = getViewSize();
        return static_cast<float>(nearest(q.x - r.left) / std::max(r.getWidth() - 1, 1.0));
    }
    return (pixelToXValue(q) - xMin) * invXRange;
}

float CPlotAxes::pixelToNormalizedY(const CPoint& p) const
{
    CPoint q = p;
    clampToView(q);
    if (plotMode != kPlotPolar) {
        const CRect& r = getViewSize();
        return static_cast<float>(1 + nearest(r.top - q.y) / std::max(r.getHeight() - 1, 1.0));
    }
    return (pixelToYValue(q) - yMin) * invYRange;
}
