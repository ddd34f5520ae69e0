// A knob with an optional strip animation, a level bar when there is no
// strip, a text label, a border and a response curve: the stored value moves
// linearly with the knob's travel, the value seen from outside is the
// travel to the power 1 / curve (curve 1: plain). CMyOnOffButton is a toggle
// built on it.
//
// Threads: the window's thread.
#pragma once

#include "toolkit/CAnimKnob.h"
#include "toolkit/CFontDesc.h"

class CMyAnimKnob : public VSTGUI::CAnimKnob
{
public:
    // labelRect is given relative to the knob's top-left corner.
    CMyAnimKnob(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, int32_t tag,
                VSTGUI::CBitmap* background, const VSTGUI::CPoint& offset,
                const VSTGUI::CRect& labelRect);
    CMyAnimKnob(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, int32_t tag,
                int32_t subPixmaps, VSTGUI::CCoord heightOfOneImage, VSTGUI::CBitmap* background,
                const VSTGUI::CPoint& offset, const VSTGUI::CRect& labelRect);
    CMyAnimKnob(const CMyAnimKnob& other);
    ~CMyAnimKnob() override;

    bool isTypeOf(const char* type) const override;
    VSTGUI::CView* newCopy() const override { return new CMyAnimKnob(*this); }

    void draw(VSTGUI::CDrawContext* context) override;
    using VSTGUI::CKnobBase::onWheel;
    bool onWheel(const VSTGUI::CPoint& where, const float& distance,
                 const VSTGUI::CButtonState& buttons) override;
    int32_t onKeyDown(VSTGUI::VstKeyCode& keyCode) override;
    // The curved value; see the class comment.
    void setValue(float val) override;
    float getValue() const override;
    void setValueNormalized(float val) override;
    float getValueNormalized() const override;
    void setDefaultValue(float val) override;

    virtual void setLabelColor(VSTGUI::CColor color);
    // At most kLabelChars characters are kept.
    virtual void setLabel(const char* text);
    virtual void setBackgroundColor(VSTGUI::CColor color);
    virtual void setBarColor(VSTGUI::CColor color);
    virtual void setBorderColor(VSTGUI::CColor color);
    virtual void setCurve(float exponent);
    virtual void setDrawBorder(bool draw);
    virtual void setLabelFont(VSTGUI::CFontRef font);
    // Moves the label with the view and takes the rectangle as view and
    // mouse area.
    virtual void setViewRect(const VSTGUI::CRect& rect, bool redraw = true);

    const char* getLabel() const { return label; }
    const VSTGUI::CRect& getLabelRect() const { return labelRect; }
    float getCurve() const { return curve; }
    // The value as stored, linear in the knob's travel.
    float getStoredValue() const { return value_; }

    static constexpr int kLabelChars = 8;

protected:
    void init();
    // The value seen from outside for a stored value, and back.
    float curved(float stored) const;
    float uncurved(float outside) const;
    void notifyEdit();

    VSTGUI::CRect labelRect;
    VSTGUI::CColor labelColor{192, 250, 5, 255};
    VSTGUI::CColor borderColor{100, 120, 0, 255};
    VSTGUI::CColor backgroundColor{0, 0, 0, 160};
    VSTGUI::CColor barColor{160, 250, 5, 64};
    char label[kLabelChars + 1] = {};
    float curve = 1;
    bool drawBorder = false;
    VSTGUI::CFontRef labelFont;
};

// A toggle: a left click flips the value between 0 and 1; other buttons and
// the wheel are taken and change nothing.
class CMyOnOffButton : public CMyAnimKnob
{
public:
    using CMyAnimKnob::CMyAnimKnob;

    bool isTypeOf(const char* type) const override;
    VSTGUI::CView* newCopy() const override { return new CMyOnOffButton(*this); }

    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where,
                                        const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where,
                                           const VSTGUI::CButtonState& buttons) override;
    bool onWheel(const VSTGUI::CPoint& where, const float& distance,
                 const VSTGUI::CButtonState& buttons) override;
};
