// The drawing order of the plot, the crosshair and the point groups.
#include "editor/controls/PlotAxes.h"

#include "editor/controls/PlotAxesShared.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

using namespace VSTGUI;
using namespace plot_axes;

void CPlotAxes::drawBackground(CDrawContext* context)
{
    if (!getTransparency()) {
        context->setFillColor(shadeColor);
        context->drawRect(size_, kDrawFilled);
    }
    if (CBitmap* background = getBackground())
        background->draw(context, size_, CPoint(0, 0), 1.f);
}

void CPlotAxes::draw(CDrawContext* context)
{
    drawBackground(context);
    drawUnderlay(context);
    switch (plotMode) {
    case kPlotLinear:
        drawLinearGrid(context);
        break;
    case kPlotPolar:
        drawPolarGrid(context);
        break;
    case kPlotLogX:
        drawLogGrid(context);
        break;
    default:
        break;
    }
    if (crosshairVisible)
        drawCrosshair(context);
    drawPoints(context);
    setDirty(false);
}

void CPlotAxes::drawUnderlay(CDrawContext*) {}
void CPlotAxes::drawCrosshair(CDrawContext* context)
{
    const CRect& r = getViewSize();
    const double cx = crosshair.x;
    const double cy = crosshair.y;
    constexpr CColor kShadow{0, 0, 0, 36};
    constexpr CColor kClear{0, 0, 0, 0};

    // Soft shadows below the horizontal line and right of the vertical one.
    CGradient* gradient = CGradient::create(0, 1, kShadow, kClear);
    CGraphicsPath* below = context->createGraphicsPath();
    below->addRect(CRect(r.left, cy, r.right, cy + 20));
    context->fillLinearGradient(below, *gradient, CPoint(cx, cy), CPoint(cx, cy + 20));
    below->forget();
    CGraphicsPath* right = context->createGraphicsPath();
    right->addRect(CRect(cx, r.top, cx + 20, r.bottom));
    context->fillLinearGradient(right, *gradient, CPoint(cx, cy), CPoint(cx + 20, cy));
    right->forget();
    gradient->forget();

    context->setFontColor(selectedColor);
    context->setFrameColor(axisColor);
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setLineStyle(kLineOnOffDash);
    context->setFont(kNormalFont);
    context->drawLine(CPoint(r.left, cy), CPoint(r.right, cy));
    context->drawLine(CPoint(cx, r.bottom), CPoint(cx, r.top));
    drawXLabel(context, pixelToXValue(crosshair) + xLabelOffset, "%2.1f");
    drawYLabel(context, pixelToYValue(crosshair) + yLabelOffset, "%+2.1f");
}

void CPlotAxes::drawPoints(CDrawContext* context)
{
    if (groupCount == 0)
        return;
    context->setDrawMode(kAntiAliasing);
    context->setLineWidth(2);
    context->setLineStyle(kLineSolid);
    context->setFont(kNormalFont);
    const double radius = pointRadius;
    for (int i = 0; i < groupCount; ++i) {
        if (!(groupFlags[i] & kGroupVisible))
            continue;
        const CPoint& g = groupPosition[i];
        const CRect circle(g.x - radius, g.y - radius, g.x + radius, g.y + radius);
        context->setFillColor(CColor{0, 0, 0, 40});
        context->setFrameColor(CColor{0, 0, 0, 10});
        context->drawEllipse(CRect(circle.left, circle.top, circle.right + 3, circle.bottom + 3),
                             kDrawFilledAndStroked);

        const bool selected = i == selectedGroup;
        const CColor own = groupColor[i];
        const CColor dim{static_cast<uint8_t>(own.red / 2), static_cast<uint8_t>(own.green / 2),
                         static_cast<uint8_t>(own.blue / 2), own.alpha};
        CColor textColor;
        if (activeValue[i] > 0.5f) {
            context->setFillColor(selected ? own : dim);
            context->setFrameColor(shadeColor);
            textColor = withAlpha(shadeColor, 255);
        } else {
            context->setFillColor(shadeColor);
            context->setFrameColor(selected ? own : dim);
            textColor = selected ? own : dim;
        }
        context->drawEllipse(circle, kDrawFilledAndStroked);
        if (groupFlags[i] & kGroupNumbered) {
            char number[kLabelChars + 1] = {};
            formatBounded(number, kLabelChars, "%d", i + 1);
            context->setFontColor(textColor);
            CRect box = circle;
            box.offset(0, 1);
            context->drawString(number, box, kCenterText, true);
        }
    }
}
