// What the Windows toolkit creates for an editor it releases again: after
// every close no window, window class, GDI object or Direct2D, DirectWrite
// or WIC object of the toolkit is left, however often the editor opens and
// at whatever scale.
// (Wine answers 0 to GetGuiResources, so the toolkit's own counts are read;
// the plug-in is linked into this program to reach them.)
#include <gtest/gtest.h>

#include "plugin/VantelorVst.h"
#include "tests/windows/WindowsHost.h"
#include "toolkit/platform/win32/ResourceCount.h"

using namespace windows_test;
using VSTGUI::Win32::createdResources;
using VSTGUI::Win32::liveResources;
using VSTGUI::Win32::ResourceKind;

namespace {

constexpr ResourceKind kKinds[] = {ResourceKind::kWindow, ResourceKind::kWindowClass,
                                   ResourceKind::kGdiObject, ResourceKind::kDirect2D};
const char* const kKindNames[] = {"windows", "window classes", "GDI objects", "Direct2D objects"};

TEST(ToolkitResources, FiftyOpenCloseCyclesReleaseEverythingTheToolkitMade)
{
    HostWindow host(500, 400);
    if (!host.window)
        GTEST_SKIP() << "no host window: Wine needs an X display";
    auto* plugin = createVantelorVst(RecordedCalls::callback);
    AEffect* effect = plugin->getAeffect();
    auto call = [&](VstInt32 opcode, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, 0, ptr, 0);
    };
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

} // namespace
