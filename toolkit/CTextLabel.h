// A line of text in a rectangle: font, colours, horizontal alignment,
// optionally over a background fill or picture.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/CFontDesc.h"

#include <string>

namespace VSTGUI {

class CTextLabel : public CControl
{
public:
    CTextLabel(const CRect& size, const char* text = nullptr, CBitmap* background = nullptr, int32_t style = 0);
    CTextLabel(const CTextLabel& other);
    ~CTextLabel() override;

    virtual void setText(const char* text);
    const char* getText() const { return text_.c_str(); }
    virtual void setFont(CFontRef font);
    CFontRef getFont() const { return font_; }
    virtual void setFontColor(const CColor& color);
    const CColor& getFontColor() const { return fontColor_; }
    virtual void setBackColor(const CColor& color);
    const CColor& getBackColor() const { return backColor_; }
    virtual void setHoriAlign(CHoriTxtAlign align);
    CHoriTxtAlign getHoriAlign() const { return horiAlign_; }
    void setAntialias(bool state) { antialias_ = state; }

    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CTextLabel(*this); }

private:
    std::string text_;
    CFontRef font_;
    CColor fontColor_ = kWhiteCColor;
    CColor backColor_ = kBlackCColor;
    CHoriTxtAlign horiAlign_ = kCenterText;
    bool antialias_ = true;
};

} // namespace VSTGUI
