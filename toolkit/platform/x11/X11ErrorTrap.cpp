#include "toolkit/platform/x11/X11ErrorTrap.h"

#include <atomic>

namespace VSTGUI::X11 {

namespace {

// One slot per open connection of ours; far more than editors a host opens.
struct Slot
{
    std::atomic<Display*> display{nullptr};
    std::atomic<int> error{0};
};
constexpr int kSlots = 64;
Slot gSlots[kSlots];

std::atomic<XErrorHandler> gPreviousHandler{nullptr};

Slot* slotOf(Display* display)
{
    for (Slot& slot : gSlots)
        if (slot.display.load(std::memory_order_acquire) == display)
            return &slot;
    return nullptr;
}

int routeError(Display* display, XErrorEvent* event)
{
    if (Slot* slot = slotOf(display)) {
        slot->error.store(event->error_code, std::memory_order_relaxed);
        return 0;
    }
    XErrorHandler previous = gPreviousHandler.load();
    return previous ? previous(display, event) : 0;
}

// XSetErrorHandler holds Xlib's global lock, so concurrent calls are safe;
// the handler that was there before ours is kept for the other connections.
void installHandler()
{
    XErrorHandler previous = XSetErrorHandler(routeError);
    if (previous != routeError)
        gPreviousHandler.store(previous);
}

} // namespace

void registerConnection(Display* display)
{
    installHandler();
    for (Slot& slot : gSlots) {
        Display* expected = nullptr;
        if (slot.display.compare_exchange_strong(expected, display, std::memory_order_acq_rel)) {
            slot.error.store(0);
            return;
        }
    }
}

void unregisterConnection(Display* display)
{
    if (Slot* slot = slotOf(display)) {
        slot->error.store(0);
        slot->display.store(nullptr, std::memory_order_release);
    }
}

ErrorTrap::ErrorTrap(Display* display) : display_(display)
{
    // Errors of earlier requests belong to them, not to this scope.
    XSync(display_, False);
    installHandler();
    takeError(display_);
}

bool ErrorTrap::failed()
{
    XSync(display_, False);
    Slot* slot = slotOf(display_);
    return slot && slot->error.load(std::memory_order_relaxed) != 0;
}

bool takeError(Display* display)
{
    Slot* slot = slotOf(display);
    return slot && slot->error.exchange(0, std::memory_order_relaxed) != 0;
}

} // namespace VSTGUI::X11
