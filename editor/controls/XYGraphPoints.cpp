// The reduction of the curve data to the point buffer: the visible samples,
// in buckets of a whole stride, each shown by its largest value (or by the
// caller's reduction), at most one point per pixel column, and the four
// corners that close the polygon down to the floor.
#include "editor/controls/XYGraph.h"

#include <algorithm>
#include <cmath>

using namespace VSTGUI;

void CXYGraph::rebuildPoints()
{
    for (int i = 0; i < groupCount; ++i)
        groupPosition[i] = normalizedToPixel(xValue[i], yValue[i]);
    pointsDirty = false;
    pointCount = 0;
    if (maxPoints < 1 || !yData || dataCount < 2)
        return;

    // The visible samples, widened by one on each side so that the curve
    // runs on to the edges.
    const int32_t last = dataCount - 1;
    int32_t first = 0;
    int32_t lastVisible = last;
    if (xData) {
        while (first < dataCount && xData[first] < xMin)
            ++first;
        while (lastVisible >= 0 && xData[lastVisible] > xMax)
            --lastVisible;
    } else {
        const double scale = static_cast<double>(last) * invXSpan;
        first = static_cast<int32_t>(
            std::clamp(std::ceil((xMin - xStart) * scale), 0.0, static_cast<double>(last)));
        lastVisible = static_cast<int32_t>(
            std::clamp(std::floor((xMax - xStart) * scale), 0.0, static_cast<double>(last)));
    }
    int32_t lo = std::clamp(first - 1, 0, last);
    const int32_t hi = std::min(last, std::max(lastVisible + 1, lo + 1));
    if (hi - lo <= 0)
        return;

    const int32_t stride = (hi - lo) / maxPoints + 1;
    if (stride > 1)
        lo -= lo % stride;
    const int32_t half = (stride - 1) / 2;

    int32_t stored = 0; // curve points, stored from index kCorners on
    for (int32_t start = lo; start <= hi - stride + 1 && stored < maxPoints; start += stride) {
        const int32_t middle = start + half;
        const float x = xData ? xData[middle]
                              : xStart + (xEnd - xStart) * static_cast<float>(middle) /
                                             static_cast<float>(last);
        float value;
        if (reduce) {
            value = reduce(yData, start, start + stride);
        } else {
            value = yData[start];
            for (int32_t i = start + 1; i < start + stride; ++i)
                value = std::max(value, yData[i]);
        }
        const CPoint p = valueToPixel(x, value);
        CPoint* previous =
            stored > 0 ? &points[static_cast<size_t>(kCorners + stored - 1)] : nullptr;
        if (!previous || p.x > previous->x + 0.5) {
            points[static_cast<size_t>(kCorners + stored)] = p;
            ++stored;
        } else {
            // Same column: keep the lower point on screen.
            previous->y = std::max(previous->y, p.y);
        }
    }
    if (stored == 0)
        return;

    // Close the polygon down to the floor, past the edges where the data
    // goes on beyond them.
    const CRect& r = getViewSize();
    const CPoint& firstPoint = points[kCorners];
    const CPoint& lastPoint = points[static_cast<size_t>(kCorners + stored - 1)];
    double fx = firstPoint.x;
    double lx = lastPoint.x;
    if (xMin >= xStart && fx > r.left - 2 * lineWidth)
        fx = r.left - 2 * lineWidth;
    if (xMax <= xEnd && lx < r.right + 2 * lineWidth)
        lx = r.right + 2 * lineWidth;
    const double floor = floorRow();
    points[0] = CPoint(lx, lastPoint.y);
    points[1] = CPoint(lx, floor);
    points[2] = CPoint(fx, floor);
    points[3] = CPoint(fx, firstPoint.y);
    pointCount = kCorners + stored;
}
