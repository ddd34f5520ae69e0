#include "toolkit/platform/x11/X11Frame.h"

#include "toolkit/cairo/BackBuffer.h"
#include "toolkit/platform/x11/X11ErrorTrap.h"
#include "toolkit/platform/x11/X11Handles.h"
#include "toolkit/platform/x11/X11Keys.h"
#include "toolkit/platform/x11/X11OptionMenu.h"

#include "toolkit/ScaleFactor.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>

#include <cmath>
#include <cstdlib>

namespace VSTGUI {

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | StructureNotifyMask | KeyPressMask |
                            KeyReleaseMask;
// Two presses of one button closer than this in time and space make a
// double-click.
constexpr Time kDoubleClickTime = 400;
constexpr int kDoubleClickDistance = 4;

CButtonState modifiers(unsigned int state)
{
    CButtonState buttons;
    if (state & ShiftMask)
        buttons |= kShift;
    if (state & ControlMask)
        buttons |= kControl;
    if (state & Mod1Mask)
        buttons |= kAlt;
    return buttons;
}

CButtonState heldButtons(unsigned int state)
{
    CButtonState buttons = modifiers(state);
    if (state & Button1Mask)
        buttons |= kLButton;
    if (state & Button2Mask)
        buttons |= kMButton;
    if (state & Button3Mask)
        buttons |= kRButton;
    return buttons;
}

int32_t buttonFlag(unsigned int button)
{
    switch (button) {
    case Button1:
        return kLButton;
    case Button2:
        return kMButton;
    case Button3:
        return kRButton;
    case 8:
        return kButton4;
    case 9:
        return kButton5;
    default:
        return 0;
    }
}

class X11Frame : public IPlatformFrame, public IX11PopupHost
{
public:
    X11Frame(IPlatformFrameCallback* callback, const CRect& size, Window parent, double scaleFactor)
        : callback_(callback), buffer_(callback, size, scaleFactor), parent_(parent)
    {}

    ~X11Frame() override
    {
        // An open pop-up closes first, while the connection is still there.
        if (eventFilter_)
            eventFilter_->hostClosing();
        if (!display_)
            return;
        image_.reset();
        gc_.reset();
        // Notice a host window destroyed before closing, so the child that
        // went with it is not destroyed twice.
        XSync(display_.get(), False);
        while (XPending(display_.get()) > 0) {
            XEvent event;
            XNextEvent(display_.get(), &event);
            if (event.type == DestroyNotify && event.xdestroywindow.window == window_.get())
                markGone();
        }
        if (window_) {
            X11::ErrorTrap trap(display_.get());
            window_.reset();
            trap.failed();
        }
        colormap_.reset();
        X11::unregisterConnection(display_.get());
    }

    bool init()
    {
        if (!buffer_.isValid() || parent_ == 0)
            return false;
        display_.reset(XOpenDisplay(nullptr));
        if (!display_)
            return false;
        Display* display = display_.get();
        X11::registerConnection(display);
        const int screen = DefaultScreen(display);
        XVisualInfo info;
        if (!XMatchVisualInfo(display, screen, 24, TrueColor, &info) || info.red_mask != 0xff0000 ||
            info.green_mask != 0xff00 || info.blue_mask != 0xff)
            return false;

        X11::ErrorTrap trap(display);
        colormap_ = X11::ColormapHandle(
            display, XCreateColormap(display, RootWindow(display, screen), info.visual, AllocNone));
        XSetWindowAttributes attributes{};
        attributes.colormap = colormap_.get();
        attributes.border_pixel = 0;
        attributes.background_pixel = 0;
        attributes.event_mask = kEventMask;
        const CRect size = buffer_.getPixelSize();
        window_ = X11::WindowHandle(
            display,
            XCreateWindow(display, parent_, 0, 0, static_cast<unsigned>(size.getWidth()),
                          static_cast<unsigned>(size.getHeight()), 0, 24, InputOutput, info.visual,
                          CWColormap | CWBorderPixel | CWBackPixel | CWEventMask, &attributes));
        if (trap.failed()) {
            window_.release(); // the id was never valid on the server
            return false;
        }
        gc_ = X11::GCHandle(display, XCreateGC(display, window_.get(), 0, nullptr));
        visual_ = info.visual;
        if (!makeImage())
            return false;
        XMapWindow(display, window_.get());
        mapped_ = true;
        return !trap.failed();
    }

    CRect getSize() const override { return buffer_.getSize(); }

    bool setSize(const CRect& newSize, bool resizeParent) override
    {
        return resize(newSize, buffer_.getScaleFactor(), resizeParent);
    }

