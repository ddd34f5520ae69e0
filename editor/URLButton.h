// The small information button of the editor window: shows its pressed
// image while the left button is held over it and opens its address when
// released over it. Dragging off before release cancels.
#pragma once

#include "toolkit/CKickButton.h"

class CURLButton : public VSTGUI::CKickButton
{
public:
    static constexpr size_t kMaxURLLength = 255;

    // One image is the rectangle's height; the picture stacks two.
    CURLButton(const VSTGUI::CRect& size, VSTGUI::CBitmap* background);

    // Copies at most kMaxURLLength characters; null clears the address.
    void setURL(const char* url);
    const char* getURL() const { return url_; }

    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where,
                                           const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where,
                                        const VSTGUI::CButtonState& buttons) override;

    bool isTypeOf(const char* type) const override;
    VSTGUI::CView* newCopy() const override { return new CURLButton(*this); }

private:
    char url_[kMaxURLLength + 1];
};
