#include "editor/controls/MyAnimKnob.h"

#include "editor/controls/ControlValues.h"
#include "plugin/TextBounded.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace VSTGUI;
using namespace control_values;

namespace {

constexpr float kZoomFactor = 10.f;

} // namespace

CMyAnimKnob::CMyAnimKnob(const CRect& size, CControlListener* listener, int32_t tag,
                         CBitmap* background, const CPoint& offset, const CRect& labelRect_)
    : CAnimKnob(size, listener, tag, background, offset), labelRect(labelRect_)
{
    init();
}

CMyAnimKnob::CMyAnimKnob(const CRect& size, CControlListener* listener, int32_t tag,
                         int32_t subPixmaps, CCoord heightOfOneImage, CBitmap* background,
                         const CPoint& offset, const CRect& labelRect_)
    : CAnimKnob(size, listener, tag, subPixmaps, heightOfOneImage, background, offset),
      labelRect(labelRect_)
{
    init();
}

CMyAnimKnob::CMyAnimKnob(const CMyAnimKnob& other)
    : CAnimKnob(other),
      labelRect(other.labelRect),
      labelColor(other.labelColor),
      borderColor(other.borderColor),
      backgroundColor(other.backgroundColor),
      barColor(other.barColor),
      curve(other.curve),
      drawBorder(other.drawBorder),
      labelFont(other.labelFont)
{
    std::memcpy(label, other.label, sizeof label);
    labelFont->remember();
}

CMyAnimKnob::~CMyAnimKnob()
{
    labelFont->forget();
}

void CMyAnimKnob::init()
{
    // The label box is stored in window coordinates.
    labelRect.offset(size_.left, size_.top);
    labelFont = kNormalFont;
    labelFont->remember();
    setZoomFactor(kZoomFactor);
    setWheelInc(kWheelIncrement);
    setTransparency(true);
}

bool CMyAnimKnob::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CMyAnimKnob") == 0) || CAnimKnob::isTypeOf(type);
}

// ---- Response curve --------------------------------------------------------

float CMyAnimKnob::curved(float stored) const
{
    const float r = getRange();
    if (r == 0.f)
        return getMin();
    const float t = clampUnit((stored - getMin()) / r);
    return curve == 1.f ? getMin() + r * t : getMin() + r * std::pow(t, 1.f / curve);
}

float CMyAnimKnob::uncurved(float outside) const
{
    const float r = getRange();
    if (r == 0.f)
        return getMin();
    const float x = std::clamp(outside, std::min(getMin(), getMax()), std::max(getMin(), getMax()));
    const float t = clampUnit((x - getMin()) / r);
    return curve == 1.f ? getMin() + r * t : getMin() + r * std::pow(t, curve);
}

void CMyAnimKnob::setValue(float val)
{
    if (std::isnan(val))
        return;
    value_ = uncurved(val);
}

float CMyAnimKnob::getValue() const
{
    return curved(value_);
}

void CMyAnimKnob::setValueNormalized(float val)
{
    if (std::isnan(val))
        return;
    const float x = clampUnit(val);
    value_ = getMin() + getRange() * (curve == 1.f ? x : std::pow(x, curve));
}

float CMyAnimKnob::getValueNormalized() const
{
    const float r = getRange();
    if (r == 0.f)
        return 0.f;
    const float t = clampUnit((value_ - getMin()) / r);
    return curve == 1.f ? t : std::pow(t, 1.f / curve);
}

void CMyAnimKnob::setDefaultValue(float val)
{
    if (std::isnan(val))
        return;
    CAnimKnob::setDefaultValue(uncurved(val));
}

// ---- Wheel and keys ----------------------------------------------------------

void CMyAnimKnob::notifyEdit()
{
    invalid();
    beginEdit();
    valueChanged();
    endEdit();
}

bool CMyAnimKnob::onWheel(const CPoint&, const float& distance, const CButtonState& buttons)
{
    if (!getMouseEnabled() || !getListener())
        return false;
    const float v = getValue();
    const float r = getRange();
    float f = 1.f;
    if (curve != 1.f && r != 0.f) {
        // Steps even in the knob's travel: the slope of the curve, at least
        // 0.1^(1/c) so that a low setting still moves, and at most its
        // reciprocal, so that a step from the bottom of a steep curve does
        // not leap to the top.
        const float floor = std::pow(0.1f, 1.f / curve);
        f = std::clamp(std::pow(clampUnit((v - getMin()) / r), 1.f - curve), floor, 1.f / floor);
    }
    float step = getWheelInc() * distance;
    if (buttons & kShift)
        step *= 0.1f;
    const float target =
        std::clamp(v + f * step, std::min(getMin(), getMax()), std::max(getMin(), getMax()));
    const float before = value_;
    setValue(target);
    if (value_ != before)
        notifyEdit();
    return true;
}