    bool setScaleFactor(double scaleFactor, bool resizeParent) override
    {
        return resize(buffer_.getSize(), scaleFactor, resizeParent);
    }

    double getScaleFactor() const override { return buffer_.getScaleFactor(); }

    void invalidRect(const CRect& rect) override { buffer_.invalidRect(rect); }

    void processEvents() override
    {
        if (!display_)
            return;
        while (XPending(display_.get()) > 0) {
            XEvent event;
            XNextEvent(display_.get(), &event);
            if (eventFilter_ && eventFilter_->filterEvent(event))
                continue;
            handleEvent(event);
        }
        // A drawing request failed: the window went away under us (its
        // DestroyNotify may never come when the host destroyed the parent).
        if (X11::takeError(display_.get()))
            markGone();
    }

    // Copies the painted area to the window without waiting for the server;
    // an error (the window gone) is noticed at the next processEvents.
    void paint() override
    {
        if (!window_ || !buffer_.hasDirtyArea())
            return;
        const CRect area = buffer_.paint();
        if (area.isEmpty() || !image_)
            return;
        XPutImage(display_.get(), window_.get(), gc_.get(), image_.get(),
                  static_cast<int>(area.left), static_cast<int>(area.top),
                  static_cast<int>(area.left), static_cast<int>(area.top),
                  static_cast<unsigned>(area.getWidth()), static_cast<unsigned>(area.getHeight()));
        XFlush(display_.get());
    }

    bool isVisible() const override { return window_ && mapped_; }
    unsigned long nativeWindow() const override { return window_ ? window_.get() : 0; }
    int eventFileDescriptor() const override
    {
        return display_ ? ConnectionNumber(display_.get()) : -1;
    }

    std::shared_ptr<IPlatformOptionMenu> createPlatformOptionMenu() override
    {
        return window_ ? createX11OptionMenu(this) : nullptr;
    }

    Display* popupDisplay() const override { return window_ ? display_.get() : nullptr; }
    Window popupParentWindow() const override { return window_.get(); }
    Visual* popupVisual() const override { return visual_; }
    Colormap popupColormap() const override { return colormap_.get(); }
    double popupScaleFactor() const override { return buffer_.getScaleFactor(); }
    void setEventFilter(IX11EventFilter* filter) override { eventFilter_ = filter; }

private:
    void markGone()
    {
        window_.release();
        mapped_ = false;
    }

    bool resize(const CRect& newSize, double scaleFactor, bool resizeParent)
    {
        if (!window_ || !buffer_.resize(newSize, scaleFactor))
            return false;
        const bool imageMade = makeImage();
        const CRect pixels = buffer_.getPixelSize();
        X11::ErrorTrap trap(display_.get());
        XResizeWindow(display_.get(), window_.get(), static_cast<unsigned>(pixels.getWidth()),
                      static_cast<unsigned>(pixels.getHeight()));
        if (resizeParent)
            XResizeWindow(display_.get(), parent_, static_cast<unsigned>(pixels.getWidth()),
                          static_cast<unsigned>(pixels.getHeight()));
        trap.failed();
        return imageMade;
    }

    // A pointer position in the window, in the frame's unscaled units.
    CPoint unscaled(int x, int y) const { return unscalePoint(x, y, buffer_.getScaleFactor()); }

    // The X image over the back buffer's pixels, made anew when they move.
    bool makeImage()
    {
        image_.reset();
        image_ = X11::makeImageOver(display_.get(), visual_, buffer_.getSurface());
        return image_ != nullptr;
    }

    void handleEvent(const XEvent& event)
    {
        if (!window_ || event.xany.window != window_.get())
            return;
        switch (event.type) {
        case Expose:
            buffer_.invalidPixels(CRect(event.xexpose.x, event.xexpose.y,
                                        event.xexpose.x + event.xexpose.width,
                                        event.xexpose.y + event.xexpose.height));
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == window_.get())
                markGone();
            break;
        case MapNotify:
            mapped_ = true;
            break;
        case UnmapNotify:
            mapped_ = false;
            break;
        case ButtonPress:
            onButtonPress(event.xbutton);
            break;
        case ButtonRelease: {
            const int32_t flag = buttonFlag(event.xbutton.button);
            if (!flag)
                break; // wheel notches come as press and release; the press counted
            CPoint where = unscaled(event.xbutton.x, event.xbutton.y);
            CButtonState buttons = heldButtons(event.xbutton.state);
            buttons |= flag;
            callback_->platformOnMouseUp(where, buttons);
            break;
        }
        case MotionNotify: {
            CPoint where = unscaled(event.xmotion.x, event.xmotion.y);
            callback_->platformOnMouseMoved(where, heldButtons(event.xmotion.state));
            break;
        }
        case EnterNotify: {
            CPoint where = unscaled(event.xcrossing.x, event.xcrossing.y);
            callback_->platformOnMouseMoved(where, heldButtons(event.xcrossing.state));
            break;
        }
        case KeyPress:
        case KeyRelease: {
            XKeyEvent key = event.xkey;
            VstKeyCode code{};
            if (!translateX11Key(key, code))
                break;
            if (event.type == KeyPress)
                callback_->platformOnKeyDown(code);
            else
                callback_->platformOnKeyUp(code);
            break;
        }
        case LeaveNotify: {
            if (event.xcrossing.mode != NotifyNormal)
                break;
            CPoint where = unscaled(event.xcrossing.x, event.xcrossing.y);
            callback_->platformOnMouseExited(where, heldButtons(event.xcrossing.state));
            break;
        }
        default:
            break;
        }
    }

