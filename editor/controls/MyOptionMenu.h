// An option menu whose value is a whole entry index, with an optional
// border. The normalised value spreads the entries evenly over 0..1, so a
// host parameter of n steps maps onto n entries.
//
// Threads: the window's thread.
#pragma once

#include "toolkit/COptionMenu.h"

class CMyOptionMenu : public VSTGUI::COptionMenu
{
public:
    CMyOptionMenu(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, int32_t tag,
                  VSTGUI::CBitmap* background = nullptr, VSTGUI::CBitmap* bgWhenClick = nullptr,
                  int32_t style = 0);

    bool isTypeOf(const char* type) const override;
    VSTGUI::CView* newCopy() const override { return new CMyOptionMenu(*this); }

    void draw(VSTGUI::CDrawContext* context) override;
    // Ignored unless 0 <= val < the number of entries; rounded to an entry.
    void setValue(float val) override;
    float getValue() const override;
    void setValueNormalized(float val) override;
    float getValueNormalized() const override;

    virtual void setDrawBorder(bool draw);
    virtual void setBorderColor(VSTGUI::CColor color);

protected:
    bool drawBorder = false;
    VSTGUI::CColor borderColor{100, 120, 0, 255};
};
