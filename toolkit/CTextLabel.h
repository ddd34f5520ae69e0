// A line of text in a rectangle: a parameter display (font, colours,
// horizontal alignment) that shows its own text, edge to edge, optionally
// over a background fill or picture.
#pragma once

#include "toolkit/CFontDesc.h"
#include "toolkit/CParamDisplay.h"

#include <string>

namespace VSTGUI {

class CTextLabel : public CParamDisplay
{
public:
    CTextLabel(const CRect& size, const char* text = nullptr, CBitmap* background = nullptr,
               int32_t style = 0);
    CTextLabel(const CTextLabel& other) = default;

    virtual void setText(const char* text);
    const char* getText() const { return text_.c_str(); }
    void setAntialias(bool state) { antialias_ = state; }

    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CTextLabel(*this); }

private:
    std::string text_;
    bool antialias_ = true;
};

} // namespace VSTGUI
