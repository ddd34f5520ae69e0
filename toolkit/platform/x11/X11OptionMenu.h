// The option menu's pop-up on X11: an override-redirect window below the
// menu, on the frame's own display connection, drawn with Cairo. While it is
// open it holds the pointer and the keyboard (as every pop-up menu does), so
// a click outside closes it and the arrow keys reach it. Its events come
// through the frame's event loop at the host's idle time; nothing blocks.
#pragma once

#include "toolkit/platform/IPlatformOptionMenu.h"

#include <X11/Xlib.h>

#include <memory>

namespace VSTGUI {

// Takes the events of an open pop-up before the frame sees them.
class IX11EventFilter
{
public:
    virtual ~IX11EventFilter() = default;
    // True when the event was the pop-up's.
    virtual bool filterEvent(XEvent& event) = 0;
    // The frame's window and connection are going away: close at once.
    virtual void hostClosing() = 0;
};

// What a frame lends its pop-ups.
class IX11PopupHost
{
public:
    virtual ~IX11PopupHost() = default;
    virtual Display* popupDisplay() const = 0;
    virtual Window popupParentWindow() const = 0; // the frame's window
    virtual Visual* popupVisual() const = 0;
    virtual Colormap popupColormap() const = 0;
    // The frame's scale factor: the pop-up is drawn and placed at it.
    virtual double popupScaleFactor() const { return 1.0; }
    // One filter at a time; null removes it.
    virtual void setEventFilter(IX11EventFilter* filter) = 0;
};

// The pop-up's layout: entries of kItemHeight pixels (separators
// kSeparatorHeight) inside a border of kPadding pixels, directly below the
// menu's view and at least as wide.
struct X11OptionMenuLayout
{
    static constexpr int kItemHeight = 18;
    static constexpr int kSeparatorHeight = 7;
    static constexpr int kPadding = 2;
};

std::shared_ptr<IPlatformOptionMenu> createX11OptionMenu(IX11PopupHost* host);

} // namespace VSTGUI
