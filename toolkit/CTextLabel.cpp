#include "toolkit/CTextLabel.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

#include <cstring>

namespace VSTGUI {

CTextLabel::CTextLabel(const CRect& size, const char* text, CBitmap* background, int32_t style)
    : CParamDisplay(size, background, style), text_(text ? text : "")
{
    auto* font = new CFontDesc("Arial", 12);
    setFont(font);
    font->forget();
    setMouseEnabled(false);
}

void CTextLabel::setText(const char* text)
{
    const char* next = text ? text : "";
    if (text_ == next)
        return;
    text_ = next;
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
    return (type && std::strcmp(type, "CTextLabel") == 0) || CParamDisplay::isTypeOf(type);
}

} // namespace VSTGUI
