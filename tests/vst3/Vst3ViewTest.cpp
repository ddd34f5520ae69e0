// The VST3 view through a stand-in for a host on a real X server: it embeds
// in the host's window at its size and scale, runs from the host's run loop
// (the X connection's descriptor and a timer), a drag reaches the host as
// begin, perform and end of an edit, a host change moves the plot, and a
// hundred attach and remove cycles leave nothing behind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "product/VantelorDescription.h"
#include "tests/toolkit/X11TestSupport.h"
#include "tests/vst3/Vst3Host.h"
#include "toolkit/CGraphics.h"

namespace {

using namespace vantelor_test;
using namespace vantelor_vst3_test;

constexpr VSTGUI::CColor kSelected{194, 250, 5, 255};

class ViewHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!window.display)
            GTEST_SKIP() << "no X server";
        ASSERT_TRUE(instance.ok()) << module.error();
    }
    void TearDown() override { close(); }

    // Makes the view, gives it the frame, optionally a content scale, and
    // attaches it to the host's window.
    vst3::tresult open(float scale = 0)
    {
        view = instance.controller->createView(vst3::kEditorViewType);
        if (!view)
            return vst3::kInternalError;
        view->setFrame(&frame);
        if (scale > 0) {
            auto* scaling = queryOf<vst3::IPlugViewContentScaleSupport>(
                view, vst3::kIPlugViewContentScaleSupportIid);
            if (!scaling)
                return vst3::kNoInterface;
            scaling->setContentScaleFactor(scale);
            scaling->release();
        }
        return view->attached(window.parent(), vst3::kPlatformTypeX11EmbedWindowID);
    }
    void close()
    {
        if (!view)
            return;
        view->removed();
        view->setFrame(nullptr);
        view->release();
        view = nullptr;
    }
    void pump() { frame.runLoop.turn(); }
    VSTGUI::CColor shown(int x, int y) { return window.shown(x, y); }

    HostWindow window{500, 400};
    Vst3Module module{VANTELOR_VST3_BINARY};
    Vst3Instance instance{module.factory};
    TestPlugFrame frame;
    vst3::IPlugView* view = nullptr;
};

TEST_F(ViewHost, AttachesAtItsSizeOnTheHostsRunLoopAndADragEditsThroughTheHandler)
{
    ASSERT_EQ(open(), vst3::kResultOk);
    EXPECT_EQ(view->isPlatformTypeSupported(vst3::kPlatformTypeX11EmbedWindowID),
              vst3::kResultTrue);
    EXPECT_NE(view->isPlatformTypeSupported(vst3::kPlatformTypeHWND), vst3::kResultTrue);
    vst3::ViewRect size{};
    ASSERT_EQ(view->getSize(&size), vst3::kResultOk);
    EXPECT_EQ(size.right - size.left, 414);
    EXPECT_EQ(size.bottom - size.top, 289);
    EXPECT_NE(window.onlyChild(), 0u);
    // The X connection's descriptor and a paint timer, both on the host's
    // loop.
    ASSERT_EQ(frame.runLoop.handlers.size(), 1u);
    EXPECT_GE(frame.runLoop.handlers[0].second, 0);
    EXPECT_EQ(frame.runLoop.timers.size(), 1u);

    // Drag L (azimuth -30 at column 118, elevation 0 at row 127) 100 px
    // right and 40 px down.
    pump();
    window.move(118, 127);
    pump();
    window.button(1, true);
    pump();
    window.move(218, 167);
    pump();
    window.button(1, false);
    RecordingHandler& handler = instance.handler;
    ASSERT_TRUE(pumpUntil([&] { pump(); }, [&] { return handler.calls.size() >= 6; }));
    const std::vector<std::string> expected = {"begin0", "perform0", "end0",
                                               "begin1", "perform1", "end1"};
    EXPECT_EQ(handler.calls, expected);
    ASSERT_EQ(handler.values.size(), 2u);
    EXPECT_EQ(static_cast<float>(handler.values[0].second), static_cast<float>(191.0 / 364));
    EXPECT_EQ(static_cast<float>(handler.values[1].second), static_cast<float>(1 - 146.0 / 212));
    // The controller holds the edited values.
    EXPECT_EQ(instance.controller->getParamNormalized(0), handler.values[0].second);
    EXPECT_EQ(gXErrors, 0);
}

TEST_F(ViewHost, AHostChangeMovesThePlot)
{
    ASSERT_EQ(open(), vst3::kResultOk);
    // R (selected at open) sits at column 300; azimuth 0.9 of the range
    // puts it at 355.
    ASSERT_TRUE(pumpUntil([&] { pump(); }, [&] { return shown(300, 127) == kSelected; }));
    ASSERT_EQ(instance.controller->setParamNormalized(kAziR, 0.9), vst3::kResultOk);
    ASSERT_TRUE(pumpUntil([&] { pump(); }, [&] { return shown(355, 127) == kSelected; }));
    EXPECT_NE(shown(300, 127), kSelected);
    EXPECT_TRUE(instance.handler.calls.empty()) << "host changes are never sent back";
}

TEST_F(ViewHost, DrawsAtTheHostsContentScale)
{
    const struct
    {
        float scale;
        int width, height;
    } cases[] = {{2.0f, 828, 578}, {1.5f, 621, 434}, {1.0f, 414, 289}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        ASSERT_EQ(open(c.scale), vst3::kResultOk);
        vst3::ViewRect size{};
        ASSERT_EQ(view->getSize(&size), vst3::kResultOk);
        EXPECT_EQ(size.right, c.width);
        EXPECT_EQ(size.bottom, c.height);
        pump();
        XWindowAttributes attributes{};
        ASSERT_TRUE(XGetWindowAttributes(window.display, window.onlyChild(), &attributes));
        EXPECT_EQ(attributes.width, c.width);
        EXPECT_EQ(attributes.height, c.height);
        // A change while attached resizes the window and tells the host.
        auto* scaling = queryOf<vst3::IPlugViewContentScaleSupport>(
            view, vst3::kIPlugViewContentScaleSupportIid);
        ASSERT_NE(scaling, nullptr);
        frame.resizes.clear();
        EXPECT_EQ(scaling->setContentScaleFactor(1.0f), vst3::kResultOk);
        ASSERT_EQ(frame.resizes.size(), 1u);
        EXPECT_EQ(frame.resizes[0].right, 414);
        EXPECT_NE(scaling->setContentScaleFactor(-2.0f), vst3::kResultOk);
        scaling->release();
        close();
    }
    EXPECT_EQ(gXErrors, 0);
}

TEST_F(ViewHost, AHundredAttachAndRemoveCyclesLeaveNothingBehind)
{
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(open(), vst3::kResultOk) << i;
        pump();
        close();
        ASSERT_TRUE(frame.runLoop.handlers.empty()) << i;
        ASSERT_TRUE(frame.runLoop.timers.empty()) << i;
    }
    EXPECT_EQ(window.onlyChild(), 0u);
    EXPECT_EQ(frame.references, 0);
    EXPECT_EQ(frame.runLoop.references, 0);
    EXPECT_EQ(gXErrors, 0);

    // No parent, or a parent of another kind, is refused; so is another
    // view type.
    vst3::IPlugView* other = instance.controller->createView(vst3::kEditorViewType);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other->attached(nullptr, vst3::kPlatformTypeX11EmbedWindowID), vst3::kResultOk);
    EXPECT_NE(other->attached(window.parent(), vst3::kPlatformTypeHWND), vst3::kResultOk);
    EXPECT_EQ(instance.controller->createView("inspector"), nullptr);
    other->release();
}

} // namespace