    void onButtonPress(const XButtonEvent& event)
    {
        CPoint where = unscaled(event.x, event.y);
        const CButtonState mods = modifiers(event.state);
        switch (event.button) {
        case Button4:
        case Button5:
            callback_->platformOnMouseWheel(where, kMouseWheelAxisY,
                                            event.button == Button4 ? 1.f : -1.f, mods);
            return;
        case 6:
        case 7:
            callback_->platformOnMouseWheel(where, kMouseWheelAxisX, event.button == 6 ? -1.f : 1.f,
                                            mods);
            return;
        default:
            break;
        }
        const int32_t flag = buttonFlag(event.button);
        if (!flag)
            return;
        CButtonState buttons = heldButtons(event.state);
        buttons |= flag;
        const bool doubleClick = event.button == lastButton_ &&
                                 event.time - lastPressTime_ <= kDoubleClickTime &&
                                 std::abs(event.x - lastX_) <= kDoubleClickDistance &&
                                 std::abs(event.y - lastY_) <= kDoubleClickDistance;
        if (doubleClick) {
            buttons |= kDoubleClick;
            lastButton_ = 0; // a third press starts a new pair
        } else {
            lastButton_ = event.button;
            lastPressTime_ = event.time;
            lastX_ = event.x;
            lastY_ = event.y;
        }
        callback_->platformOnMouseDown(where, buttons);
    }

    IPlatformFrameCallback* callback_;
    Cairo::BackBuffer buffer_;
    Window parent_;
    // Released in reverse order: image, GC, window, colormap, connection.
    X11::DisplayHandle display_;
    X11::ColormapHandle colormap_;
    X11::WindowHandle window_;
    X11::GCHandle gc_;
    X11::ImageHandle image_;
    Visual* visual_ = nullptr;
    IX11EventFilter* eventFilter_ = nullptr;
    bool mapped_ = false;
    unsigned int lastButton_ = 0;
    Time lastPressTime_ = 0;
    int lastX_ = 0;
    int lastY_ = 0;
};

} // namespace

std::unique_ptr<IPlatformFrame> createX11Frame(IPlatformFrameCallback* callback, const CRect& size,
                                               unsigned long parentWindow, double scaleFactor)
{
    auto frame = std::make_unique<X11Frame>(callback, size, parentWindow, scaleFactor);
    if (!frame->init())
        return nullptr;
    return frame;
}

double scaleFactorFromDesktop(const char* resources, const char* gdkScale)
{
    if (resources) {
        XrmInitialize();
        XrmDatabase database = XrmGetStringDatabase(resources);
        char* type = nullptr;
        XrmValue value{};
        double dpi = 0;
        if (database && XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) &&
            value.addr) {
            char* end = nullptr;
            dpi = std::strtod(value.addr, &end);
            if (end == value.addr)
                dpi = 0;
        }
        if (database)
            XrmDestroyDatabase(database);
        if (dpi > 0 && std::isfinite(dpi))
            return clampScaleFactor(dpi / 96.0);
    }
    if (gdkScale && *gdkScale) {
        char* end = nullptr;
        const long factor = std::strtol(gdkScale, &end, 10);
        if (end != gdkScale && *end == 0 && factor > 0)
            return clampScaleFactor(static_cast<double>(factor));
    }
    return 1.0;
}

double getX11ScaleFactor(unsigned long /*parentWindow*/)
{
    // A connection of its own: the desktop's resources as they are now,
    // not as some older connection read them when it opened.
    X11::DisplayHandle display(XOpenDisplay(nullptr));
    return scaleFactorFromDesktop(display ? XResourceManagerString(display.get()) : nullptr,
                                  std::getenv("GDK_SCALE"));
}

} // namespace VSTGUI
