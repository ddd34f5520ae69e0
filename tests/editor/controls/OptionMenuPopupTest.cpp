// The option menu's pop-up on a real X server: a click opens it below the
// menu, a click on an entry or the arrow keys and Return pick, Escape and a
// click outside close it without a pick; and the knob takes the arrow keys
// once clicked.
#include <gtest/gtest.h>

#include "../../toolkit/X11TestSupport.h"
#include "ControlsTestSupport.h"
#include "editor/controls/MyAnimKnob.h"
#include "editor/controls/MyOptionMenu.h"
#include "toolkit/platform/x11/X11OptionMenu.h"

using namespace VSTGUI;
using vantelor_test::HostWindow;
using vantelor_test::pumpUntil;
using vantelor_test::RecordingListener;

namespace {

using Layout = X11OptionMenuLayout;

constexpr CRect kMenuRect(20, 20, 140, 40);

// The middle of entry i of the pop-up below the menu (the host window sits
// at the root's origin, so window and screen coordinates agree).
CPoint entryCentre(int i)
{
    return CPoint(kMenuRect.left + 30, kMenuRect.bottom + Layout::kPadding +
                                           i * Layout::kItemHeight + Layout::kItemHeight / 2);
}

class OptionMenuPopup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.display)
            GTEST_SKIP() << "no X server";
        frame = new CFrame(CRect(0, 0, 300, 240), host.parent(), nullptr);
        ASSERT_TRUE(frame->isOpen());
        menu = new CMyOptionMenu(kMenuRect, &listener, 4);
        for (const char* name : {"Sine", "Triangle", "Square", "Noise"})
            menu->addEntry(name);
        frame->addView(menu);
        ASSERT_TRUE(pump([&] { return frame->isWindowVisible(); }));
    }
    void TearDown() override
    {
        if (frame)
            frame->forget();
    }

    bool pump(const std::function<bool()>& done)
    {
        return pumpUntil([&] { frame->idle(); }, done);
    }
    void clickAt(const CPoint& p)
    {
        host.move(static_cast<int>(p.x), static_cast<int>(p.y));
        host.click(1);
    }
    void open()
    {
        clickAt(CPoint(60, 30));
        ASSERT_TRUE(pump([&] { return menu->isPopupOpen(); }));
        frame->idle(); // the opening click's release reaches the pop-up first
    }
    void tap(KeySym sym)
    {
        host.key(sym, true);
        host.key(sym, false);
    }

    HostWindow host{400, 300};
    RecordingListener listener;
    CFrame* frame = nullptr;
    CMyOptionMenu* menu = nullptr;
};

} // namespace

TEST_F(OptionMenuPopup, AClickOnAnEntryPicksIt)
{
    open();
    EXPECT_TRUE(listener.edits.empty()); // opening picks nothing
    clickAt(entryCentre(2));
    ASSERT_TRUE(pump([&] { return !menu->isPopupOpen(); }));
    EXPECT_EQ(listener.values(), (std::vector<float>{2.f}));
    EXPECT_EQ(menu->getValue(), 2.f);
    EXPECT_EQ(listener.edits.front().kind, 'b');
    EXPECT_EQ(listener.edits.back().kind, 'e');

    // Pressing on the menu and releasing over an entry picks it too.
    host.move(60, 30);
    host.button(1, true);
    ASSERT_TRUE(pump([&] { return menu->isPopupOpen(); }));
    const CPoint target = entryCentre(0);
    host.move(static_cast<int>(target.x), static_cast<int>(target.y));
    host.button(1, false);
    ASSERT_TRUE(pump([&] { return !menu->isPopupOpen(); }));
    EXPECT_EQ(menu->getValue(), 0.f);
}

TEST_F(OptionMenuPopup, ArrowKeysAndReturnPick)
{
    menu->setValue(1);
    open();
    tap(XK_Down);
    tap(XK_Down);
    tap(XK_Up);
    tap(XK_Down);
    tap(XK_Down); // past the last entry: stays there
    tap(XK_Return);
    ASSERT_TRUE(pump([&] { return !menu->isPopupOpen(); }));
    EXPECT_EQ(listener.values(), (std::vector<float>{3.f}));
}

TEST_F(OptionMenuPopup, EscapeAndAClickOutsideCloseWithoutAPick)
{
    menu->setValue(1);
    open();
    tap(XK_Down);
    tap(XK_Escape);
    ASSERT_TRUE(pump([&] { return !menu->isPopupOpen(); }));
    open();
    clickAt(CPoint(380, 280));
    ASSERT_TRUE(pump([&] { return !menu->isPopupOpen(); }));
    EXPECT_TRUE(listener.edits.empty());
    EXPECT_EQ(menu->getValue(), 1.f);

    // The window and its menu close while the pop-up is open: nothing is
    // reported and nothing is left behind.
    open();
    frame->forget();
    frame = nullptr;
    XSync(host.display, False);
    EXPECT_TRUE(listener.edits.empty());
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(OptionMenuPopup, AClickedKnobTakesTheArrowKeys)
{
    RecordingListener knobListener;
    auto* knob =
        new CMyAnimKnob(CRect(200, 20, 240, 60), &knobListener, 8, nullptr, CPoint(0, 0), CRect());
    knob->setValue(0.5f);
    frame->addView(knob);
    clickAt(CPoint(220, 40));
    ASSERT_TRUE(pump([&] { return frame->getFocusView() == knob; }));
    tap(XK_Up);
    ASSERT_TRUE(pump([&] { return !knobListener.values().empty(); }));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.55f);
}

// At twice the scale the pop-up opens below the menu as drawn, twice the
// size, and a click on an entry where it shows picks that entry.
TEST(OptionMenuPopupAtTwiceTheScale, OpensBelowTheMenuAndPicksTheEntryClicked)
{
    HostWindow host{600, 500};
    if (!host.display)
        GTEST_SKIP() << "no X server";
    RecordingListener listener;
    auto* frame = new CFrame(CRect(0, 0, 300, 240), nullptr);
    frame->setZoom(2);
    ASSERT_TRUE(frame->open(host.parent()));
    auto* menu = new CMyOptionMenu(kMenuRect, &listener, 4);
    for (const char* name : {"Sine", "Triangle", "Square", "Noise"})
        menu->addEntry(name);
    frame->addView(menu);
    auto pump = [&](const std::function<bool()>& done) {
        return pumpUntil([&] { frame->idle(); }, done);
    };
    ASSERT_TRUE(pump([&] { return frame->isWindowVisible(); }));
    host.move(120, 60);
    host.click(1);
    ASSERT_TRUE(pump([&] { return menu->isPopupOpen(); }));
    frame->idle();
    const CPoint entry = entryCentre(2);
    host.move(static_cast<int>(2 * entry.x), static_cast<int>(2 * entry.y));
    host.click(1);
    ASSERT_TRUE(pump([&] { return !menu->isPopupOpen(); }));
    EXPECT_EQ(listener.values(), (std::vector<float>{2.f}));
    frame->forget();
}
