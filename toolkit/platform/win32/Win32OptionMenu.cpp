#include "toolkit/platform/win32/Win32OptionMenu.h"

#include "toolkit/CFrame.h"
#include "toolkit/COptionMenu.h"
#include "toolkit/ScaleFactor.h"
#include "toolkit/platform/win32/Win32Module.h"

#include <string>

namespace VSTGUI {

namespace {

class Win32OptionMenu : public IPlatformOptionMenu
{
public:
    explicit Win32OptionMenu(HWND owner) : owner_(owner) {}

    bool popup(COptionMenu* optionMenu, const Callback& callback) override
    {
        if (!owner_ || !IsWindow(owner_) || !optionMenu || open_)
            return false;
        HMENU menu = CreatePopupMenu();
        if (!menu)
            return false;
        const int32_t current = optionMenu->getCurrentIndex(true);
        for (int32_t i = 0; i < optionMenu->getNbEntries(); ++i) {
            const CMenuItem* item = optionMenu->getEntry(i);
            if (item->isSeparator()) {
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            UINT flags = MF_STRING;
            if (!item->isEnabled())
                flags |= MF_GRAYED;
            if (i == current || item->isChecked())
                flags |= MF_CHECKED;
            // Command ids start at 1: 0 is what the menu returns for no pick.
            AppendMenuW(menu, flags, static_cast<UINT_PTR>(i) + 1, widen(item->getTitle()).c_str());
        }
        // Below the menu, in the window's pixels at the frame's scale.
        const CRect view = optionMenu->getViewSize();
        const double scale = optionMenu->getFrame() ? optionMenu->getFrame()->getZoom() : 1.0;
        POINT below{static_cast<LONG>(scaledPixels(view.left, scale)),
                    static_cast<LONG>(scaledPixels(view.bottom, scale))};
        ClientToScreen(owner_, &below);
        open_ = true;
        const BOOL picked =
            TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_NONOTIFY,
                             below.x, below.y, owner_, nullptr);
        open_ = false;
        DestroyMenu(menu);
        const int32_t index = picked > 0 ? static_cast<int32_t>(picked) - 1 : -1;
        if (callback)
            callback(optionMenu,
                     PlatformOptionMenuResult{index >= 0 ? optionMenu : nullptr, index});
        return true;
    }

    void cancel() override
    {
        if (open_)
            EndMenu();
    }

private:
    HWND owner_;
    bool open_ = false;
};

} // namespace

std::shared_ptr<IPlatformOptionMenu> createWin32OptionMenu(HWND owner)
{
    return std::make_shared<Win32OptionMenu>(owner);
}

} // namespace VSTGUI
