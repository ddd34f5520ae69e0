#include "tools/commands/Commands.h"
#include "tools/host/EditorWindow.h"
#include "tools/host/HostError.h"
#include "tools/host/PluginInstance.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

namespace vst2host {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kIdlePeriod = std::chrono::milliseconds(33); // about 30 idle calls a second
struct ImageDestroyer
{
    void operator()(XImage* image) const { XDestroyImage(image); }
};

struct SurfaceDestroyer
{
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};

int maskShift(unsigned long mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// One colour component scaled to 8 bits from a mask of any width.
uint32_t component(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const int shift = maskShift(mask);
    const unsigned long maximum = mask >> shift;
    return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / maximum);
}

// Saves the window, with the editor's child windows in it, as a PNG.
void saveScreenshot(Display* display, Window window, const std::string& path)
{
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0 ||
        attributes.map_state != IsViewable)
        throw HostError("cannot save " + path + ": the window is not visible");
    XSync(display, False);
    std::unique_ptr<XImage, ImageDestroyer> image(
        XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap));
    if (!image)
        throw HostError("cannot save " + path + ": the window contents cannot be read");

    std::unique_ptr<cairo_surface_t, SurfaceDestroyer> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, attributes.width, attributes.height));
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const Visual* visual = attributes.visual;
    for (int y = 0; y < attributes.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image.get(), x, y);
            row[x] = component(pixel, visual->red_mask) << 16 |
                     component(pixel, visual->green_mask) << 8 |
                     component(pixel, visual->blue_mask);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    const cairo_status_t status = cairo_surface_write_to_png(surface.get(), path.c_str());
    if (status != CAIRO_STATUS_SUCCESS)
        throw HostError("cannot save " + path + ": " + cairo_status_to_string(status));
}

} // namespace

int runEditor(const EditorOptions& options)
{
    requireVst2(options.plugin, "editor");
    auto plugin = std::make_unique<PluginInstance>(options.plugin);
    if ((plugin->effect()->flags & effFlagsHasEditor) == 0)
        throw HostError(options.plugin + " has no editor");

    countXErrors();
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        throw HostError("cannot open the X display (is DISPLAY set?)");
    Display* dpy = display.get();

    // Hosts on scaled displays send this before they ask for the size: a
    // vendor request 'PreS' with value 'AeCs' and the factor in opt.
    if (options.scale > 0)
        plugin->dispatch(effVendorSpecific, 0x50726553, 0x41654373, nullptr,
                         static_cast<float>(options.scale));
    const EditorSize asked = editorSize(*plugin);
    const int width = asked.known() ? asked.width : kFallbackEditorWidth;
    const int height = asked.known() ? asked.height : kFallbackEditorHeight;

    const int screen = DefaultScreen(dpy);
    const Window window = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, width, height, 0,
                                              BlackPixel(dpy, screen), BlackPixel(dpy, screen));
    const std::string title = plugin->effectName();
    XStoreName(dpy, window, title.empty() ? "vst2-host" : title.c_str());
    Atom deleteWindow = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(dpy, window, &deleteWindow, 1);
    XSelectInput(dpy, window, StructureNotifyMask);
    XMapWindow(dpy, window);
    XSync(dpy, False);

    // The editor asks for a new size through audioMasterSizeWindow.
    plugin->host().sizeWindow = [dpy, window](int w, int h) {
        if (w <= 0 || h <= 0)
            return false;
        XResizeWindow(dpy, window, static_cast<unsigned>(w), static_cast<unsigned>(h));
        XFlush(dpy);
        return true;
    };

    plugin->start(44100.0f, 512);
    if (plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window)) == 0 &&
        childCount(dpy, window) == 0) {
        XDestroyWindow(dpy, window);
        throw HostError(options.plugin + ": the editor did not open");
    }
    // Some editors know their size only once open.
    if (const EditorSize open = editorSize(*plugin);
        open.known() && (open.width != width || open.height != height))
        XResizeWindow(dpy, window, static_cast<unsigned>(open.width),
                      static_cast<unsigned>(open.height));

    const auto start = Clock::now();
    const auto deadline = start + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(options.seconds));
    bool windowGone = false;
    bool closeRequested = false;
    auto nextIdle = start;
    while (!closeRequested && !windowGone && (options.seconds <= 0.0 || Clock::now() < deadline)) {
        while (XPending(dpy) > 0) {
            XEvent event{};
            XNextEvent(dpy, &event);
            if (event.type == ClientMessage &&
                static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow)
                closeRequested = true;
            else if (event.type == DestroyNotify && event.xdestroywindow.window == window)
                windowGone = true;
        }
        plugin->dispatch(effEditIdle);
        nextIdle += kIdlePeriod;
        const auto now = Clock::now();
        if (nextIdle < now)
            nextIdle = now;
        std::this_thread::sleep_until(nextIdle);
    }

    std::string screenshotError;
    if (!options.screenshot.empty()) {
        try {
            if (windowGone)
                throw HostError("cannot save " + options.screenshot + ": the window was destroyed");
            saveScreenshot(dpy, window, options.screenshot);
        } catch (const HostError& e) {
            screenshotError = e.what();
        }
    }

    // Close in the order plug-ins expect: editor, then window, then effect.
    plugin->dispatch(effEditClose);
    plugin->host().sizeWindow = nullptr;
    if (!windowGone)
        XDestroyWindow(dpy, window);
    XSync(dpy, False);
    plugin.reset();
    display.reset();
    if (!screenshotError.empty())
        throw HostError(screenshotError);
    return 0;
}

} // namespace vst2host
