// A host's window on the X server named by DISPLAY, synthetic input through
// XTest, and a count of X errors from any connection in the process.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "toolkit/CGraphics.h"

namespace vantelor_test {

inline int gXErrors = 0;

inline int countXError(Display*, XErrorEvent*)
{
    ++gXErrors;
    return 0;
}

// The test's own connection to the X server. A loaded server may refuse a
// connection for a moment (clients of earlier tests still closing), so a
// refusal is retried for a few seconds before the test reports a skip.
inline Display* openTestDisplay()
{
    if (std::getenv("DISPLAY") == nullptr)
        return nullptr;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (Display* d = XOpenDisplay(nullptr))
            return d;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return nullptr;
}

class HostWindow
{
public:
    HostWindow(unsigned width, unsigned height)
    {
        display = openTestDisplay();
        if (!display)
            return;
        XSetErrorHandler(countXError);
        gXErrors = 0;
        XSetWindowAttributes attributes{};
        attributes.override_redirect =
            True; // placed at the root's origin, no window manager involved
        attributes.background_pixel = 0x202020;
        window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0,
                               CopyFromParent, InputOutput, CopyFromParent,
                               CWOverrideRedirect | CWBackPixel, &attributes);
        XMapRaised(display, window);
        XSync(display, False);
    }
    ~HostWindow()
    {
        if (!display)
            return;
        if (window)
            XDestroyWindow(display, window);
        XSync(display, False);
        XCloseDisplay(display);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    void* parent() const { return reinterpret_cast<void*>(window); }

    void destroy()
    {
        XDestroyWindow(display, window);
        XSync(display, False);
        window = 0;
    }

    // The colour the plug-in's window shows at (x, y), as RGB bytes; black
    // when there is no window to read.
    VSTGUI::CColor shown(int x, int y) const
    {
        XImage* image = XGetImage(display, onlyChild(), x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return {};
        const unsigned long v = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return VSTGUI::CColor{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v), 255};
    }

    Window onlyChild() const
    {
        Window root = 0;
        Window parentOut = 0;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(display, window, &root, &parentOut, &children, &count);
        const Window child = count == 1 ? children[0] : 0;
        if (children)
            XFree(children);
        return child;
    }

    // Pointer actions in window coordinates (the window sits at the root's origin).
    void move(int x, int y)
    {
        XTestFakeMotionEvent(display, DefaultScreen(display), x, y, 0);
        XSync(display, False);
    }
    void button(unsigned b, bool press)
    {
        XTestFakeButtonEvent(display, b, press, 0);
        XSync(display, False);
    }
    void click(unsigned b)
    {
        button(b, true);
        button(b, false);
    }
    void key(KeySym sym, bool press)
    {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), press, 0);
        XSync(display, False);
    }

    Display* display = nullptr;
    Window window = 0;
};

// Calls idle until done() or the timeout.
inline bool pumpUntil(const std::function<void()>& idle, const std::function<bool()>& done,
                      int timeoutMs = 2000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        idle();
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    idle();
    return done();
}

} // namespace vantelor_test
