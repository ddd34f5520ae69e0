#include "toolkit/platform/win32/Win32Frame.h"

#include "toolkit/ScaleFactor.h"
#include "toolkit/d2d/D2DBackBuffer.h"
#include "toolkit/platform/win32/ResourceCount.h"
#include "toolkit/platform/win32/Win32Module.h"
#include "toolkit/platform/win32/Win32OptionMenu.h"

#include <windows.h>
#include <windowsx.h>

#include <cstdio>
#include <mutex>

namespace VSTGUI {

namespace {

// The window class is registered with the first window and unregistered
// with the last, so an unloaded DLL leaves no class pointing into it.
class WindowClass
{
public:
    static const wchar_t* acquire(WNDPROC procedure)
    {
        std::lock_guard<std::mutex> lock(mutex());
        State& s = state();
        if (s.users == 0) {
            // One class per module: two plug-ins built on this toolkit
            // never share one.
            std::swprintf(s.name, sizeof(s.name) / sizeof(s.name[0]), L"VantelorToolkitFrame%p",
                          static_cast<void*>(moduleInstance()));
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = procedure;
            wc.hInstance = moduleInstance();
            wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.lpszClassName = s.name;
            if (!RegisterClassExW(&wc))
                return nullptr;
            Win32::noteCreated(Win32::ResourceKind::kWindowClass);
        }
        ++s.users;
        return s.name;
    }

