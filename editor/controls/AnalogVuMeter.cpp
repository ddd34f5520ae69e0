#include "editor/controls/AnalogVuMeter.h"

#include "toolkit/CDrawContext.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

using namespace VSTGUI;

namespace {

constexpr float kTwoPi = 2.f * std::numbers::pi_v<float>;
constexpr float kHalfPi = 0.5f * std::numbers::pi_v<float>;
constexpr CColor kNeedleColor{0, 0, 0, 150};

} // namespace

CAnalogVuMeter::CAnalogVuMeter(const CRect& size, int32_t needleLength_)
    : CView(size), needleLength(std::max(needleLength_, 1))
{
    // A needle shorter than half the width cannot reach the corners; it then
    // swings a quarter turn each way instead of to an undefined angle.
    const double reach = std::min(0.5 * size.getWidth() / needleLength, 1.0);
    maxAngle = static_cast<float>(std::asin(std::max(reach, 0.0)));
}

bool CAnalogVuMeter::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CAnalogVuMeter") == 0) || CView::isTypeOf(type);
}

void CAnalogVuMeter::setNeedleValue(float value_)
{
    if (std::isnan(value_))
        return;
    value_ = std::clamp(value_, 0.f, 1.f);
    if (value_ == value)
        return;
    value = value_;
    setDirty();
}

float CAnalogVuMeter::parabolicSine(float angle)
{
    float turns = angle / kTwoPi;
    turns -= std::floor(turns); // into 0..1, also for negative angles
    const float q = 4.f * turns;
    return q < 2.f ? (2.f - q) * q : (q - 3.f) * (q - 3.f) - 1.f;
}

void CAnalogVuMeter::getNeedleLine(CPoint& tip, CPoint& foot) const
{
    const CRect& r = getViewSize();
    const float a = (value - 0.5f) * 2.f * maxAngle;
    const double s = parabolicSine(a);
    const double c = parabolicSine(a + kHalfPi);
    const double pivotX = (r.left + r.right) / 2;
    const double length = needleLength;
    tip = CPoint(pivotX + length * s, r.top + length - length * c);
    foot = CPoint(pivotX + (length - (r.bottom - r.top)) * s, r.bottom);
}

void CAnalogVuMeter::draw(CDrawContext* context)
{
    CView::draw(context);
    CPoint tip;
    CPoint foot;
    getNeedleLine(tip, foot);
    context->setDrawMode(kAntiAliasing);
    context->setLineWidth(1);
    context->setLineStyle(kLineSolid);
    context->setFrameColor(kNeedleColor);
    context->drawLine(tip, foot);
    setDirty(false);
}
