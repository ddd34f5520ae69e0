// A momentary button drawn from a picture with two states stacked
// vertically: the upper image at the minimum value, the lower at the
// maximum. It reports a change on release over the button.
#pragma once

#include "toolkit/CControl.h"

namespace VSTGUI {

class CKickButton : public CControl
{
public:
    CKickButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                const CPoint& offset = CPoint(0, 0));
    CKickButton(const CRect& size, CControlListener* listener, int32_t tag, CCoord heightOfOneImage,
                CBitmap* background, const CPoint& offset = CPoint(0, 0));

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;

    void setHeightOfOneImage(CCoord height) { heightOfOneImage_ = height; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage_; }

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CKickButton(*this); }

protected:
    CPoint offset_;
    CCoord heightOfOneImage_;
};

} // namespace VSTGUI
