#include "toolkit/CParamDisplay.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

#include <cstdio>
#include <cstring>

namespace VSTGUI {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, -1, background), font_(kNormalFont), style_(style)
{
    font_->remember();
}

CParamDisplay::CParamDisplay(const CParamDisplay& other)
    : CControl(other),
      font_(other.font_),
      fontColor_(other.fontColor_),
      backColor_(other.backColor_),
      horiAlign_(other.horiAlign_),
      style_(other.style_)
{
    font_->remember();
}

CParamDisplay::~CParamDisplay()
{
    font_->forget();
}

void CParamDisplay::setFont(CFontRef font)
{
    if (!font || font == font_)
        return;
    font->remember();
    font_->forget();
    font_ = font;
    setDirty();
}

void CParamDisplay::setFontColor(const CColor& color)
{
    if (color == fontColor_)
        return;
    fontColor_ = color;
    setDirty();
}

void CParamDisplay::setBackColor(const CColor& color)
{
    if (color == backColor_)
        return;
    backColor_ = color;
    setDirty();
}

void CParamDisplay::setHoriAlign(CHoriTxtAlign align)
{
    if (align == horiAlign_)
        return;
    horiAlign_ = align;
    setDirty();
}

void CParamDisplay::drawBack(CDrawContext* context)
{
    if (!getTransparency()) {
        context->setFillColor(backColor_);
        context->drawRect(size_, kDrawFilled);
    }
    if (CBitmap* background = getBackground())
        background->draw(context, size_, getBackOffset());
}

void CParamDisplay::drawText(CDrawContext* context, const char* text)
{
    if (!text || !*text)
        return;
    CRect box = size_;
    box.inset(2, 0);
    context->setDrawMode(kAntiAliasing);
    context->setFont(font_);
    context->setFontColor(fontColor_);
    context->drawString(text, box, horiAlign_, true);
}

void CParamDisplay::draw(CDrawContext* context)
{
    drawBack(context);
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value_));
    drawText(context, text);
    setDirty(false);
}

bool CParamDisplay::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CParamDisplay") == 0) || CControl::isTypeOf(type);
}

} // namespace VSTGUI
