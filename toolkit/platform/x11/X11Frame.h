// A frame's window on X11: a child of the window the host hands over, on
// the editor's own display connection. Events are read without blocking
// when the host gives idle time; painting goes through a back buffer.
#pragma once

#include "toolkit/platform/IPlatformFrame.h"

#include <memory>

namespace VSTGUI {

// Null when no display can be opened or the parent window is unusable.
std::unique_ptr<IPlatformFrame> createX11Frame(IPlatformFrameCallback* callback, const CRect& size,
                                               unsigned long parentWindow);

} // namespace VSTGUI