int32_t CMyAnimKnob::onKeyDown(VstKeyCode& keyCode)
{
    float direction = 0;
    switch (keyCode.virt) {
    case VKEY_LEFT:
    case VKEY_DOWN:
        direction = -1;
        break;
    case VKEY_UP:
    case VKEY_RIGHT:
        direction = 1;
        break;
    default:
        return -1;
    }
    const float v = getValue();
    float f = 1.f;
    if (curve != 1.f) {
        // As for the wheel, with a floor of 0.05 and the same ceiling.
        const float ceiling = 1.f / std::pow(0.1f, 1.f / curve);
        f = std::clamp(std::pow(std::max(v, 0.f), 1.f - curve), 0.05f, std::max(ceiling, 0.05f));
    }
    float step = direction * getWheelInc() * f;
    if (keyCode.modifier & MODIFIER_SHIFT)
        step *= 0.1f;
    const float before = value_;
    setValue(v + step);
    if (value_ != before)
        notifyEdit();
    return 1;
}

// ---- Settings ----------------------------------------------------------------

void CMyAnimKnob::setLabelColor(CColor color)
{
    if (store(labelColor, color))
        setDirty();
}
void CMyAnimKnob::setBackgroundColor(CColor color)
{
    if (store(backgroundColor, color))
        setDirty();
}
void CMyAnimKnob::setBarColor(CColor color)
{
    if (store(barColor, color))
        setDirty();
}
void CMyAnimKnob::setBorderColor(CColor color)
{
    if (store(borderColor, color))
        setDirty();
}
void CMyAnimKnob::setDrawBorder(bool draw)
{
    if (store(drawBorder, draw))
        setDirty();
}

void CMyAnimKnob::setLabel(const char* text)
{
    copyBounded(label, text, kLabelChars);
    setDirty();
}

void CMyAnimKnob::setCurve(float exponent)
{
    // Only a positive, finite exponent describes a curve from the bottom of
    // the range to its top.
    if (!(exponent > 0.f) || !std::isfinite(exponent))
        return;
    if (store(curve, exponent))
        setDirty();
}

void CMyAnimKnob::setLabelFont(CFontRef font)
{
    if (!font || font == labelFont)
        return;
    font->remember();
    labelFont->forget();
    labelFont = font;
    setDirty();
}

void CMyAnimKnob::setViewRect(const CRect& rect, bool redraw)
{
    if (rect == getViewSize())
        return;
    labelRect.offset(rect.left - size_.left, rect.top - size_.top);
    setViewSize(rect, redraw);
    setMouseableArea(rect);
}

// ---- Drawing -----------------------------------------------------------------

void CMyAnimKnob::draw(CDrawContext* context)
{
    if (!getTransparency()) {
        context->setFillColor(backgroundColor);
        context->drawRect(size_, kDrawFilled);
    }
    CBitmap* strip = getBackground();
    if (strip && strip->isLoaded() && getNumSubPixmaps() > 0) {
        CAnimKnob::draw(context);
    } else {
        const float r = getRange();
        const double level = r != 0.f ? std::trunc((value_ - getMin()) * getWidth() / r) : 0.0;
        context->setDrawMode(kAliasing);
        context->setFillColor(barColor);
        context->drawRect(CRect(size_.left, size_.top, size_.left + level, size_.bottom),
                          kDrawFilled);
    }
    if (drawBorder) {
        context->setDrawMode(kAliasing);
        context->setFrameColor(borderColor);
        context->setLineWidth(1);
        context->setLineStyle(kLineSolid);
        context->drawRect(size_, kDrawStroked);
    }
    if (labelRect.getWidth() > 0) {
        context->setFontColor(labelColor);
        context->setDrawMode(kAntiAliasing);
        context->setFont(labelFont);
        context->drawString(label, labelRect, kCenterText, true);
    }
    setDirty(false);
}

// ---- On/off button -------------------------------------------------------------

bool CMyOnOffButton::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CMyOnOffButton") == 0) || CMyAnimKnob::isTypeOf(type);
}

CMouseEventResult CMyOnOffButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (buttons & kLButton) {
        value_ = 1.f - value_;
        if (getListener()) {
            beginEdit();
            valueChanged();
            endEdit();
        }
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult CMyOnOffButton::onMouseUp(CPoint&, const CButtonState&)
{
    return kMouseEventHandled;
}
CMouseEventResult CMyOnOffButton::onMouseMoved(CPoint&, const CButtonState&)
{
    return kMouseEventHandled;
}
bool CMyOnOffButton::onWheel(const CPoint&, const float&, const CButtonState&)
{
    return true;
}
