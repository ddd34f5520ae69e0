// The option menu's pop-up on Windows: the system's own pop-up menu below
// the menu's view, picked with the mouse or the keys as every Windows menu
// is. The system runs the menu's message loop until it closes, then the
// pick is reported.
#pragma once

#include "toolkit/platform/IPlatformOptionMenu.h"

#include <windows.h>

#include <memory>

namespace VSTGUI {

std::shared_ptr<IPlatformOptionMenu> createWin32OptionMenu(HWND owner);

} // namespace VSTGUI
