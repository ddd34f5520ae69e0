// A view with a value: tag, value and range, a listener told of changes,
// and the edit gesture (beginEdit/endEdit) passed through the frame to the
// editor and on to the host.
#pragma once

#include "toolkit/CView.h"

namespace VSTGUI {

class CControl;

class CControlListener
{
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
    virtual int32_t controlModifierClicked(CControl*, CButtonState) { return 0; }
    virtual void controlBeginEdit(CControl*) {}
    virtual void controlEndEdit(CControl*) {}
};

class CControl : public CView
{
public:
    CControl(const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0,
             CBitmap* background = nullptr);
    CControl(const CControl& other);

    virtual void setValue(float val) { value_ = val; }
    virtual float getValue() const { return value_; }
    // Value mapped to 0..1 of the control's range and back.
    virtual void setValueNormalized(float val);
    virtual float getValueNormalized() const;
    virtual void setMin(float val) { min_ = val; }
    virtual float getMin() const { return min_; }
    virtual void setMax(float val) { max_ = val; }
    virtual float getMax() const { return max_; }
    float getRange() const { return max_ - min_; }
    virtual void setDefaultValue(float val) { defaultValue_ = val; }
    virtual float getDefaultValue() const { return defaultValue_; }
    // Clamps the value into the range; true when it had to.
    virtual bool bounceValue();

    virtual void setTag(int32_t tag) { tag_ = tag; }
    int32_t getTag() const { return tag_; }
    virtual void setListener(CControlListener* listener) { listener_ = listener; }
    CControlListener* getListener() const { return listener_; }

    // Tells the listener that the value changed.
    virtual void valueChanged();
    // The edit gesture around one or more valueChanged calls; each goes to
    // the listener and through the frame to the editor.
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editing_ > 0; }

    void setWheelInc(float val) { wheelInc_ = val; }
    float getWheelInc() const { return wheelInc_; }

    // A control is also dirty while its value differs from the one last drawn.
    void setDirty(bool val = true) override;
    bool isDirty() const override;

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CControl(*this); }

protected:
    CControlListener* listener_;
    int32_t tag_;
    float value_ = 0.f;
    float oldValue_ = 1.f;
    float min_ = 0.f;
    float max_ = 1.f;
    float defaultValue_ = 0.5f;
    float wheelInc_ = 0.1f;
    int32_t editing_ = 0;
};

} // namespace VSTGUI
