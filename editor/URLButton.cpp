#include "editor/URLButton.h"

#include "toolkit/platform/Shell.h"

#include <cstring>

using namespace VSTGUI;

namespace {
constexpr const char* kMakerHomePage = "https://www.harrowfields.example/";
}

CURLButton::CURLButton(const CRect& size, CBitmap* background)
    : CKickButton(size, nullptr, -1, background)
{
    setURL(kMakerHomePage);
}

void CURLButton::setURL(const char* url)
{
    url_[0] = 0;
    if (url) {
        std::strncpy(url_, url, kMaxURLLength);
        url_[kMaxURLLength] = 0;
    }
    invalid();
}

CMouseEventResult CURLButton::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    return onMouseMoved(where, buttons);
}

CMouseEventResult CURLButton::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    // Edges included: the last row and column still count as the button.
    const CRect& r = getViewSize();
    const bool inside =
        where.x >= r.left && where.x <= r.right && where.y >= r.top && where.y <= r.bottom;
    value_ = inside ? getMax() : getMin();
    if (isDirty())
        invalid();
    return kMouseEventHandled;
}

CMouseEventResult CURLButton::onMouseUp(CPoint&, const CButtonState&)
{
    if (value_ != getMin()) {
        value_ = getMin();
        invalid();
        openURL(url_);
    }
    return kMouseEventHandled;
}

bool CURLButton::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CURLButton") == 0) || CKickButton::isTypeOf(type);
}
