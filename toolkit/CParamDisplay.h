// A control that shows text in a rectangle: font, font colour, background
// fill (unless transparent) and alignment. The option menu draws its
// current entry with it.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/CFontDesc.h"

namespace VSTGUI {

class CParamDisplay : public CControl
{
public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
    CParamDisplay(const CParamDisplay& other);
    ~CParamDisplay() override;

    virtual void setFont(CFontRef font);
    CFontRef getFont() const { return font_; }
    virtual void setFontColor(const CColor& color);
    const CColor& getFontColor() const { return fontColor_; }
    virtual void setBackColor(const CColor& color);
    const CColor& getBackColor() const { return backColor_; }
    virtual void setHoriAlign(CHoriTxtAlign align);
    CHoriTxtAlign getHoriAlign() const { return horiAlign_; }
    int32_t getStyle() const { return style_; }

    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CParamDisplay(*this); }

protected:
    // The background fill (when opaque) and picture.
    virtual void drawBack(CDrawContext* context);
    // The text, inset by 2 px from the sides, in the font and its colour.
    virtual void drawText(CDrawContext* context, const char* text);

    CFontRef font_;
    CColor fontColor_ = kWhiteCColor;
    CColor backColor_ = kBlackCColor;
    CHoriTxtAlign horiAlign_ = kCenterText;
    int32_t style_;
};

} // namespace VSTGUI
