// A frame's window on Windows: a child of the window the host hands over,
// of a window class of our own registered with the module's handle. The
// host's message loop delivers the mouse; painting goes through a Direct2D
// back buffer at idle.
#pragma once

#include "toolkit/platform/IPlatformFrame.h"

#include <memory>

namespace VSTGUI {

// Null when the parent window is unusable or no back buffer can be made.
std::unique_ptr<IPlatformFrame> createWin32Frame(IPlatformFrameCallback* callback,
                                                 const CRect& size, void* parent,
                                                 double scaleFactor);

// The scale of the monitor that shows window (null: the primary one): its
// DPI over 96, kept inside 1..4.
double getWin32ScaleFactor(void* window);

} // namespace VSTGUI
