// The option menu's pop-up on Windows: the system's menu below the menu's
// view, picked with the arrow keys and Return, closed by Escape without a
// pick. The keys wait in the thread's queue for the menu's own loop.
#include <gtest/gtest.h>

#include "editor/controls/MyOptionMenu.h"
#include "tests/windows/WindowsHost.h"
#include "toolkit/CFrame.h"

#include <vector>

using namespace VSTGUI;
using namespace windows_test;

namespace {

class Listener : public CControlListener
{
public:
    void valueChanged(CControl* control) override { values.push_back(control->getValue()); }
    std::vector<float> values;
};

void postKey(HWND window, WPARAM key)
{
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, (1u << 31) | (1u << 30) | 1);
}

} // namespace

TEST(OptionMenuPopupUnderWine, ArrowKeysAndReturnPickEscapeCancels)
{
    HostWindow host(300, 200);
    if (!host.window)
        GTEST_SKIP() << "no window station";
    auto* frame = new CFrame(CRect(0, 0, 300, 200), host.window, nullptr);
    ASSERT_TRUE(frame->isOpen());
    Listener listener;
    auto* menu = new CMyOptionMenu(CRect(20, 20, 140, 40), &listener, 4);
    for (const char* name : {"Sine", "Triangle", "Square", "Noise"})
        menu->addEntry(name);
    menu->setValue(1);
    frame->addView(menu);
    pumpMessages();

    // A Windows menu opens with nothing highlighted: the first Down is the
    // first entry, the third the third.
    postKey(host.window, VK_DOWN);
    postKey(host.window, VK_DOWN);
    postKey(host.window, VK_DOWN);
    postKey(host.window, VK_RETURN);
    EXPECT_TRUE(menu->popup());
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_EQ(listener.values, (std::vector<float>{2.f}));

    postKey(host.window, VK_ESCAPE);
    EXPECT_TRUE(menu->popup());
    EXPECT_EQ(listener.values.size(), 1u);
    EXPECT_EQ(menu->getValue(), 2.f);
    frame->forget();
}
