#include "editor/VantelorPlot.h"

#include "product/VantelorParameters.h"
#include "plugin/TextBounded.h"
#include "toolkit/CDrawContext.h"

#include <cmath>

using namespace VSTGUI;

CVantelorPlot::CVantelorPlot(const CRect& size, CControlListener* listener)
    : CPlotAxes(size, listener, -1)
{
    // The axes are the parameters' own ranges, so a position in axis units
    // is the angle in degrees.
    setXRange(-kAngleRange, kAngleRange);
    setYRange(-kAngleRange, kAngleRange);
    setXGridStep(0);
    setYGridStep(0);
    setDrawFrame(false);
    addPointGroup(kAziL, kElevL, kActiveL, kWidthL, kGroupVisible | kGroupSnapY0);
    addPointGroup(kAziR, kElevR, kActiveR, kWidthR, kGroupVisible | kGroupSnapY0);
    setPointRadius(kMaxRadius);
    setShowXLabels(false);
    setShowYLabels(false, false);
    setCrosshairEnabled(true);
}

CVantelorPlot::~CVantelorPlot() = default;

void CVantelorPlot::drawPoints(CDrawContext* context)
{
    context->setDrawMode(kAntiAliasing);
    context->setLineWidth(2);
    context->setLineStyle(kLineSolid);
    context->setFont(kNormalFont);
    for (int i = 0; i < groupCount; ++i) {
        if (!(groupFlags[i] & kGroupVisible))
            continue;
        // The size follows the width from the smallest circle to the hit
        // radius; a width outside 0..1 is drawn at the nearer end.
        float width = widthValue[i];
        width = width >= 0.f ? (width <= 1.f ? width : 1.f) : 0.f;
        const int r =
            kMinRadius + static_cast<int>(static_cast<float>(pointRadius - kMinRadius) * width);
        const CPoint& c = groupPosition[i];
        const CRect circle(c.x - r, c.y - r, c.x + r, c.y + r);
        const bool active = activeValue[i] > 0.5f;
        if (active) {
            context->setFillColor(i == selectedGroup ? selectedColor : pointColor);
            context->drawEllipse(circle, kDrawFilled);
            context->setFrameColor(shadeColor);
        } else {
            context->setFillColor(shadeColor);
            context->drawEllipse(circle, kDrawFilled);
            context->setFrameColor(axisColor);
        }
        context->drawEllipse(circle, kDrawStroked);
        if (groupFlags[i] & kGroupNumbered) {
            char number[9] = {};
            formatBounded(number, 8, "%d", i + 1);
            CColor text = active ? shadeColor : axisColor;
            if (active)
                text.alpha = 255;
            context->setFontColor(text);
            CRect box = circle;
            box.offset(0, 1);
            context->drawString(number, box, kCenterText, true);
        }
    }
}
