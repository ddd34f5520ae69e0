// X11 key events as the toolkit's key records.
#pragma once

#include "toolkit/VstKeyCode.h"

#include <X11/Xlib.h>

namespace VSTGUI {

// False for keys the toolkit has no record for (a bare modifier, say).
bool translateX11Key(XKeyEvent& event, VstKeyCode& keyCode);

} // namespace VSTGUI
