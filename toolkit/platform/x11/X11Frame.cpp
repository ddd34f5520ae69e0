#include "toolkit/platform/x11/X11Frame.h"

#include "toolkit/cairo/BackBuffer.h"
#include "toolkit/platform/x11/X11Keys.h"
#include "toolkit/platform/x11/X11OptionMenu.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <cmath>
#include <cstdlib>

namespace VSTGUI {

namespace {

// Catches the errors of one display connection for the lifetime of the
// scope (a parent window that the host has already destroyed makes
// requests on it fail) and hands every other connection's errors to the
// handler that was installed before.
std::atomic<XErrorHandler> gPreviousHandler{nullptr};
thread_local Display* tTrapDisplay = nullptr;
thread_local int tTrapError = 0;

int trapHandler(Display* display, XErrorEvent* event)
{
    if (display == tTrapDisplay) {
        tTrapError = event->error_code;
        return 0;
    }
    XErrorHandler previous = gPreviousHandler.load();
    return previous ? previous(display, event) : 0;
}

class ErrorTrap
{
public:
    explicit ErrorTrap(Display* display) : display_(display)
    {
        XSync(display_, False);
        tTrapDisplay = display_;
        tTrapError = 0;
        XErrorHandler previous = XSetErrorHandler(trapHandler);
        if (previous != trapHandler)
            gPreviousHandler.store(previous);
        else
            nested_ = true;
    }
    ~ErrorTrap()
    {
        XSync(display_, False);
        tTrapDisplay = nullptr;
        if (!nested_)
            XSetErrorHandler(gPreviousHandler.load());
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool failed()
    {
        XSync(display_, False);
        return tTrapError != 0;
    }

private:
    Display* display_;
    bool nested_ = false;
};

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask
    | EnterWindowMask | LeaveWindowMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask;
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
    case Button1: return kLButton;
    case Button2: return kMButton;
    case Button3: return kRButton;
    case 8: return kButton4;
    case 9: return kButton5;
    default: return 0;
    }
}

class X11Frame : public IPlatformFrame, public IX11PopupHost
{
public:
    X11Frame(IPlatformFrameCallback* callback, const CRect& size, Window parent)
        : callback_(callback), buffer_(callback, size), parent_(parent)
    {
    }

    ~X11Frame() override
    {
        if (eventFilter_)
            eventFilter_->hostClosing();
        if (!display_)
            return;
        if (image_) {
            image_->data = nullptr; // the pixels belong to the back buffer
            XDestroyImage(image_);
        }
        if (gc_)
            XFreeGC(display_, gc_);
        // Notice a host window destroyed before closing, so the child that
        // went with it is not destroyed twice.
        XSync(display_, False);
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == DestroyNotify && event.xdestroywindow.window == window_)
                markGone();
        }
        if (window_) {
            ErrorTrap trap(display_);
            XDestroyWindow(display_, window_);
        }
        if (colormap_)
            XFreeColormap(display_, colormap_);
        XCloseDisplay(display_);
    }

    bool init()
    {
        if (!buffer_.isValid() || parent_ == 0)
            return false;
        display_ = XOpenDisplay(nullptr);
        if (!display_)
            return false;
        const int screen = DefaultScreen(display_);
        XVisualInfo info;
        if (!XMatchVisualInfo(display_, screen, 24, TrueColor, &info) || info.red_mask != 0xff0000
            || info.green_mask != 0xff00 || info.blue_mask != 0xff)
            return false;

        ErrorTrap trap(display_);
        colormap_ = XCreateColormap(display_, RootWindow(display_, screen), info.visual, AllocNone);
        XSetWindowAttributes attributes{};
        attributes.colormap = colormap_;
        attributes.border_pixel = 0;
        attributes.background_pixel = 0;
        attributes.event_mask = kEventMask;
        const CRect size = buffer_.getSize();
        window_ = XCreateWindow(display_, parent_, 0, 0, static_cast<unsigned>(size.getWidth()),
                                static_cast<unsigned>(size.getHeight()), 0, 24, InputOutput, info.visual,
                                CWColormap | CWBorderPixel | CWBackPixel | CWEventMask, &attributes);
        if (trap.failed()) {
            window_ = 0; // the id was never valid on the server
            return false;
        }
        gc_ = XCreateGC(display_, window_, 0, nullptr);
        visual_ = info.visual;
        image_ = XCreateImage(display_, visual_, 24, ZPixmap, 0,
                              reinterpret_cast<char*>(cairo_image_surface_get_data(buffer_.getSurface())),
                              static_cast<unsigned>(size.getWidth()), static_cast<unsigned>(size.getHeight()), 32,
                              cairo_image_surface_get_stride(buffer_.getSurface()));
        if (!image_)
            return false;
        image_->byte_order = LSBFirst; // Cairo stores native-endian words
        XMapWindow(display_, window_);
        mapped_ = true;
        return !trap.failed();
    }

    CRect getSize() const override { return buffer_.getSize(); }

    bool setSize(const CRect& newSize, bool resizeParent) override
    {
        if (!window_ || !buffer_.resize(newSize))
            return false;
        if (image_) {
            image_->data = nullptr;
            XDestroyImage(image_);
        }
        image_ = XCreateImage(display_, visual_, 24, ZPixmap, 0,
                              reinterpret_cast<char*>(cairo_image_surface_get_data(buffer_.getSurface())),
                              static_cast<unsigned>(newSize.getWidth()), static_cast<unsigned>(newSize.getHeight()),
                              32, cairo_image_surface_get_stride(buffer_.getSurface()));
        if (image_)
            image_->byte_order = LSBFirst;
        ErrorTrap trap(display_);
        XResizeWindow(display_, window_, static_cast<unsigned>(newSize.getWidth()),
                      static_cast<unsigned>(newSize.getHeight()));
        if (resizeParent)
            XResizeWindow(display_, parent_, static_cast<unsigned>(newSize.getWidth()),
                          static_cast<unsigned>(newSize.getHeight()));
        return image_ != nullptr;
    }

    void invalidRect(const CRect& rect) override { buffer_.invalidRect(rect); }

    void processEvents() override
    {
        while (display_ && XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (eventFilter_ && eventFilter_->filterEvent(event))
                continue;
            handleEvent(event);
        }
    }

    std::shared_ptr<IPlatformOptionMenu> createPlatformOptionMenu() override
    {
        return window_ ? createX11OptionMenu(this) : nullptr;
    }

    Display* popupDisplay() const override { return window_ ? display_ : nullptr; }
    Window popupParentWindow() const override { return window_; }
    Visual* popupVisual() const override { return visual_; }
    Colormap popupColormap() const override { return colormap_; }
    void setEventFilter(IX11EventFilter* filter) override { eventFilter_ = filter; }

    void paint() override
    {
        if (!window_ || !buffer_.hasDirtyArea())
            return;
        const CRect area = buffer_.paint();
        if (area.isEmpty() || !image_)
            return;
        ErrorTrap trap(display_);
        XPutImage(display_, window_, gc_, image_, static_cast<int>(area.left), static_cast<int>(area.top),
                  static_cast<int>(area.left), static_cast<int>(area.top), static_cast<unsigned>(area.getWidth()),
                  static_cast<unsigned>(area.getHeight()));
        if (trap.failed())
            markGone();
    }

    bool isVisible() const override { return window_ != 0 && mapped_; }

