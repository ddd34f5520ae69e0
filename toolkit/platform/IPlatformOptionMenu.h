// The platform's pop-up menu for an option menu: shows the menu's entries
// below it, lets the user pick one with the mouse or the keys, and reports
// the pick (or that there was none) once, through the callback. The pop-up
// never blocks: it lives on the window's event loop until it closes.
#pragma once

#include <cstdint>
#include <functional>

namespace VSTGUI {

class COptionMenu;

struct PlatformOptionMenuResult
{
    COptionMenu* menu = nullptr; // null when the pop-up closed without a pick
    int32_t index = -1;
};

class IPlatformOptionMenu
{
public:
    using Callback = std::function<void(COptionMenu*, PlatformOptionMenuResult)>;

    virtual ~IPlatformOptionMenu() = default;
    // False when the pop-up cannot open (then the callback is not called).
    virtual bool popup(COptionMenu* optionMenu, const Callback& callback) = 0;
    // Closes an open pop-up as if the user had cancelled it.
    virtual void cancel() = 0;
};

} // namespace VSTGUI
