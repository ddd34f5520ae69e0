#include "toolkit/CTextLabel.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

#include <cstring>

namespace VSTGUI {

CTextLabel::CTextLabel(const CRect& size, const char* text, CBitmap* background, int32_t)
    : CControl(size, nullptr, -1, background), text_(text ? text : ""), font_(new CFontDesc("Arial", 12))
{
    setMouseEnabled(false);
}

CTextLabel::CTextLabel(const CTextLabel& other)
    : CControl(other),
      text_(other.text_),
      font_(other.font_),
      fontColor_(other.fontColor_),
      backColor_(other.backColor_),
      horiAlign_(other.horiAlign_),
      antialias_(other.antialias_)
{
    font_->remember();
}

CTextLabel::~CTextLabel()
{
    font_->forget();
}

void CTextLabel::setText(const char* text)
{
    const char* next = text ? text : "";
    if (text_ == next)
        return;
    text_ = next;
    setDirty(true);
}

void CTextLabel::setFont(CFontRef font)
{
    if (!font || font == font_)
        return;
    font->remember();
    font_->forget();
    font_ = font;
    setDirty(true);
}

void CTextLabel::setFontColor(const CColor& color)
{
    fontColor_ = color;
    setDirty(true);
}

void CTextLabel::setBackColor(const CColor& color)
{
    backColor_ = color;
    setDirty(true);
}

void CTextLabel::setHoriAlign(CHoriTxtAlign align)
{
    horiAlign_ = align;
    setDirty(true);
}

void CTextLabel::draw(CDrawContext* context)
{
    if (!getTransparency()) {
        if (getBackground()) {
            getBackground()->draw(context, size_, getBackOffset());
        } else {
            context->setFillColor(backColor_);
            context->drawRect(size_, kDrawFilled);
        }
    }
    context->setFont(font_);
    context->setFontColor(fontColor_);
    context->drawString(text_.c_str(), size_, horiAlign_, antialias_);
    setDirty(false);
}

bool CTextLabel::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CTextLabel") == 0) || CControl::isTypeOf(type);
}

} // namespace VSTGUI