private:
    void markGone()
    {
        window_ = 0;
        mapped_ = false;
    }

    void handleEvent(const XEvent& event)
    {
        if (!window_ || event.xany.window != window_)
            return;
        switch (event.type) {
        case Expose:
            buffer_.invalidRect(CRect(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                                      event.xexpose.y + event.xexpose.height));
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == window_)
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
            CPoint where(event.xbutton.x, event.xbutton.y);
            CButtonState buttons = heldButtons(event.xbutton.state);
            buttons |= flag;
            callback_->platformOnMouseUp(where, buttons);
            break;
        }
        case MotionNotify: {
            CPoint where(event.xmotion.x, event.xmotion.y);
            callback_->platformOnMouseMoved(where, heldButtons(event.xmotion.state));
            break;
        }
        case EnterNotify: {
            CPoint where(event.xcrossing.x, event.xcrossing.y);
            callback_->platformOnMouseMoved(where, heldButtons(event.xcrossing.state));
            break;
        }
        case KeyPress:
        case KeyRelease: {
            VstKeyCode key{};
            if (!translateX11Key(const_cast<XKeyEvent&>(event.xkey), key))
                break;
            if (event.type == KeyPress)
                callback_->platformOnKeyDown(key);
            else
                callback_->platformOnKeyUp(key);
            break;
        }
        case LeaveNotify: {
            if (event.xcrossing.mode != NotifyNormal)
                break;
            CPoint where(event.xcrossing.x, event.xcrossing.y);
            callback_->platformOnMouseExited(where, heldButtons(event.xcrossing.state));
            break;
        }
        default:
            break;
        }
    }

    void onButtonPress(const XButtonEvent& event)
    {
        CPoint where(event.x, event.y);
        const CButtonState mods = modifiers(event.state);
        switch (event.button) {
        case Button4:
        case Button5:
            callback_->platformOnMouseWheel(where, kMouseWheelAxisY, event.button == Button4 ? 1.f : -1.f, mods);
            return;
        case 6:
        case 7:
            callback_->platformOnMouseWheel(where, kMouseWheelAxisX, event.button == 6 ? -1.f : 1.f, mods);
            return;
        default:
            break;
        }
        const int32_t flag = buttonFlag(event.button);
        if (!flag)
            return;
        CButtonState buttons = heldButtons(event.state);
        buttons |= flag;
        const bool doubleClick = event.button == lastButton_ && event.time - lastPressTime_ <= kDoubleClickTime
            && std::abs(event.x - lastX_) <= kDoubleClickDistance && std::abs(event.y - lastY_) <= kDoubleClickDistance;
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
    Display* display_ = nullptr;
    Window window_ = 0;
    Colormap colormap_ = 0;
    Visual* visual_ = nullptr;
    GC gc_ = nullptr;
    XImage* image_ = nullptr;
    IX11EventFilter* eventFilter_ = nullptr;
    bool mapped_ = false;
    unsigned int lastButton_ = 0;
    Time lastPressTime_ = 0;
    int lastX_ = 0;
    int lastY_ = 0;
};

} // namespace

std::unique_ptr<IPlatformFrame> createX11Frame(IPlatformFrameCallback* callback, const CRect& size,
                                               unsigned long parentWindow)
{
    auto frame = std::make_unique<X11Frame>(callback, size, parentWindow);
    if (!frame->init())
        return nullptr;
    return frame;
}

} // namespace VSTGUI
