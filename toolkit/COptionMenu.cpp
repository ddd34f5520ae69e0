#include "toolkit/COptionMenu.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

#include <cstring>

namespace VSTGUI {

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, int32_t tag,
                         CBitmap* background, CBitmap* bgWhenClick, int32_t style)
    : CParamDisplay(size, background, style), bgWhenClick_(bgWhenClick)
{
    setListener(listener);
    setTag(tag);
    setWantsFocus(true);
    setMin(0);
    setMax(0);
    setWheelInc(0);
    if (bgWhenClick_)
        bgWhenClick_->remember();
}

COptionMenu::COptionMenu(const COptionMenu& other)
    : CParamDisplay(other), currentIndex_(other.currentIndex_), bgWhenClick_(other.bgWhenClick_)
{
    for (CMenuItem* item : other.items_)
        items_.push_back(new CMenuItem(*item));
    if (bgWhenClick_)
        bgWhenClick_->remember();
}

COptionMenu::~COptionMenu()
{
    removeAllEntry();
    if (bgWhenClick_)
        bgWhenClick_->forget();
}

CMenuItem* COptionMenu::addEntry(const char* title, int32_t index, int32_t itemFlags)
{
    auto* item = new CMenuItem(title, itemFlags);
    if (index < 0 || index >= getNbEntries())
        items_.push_back(item);
    else
        items_.insert(items_.begin() + index, item);
    setMax(static_cast<float>(getNbEntries() - 1));
    if (currentIndex_ < 0)
        currentIndex_ = 0;
    return item;
}

CMenuItem* COptionMenu::addSeparator(int32_t index)
{
    return addEntry("", index, CMenuItem::kSeparator);
}

bool COptionMenu::removeEntry(int32_t index)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    items_[static_cast<size_t>(index)]->forget();
    items_.erase(items_.begin() + index);
    setMax(static_cast<float>(getNbEntries() > 0 ? getNbEntries() - 1 : 0));
    if (currentIndex_ >= getNbEntries())
        currentIndex_ = getNbEntries() - 1;
    setDirty();
    return true;
}

bool COptionMenu::removeAllEntry()
{
    for (CMenuItem* item : items_)
        item->forget();
    items_.clear();
    currentIndex_ = -1;
    setMax(0);
    return true;
}

CMenuItem* COptionMenu::getEntry(int32_t index) const
{
    return index >= 0 && index < getNbEntries() ? items_[static_cast<size_t>(index)] : nullptr;
}

int32_t COptionMenu::getCurrentIndex(bool countSeparator) const
{
    if (countSeparator || currentIndex_ < 0)
        return currentIndex_;
    int32_t index = 0;
    for (int32_t i = 0; i < currentIndex_; ++i)
        if (!items_[static_cast<size_t>(i)]->isSeparator())
            ++index;
    return index;
}

bool COptionMenu::setCurrent(int32_t index, bool countSeparator)
{
    if (!countSeparator) {
        // Map an index among the non-separator entries to the list's index.
        for (int32_t i = 0, n = 0; i < getNbEntries(); ++i) {
            if (items_[static_cast<size_t>(i)]->isSeparator())
                continue;
            if (n++ == index) {
                index = i;
                break;
            }
        }
    }
    if (index < 0 || index >= getNbEntries())
        return false;
    setValue(static_cast<float>(index));
    return true;
}

void COptionMenu::setValue(float val)
{
    // Compared as a float first: a huge value has no integer to become.
    if (!(val >= 0) || !(val < static_cast<float>(getNbEntries())))
        return;
    currentIndex_ = static_cast<int32_t>(val);
    CParamDisplay::setValue(val);
    setDirty();
}

bool COptionMenu::popup()
{
    if (platformMenu_ || getNbEntries() == 0 || !getFrame() || !getFrame()->getPlatformFrame())
        return false;
    std::shared_ptr<IPlatformOptionMenu> menu =
        getFrame()->getPlatformFrame()->createPlatformOptionMenu();
    if (!menu)
        return false;
    // The menu stays alive while its pop-up is open, even if it is removed
    // from the window meanwhile; the pop-up's report releases it. A pop-up
    // may also report before popup() returns.
    remember();
    remember();
    platformMenu_ = menu;
    const bool opened = menu->popup(this, [](COptionMenu* self, PlatformOptionMenuResult result) {
        self->popupClosed(result.menu ? result.index : -1);
        self->platformMenu_.reset();
        self->forget();
    });
    if (!opened) {
        platformMenu_.reset();
        forget();
    } else {
        setDirty();
    }
    forget();
    return opened;
}

void COptionMenu::popupClosed(int32_t index)
{
    if (index < 0 || index >= getNbEntries() || !getEntry(index)->isEnabled())
        return;
    beginEdit();
    setValue(static_cast<float>(index));
    invalid();
    valueChanged();
    endEdit();
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!(buttons & kLButton) || !getMouseEnabled())
        return kMouseEventNotHandled;
    popup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t COptionMenu::onKeyDown(VstKeyCode& keyCode)
{
    if (keyCode.virt == VKEY_RETURN || keyCode.virt == VKEY_ENTER || keyCode.virt == VKEY_SPACE) {
        popup();
        return 1;
    }
    return -1;
}

bool COptionMenu::removed()
{
    // A pop-up of a menu that leaves its window closes with it.
    if (platformMenu_) {
        std::shared_ptr<IPlatformOptionMenu> menu = platformMenu_;
        menu->cancel();
    }
    return CParamDisplay::removed();
}

void COptionMenu::draw(CDrawContext* context)
{
    if (platformMenu_ && bgWhenClick_) {
        bgWhenClick_->draw(context, size_, getBackOffset());
    } else {
        drawBack(context);
    }
    if (const CMenuItem* item = getCurrent())
        drawText(context, item->getTitle());
    setDirty(false);
}

bool COptionMenu::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "COptionMenu") == 0) || CParamDisplay::isTypeOf(type);
}

} // namespace VSTGUI
