#include "toolkit/CKickButton.h"

#include "toolkit/CBitmap.h"

#include <cstring>

namespace VSTGUI {

CKickButton::CKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                         CBitmap* background, const CPoint& offset)
    : CKickButton(size, listener, tag, size.getHeight(), background, offset)
{}

CKickButton::CKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                         CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset_(offset),
      heightOfOneImage_(heightOfOneImage)
{
    setWheelInc(0);
}

void CKickButton::draw(CDrawContext* context)
{
    CPoint where = offset_;
    if (value_ == getMax())
        where.y += heightOfOneImage_;
    if (getBackground())
        getBackground()->draw(context, size_, where);
    setDirty(false);
}

CMouseEventResult CKickButton::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    beginEdit();
    return onMouseMoved(where, buttons);
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    value_ = size_.pointInside(where) ? getMax() : getMin();
    if (isDirty())
        invalid();
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint&, const CButtonState&)
{
    if (value_ != getMin()) {
        valueChanged();
        value_ = getMin();
        valueChanged();
        invalid();
    }
    if (isEditing())
        endEdit();
    return kMouseEventHandled;
}

bool CKickButton::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CKickButton") == 0) || CControl::isTypeOf(type);
}

} // namespace VSTGUI
