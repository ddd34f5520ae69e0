// A frame's window on X11: a child of the window the host hands over, on
// the editor's own display connection. Events are read without blocking
// when the host gives idle time; painting goes through a back buffer.
#pragma once

#include "toolkit/platform/IPlatformFrame.h"

#include <memory>

namespace VSTGUI {

// Null when no display can be opened or the parent window is unusable.
std::unique_ptr<IPlatformFrame> createX11Frame(IPlatformFrameCallback* callback, const CRect& size,
                                               unsigned long parentWindow, double scaleFactor);

// The desktop's scale: the X resources' Xft.dpi over 96, else GDK_SCALE (a
// whole number), else 1; kept inside 1..4. Either may be null.
double scaleFactorFromDesktop(const char* resources, const char* gdkScale);
// The scale for a window on the default display, read from the server's
// resources now.
double getX11ScaleFactor(unsigned long parentWindow);

} // namespace VSTGUI
