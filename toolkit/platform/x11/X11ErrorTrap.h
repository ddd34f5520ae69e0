// X protocol errors of the toolkit's own display connections. Xlib has one
// error handler for the whole process, and its default ends the process: the
// toolkit installs its handler once (again only if someone replaced it),
// never uninstalls it, and routes each error by the connection it came from.
// Errors of a registered connection are recorded for it and never reach the
// host; those of every other connection go to the handler that was installed
// before. Any thread; each connection is used by one thread at a time.
#pragma once

#include <X11/Xlib.h>

namespace VSTGUI::X11 {

// Registers a connection of ours (when it is opened) and forgets it (before
// it is closed).
void registerConnection(Display* display);
void unregisterConnection(Display* display);

// Collects the errors of one registered connection for the lifetime of the
// scope: a request on a window that the host has already destroyed fails
// here instead of ending the host.
class ErrorTrap
{
public:
    explicit ErrorTrap(Display* display);
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Whether any request since the trap was set failed (one round trip).
    bool failed();

private:
    Display* display_;
};

// Whether an error has arrived on the connection since the last call, also
// outside any trap (an asynchronous request such as drawing); clears it.
bool takeError(Display* display);

} // namespace VSTGUI::X11
