#include "toolkit/platform/x11/X11OptionMenu.h"

#include "toolkit/COptionMenu.h"
#include "toolkit/ScaleFactor.h"
#include "toolkit/cairo/CairoDrawContext.h"
#include "toolkit/platform/x11/X11Handles.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace VSTGUI {

namespace {

using Layout = X11OptionMenuLayout;

constexpr CColor kPopupBack{28, 30, 24, 255};
constexpr CColor kDisabledText{110, 110, 110, 255};
constexpr long kPopupEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                              PointerMotionMask | KeyPressMask | KeyReleaseMask |
                              StructureNotifyMask;
constexpr unsigned kPointerEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

CColor withAlpha(CColor c, uint8_t alpha)
{
    c.alpha = alpha;
    return c;
}

class X11OptionMenu : public IPlatformOptionMenu,
                      public IX11EventFilter,
                      public std::enable_shared_from_this<X11OptionMenu>
{
public:
    explicit X11OptionMenu(IX11PopupHost* host) : host_(host) {}
    ~X11OptionMenu() override { closeWindow(); }

    bool popup(COptionMenu* menu, const Callback& callback) override
    {
        if (window_ || !host_ || !menu || menu->getNbEntries() == 0)
            return false;
        display_ = host_->popupDisplay();
        if (!display_)
            return false;
        menu_ = menu;
        layOut();
        if (!openWindow()) {
            closeWindow();
            menu_ = nullptr;
            return false;
        }
        callback_ = callback;
        const CMenuItem* current = menu->getCurrent();
        highlight_ = current && current->isEnabled() ? menu->getCurrentIndex(true) : -1;
        host_->setEventFilter(this);
        filtering_ = true;
        paint();
        return true;
    }

    void cancel() override { finish(-1); }

    void hostClosing() override
    {
        finish(-1);
        host_ = nullptr;
        display_ = nullptr;
    }

    bool filterEvent(XEvent& event) override
    {
        if (!window_ || event.xany.window != window_.get())
            return false;
        switch (event.type) {
        case Expose:
            if (event.xexpose.count == 0)
                paint();
            break;
        case MotionNotify:
            onPointer(unscaled(event.xmotion.x), unscaled(event.xmotion.y),
                      (event.xmotion.state & Button1Mask) != 0);
            break;
        case ButtonPress:
            if (event.xbutton.button != Button1 && event.xbutton.button != Button3)
                break; // wheel notches and other buttons
            if (!inside(unscaled(event.xbutton.x), unscaled(event.xbutton.y))) {
                finish(-1); // a click outside closes the menu
                break;
            }
            pressedInside_ = true;
            onPointer(unscaled(event.xbutton.x), unscaled(event.xbutton.y), false);
            break;
        case ButtonRelease: {
            if (event.xbutton.button != Button1 && event.xbutton.button != Button3)
                break;
            // The release of the click that opened the menu picks nothing,
            // unless the pointer was dragged onto an entry with it.
            const int row = rowAt(unscaled(event.xbutton.x), unscaled(event.xbutton.y));
            if (row >= 0 && (pressedInside_ || dragged_))
                finish(row);
            break;
        }
        case KeyPress:
            onKey(event.xkey);
            break;
        case DestroyNotify:
            window_.release(); // gone from under us
            finish(-1);
            break;
        default:
            break;
        }
        return true;
    }

private:
    void layOut()
    {
        rowTop_.clear();
        const CRect view = menu_->getViewSize();
        Cairo::Surface probe =
            Cairo::checked(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
        CCoord widest = 0;
        int y = Layout::kPadding;
        {
            Cairo::DrawContext context(probe.get());
            context.setFont(menu_->getFont());
            for (int32_t i = 0; i < menu_->getNbEntries(); ++i) {
                const CMenuItem* item = menu_->getEntry(i);
                rowTop_.push_back(y);
                y += item->isSeparator() ? Layout::kSeparatorHeight : Layout::kItemHeight;
                widest = std::max(widest, context.getStringWidth(item->getTitle()));
            }
        }
        rowTop_.push_back(y);
        width_ = std::max(static_cast<int>(view.getWidth()),
                          static_cast<int>(widest) + 2 * Layout::kPadding + 16);
        height_ = y + Layout::kPadding;
    }

    bool openWindow()
    {
        const int screen = DefaultScreen(display_);
        const Window root = RootWindow(display_, screen);
        const CRect view = menu_->getViewSize();
        scale_ = host_->popupScaleFactor();
        pixelWidth_ = scaledPixels(width_, scale_);
        pixelHeight_ = scaledPixels(height_, scale_);
        int x = 0;
        int below = 0;
        int above = 0;
        Window child = 0;
        if (!XTranslateCoordinates(display_, host_->popupParentWindow(), root,
                                   scaledPixels(view.left, scale_),
                                   scaledPixels(view.bottom, scale_), &x, &below, &child))
            return false;
        above = below - scaledPixels(view.getHeight(), scale_) - pixelHeight_;
        // Below the menu, or above it when the screen ends first.
        const int y =
            below + pixelHeight_ > DisplayHeight(display_, screen) && above >= 0 ? above : below;

        surface_ = Cairo::checked(
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelWidth_, pixelHeight_));
        if (!surface_)
            return false;
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.colormap = host_->popupColormap();
        attributes.border_pixel = 0;
        attributes.background_pixel = 0;
        attributes.event_mask = kPopupEvents;
        window_ = X11::WindowHandle(
            display_, XCreateWindow(display_, root, x, y, static_cast<unsigned>(pixelWidth_),
                                    static_cast<unsigned>(pixelHeight_), 0, 24, InputOutput,
                                    host_->popupVisual(),
                                    CWOverrideRedirect | CWColormap | CWBorderPixel | CWBackPixel |
                                        CWEventMask,
                                    &attributes));
        if (!window_)
            return false;
        gc_ = X11::GCHandle(display_, XCreateGC(display_, window_.get(), 0, nullptr));
        image_ = X11::makeImageOver(display_, host_->popupVisual(), surface_.get());
        if (!image_)
            return false;
        XMapRaised(display_, window_.get());
        XSync(display_, False); // viewable before the grabs
        // Without the pointer a click outside could not close the menu: a
        // menu that cannot have it does not open. The keyboard is a bonus.
        if (XGrabPointer(display_, window_.get(), False, kPointerEvents, GrabModeAsync,
                         GrabModeAsync, None, None, CurrentTime) != GrabSuccess)
            return false;
        grabbed_ = true;
        XGrabKeyboard(display_, window_.get(), False, GrabModeAsync, GrabModeAsync, CurrentTime);
        return true;
    }

    // Everything the pop-up holds on the frame's connection; nothing once it
    // has closed, so a closed pop-up never touches a connection or a frame
    // that may be gone.
    void closeWindow()
    {
        if (filtering_ && host_)
            host_->setEventFilter(nullptr);
        filtering_ = false;
        if (!display_ || (!window_ && !grabbed_ && !gc_ && !image_))
            return;
        if (grabbed_) {
            XUngrabKeyboard(display_, CurrentTime);
            XUngrabPointer(display_, CurrentTime);
            grabbed_ = false;
        }
        // The image before the pixels it shows, the GC before its window.
        image_.reset();
        gc_.reset();
        window_.reset();
        // Wait until the server has let go of the pointer and the keyboard,
        // so that the next click already goes where the user clicks.
        XSync(display_, False);
        surface_.reset();
    }

    // Reports once; the owner may release this object from the callback.
    void finish(int32_t index)
    {
        std::shared_ptr<X11OptionMenu> keepAlive = shared_from_this();
        closeWindow();
        Callback callback = std::move(callback_);
        callback_ = nullptr;
        COptionMenu* menu = menu_;
        menu_ = nullptr;
        pressedInside_ = dragged_ = false;
        if (callback)
            callback(menu, PlatformOptionMenuResult{index >= 0 ? menu : nullptr, index});
    }

    // A position in the pop-up's pixels, in the frame's unscaled units.
    int unscaled(int pixels) const { return static_cast<int>(std::floor(pixels / scale_)); }

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // The enabled entry at (x, y), or -1.
    int rowAt(int x, int y) const
    {
        if (!inside(x, y) || !menu_)
            return -1;
        for (size_t i = 0; i + 1 < rowTop_.size(); ++i) {
            if (y >= rowTop_[i] && y < rowTop_[i + 1]) {
                const CMenuItem* item = menu_->getEntry(static_cast<int32_t>(i));
                return item && item->isEnabled() ? static_cast<int>(i) : -1;
            }
        }
        return -1;
    }

    void onPointer(int x, int y, bool buttonHeld)
    {
        const int row = rowAt(x, y);
        if (row >= 0 && buttonHeld)
            dragged_ = true;
        if (row >= 0 && row != highlight_) {
            highlight_ = row;
            paint();
        }
    }

    // The next enabled entry from the highlighted one in direction step.
    void moveHighlight(int step)
    {
        const int count = menu_->getNbEntries();
        int i = highlight_;
        if (i < 0)
            i = step > 0 ? -1 : count;
        for (i += step; i >= 0 && i < count; i += step) {
            if (menu_->getEntry(i)->isEnabled()) {
                highlight_ = i;
                paint();
                return;
            }
        }
    }

    void onKey(XKeyEvent& event)
    {
        switch (XLookupKeysym(&event, 0)) {
        case XK_Up:
        case XK_KP_Up:
            moveHighlight(-1);
            break;
        case XK_Down:
        case XK_KP_Down:
            moveHighlight(1);
            break;
        case XK_Home:
            highlight_ = -1;
            moveHighlight(1);
            break;
        case XK_End:
            highlight_ = -1;
            moveHighlight(-1);
            break;
        case XK_Return:
        case XK_KP_Enter:
        case XK_space:
            if (highlight_ >= 0)
                finish(highlight_);
            break;
        case XK_Escape:
            finish(-1);
            break;
        default:
            break;
        }
    }

    void paint()
    {
        if (!window_ || !image_ || !menu_)
            return;
        {
            Cairo::DrawContext context(surface_.get(), scale_);
            const CColor text = withAlpha(menu_->getFontColor(), 255);
            const CRect all(0, 0, width_, height_);
            context.setDrawMode(kAliasing);
            context.setLineWidth(1);
            context.setLineStyle(kLineSolid);
            context.setFillColor(kPopupBack);
            context.drawRect(all, kDrawFilled);
            context.setFrameColor(withAlpha(text, 128));
            context.drawRect(all, kDrawStroked);
            context.setFont(menu_->getFont());
            for (int32_t i = 0; i < menu_->getNbEntries(); ++i) {
                const CMenuItem* item = menu_->getEntry(i);
                const CRect row(Layout::kPadding, rowTop_[static_cast<size_t>(i)],
                                width_ - Layout::kPadding, rowTop_[static_cast<size_t>(i) + 1]);
                if (item->isSeparator()) {
                    const CCoord middle = (row.top + row.bottom) / 2;
                    context.setFrameColor(withAlpha(text, 96));
                    context.drawLine(CPoint(row.left + 4, middle), CPoint(row.right - 4, middle));
                    continue;
                }
                if (i == highlight_) {
                    context.setFillColor(withAlpha(text, 72));
                    context.drawRect(row, kDrawFilled);
                }
                if (i == menu_->getCurrentIndex(true)) {
                    // A small mark before the current entry.
                    context.setFillColor(text);
                    context.drawRect(CRect(row.left + 4, row.top + 7, row.left + 8, row.top + 11),
                                     kDrawFilled);
                }
                context.setFontColor(item->isEnabled() ? text : kDisabledText);
                CRect label = row;
                label.left += 12;
                context.drawString(item->getTitle(), label, kLeftText, true);
            }
        }
        cairo_surface_flush(surface_.get());
        XPutImage(display_, window_.get(), gc_.get(), image_.get(), 0, 0, 0, 0,
                  static_cast<unsigned>(pixelWidth_), static_cast<unsigned>(pixelHeight_));
        XFlush(display_);
    }

    IX11PopupHost* host_;
    Display* display_ = nullptr;
    Cairo::Surface surface_;
    X11::WindowHandle window_;
    X11::GCHandle gc_;
    X11::ImageHandle image_;
    bool grabbed_ = false;
    bool filtering_ = false;
    COptionMenu* menu_ = nullptr;
    Callback callback_;
    std::vector<int> rowTop_;
    // Unscaled; the window is pixelWidth_ x pixelHeight_.
    int width_ = 0;
    int height_ = 0;
    double scale_ = 1.0;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
    int highlight_ = -1;
    bool pressedInside_ = false;
    bool dragged_ = false;
};

} // namespace

std::shared_ptr<IPlatformOptionMenu> createX11OptionMenu(IX11PopupHost* host)
{
    return std::make_shared<X11OptionMenu>(host);
}

} // namespace VSTGUI
