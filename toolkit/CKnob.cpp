#include "toolkit/CKnob.h"

#include <cstring>

namespace VSTGUI {

CKnobBase::CKnobBase(const CRect& size, CControlListener* listener, int32_t tag,
                     CBitmap* background)
    : CControl(size, listener, tag, background)
{
    setWantsFocus(true);
}

CKnobBase::CKnobBase(const CKnobBase& other) : CControl(other), zoomFactor_(other.zoomFactor_) {}

CMouseEventResult CKnobBase::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    if (buttons & kControl) {
        // Back to the default, as one edit.
        beginEdit();
        value_ = getDefaultValue();
        bounceValue();
        if (isDirty()) {
            valueChanged();
            invalid();
        }
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    beginEdit();
    dragging_ = true;
    firstPoint_ = where;
    lastPoint_ = where;
    entryValue_ = value_;
    fineDrag_ = (buttons & kShift) != 0;
    return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!dragging_ || !(buttons & kLButton))
        return kMouseEventNotHandled;
    const bool fine = (buttons & kShift) != 0;
    if (fine != fineDrag_) {
        // Pressing or releasing Shift mid-drag changes the speed from the
        // last position on, without a jump.
        firstPoint_ = lastPoint_;
        entryValue_ = value_;
        fineDrag_ = fine;
    }
    lastPoint_ = where;
    const CCoord range = fine ? kDragRange * zoomFactor_ : kDragRange;
    value_ = entryValue_ + static_cast<float>((firstPoint_.y - where.y) * getRange() / range);
    bounceValue();
    if (isDirty()) {
        valueChanged();
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseUp(CPoint&, const CButtonState&)
{
    if (!dragging_)
        return kMouseEventNotHandled;
    dragging_ = false;
    if (isEditing())
        endEdit();
    return kMouseEventHandled;
}

void CKnobBase::notifyStep()
{
    if (!isDirty())
        return;
    invalid();
    beginEdit();
    valueChanged();
    endEdit();
}

bool CKnobBase::onWheel(const CPoint&, const float& distance, const CButtonState& buttons)
{
    if (!getMouseEnabled())
        return false;
    stepValue(distance, (buttons & kShift) != 0);
    return true;
}

int32_t CKnobBase::onKeyDown(VstKeyCode& keyCode)
{
    float direction = 0;
    switch (keyCode.virt) {
    case VKEY_UP:
    case VKEY_RIGHT:
        direction = 1;
        break;
    case VKEY_DOWN:
    case VKEY_LEFT:
        direction = -1;
        break;
    default:
        return -1;
    }
    stepValue(direction, (keyCode.modifier & MODIFIER_SHIFT) != 0);
    return 1;
}

void CKnobBase::stepValue(float steps, bool fine)
{
    float step = steps * getWheelInc() * getRange();
    if (fine)
        step *= 0.1f;
    value_ += step;
    bounceValue();
    notifyStep();
}

bool CKnobBase::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CKnobBase") == 0) || CControl::isTypeOf(type);
}

} // namespace VSTGUI
