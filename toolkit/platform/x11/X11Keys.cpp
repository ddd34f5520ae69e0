#include "toolkit/platform/x11/X11Keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace VSTGUI {

namespace {

unsigned char virtualKey(KeySym sym)
{
    switch (sym) {
    case XK_BackSpace:
        return VKEY_BACK;
    case XK_Tab:
    case XK_ISO_Left_Tab:
        return VKEY_TAB;
    case XK_Clear:
        return VKEY_CLEAR;
    case XK_Return:
        return VKEY_RETURN;
    case XK_Pause:
        return VKEY_PAUSE;
    case XK_Escape:
        return VKEY_ESCAPE;
    case XK_space:
        return VKEY_SPACE;
    case XK_End:
    case XK_KP_End:
        return VKEY_END;
    case XK_Home:
    case XK_KP_Home:
        return VKEY_HOME;
    case XK_Left:
    case XK_KP_Left:
        return VKEY_LEFT;
    case XK_Up:
    case XK_KP_Up:
        return VKEY_UP;
    case XK_Right:
    case XK_KP_Right:
        return VKEY_RIGHT;
    case XK_Down:
    case XK_KP_Down:
        return VKEY_DOWN;
    case XK_Page_Up:
    case XK_KP_Page_Up:
        return VKEY_PAGEUP;
    case XK_Page_Down:
    case XK_KP_Page_Down:
        return VKEY_PAGEDOWN;
    case XK_KP_Enter:
        return VKEY_ENTER;
    case XK_Insert:
        return VKEY_INSERT;
    case XK_Delete:
    case XK_KP_Delete:
        return VKEY_DELETE;
    case XK_F1:
        return VKEY_F1;
    case XK_F2:
        return VKEY_F2;
    case XK_F3:
        return VKEY_F3;
    case XK_F4:
        return VKEY_F4;
    case XK_F5:
        return VKEY_F5;
    case XK_F6:
        return VKEY_F6;
    case XK_F7:
        return VKEY_F7;
    case XK_F8:
        return VKEY_F8;
    case XK_F9:
        return VKEY_F9;
    case XK_F10:
        return VKEY_F10;
    case XK_F11:
        return VKEY_F11;
    case XK_F12:
        return VKEY_F12;
    default:
        return 0;
    }
}

} // namespace

bool translateX11Key(XKeyEvent& event, VstKeyCode& keyCode)
{
    char text[8] = {};
    KeySym sym = NoSymbol;
    const int length = XLookupString(&event, text, sizeof text - 1, &sym, nullptr);
    keyCode = VstKeyCode{};
    keyCode.virt = virtualKey(sym);
    if (!keyCode.virt && length == 1 && static_cast<unsigned char>(text[0]) >= 0x20)
        keyCode.character = static_cast<unsigned char>(text[0]);
    if (event.state & ShiftMask)
        keyCode.modifier |= MODIFIER_SHIFT;
    if (event.state & Mod1Mask)
        keyCode.modifier |= MODIFIER_ALTERNATE;
    if (event.state & ControlMask)
        keyCode.modifier |= MODIFIER_CONTROL;
    return keyCode.virt != 0 || keyCode.character != 0;
}

} // namespace VSTGUI
