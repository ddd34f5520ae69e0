#include "toolkit/CControl.h"

#include "toolkit/CFrame.h"

#include <cstring>

namespace VSTGUI {

CControl::CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), listener_(listener), tag_(tag)
{
    if (background)
        setBackground(background);
}

CControl::CControl(const CControl& other)
    : CView(other),
      listener_(other.listener_),
      tag_(other.tag_),
      value_(other.value_),
      oldValue_(other.oldValue_),
      min_(other.min_),
      max_(other.max_),
      defaultValue_(other.defaultValue_),
      wheelInc_(other.wheelInc_)
{}

void CControl::setValueNormalized(float val)
{
    if (val < 0.f)
        val = 0.f;
    else if (val > 1.f)
        val = 1.f;
    setValue(min_ + getRange() * val);
}

float CControl::getValueNormalized() const
{
    const float range = getRange();
    return range == 0.f ? 0.f : (value_ - min_) / range;
}

bool CControl::bounceValue()
{
    if (value_ > max_) {
        value_ = max_;
        return true;
    }
    if (value_ < min_) {
        value_ = min_;
        return true;
    }
    return false;
}

void CControl::valueChanged()
{
    if (listener_)
        listener_->valueChanged(this);
}

void CControl::beginEdit()
{
    ++editing_;
    if (listener_)
        listener_->controlBeginEdit(this);
    if (frame_)
        frame_->beginEdit(tag_);
}

void CControl::endEdit()
{
    if (editing_ > 0)
        --editing_;
    if (frame_)
        frame_->endEdit(tag_);
    if (listener_)
        listener_->controlEndEdit(this);
}

void CControl::setDirty(bool val)
{
    CView::setDirty(val);
    if (!val)
        oldValue_ = value_;
}

bool CControl::isDirty() const
{
    return oldValue_ != value_ || CView::isDirty();
}

bool CControl::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CControl") == 0) || CView::isTypeOf(type);
}

} // namespace VSTGUI
