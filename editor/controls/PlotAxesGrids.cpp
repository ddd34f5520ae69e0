// The linear, polar and logarithmic grids with their tick labels and frame.
#include "editor/controls/PlotAxes.h"

#include "editor/controls/PlotAxesShared.h"
#include "toolkit/CDrawContext.h"

#include <cmath>

using namespace VSTGUI;
using namespace plot_axes;

void CPlotAxes::drawLinearGrid(CDrawContext* context)
{
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setFont(kNormalFont);
    if (xGridStep > 0) {
        context->setLineStyle(kLineOnOffDash);
        const float k = xLabelOffset;
        const float t0 = firstTick(xGridOrigin, xGridStep, xMin + k, false);
        for (int n = 0; n < kMaxTicks; ++n) {
            const float t = t0 + static_cast<float>(n) * xGridStep;
            if (!(t <= xMax + k))
                break;
            drawColumn(context, t - k, t);
        }
    }
    drawRowGrid(context);
    drawFrameRect(context);
}

void CPlotAxes::drawColumn(CDrawContext* context, float value, float label)
{
    const CRect& r = getViewSize();
    const bool fading = crosshairVisible && crosshairFade;
    const double c = valueToPixel(value, yMin).x;
    const double d = std::abs(c - crosshair.x);
    context->setFrameColor(fadedNear(gridColor, d, fading));
    context->setFontColor(fadedNear(axisColor, d, fading));
    if (value != xMax)
        context->drawLine(CPoint(c, r.top), CPoint(c, r.bottom));
    if (showXLabels)
        drawXLabel(context, label);
}

void CPlotAxes::drawRowGrid(CDrawContext* context)
{
    if (!(yGridStep > 0))
        return;
    const CRect& r = getViewSize();
    const bool fading = crosshairVisible && crosshairFade;
    context->setLineStyle(kLineOnOffDash);
    const float k = yLabelOffset;
    const float t0 = firstTick(yGridOrigin, yGridStep, yMin + k, false);
    for (int n = 0; n < kMaxTicks; ++n) {
        const float t = t0 + static_cast<float>(n) * yGridStep;
        if (!(t < yMax + k))
            break;
        const double row = valueToPixel(xMin, t - k).y;
        const double d = std::abs(row - crosshair.y);
        context->setFrameColor(fadedNear(gridColor, d, fading));
        context->setFontColor(fadedNear(axisColor, d, fading));
        context->drawLine(CPoint(r.left, row), CPoint(r.right, row));
        if (showYLabels)
            drawYLabel(context, t);
    }
}

void CPlotAxes::drawFrameRect(CDrawContext* context)
{
    if (!drawFrame)
        return;
    context->setLineStyle(kLineSolid);
    context->setFrameColor(axisColor);
    context->drawRect(getViewSize(), kDrawStroked);
}

void CPlotAxes::drawPolarGrid(CDrawContext* context)
{
    const CRect& r = getViewSize();
    const float range = xMax - xMin;
    context->setDrawMode(kAntiAliasing);
    context->setLineWidth(1);
    context->setFont(kNormalFont);
    if (yGridStep > 0) {
        const float k = yLabelOffset;
        const float t0 = firstTick(yGridOrigin, yGridStep, yMin + k, false);
        for (int n = 0; n < kMaxTicks; ++n) {
            const float t = t0 + static_cast<float>(n) * yGridStep;
            if (!(t < yMax + k))
                break;
            const float radius = t - k;
            CRect ring(valueToPixel(xMin + range / 2, radius).x,
                       valueToPixel(xMin + range / 4, radius).y, valueToPixel(xMin, radius).x,
                       valueToPixel(xMin + range * 3 / 4, radius).y);
            ring.offset(1, 1);
            context->setLineStyle(kLineOnOffDash);
            context->setFrameColor(gridColor);
            context->setFontColor(axisColor);
            context->drawEllipse(ring, kDrawStroked);
            if (showYLabels)
                drawYLabel(context, t);
        }
    }
    if (xGridStep > 0) {
        const float k = xLabelOffset;
        const float t0 = firstTick(xGridOrigin, xGridStep, xMin + k, true);
        const CPoint centre = r.getCenter();
        for (int n = 0; n < kMaxTicks; ++n) {
            const float t = t0 + static_cast<float>(n) * xGridStep;
            if (!(t < xMax + k))
                break;
            context->setLineStyle(kLineOnOffDash);
            context->setFrameColor(gridColor);
            context->setFontColor(axisColor);
            context->drawLine(centre, valueToPixel(t - k, yMax));
            if (showXLabels)
                drawXLabel(context, t);
        }
    }
    if (drawFrame) {
        context->setLineStyle(kLineSolid);
        context->setFrameColor(axisColor);
        context->drawEllipse(r, kDrawStroked);
    }
}

void CPlotAxes::drawLogGrid(CDrawContext* context)
{
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setFont(kNormalFont);
    if (xGridStep > 1 && xGridOrigin > 0 && xMin > 0) {
        // The first line is the first value of the series origin * step^n
        // above the left edge; the edge itself is the frame.
        const double n =
            std::ceil(std::log(static_cast<double>(xMin) / xGridOrigin) / std::log(xGridStep));
        double t = std::min(xGridOrigin * std::pow(static_cast<double>(xGridStep), n),
                            static_cast<double>(xMax));
        if (!(t > xMin))
            t *= xGridStep;
        context->setLineStyle(kLineOnOffDash);
        for (int i = 0; i < kMaxTicks && t <= xMax; ++i, t *= xGridStep) {
            const float tick = static_cast<float>(t);
            drawColumn(context, tick, tick);
        }
    }
    // The y grid and the frame are those of the linear plot.
    drawRowGrid(context);
    drawFrameRect(context);
}

void CPlotAxes::drawXLabel(CDrawContext* context, float value, const char* format)
{
    char text[kLabelChars + 1] = {};
    formatLabel(text, value, format, "%2.0f", "%2.1fk");
    const CRect& r = getViewSize();
    const double c = valueToPixel(value - xLabelOffset, yMin).x;
    if (r.left <= c - 26)
        context->drawString(text, CRect(c - 45, r.bottom - 11, c - 1, r.bottom - 2), kRightText,
                            true);
    else
        context->drawString(text, CRect(c + 1, r.bottom - 11, c + 45, r.bottom - 2), kLeftText,
                            true);
}

void CPlotAxes::drawYLabel(CDrawContext* context, float value, const char* format)
{
    char text[kLabelChars + 1] = {};
    formatLabel(text, value, format, "%+2.0f", "%+2.1fk");
    const CRect& r = getViewSize();
    const double row = valueToPixel(xMin, value - yLabelOffset).y;
    const double top = row - 10 >= r.top ? row - 10 : row + 2;
    const double bottom = row - 10 >= r.top ? row - 1 : row + 11;
    if (yLabelsRight)
        context->drawString(text, CRect(r.right - 40, top, r.right - 1, bottom), kRightText, true);
    else
        context->drawString(text, CRect(r.left + 2, top, r.left + 41, bottom), kLeftText, true);
}
