// The X11 window: a child of the host's window with the frame's size,
// showing exactly the off-screen pixels; mouse input with buttons,
// modifiers, double-clicks and the wheel; no focus taken; survives the
// host destroying its window first; leaves nothing behind over many
// open/close cycles.
#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "X11TestSupport.h"
#include "toolkit/platform/x11/X11Frame.h"

#include <string>
#include <vector>

using namespace VSTGUI;
using vantelor_test::HostWindow;
using vantelor_test::LambdaView;
using vantelor_test::pumpUntil;

namespace {

void paintScene(CDrawContext* c)
{
    c->setFillColor(CColor{40, 90, 200, 255});
    c->drawRect(CRect(0, 0, 120, 80), kDrawFilled);
    c->setDrawMode(kAntiAliasing);
    c->setFillColor(CColor{250, 200, 0, 128});
    c->drawEllipse(CRect(10, 10, 70, 60), kDrawFilled);
    c->setFontColor(kWhiteCColor);
    c->drawString("v2.9.1", CRect(0, 60, 110, 80), kRightText);
}

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
    CMouseEventResult onMouseExited(CPoint&, const CButtonState&) override
    {
        events.push_back("exited");
        return kMouseEventHandled;
    }
    bool onWheel(const CPoint&, const float& distance, const CButtonState&) override
    {
        events.push_back("wheel" + std::to_string(static_cast<int>(distance)));
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
        if (b & kDoubleClick)
            s += " double";
        return s;
    }
    std::vector<std::string> events;
};

class X11Frame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.display)
            GTEST_SKIP() << "no X server";
    }
    HostWindow host{200, 150};
};

