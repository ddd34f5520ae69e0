// The Win32 window's mouse input, checked for the same behaviour as the
// X11 window's: buttons with the Shift, Control and Alt modifiers,
// double-clicks, both wheels, and entering and leaving. Each case of the
// table sends the message Windows sends to the frame's child window and
// names the event a view must receive from it. The other tests move the
// real cursor and click through the system's input, which shows that the
// window asks the system for double-clicks and for the notice of leaving.
#include <gtest/gtest.h>

#include "tests/windows/WindowsHost.h"
#include "toolkit/CFrame.h"

#include <string>
#include <vector>

using namespace VSTGUI;
using windows_test::HostWindow;
using windows_test::pumpMessages;
using windows_test::pumpUntil;

namespace {

class MouseLog : public CView
{
public:
    explicit MouseLog(const CRect& size) : CView(size) {}
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& b) override
    {
        events.push_back("down" + describe(where, b));
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& b) override
    {
        events.push_back("up" + describe(where, b));
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& b) override
    {
        events.push_back("entered" + describe(where, b));
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseExited(CPoint&, const CButtonState&) override
    {
        events.push_back("exited");
        return kMouseEventHandled;
    }
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& b) override
    {
        events.push_back(std::string(axis == kMouseWheelAxisX ? "hwheel" : "wheel") +
                         std::to_string(static_cast<int>(distance)) + describe(where, b));
        return true;
    }
    static std::string describe(const CPoint& where, const CButtonState& b)
    {
        std::string s = " ";
        s += std::to_string(static_cast<int>(where.x));
        s += ',';
        s += std::to_string(static_cast<int>(where.y));
        if (b & kLButton)
            s += " L";
        if (b & kRButton)
            s += " R";
        if (b & kShift)
            s += " shift";
        if (b & kControl)
            s += " control";
        if (b & kAlt)
            s += " alt";
        if (b & kDoubleClick)
            s += " double";
        return s;
    }
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(events);
        return taken;
    }
    std::vector<std::string> events;
};

// Alt comes with no flag of the mouse message: the frame reads it from the
// thread's key state, which is set here as the system sets it for a held key.
void holdAlt(bool held)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_MENU] = held ? 0x80 : 0;
    keys[VK_LMENU] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

class Win32Frame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.window)
            GTEST_SKIP() << "no host window: Wine needs an X display";
        // The real cursor stays off the window unless a case moves it.
        SetCursorPos(0, 0);
        frame = new CFrame(CRect(0, 0, 120, 80), host.window, nullptr);
        ASSERT_TRUE(frame->isOpen());
        log = new MouseLog(CRect(0, 0, 120, 80));
        frame->addView(log);
        frame->idle();
        pumpMessages();
        const auto children = host.children();
        ASSERT_EQ(children.size(), 1u);
        child = children[0];
    }
    void TearDown() override
    {
        holdAlt(false);
        SetCursorPos(0, 0); // the next test or program finds the cursor off its windows
        if (frame)
            frame->forget();
        pumpMessages();
    }
    POINT onScreen(int x, int y) const
    {
        POINT p{x, y};
        ClientToScreen(child, &p);
        return p;
    }

    HostWindow host{200, 150};
    CFrame* frame = nullptr;
    MouseLog* log = nullptr;
    HWND child = nullptr;
};

TEST_F(Win32Frame, MouseInputArrivesWithButtonsModifiersDoubleClicksAndWheel)
{
    const HWND focusBefore = GetFocus();
    struct Case
    {
        const char* what;
        UINT message;
        WPARAM keys;
        short wheel; // WHEEL_DELTA units for the wheel messages
        bool alt;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"move in", WM_MOUSEMOVE, 0, 0, false, {"entered 30,20"}},
        {"press with shift",
         WM_LBUTTONDOWN,
         MK_LBUTTON | MK_SHIFT,
         0,
         false,
         {"down 30,20 L shift"}},
        {"release with shift", WM_LBUTTONUP, MK_SHIFT, 0, false, {"up 30,20 L shift"}},
        {"second press: double-click",
         WM_LBUTTONDBLCLK,
         MK_LBUTTON,
         0,
         false,
         {"down 30,20 L double"}},
        {"release", WM_LBUTTONUP, 0, 0, false, {"up 30,20 L"}},
        {"right press with alt", WM_RBUTTONDOWN, MK_RBUTTON, 0, true, {"down 30,20 R alt"}},
        {"right release with alt", WM_RBUTTONUP, 0, 0, true, {"up 30,20 R alt"}},
        {"press with every modifier",
         WM_LBUTTONDOWN,
         MK_LBUTTON | MK_SHIFT | MK_CONTROL,
         0,
         true,
         {"down 30,20 L shift control alt"}},
        {"release with control", WM_LBUTTONUP, MK_CONTROL, 0, false, {"up 30,20 L control"}},
        {"wheel away from the user", WM_MOUSEWHEEL, 0, WHEEL_DELTA, false, {"wheel1 30,20"}},
        {"wheel towards the user with alt",
         WM_MOUSEWHEEL,
         0,
         -2 * WHEEL_DELTA,
         true,
         {"wheel-2 30,20 alt"}},
        {"horizontal wheel right with shift",
         WM_MOUSEHWHEEL,
         MK_SHIFT,
         WHEEL_DELTA,
         false,
         {"hwheel1 30,20 shift"}},
        {"horizontal wheel left", WM_MOUSEHWHEEL, 0, -WHEEL_DELTA, false, {"hwheel-1 30,20"}},
        {"leave", WM_MOUSELEAVE, 0, 0, false, {"exited"}},
        {"move in again", WM_MOUSEMOVE, 0, 0, false, {"entered 30,20"}},
        {"leave again", WM_MOUSELEAVE, 0, 0, false, {"exited"}},
    };
    for (const Case& c : cases) {
        holdAlt(c.alt);
        ASSERT_EQ(GetKeyState(VK_MENU) < 0, c.alt) << c.what;
        if (c.message == WM_MOUSEWHEEL || c.message == WM_MOUSEHWHEEL) {
            // Wheel messages carry screen coordinates.
            const POINT p = onScreen(30, 20);
            SendMessageW(child, c.message, MAKEWPARAM(c.keys, c.wheel), MAKELPARAM(p.x, p.y));
        } else if (c.message == WM_MOUSELEAVE) {
            SendMessageW(child, c.message, 0, 0);
        } else {
            SendMessageW(child, c.message, c.keys, MAKELPARAM(30, 20));
        }
        frame->idle();
        EXPECT_EQ(log->take(), c.expected) << c.what;
    }
    holdAlt(false);
    // The class asks the system for double-clicks, and no click takes the
    // host's keyboard focus.
    EXPECT_TRUE(GetClassLongPtrW(child, GCL_STYLE) & CS_DBLCLKS);
    EXPECT_EQ(GetFocus(), focusBefore);
}

