// The VST3 view of the Windows module under Wine, driven as a Windows host
// drives it: attached to the host's HWND as its one child at its size and
// scale, painting from its own timer (Windows hosts lend no run loop), a drag
// reaching the host as begin, perform and end of an edit, a host change
// moving the plot, and attach and remove cycles leaving no window (a
// hundred run on X; a few dozen here, where Wine makes each slow).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vst3/Vst3Host.h"
#include "tests/windows/WindowsHost.h"

namespace {

using namespace vantelor_vst3_test;
using windows_test::capture;
using windows_test::HostWindow;
using windows_test::pumpMessages;
using windows_test::pumpUntil;

constexpr uint32_t kSelected = 0xC2FA05; // the selected source's fill (194, 250, 5)

class Vst3ViewUnderWine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.window)
            GTEST_SKIP() << "no host window: Wine needs an X display";
        ASSERT_TRUE(instance.ok()) << module.error();
        frame.offerRunLoop = false;
    }
    void TearDown() override { close(); }

    HWND open(float scale = 0)
    {
        view = instance.controller->createView(vst3::kEditorViewType);
        if (!view)
            return nullptr;
        view->setFrame(&frame);
        if (scale > 0) {
            auto* scaling = queryOf<vst3::IPlugViewContentScaleSupport>(
                view, vst3::kIPlugViewContentScaleSupportIid);
            if (scaling) {
                scaling->setContentScaleFactor(scale);
                scaling->release();
            }
        }
        if (view->attached(host.window, vst3::kPlatformTypeHWND) != vst3::kResultOk)
            return nullptr;
        pumpMessages();
        const auto children = host.children();
        return children.size() == 1 ? children[0] : nullptr;
    }
    void close()
    {
        if (!view)
            return;
        view->removed();
        view->setFrame(nullptr);
        view->release();
        view = nullptr;
        pumpMessages();
    }
    void mouse(HWND child, UINT message, WPARAM keys, int x, int y)
    {
        SendMessageW(child, message, keys, MAKELPARAM(x, y));
        pumpMessages();
    }

    HostWindow host{900, 700};
    Vst3Module module{VANTELOR_VST3_BINARY};
    Vst3Instance instance{module.factory};
    TestPlugFrame frame;
    vst3::IPlugView* view = nullptr;
};

TEST_F(Vst3ViewUnderWine, AttachesAsTheOneChildAtEachScale)
{
    const struct
    {
        float scale;
        int width, height;
    } cases[] = {{0, 414, 289}, {1.5f, 621, 434}, {2.0f, 828, 578}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        const HWND child = open(c.scale);
        ASSERT_NE(child, nullptr);
        RECT r{};
        GetClientRect(child, &r);
        EXPECT_EQ(r.right - r.left, c.width);
        EXPECT_EQ(r.bottom - r.top, c.height);
        vst3::ViewRect size{};
        ASSERT_EQ(view->getSize(&size), vst3::kResultOk);
        EXPECT_EQ(size.right, c.width);
        close();
    }
}

TEST_F(Vst3ViewUnderWine, ADragEditsThroughTheHandlerAndAHostChangeMovesThePlot)
{
    const HWND child = open();
    ASSERT_NE(child, nullptr);
    // Painted from the view's own timer: R (selected at open) at column 300.
    ASSERT_TRUE(pumpUntil([] {}, [&] { return capture(child).at(300, 127) == kSelected; }));
    ASSERT_EQ(instance.controller->setParamNormalized(kAziR, 0.9), vst3::kResultOk);
    ASSERT_TRUE(pumpUntil([] {}, [&] { return capture(child).at(355, 127) == kSelected; }));

    mouse(child, WM_MOUSEMOVE, 0, 118, 127);
    mouse(child, WM_LBUTTONDOWN, MK_LBUTTON, 118, 127);
    mouse(child, WM_MOUSEMOVE, MK_LBUTTON, 218, 167);
    mouse(child, WM_LBUTTONUP, 0, 218, 167);
    const std::vector<std::string> expected = {"begin0", "perform0", "end0",
                                               "begin1", "perform1", "end1"};
    EXPECT_EQ(instance.handler.calls, expected);
    ASSERT_EQ(instance.handler.values.size(), 2u);
    EXPECT_EQ(static_cast<float>(instance.handler.values[0].second),
              static_cast<float>(191.0 / 364));
    EXPECT_TRUE(pumpUntil([] {}, [&] { return capture(child).at(218, 167) == kSelected; }));
}

TEST_F(Vst3ViewUnderWine, AttachAndRemoveCyclesLeaveNoWindow)
{
    for (int i = 0; i < 30; ++i) {
        ASSERT_NE(open(), nullptr) << i;
        close();
        ASSERT_TRUE(host.children().empty()) << i;
    }
    EXPECT_EQ(frame.references, 0);
}

} // namespace
