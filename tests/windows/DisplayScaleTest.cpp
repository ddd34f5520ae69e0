// The DLL's window with the display at 200 % (run by at-display-dpi in a
// Wine prefix whose LogPixels is 192): without a request from the host it
// opens at twice the size, mouse messages at twice the distance send the
// values of 1x, and a DPI change of its monitor resizes it. What the
// system says about the DPI is Wine's own answer to GetDpiForMonitor and
// GetDeviceCaps; the messages are sent as Windows sends them.
#include <gtest/gtest.h>

#include "product/VantelorParameters.h"
#include "tests/support/BuiltPlugin.h"
#include "tests/windows/WindowsHost.h"

#include <memory>
#include <sstream>

using namespace windows_test;

namespace {

struct Size
{
    int width, height;
    bool operator==(const Size&) const = default;
};

void PrintTo(const Size& s, std::ostream* os)
{
    *os << s.width << "x" << s.height;
}

class EditorAtDisplayScale : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.window)
            GTEST_SKIP() << "no host window: Wine needs an X display";
        ASSERT_TRUE(library.loaded()) << library.error();
        effect = library.entry()(freshHost());
        ASSERT_NE(effect, nullptr);
        call(effMainsChanged, 0, 1);
        RecordingHost::takeEdits();
    }
    void TearDown() override
    {
        if (effect) {
            call(effEditClose);
            call(effClose);
        }
    }

    VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    void idle()
    {
        pumpMessages();
        call(effEditIdle);
        pumpMessages();
    }
    Size reported()
    {
        ERect* rect = nullptr;
        if (call(effEditGetRect, 0, 0, &rect) != 1 || !rect)
            return {0, 0};
        return {rect->right - rect->left, rect->bottom - rect->top};
    }
    static Size clientSize(HWND window)
    {
        RECT r{};
        GetClientRect(window, &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    void mouse(HWND child, UINT message, WPARAM keys, int x, int y)
    {
        SendMessageW(child, message, keys, MAKELPARAM(x, y));
        idle();
    }
    std::vector<std::string> hostCalls(size_t expected)
    {
        std::vector<std::string> calls;
        pumpUntil([&] { idle(); },
                  [&] {
                      for (auto& c : RecordingHost::takeEdits())
                          calls.push_back(c);
                      return calls.size() >= expected;
                  });
        return calls;
    }

    HostWindow host{900, 700};
    vantelor_test::BuiltPluginModule library;
    AEffect* effect = nullptr;
};

TEST_F(EditorAtDisplayScale, OpensAtTwiceTheSizeAndADragSendsThe1xValues)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 192) << "the Wine prefix's LogPixels did not take";

    EXPECT_EQ(reported(), (Size{828, 578}));
    ASSERT_EQ(call(effEditOpen, 0, 0, host.window), 1);
    idle();
    const auto children = host.children();
    ASSERT_EQ(children.size(), 1u);
    const HWND child = children[0];
    EXPECT_EQ(clientSize(child), (Size{828, 578}));
    EXPECT_EQ(reported(), (Size{828, 578}));

    // The drag of the 1x test, at twice the distance.
    mouse(child, WM_MOUSEMOVE, 0, 236, 254);
    mouse(child, WM_LBUTTONDOWN, MK_LBUTTON, 236, 254);
    mouse(child, WM_MOUSEMOVE, MK_LBUTTON, 436, 334);
    mouse(child, WM_LBUTTONUP, 0, 436, 334);
    std::vector<std::string> expected = editGesture(kAziL, static_cast<float>(191.0 / 364));
    for (auto& s : editGesture(kElevL, static_cast<float>(1 - 146.0 / 212)))
        expected.push_back(s);
    EXPECT_EQ(hostCalls(6), expected);

    // Moved to a monitor at 100 %: the window follows.
    RECT suggested{0, 0, 414, 289};
    SendMessageW(child, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    idle();
    EXPECT_EQ(clientSize(child), (Size{414, 289}));
    EXPECT_EQ(reported(), (Size{414, 289}));
    mouse(child, WM_RBUTTONDOWN, MK_RBUTTON, 218, 167);
    mouse(child, WM_RBUTTONUP, 0, 218, 167);
    EXPECT_EQ(hostCalls(3), editGesture(kActiveL, 0.f));

    // Once the host has chosen a scale, the monitor's no longer moves it.
    EXPECT_EQ(call(effVendorSpecific, 0x50726553, 0x41654373, nullptr, 1.5f), 1);
    idle();
    EXPECT_EQ(clientSize(child), (Size{621, 434}));
    SendMessageW(child, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    idle();
    EXPECT_EQ(clientSize(child), (Size{621, 434}));
}

} // namespace
