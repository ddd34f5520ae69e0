#include "editor/controls/MyOptionMenu.h"

#include "editor/controls/ControlValues.h"
#include "toolkit/CDrawContext.h"

#include <cmath>
#include <cstring>

using namespace VSTGUI;
using control_values::store;

CMyOptionMenu::CMyOptionMenu(const CRect& size, CControlListener* listener, int32_t tag,
                             CBitmap* background, CBitmap* bgWhenClick, int32_t style)
    : COptionMenu(size, listener, tag, background, bgWhenClick, style)
{
    setFont(kNormalFont);
    setFontColor(CColor{192, 250, 5, 255});
}

bool CMyOptionMenu::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CMyOptionMenu") == 0) || COptionMenu::isTypeOf(type);
}

void CMyOptionMenu::setValue(float val)
{
    if (!(val >= 0.f) || !(val < static_cast<float>(getNbEntries())))
        return;
    COptionMenu::setValue(std::floor(val + 0.5f));
}

float CMyOptionMenu::getValue() const
{
    return std::floor(value_ + 0.5f);
}

void CMyOptionMenu::setValueNormalized(float val)
{
    if (std::isnan(val))
        return;
    val = val < 0.f ? 0.f : (val > 1.f ? 1.f : val);
    setValue(std::floor(static_cast<float>(getNbEntries() - 1) * val + 0.5f));
}

float CMyOptionMenu::getValueNormalized() const
{
    const int32_t n = getNbEntries();
    return n > 1 ? value_ / static_cast<float>(n - 1) : 0.f;
}

void CMyOptionMenu::setDrawBorder(bool draw)
{
    if (store(drawBorder, draw))
        setDirty();
}
void CMyOptionMenu::setBorderColor(CColor color)
{
    if (store(borderColor, color))
        setDirty();
}

void CMyOptionMenu::draw(CDrawContext* context)
{
    COptionMenu::draw(context);
    if (drawBorder) {
        context->setFrameColor(borderColor);
        context->setLineWidth(1);
        context->setLineStyle(kLineSolid);
        context->setDrawMode(kAliasing);
        context->drawRect(size_, kDrawStroked);
    }
}
