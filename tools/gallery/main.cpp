// control-gallery: every control of the library in one picture, or live in
// a window.
//
//   control-gallery --png FILE [--scale F]  render off-screen into FILE, at
//                                           scale F (1 to 4) of the display
//   control-gallery --window [--seconds S]  a window; meters on a test signal
#include "tools/gallery/Gallery.h"

#include "toolkit/platform/offscreen/OffscreenFrame.h"

#include <CLI/CLI.hpp>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

using namespace VSTGUI;

namespace {

constexpr auto kTick = std::chrono::milliseconds(16);

int renderPNG(const std::string& path, double scale)
{
    auto* frame = new CFrame(CRect(0, 0, gallery::kWidth, gallery::kHeight), nullptr);
    frame->setZoom(scale);
    if (!frame->open(nullptr)) {
        frame->forget();
        std::fprintf(stderr, "error: cannot make an off-screen image\n");
        return 2;
    }
    int status = 0;
    {
        gallery::Gallery gallery(frame);
        frame->idle();
        auto* image = dynamic_cast<OffscreenFrame*>(frame->getPlatformFrame());
        if (!image || !image->writePNG(path.c_str())) {
            std::fprintf(stderr, "error: cannot write %s\n", path.c_str());
            status = 2;
        }
        frame->removeAll();
    }
    frame->forget();
    return status;
}

int showWindow(double seconds)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr,
                     "error: no X display (DISPLAY is not set or the server is unreachable)\n");
        return 2;
    }
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(
        display, RootWindow(display, screen), 0, 0, gallery::kWidth, gallery::kHeight, 0,
        BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, "Control gallery");
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XSync(display, False);

    auto* frame = new CFrame(CRect(0, 0, gallery::kWidth, gallery::kHeight),
                             reinterpret_cast<void*>(static_cast<uintptr_t>(window)), nullptr);
    int status = 0;
    if (!frame->isOpen()) {
        std::fprintf(stderr, "error: cannot open the gallery window\n");
        status = 2;
    } else {
        gallery::Gallery gallery(frame);
        using Clock = std::chrono::steady_clock;
        const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(seconds));
        auto last = Clock::now();
        bool open = true;
        while (open && (seconds <= 0 || Clock::now() < end)) {
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                if ((event.type == ClientMessage &&
                     static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) ||
                    event.type == DestroyNotify)
                    open = false;
            }
            const auto now = Clock::now();
            gallery.play(std::chrono::duration<double>(now - last).count());
            last = now;
            frame->idle();
            std::this_thread::sleep_for(kTick);
        }
        frame->removeAll();
    }
    frame->forget();
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Every control of the library in one picture, or live in a window",
                 "control-gallery"};
    std::string png;
    bool window = false;
    double seconds = 0;
    double scale = 1;
    app.add_option("--png", png, "Render the gallery off-screen into this PNG file");
    app.add_option("--scale", scale, "Draw the picture at this display scale (1 to 4)")
        ->check(CLI::Range(1.0, 4.0));
    app.add_flag("--window", window, "Show the gallery in a window, live");
    app.add_option("--seconds", seconds,
                   "Close the window after this many seconds (0: when closed)")
        ->check(CLI::Range(0.0, 86400.0));
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 2;
    }
    if (png.empty() && !window) {
        std::fprintf(stderr, "error: give --png FILE or --window\n");
        return 2;
    }
    if (!png.empty()) {
        if (const int status = renderPNG(png, scale))
            return status;
    }
    return window ? showWindow(seconds) : 0;
}