TEST_F(X11Frame, ChildWindowHasTheFrameGeometryAndTheOffscreenPixels)
{
    CFrame* frame = new CFrame(CRect(0, 0, 120, 80), host.parent(), nullptr);
    ASSERT_TRUE(frame->isOpen());
    frame->addView(new LambdaView(CRect(0, 0, 120, 80), paintScene));
    frame->idle();
    EXPECT_TRUE(frame->isWindowVisible());

    const Window child = host.onlyChild();
    ASSERT_NE(child, 0u);
    Window root;
    int x, y;
    unsigned w, h, border, depth;
    XGetGeometry(host.display, child, &root, &x, &y, &w, &h, &border, &depth);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 120u);
    EXPECT_EQ(h, 80u);

    vantelor_test::OffscreenFixture reference(120, 80);
    reference.paint(paintScene);
    XImage* shown = XGetImage(host.display, child, 0, 0, 120, 80, AllPlanes, ZPixmap);
    ASSERT_NE(shown, nullptr);
    int differing = 0;
    for (int py = 0; py < 80; ++py)
        for (int px = 0; px < 120; ++px) {
            const unsigned long v = XGetPixel(shown, px, py);
            const CColor expected = reference.pixel(px, py);
            if (((v >> 16) & 0xff) != expected.red || ((v >> 8) & 0xff) != expected.green ||
                (v & 0xff) != expected.blue)
                ++differing;
        }
    XDestroyImage(shown);
    EXPECT_EQ(differing, 0);
    frame->forget();
    EXPECT_EQ(host.onlyChild(), 0u); // the child window went with the frame
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(X11Frame, MouseInputArrivesWithButtonsModifiersDoubleClicksAndWheel)
{
    Window focusBefore;
    int revert;
    XSetInputFocus(host.display, host.window, RevertToParent, CurrentTime);
    XSync(host.display, False);
    XGetInputFocus(host.display, &focusBefore, &revert);

    CFrame* frame = new CFrame(CRect(0, 0, 120, 80), host.parent(), nullptr);
    auto* log = new MouseLog(CRect(0, 0, 120, 80));
    frame->addView(log);
    frame->idle();

    host.move(30, 20);
    host.key(XK_Shift_L, true);
    host.click(1);
    host.key(XK_Shift_L, false);
    host.click(1); // second press soon after the first: a double-click
    host.click(3);
    host.click(4);       // wheel away from the user
    host.move(150, 120); // out of the window
    const std::vector<std::string> expected{"down 30,20 L shift",
                                            "up 30,20 L shift",
                                            "down 30,20 L double",
                                            "up 30,20 L",
                                            "down 30,20 R",
                                            "up 30,20 R",
                                            "wheel1",
                                            "exited"};
    EXPECT_TRUE(
        pumpUntil([&] { frame->idle(); }, [&] { return log->events.size() >= expected.size(); }));
    EXPECT_EQ(log->events, expected);

    Window focusAfter;
    XGetInputFocus(host.display, &focusAfter, &revert);
    EXPECT_EQ(focusAfter, focusBefore);
    frame->forget();
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(X11Frame, ResizeGrowsTheHostWindowOnlyWhenTheHostCannot)
{
    struct Editor : VSTGUIEditorInterface
    {
        bool hostResizes = false;
        bool beforeSizeChange(const CRect&, const CRect&) override { return hostResizes; }
    } editor;
    auto size = [&](Window w) {
        Window root;
        int x, y;
        unsigned width, height, border, depth;
        XGetGeometry(host.display, w, &root, &x, &y, &width, &height, &border, &depth);
        return std::pair{width, height};
    };
    CFrame* frame = new CFrame(CRect(0, 0, 120, 80), host.parent(), &editor);
    frame->idle();
    ASSERT_TRUE(frame->setSize(150, 90));
    frame->idle();
    EXPECT_EQ(size(host.onlyChild()), (std::pair{150u, 90u}));
    EXPECT_EQ(size(host.window), (std::pair{150u, 90u}));

    editor.hostResizes = true; // the host resizes its own window
    ASSERT_TRUE(frame->setSize(160, 100));
    frame->idle();
    EXPECT_EQ(size(host.onlyChild()), (std::pair{160u, 100u}));
    EXPECT_EQ(size(host.window), (std::pair{150u, 90u}));
    frame->forget();
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(X11Frame, HostDestroyingItsWindowFirstIsSurvived)
{
    for (bool idleBetween : {true, false}) {
        HostWindow other(100, 100);
        CFrame* frame = new CFrame(CRect(0, 0, 50, 50), other.parent(), nullptr);
        frame->addView(new LambdaView(CRect(0, 0, 50, 50), paintScene));
        frame->idle();
        other.destroy();
        if (idleBetween) {
            EXPECT_TRUE(
                pumpUntil([&] { frame->idle(); }, [&] { return !frame->isWindowVisible(); }));
            frame->invalid();
            frame->idle();
        }
        frame->forget();
        EXPECT_EQ(vantelor_test::gXErrors, 0) << idleBetween;
    }
}

TEST_F(X11Frame, UnusableParentFailsToOpen)
{
    CFrame* frame = new CFrame(CRect(0, 0, 50, 50), nullptr);
    EXPECT_FALSE(frame->open(reinterpret_cast<void*>(uintptr_t{0x7ffffff0})));
    EXPECT_FALSE(frame->isWindowVisible());
    frame->forget();
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(X11Frame, OpeningAndClosingAHundredTimesLeavesNothingBehind)
{
    for (int i = 0; i < 100; ++i) {
        CFrame* frame = new CFrame(CRect(0, 0, 120, 80), host.parent(), nullptr);
        ASSERT_TRUE(frame->isOpen()) << i;
        frame->addView(new LambdaView(CRect(0, 0, 120, 80), paintScene));
        frame->idle();
        frame->forget();
    }
    EXPECT_EQ(host.onlyChild(), 0u);
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

} // namespace

// The desktop's scale: Xft.dpi over 96 first, then GDK_SCALE (a whole
// number), then 1; nonsense in either is ignored, and the result stays
// inside 1..4.
TEST(DesktopScale, XftDpiThenGdkScaleThenOne)
{
    struct Case
    {
        const char* resources;
        const char* gdkScale;
        double factor;
    } cases[] = {
        {"Xft.dpi:\t192\n", nullptr, 2.0},
        {"Xft.antialias:\t1\nXft.dpi:\t144\n", "3", 1.5},
        {"Xft.dpi: 120\n", nullptr, 1.25},
        {"Xft.dpi:\t72\n", nullptr, 1.0},
        {"Xft.dpi:\t960\n", nullptr, 4.0},
        {"Xft.dpi:\tlarge\n", "2", 2.0},
        {"Xft.hinting:\t1\n", "2", 2.0},
        {nullptr, "3", 3.0},
        {nullptr, "2x", 1.0},
        {nullptr, "0", 1.0},
        {nullptr, "-2", 1.0},
        {"", "", 1.0},
        {nullptr, nullptr, 1.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VSTGUI::scaleFactorFromDesktop(c.resources, c.gdkScale), c.factor)
            << (c.resources ? c.resources : "(none)") << " / "
            << (c.gdkScale ? c.gdkScale : "(none)");
}
