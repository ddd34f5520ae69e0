// What the Windows toolkit creates for an editor it releases again: after
// every close no window, window class, GDI object or Direct2D, DirectWrite
// or WIC object of the toolkit is left, however often the editor opens and
// at whatever scale; and while it is open, a paint that repeats the last one
// creates no Direct2D object (brushes, text formats, pictures are kept with
// the render target).
// (Wine answers 0 to GetGuiResources, so the toolkit's own counts are read;
// the plug-in is linked into this program to reach them.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "plugin/VantelorVst.h"
#include "toolkit/CFrame.h"
#include "toolkit/plugin-bindings/AEffGUIEditor.h"
#include "tests/windows/WindowsHost.h"
#include "toolkit/platform/win32/ResourceCount.h"

using namespace windows_test;
using VSTGUI::Win32::createdResources;
using VSTGUI::Win32::direct2DCreatedByLastPaint;
using VSTGUI::Win32::liveResources;
using VSTGUI::Win32::paintCount;
using VSTGUI::Win32::ResourceKind;

namespace {

constexpr ResourceKind kKinds[] = {ResourceKind::kWindow, ResourceKind::kWindowClass,
                                   ResourceKind::kGdiObject, ResourceKind::kDirect2D};
const char* const kKindNames[] = {"windows", "window classes", "GDI objects", "Direct2D objects"};

// A host window and a fresh plug-in whose editor a test opens in it.
class ToolkitResources : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.window)
            GTEST_SKIP() << "no host window: Wine needs an X display";
        plugin = createVantelorVst(freshHost());
        effect = plugin->getAeffect();
    }

    VstIntPtr call(VstInt32 opcode, void* ptr = nullptr)
    {
        return effect->dispatcher(effect, opcode, 0, 0, ptr, 0);
    }

    HostWindow host{500, 400};
    CMyVSTPlugin* plugin = nullptr;
    AEffect* effect = nullptr;
};

TEST_F(ToolkitResources, FiftyOpenCloseCyclesReleaseEverythingTheToolkitMade)
{
    for (size_t k = 0; k < 4; ++k)
        ASSERT_EQ(liveResources(kKinds[k]), 0) << kKindNames[k] << " after construction";

    // The host's display scale changes from one opening to the next (the
    // 2x pictures and larger back buffers come and go with it).
    const float scales[] = {1.f, 1.25f, 1.5f, 2.f, 3.f};
    for (int cycle = 0; cycle < 50; ++cycle) {
        ASSERT_EQ(effect->dispatcher(effect, effVendorSpecific, 0x50726553, 0x41654373, nullptr,
                                     scales[cycle % 5]),
                  1);
        ASSERT_EQ(call(effEditOpen, host.window), 1) << "cycle " << cycle;
        EXPECT_EQ(liveResources(ResourceKind::kWindow), 1);
        EXPECT_EQ(liveResources(ResourceKind::kWindowClass), 1);
        pumpMessages();
        call(effEditIdle);
        // A drag repaints the plot while the window is open.
        const auto children = host.children();
        ASSERT_EQ(children.size(), 1u);
        SendMessageW(children[0], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(118, 127));
        SendMessageW(children[0], WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120 + cycle, 130));
        SendMessageW(children[0], WM_LBUTTONUP, 0, MAKELPARAM(120 + cycle, 130));
        call(effEditIdle);
        pumpMessages();
        call(effEditClose);
        pumpMessages();
        for (size_t k = 0; k < 4; ++k)
            ASSERT_EQ(liveResources(kKinds[k]), 0)
                << kKindNames[k] << " left after cycle " << cycle;
    }
    // The counts saw real work: every cycle made its window, its class, a
    // back buffer and the drawing objects of its paints.
    EXPECT_EQ(createdResources(ResourceKind::kWindow), 50);
    EXPECT_EQ(createdResources(ResourceKind::kWindowClass), 50);
    EXPECT_GE(createdResources(ResourceKind::kGdiObject), 100);
    EXPECT_GE(createdResources(ResourceKind::kDirect2D), 50 * 10);
    EXPECT_TRUE(host.children().empty());
    call(effClose);
}

TEST_F(ToolkitResources, RepaintingTheEditorCreatesNoDirect2DObject)
{
    ASSERT_EQ(call(effEditOpen, host.window), 1);
    auto* editor = dynamic_cast<AEffGUIEditor*>(plugin->getEditor());
    ASSERT_NE(editor, nullptr);
    VSTGUI::CFrame* frame = editor->getFrame();
    ASSERT_NE(frame, nullptr);
    const auto children = host.children();
    ASSERT_EQ(children.size(), 1u);

    // The window's first paint makes what it draws with.
    call(effEditIdle);
    pumpMessages();
    ASSERT_GT(paintCount(), 0) << "opening the editor painted nothing";
    const int64_t first = direct2DCreatedByLastPaint();
    EXPECT_GT(first, 0);

    // Paints the whole window again at the next idle; what that paint created.
    auto paintAll = [&] {
        const int64_t paints = paintCount();
        frame->invalid();
        call(effEditIdle);
        pumpMessages();
        EXPECT_GT(paintCount(), paints) << "the idle painted nothing";
        return direct2DCreatedByLastPaint();
    };
    const int64_t second = paintAll();
    EXPECT_EQ(second, 0) << "a repaint of the same picture made new objects";

    // A drag across the plot: each step draws new curves and values, so it
    // makes the new shapes and texts it shows; the figures are printed.
    SendMessageW(children[0], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(118, 127));
    int64_t dragMost = 0;
    int64_t dragTotal = 0;
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps; ++step) {
        const int64_t paints = paintCount();
        SendMessageW(children[0], WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(118 + 2 * step, 130));
        call(effEditIdle);
        pumpMessages();
        if (paintCount() > paints) {
            dragMost = std::max(dragMost, direct2DCreatedByLastPaint());
            dragTotal += direct2DCreatedByLastPaint();
        }
    }
    SendMessageW(children[0], WM_LBUTTONUP, 0, MAKELPARAM(118 + 2 * kSteps, 130));
    // The figures, for whoever tunes the backend.
    std::printf("Direct2D objects per paint: first %lld, repeat %lld, drag step at most %lld "
                "(%lld over %d steps)\n",
                static_cast<long long>(first), static_cast<long long>(second),
                static_cast<long long>(dragMost), static_cast<long long>(dragTotal), kSteps);
    call(effEditClose);
    pumpMessages();
    EXPECT_EQ(liveResources(ResourceKind::kDirect2D), 0);
    call(effClose);
}

} // namespace