    static void release()
    {
        std::lock_guard<std::mutex> lock(mutex());
        State& s = state();
        if (s.users == 0 || --s.users > 0)
            return;
        if (UnregisterClassW(s.name, moduleInstance()))
            Win32::noteReleased(Win32::ResourceKind::kWindowClass);
    }

private:
    struct State
    {
        int users = 0;
        wchar_t name[64] = {};
    };
    static State& state()
    {
        static State s;
        return s;
    }
    static std::mutex& mutex()
    {
        static std::mutex m;
        return m;
    }
};

// Per-monitor DPI awareness for the windows created in its scope, so the
// system does not stretch (and blur) the editor's pixels. The call exists
// from Windows 10 1607 on and is looked up at run time.
class DpiAwarenessScope
{
public:
    DpiAwarenessScope()
    {
        using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        if (!user32)
            return;
        set_ = reinterpret_cast<SetContext>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
        if (!set_)
            return;
        previous_ = set_(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
        if (!previous_)
            previous_ = set_(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    }
    ~DpiAwarenessScope()
    {
        if (set_ && previous_)
            set_(previous_);
    }
    DpiAwarenessScope(const DpiAwarenessScope&) = delete;
    DpiAwarenessScope& operator=(const DpiAwarenessScope&) = delete;

private:
    DPI_AWARENESS_CONTEXT(WINAPI* set_)(DPI_AWARENESS_CONTEXT) = nullptr;
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

// Pixels per inch of the monitor that shows window (null: the primary
// one), as a per-monitor aware program sees it; 0 when the system cannot
// say. Every call is looked up at run time, as older systems lack them.
UINT monitorDpi(HWND window)
{
    DpiAwarenessScope awareness;
    if (window) {
        using GetForWindow = UINT(WINAPI*)(HWND);
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        auto forWindow = user32 ? reinterpret_cast<GetForWindow>(reinterpret_cast<void*>(
                                      GetProcAddress(user32, "GetDpiForWindow")))
                                : nullptr;
        // A host window that is not DPI aware reports 96 whatever the
        // monitor: ask the monitor instead.
        using GetForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
        if (HMODULE shcore = LoadLibraryW(L"shcore.dll")) {
            auto forMonitor = reinterpret_cast<GetForMonitor>(
                reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
            UINT x = 0, y = 0;
            const bool known =
                forMonitor &&
                SUCCEEDED(forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                     0 /* effective DPI */, &x, &y)) &&
                x > 0;
            FreeLibrary(shcore);
            if (known)
                return x;
        }
        if (forWindow)
            if (const UINT dpi = forWindow(window))
                return dpi;
    }
    HDC screen = GetDC(nullptr);
    if (!screen)
        return 0;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 0;
}

double scaleOfDpi(UINT dpi)
{
    return dpi > 0 ? clampScaleFactor(dpi / 96.0) : 1.0;
}

CButtonState modifiers(WPARAM keys)
{
    CButtonState buttons;
    if (keys & MK_SHIFT)
        buttons |= kShift;
    if (keys & MK_CONTROL)
        buttons |= kControl;
    if (GetKeyState(VK_MENU) < 0)
        buttons |= kAlt;
    return buttons;
}

CButtonState heldButtons(WPARAM keys)
{
    CButtonState buttons = modifiers(keys);
    if (keys & MK_LBUTTON)
        buttons |= kLButton;
    if (keys & MK_MBUTTON)
        buttons |= kMButton;
    if (keys & MK_RBUTTON)
        buttons |= kRButton;
    if (keys & MK_XBUTTON1)
        buttons |= kButton4;
    if (keys & MK_XBUTTON2)
        buttons |= kButton5;
    return buttons;
}

constexpr WPARAM kAnyButton = MK_LBUTTON | MK_MBUTTON | MK_RBUTTON | MK_XBUTTON1 | MK_XBUTTON2;

class Win32Frame : public IPlatformFrame
{
public:
    Win32Frame(IPlatformFrameCallback* callback, const CRect& size, double scaleFactor)
        : callback_(callback),
          buffer_(callback, size, scaleFactor),
          alive_(std::make_shared<bool>(true))
    {}

    ~Win32Frame() override
    {
        *alive_ = false;
        if (window_) {
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            if (GetCapture() == window_)
                ReleaseCapture();
            DestroyWindow(window_);
            window_ = nullptr;
            Win32::noteReleased(Win32::ResourceKind::kWindow);
        }
        if (className_)
            WindowClass::release();
    }

    bool init(HWND parent)
    {
        if (!buffer_.isValid() || !parent || !IsWindow(parent))
            return false;
        className_ = WindowClass::acquire(&Win32Frame::windowProcedure);
        if (!className_)
            return false;
        const CRect size = buffer_.getPixelSize();
        DpiAwarenessScope dpi;
        window_ = CreateWindowExW(
            0, className_, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
            static_cast<int>(size.getWidth()), static_cast<int>(size.getHeight()), parent, nullptr,
            moduleInstance(), this);
        if (!window_)
            return false;
        Win32::noteCreated(Win32::ResourceKind::kWindow);
        return true;
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

    bool resize(const CRect& newSize, double scaleFactor, bool resizeParent)
    {
        if (!window_ || !buffer_.resize(newSize, scaleFactor))
            return false;
        const int w = static_cast<int>(buffer_.getPixelSize().getWidth());
        const int h = static_cast<int>(buffer_.getPixelSize().getHeight());
        SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (resizeParent) {
            if (HWND parent = GetParent(window_))
                SetWindowPos(parent, nullptr, 0, 0, w, h,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return true;
    }

    void invalidRect(const CRect& rect) override { buffer_.invalidRect(rect); }

    // The host's message loop delivers this window's messages; nothing is
    // read here.
    void processEvents() override {}

    void paint() override
    {
        if (!window_ || !buffer_.hasDirtyArea())
            return;
        const CRect area = buffer_.paint();
        if (area.isEmpty())
            return;
        const RECT r{static_cast<LONG>(area.left), static_cast<LONG>(area.top),
                     static_cast<LONG>(area.right), static_cast<LONG>(area.bottom)};
        InvalidateRect(window_, &r, FALSE);
        UpdateWindow(window_);
    }

    bool isVisible() const override { return window_ && IsWindowVisible(window_); }

    std::shared_ptr<IPlatformOptionMenu> createPlatformOptionMenu() override
    {
        return window_ ? createWin32OptionMenu(window_) : nullptr;
    }

private:
    // A client-area position in the frame's unscaled units.
    CPoint unscaled(LONG x, LONG y) const { return unscalePoint(x, y, buffer_.getScaleFactor()); }

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* frame = reinterpret_cast<Win32Frame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (frame)
            return frame->handle(window, message, wParam, lParam);
        return DefWindowProcW(window, message, wParam, lParam);
    }

    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        // A host may close the editor from inside any callback; this frame
        // is then gone when the callback returns, and nothing of it may be
        // touched.
        const std::shared_ptr<bool> alive = alive_;
        switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            if (buffer_.hasDirtyArea())
                buffer_.paint();
            if (dc && buffer_.getDC())
                BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                       ps.rcPaint.bottom - ps.rcPaint.top, buffer_.getDC(), ps.rcPaint.left,
                       ps.rcPaint.top, SRCCOPY);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_XBUTTONDOWN:
        case WM_XBUTTONDBLCLK: {
            CPoint where = unscaled(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            CButtonState buttons = heldButtons(GET_KEYSTATE_WPARAM(wParam));
            if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
                message == WM_MBUTTONDBLCLK || message == WM_XBUTTONDBLCLK)
                buttons |= kDoubleClick;
            // The view that took the press keeps the mouse while a button is
            // held, also outside the window.
            SetCapture(window);
            callback_->platformOnMouseDown(where, buttons);
            return message == WM_XBUTTONDOWN || message == WM_XBUTTONDBLCLK ? TRUE : 0;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP: {
            CPoint where = unscaled(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            const WPARAM keys = GET_KEYSTATE_WPARAM(wParam);
            CButtonState buttons = heldButtons(keys);
            // The released button, which the key state no longer holds.
            if (message == WM_LBUTTONUP)
                buttons |= kLButton;
            else if (message == WM_RBUTTONUP)
                buttons |= kRButton;
            else if (message == WM_MBUTTONUP)
                buttons |= kMButton;
            else
                buttons |= GET_XBUTTON_WPARAM(wParam) == XBUTTON1 ? kButton4 : kButton5;
            callback_->platformOnMouseUp(where, buttons);
            if (*alive && !(keys & kAnyButton) && GetCapture() == window)
                ReleaseCapture();
            return message == WM_XBUTTONUP ? TRUE : 0;
        }
        case WM_MOUSEMOVE: {
            if (!tracking_) {
                // Entering: ask for the leave notification.
                TRACKMOUSEEVENT track{};
                track.cbSize = sizeof(track);
                track.dwFlags = TME_LEAVE;
                track.hwndTrack = window;
                tracking_ = TrackMouseEvent(&track) != FALSE;
            }
            CPoint where = unscaled(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            callback_->platformOnMouseMoved(where, heldButtons(GET_KEYSTATE_WPARAM(wParam)));
            return 0;
        }
        case WM_MOUSELEAVE: {
            tracking_ = false;
            POINT p{};
            GetCursorPos(&p);
            ScreenToClient(window, &p);
            CPoint where = unscaled(p.x, p.y);
            callback_->platformOnMouseExited(where, modifiers(0));
            return 0;
        }
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL: {
            // Wheel positions come in screen coordinates.
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window, &p);
            const float distance = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA;
            const bool horizontal = message == WM_MOUSEHWHEEL;
            callback_->platformOnMouseWheel(unscaled(p.x, p.y),
                                            horizontal ? kMouseWheelAxisX : kMouseWheelAxisY,
                                            distance, modifiers(GET_KEYSTATE_WPARAM(wParam)));
            return 0;
        }
        case WM_DPICHANGED:
            // The window is now on a monitor of another scale (the new DPI
            // in the low word); the frame decides whether to follow.
            callback_->platformScaleFactorChanged(scaleOfDpi(LOWORD(wParam)));
            return 0;
        case WM_DPICHANGED_AFTERPARENT:
            // A child hears of it this way when the host's window moved.
            callback_->platformScaleFactorChanged(scaleOfDpi(monitorDpi(window)));
            return 0;
        case WM_NCDESTROY:
            // Destroyed with the host's window before the editor closed.
            if (window_ == window) {
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                window_ = nullptr;
                Win32::noteReleased(Win32::ResourceKind::kWindow);
            }
            break;
        default:
            break;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    IPlatformFrameCallback* callback_;
    D2D::BackBuffer buffer_;
    std::shared_ptr<bool> alive_;
    const wchar_t* className_ = nullptr;
    HWND window_ = nullptr;
    bool tracking_ = false;
};

} // namespace

double getWin32ScaleFactor(void* window)
{
    return scaleOfDpi(monitorDpi(static_cast<HWND>(window)));
}

std::unique_ptr<IPlatformFrame> createWin32Frame(IPlatformFrameCallback* callback,
                                                 const CRect& size, void* parent,
                                                 double scaleFactor)
{
    auto frame = std::make_unique<Win32Frame>(callback, size, scaleFactor);
    if (!frame->init(static_cast<HWND>(parent)))
        return nullptr;
    return frame;
}

} // namespace VSTGUI
