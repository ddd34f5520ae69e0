// The common part of knobs: a value moved by a vertical drag (a full drag
// of 200 pixels covers the range, the zoom factor times that with Shift),
// by the wheel and by the arrow keys. Control-click returns to the default
// value. The drag moves the stored value linearly with the pointer.
#pragma once

#include "toolkit/CControl.h"

namespace VSTGUI {

class CKnobBase : public CControl
{
public:
    CKnobBase(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);
    CKnobBase(const CKnobBase& other);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    using CControl::onWheel;
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;

    // How many times finer a drag with Shift is.
    virtual void setZoomFactor(float val) { zoomFactor_ = val > 0 ? val : 1; }
    float getZoomFactor() const { return zoomFactor_; }

    bool isTypeOf(const char* type) const override;

    // Pixels of vertical travel that cover the whole range.
    static constexpr CCoord kDragRange = 200;

protected:
    // Moves the value by `steps` wheel increments of the range (a tenth of
    // that when fine), within bounds, as one whole edit gesture.
    void stepValue(float steps, bool fine);
    // Sends the change of one step (wheel or key) as a whole edit gesture.
    void notifyStep();

    float zoomFactor_ = 1.5f;
    CPoint firstPoint_;
    CPoint lastPoint_;
    float entryValue_ = 0;
    bool fineDrag_ = false;
    bool dragging_ = false;
};

} // namespace VSTGUI