TEST_F(Win32Frame, TheCursorLeavingTheWindowArrivesAsAnExit)
{
    // With the cursor over the window the first move asks the system to
    // report its leaving; moving the cursor away then does.
    const POINT in = onScreen(30, 20);
    ASSERT_TRUE(SetCursorPos(in.x, in.y));
    SendMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(30, 20));
    frame->idle();
    EXPECT_EQ(log->take(), std::vector<std::string>{"entered 30,20"});
    TRACKMOUSEEVENT query{};
    query.cbSize = sizeof(query);
    query.dwFlags = TME_QUERY;
    ASSERT_TRUE(TrackMouseEvent(&query));
    EXPECT_TRUE(query.dwFlags & TME_LEAVE);
    EXPECT_EQ(query.hwndTrack, child);

    const POINT out = onScreen(160, 120); // over the host, beside the frame
    ASSERT_TRUE(SetCursorPos(out.x, out.y));
    EXPECT_TRUE(pumpUntil([&] { frame->idle(); }, [&] { return !log->events.empty(); }));
    EXPECT_EQ(log->take(), std::vector<std::string>{"exited"});

    // Coming back is an entry again, with a new request to report leaving.
    ASSERT_TRUE(SetCursorPos(in.x + 10, in.y + 10));
    SendMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(40, 30));
    frame->idle();
    pumpMessages();
    EXPECT_EQ(log->take(), std::vector<std::string>{"entered 40,30"});
    ASSERT_TRUE(SetCursorPos(out.x, out.y));
    EXPECT_TRUE(pumpUntil([&] { frame->idle(); }, [&] { return !log->events.empty(); }));
    EXPECT_EQ(log->take(), std::vector<std::string>{"exited"});
}

TEST_F(Win32Frame, RealClicksInQuickSuccessionMakeTheSystemSendADoubleClick)
{
    // Input as the devices give it: the system picks the window under the
    // cursor, adds the held keys to the messages and, for a window class
    // that asks for it, turns the second of two clicks with the same keys
    // held into a double-click; a third click starts a new pair.
    const POINT at = onScreen(30, 20);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    auto mouse = [&](DWORD flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = static_cast<LONG>((at.x * 65535 + width / 2) / (width - 1));
        input.mi.dy = static_cast<LONG>((at.y * 65535 + height / 2) / (height - 1));
        input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
        return input;
    };
    auto shift = [](bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_SHIFT;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        return input;
    };
    const INPUT down = mouse(MOUSEEVENTF_LEFTDOWN), up = mouse(MOUSEEVENTF_LEFTUP);
    INPUT inputs[] = {
        mouse(MOUSEEVENTF_MOVE), shift(false), down, up, down, up, shift(true), down, up};
    ASSERT_EQ(SendInput(static_cast<UINT>(std::size(inputs)), inputs, sizeof(INPUT)),
              std::size(inputs));
    const std::vector<std::string> expected{
        "entered 30,20",    "down 30,20 L shift", "up 30,20 L shift", "down 30,20 L shift double",
        "up 30,20 L shift", "down 30,20 L",       "up 30,20 L"};
    EXPECT_TRUE(
        pumpUntil([&] { frame->idle(); }, [&] { return log->events.size() >= expected.size(); }));
    EXPECT_EQ(log->take(), expected);
}

} // namespace
