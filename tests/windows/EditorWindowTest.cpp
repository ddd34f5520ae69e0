// The DLL's window under Wine, driven as a Windows host drives it: a child
// of the host's window showing the picture from the DLL's resources, the
// version label and both sources; synthetic mouse messages that reach the
// host as edit gestures with the values the plot's mapping predicts; and
// many open/close cycles that leave no window and no window class behind.
#include <gtest/gtest.h>

#include "product/VantelorParameters.h"
#include "tests/support/BuiltPlugin.h"
#include "tests/windows/WindowsHost.h"

#include <cstdio>
#include <cwchar>
#include <memory>

using namespace windows_test;

namespace {

constexpr uint32_t kSelected = 0xC2FA05; // the selected source's fill (194, 250, 5)
constexpr RECT kPlot{27, 21, 392, 234};

class EditorUnderWine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library = std::make_unique<vantelor_test::BuiltPluginModule>();
        ASSERT_TRUE(library->loaded()) << library->error();
        module = library->handle();
        const vantelor_test::PluginEntry entry = library->entry();
        ASSERT_NE(entry, nullptr);
        effect = entry(freshHost());
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
        library.reset();
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
    HWND openEditor()
    {
        if (!host.window)
            return nullptr;
        if (call(effEditOpen, 0, 0, host.window) != 1)
            return nullptr;
        idle();
        const auto children = host.children();
        return children.size() == 1 ? children[0] : nullptr;
    }
    // The class name the toolkit registers for this module.
    std::wstring frameClassName() const
    {
        wchar_t name[64];
        std::swprintf(name, 64, L"VantelorToolkitFrame%p", static_cast<void*>(module));
        return name;
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
    void mouse(HWND child, UINT message, WPARAM keys, int x, int y)
    {
        SendMessageW(child, message, keys, MAKELPARAM(x, y));
        idle();
    }

    std::unique_ptr<vantelor_test::BuiltPluginModule> library;
    HMODULE module = nullptr;
    AEffect* effect = nullptr;
    HostWindow host{500, 400};
};

// Windows need Wine's display driver, which needs an X display.
#define REQUIRE_DISPLAY()                                                                          \
    if (!host.window)                                                                              \
    GTEST_SKIP() << "no host window: Wine needs an X display"

TEST_F(EditorUnderWine, PicturesAreResourcesOfTheDllFoundByName)
{
    const Pixels background = decodePNGResource(module, "gui.png");
    EXPECT_EQ(background.width, 414);
    EXPECT_EQ(background.height, 289);
    const Pixels link = decodePNGResource(module, "info.png");
    EXPECT_EQ(link.width, 20);
    EXPECT_EQ(link.height, 40);
    EXPECT_EQ(FindResourceA(module, "missing.png", "PNG"), nullptr);

    ERect* rect = nullptr;
    ASSERT_EQ(call(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 414);
    EXPECT_EQ(rect->bottom - rect->top, 289);
}

TEST_F(EditorUnderWine, OpensAsAChildShowingThePictureTheLabelAndBothSources)
{
    REQUIRE_DISPLAY();
    const HWND child = openEditor();
    ASSERT_NE(child, nullptr);
    wchar_t className[128] = {};
    GetClassNameW(child, className, 128);
    EXPECT_EQ(frameClassName(), className);
    RECT r{};
    GetClientRect(child, &r);
    EXPECT_EQ(r.right, 414);
    EXPECT_EQ(r.bottom, 289);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(GetParent(child), host.window);
    // Per-monitor aware, so the system never stretches its pixels; the
    // host's own thread keeps its awareness.
    using GetWindowContext = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using ContextsEqual = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    using GetThreadContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto windowContext = reinterpret_cast<GetWindowContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto equal = reinterpret_cast<ContextsEqual>(
        reinterpret_cast<void*>(GetProcAddress(user32, "AreDpiAwarenessContextsEqual")));
    auto threadContext = reinterpret_cast<GetThreadContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    ASSERT_TRUE(windowContext && equal && threadContext)
        << "no per-monitor DPI calls in this system";
    EXPECT_TRUE(equal(windowContext(child), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) ||
                equal(windowContext(child), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE));
    EXPECT_FALSE(equal(threadContext(), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2));

    // R is selected at open and drawn in the selection colour.
    ASSERT_TRUE(
        pumpUntil([&] { idle(); }, [&] { return capture(child).at(300, 127) == kSelected; }))
        << std::hex << capture(child).at(300, 127);
    const Pixels shown = capture(child);
    const Pixels picture = decodePNGResource(module, "gui.png");
    ASSERT_EQ(picture.width, shown.width);
    ASSERT_EQ(picture.height, shown.height);

    // Outside the plot, the label and the link button the window is the
    // picture, pixel for pixel.
    int outside = 0, same = 0;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const bool plot =
                x >= kPlot.left && x < kPlot.right && y >= kPlot.top && y < kPlot.bottom;
            if (plot || y >= 266)
                continue;
            ++outside;
            same += shown.at(x, y) == picture.at(x, y);
        }
    }
    EXPECT_EQ(same, outside);

    // The version label: light text right-aligned 10 px from the right edge.
    int labelPixels = 0, beyondEdge = 0;
    for (int y = 271; y < 289; ++y) {
        for (int x = 250; x < 414; ++x) {
            const uint32_t v = shown.at(x, y);
            const bool light =
                channelDistance(v, 0xC8C8C8) < 60 && channelDistance(v, picture.at(x, y)) > 40;
            labelPixels += light && x < 404;
            beyondEdge += light && x >= 405;
        }
    }
    EXPECT_GT(labelPixels, 40);
    EXPECT_EQ(beyondEdge, 0);

    // Both sources are drawn over the stage: L at (118, 127), R at (300, 127).
    int changedL = 0, changedR = 0;
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -4; dx <= 4; ++dx) {
            changedL += shown.at(118 + dx, 127 + dy) != picture.at(118 + dx, 127 + dy);
            changedR += shown.at(300 + dx, 127 + dy) != picture.at(300 + dx, 127 + dy);
        }
    }
    EXPECT_GT(changedL, 40);
    EXPECT_GT(changedR, 40);
    EXPECT_NE(shown.at(118, 127), kSelected);
}

TEST_F(EditorUnderWine, ADragSendsTheEditGesturesTheMappingPredicts)
{
    REQUIRE_DISPLAY();
    const HWND child = openEditor();
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(effect->getParameter(effect, kAziL), 0.25f);
    ASSERT_EQ(effect->getParameter(effect, kElevL), 0.5f);

    // Drag L from (118, 127) 100 px right and 40 px down.
    mouse(child, WM_MOUSEMOVE, 0, 118, 127);
    mouse(child, WM_LBUTTONDOWN, MK_LBUTTON, 118, 127);
    EXPECT_EQ(GetCapture(), child);
    mouse(child, WM_MOUSEMOVE, MK_LBUTTON, 218, 167);
    mouse(child, WM_LBUTTONUP, 0, 218, 167);
    EXPECT_EQ(GetCapture(), nullptr);
    const float azimuth = static_cast<float>(191.0 / 364);
    const float elevation = static_cast<float>(1 - 146.0 / 212);
    std::vector<std::string> expected = editGesture(kAziL, azimuth);
    for (auto& s : editGesture(kElevL, elevation))
        expected.push_back(s);
    EXPECT_EQ(hostCalls(6), expected);
    EXPECT_EQ(effect->getParameter(effect, kAziL), azimuth);
    EXPECT_EQ(effect->getParameter(effect, kElevL), elevation);
    // L is now selected and drawn where it was dropped.
    EXPECT_TRUE(
        pumpUntil([&] { idle(); }, [&] { return capture(child).at(218, 167) == kSelected; }));

    // With Control held the column stays: only the elevation moves.
    mouse(child, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, 218, 167);
    mouse(child, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, 300, 100);
    mouse(child, WM_LBUTTONUP, MK_CONTROL, 300, 100);
    EXPECT_EQ(hostCalls(3), editGesture(kElevL, static_cast<float>(1 - 79.0 / 212)));
    EXPECT_EQ(effect->getParameter(effect, kAziL), azimuth);
    mouse(child, WM_LBUTTONDOWN, MK_LBUTTON, 218, 100);
    mouse(child, WM_MOUSEMOVE, MK_LBUTTON, 218, 167);
    mouse(child, WM_LBUTTONUP, 0, 218, 167);
    EXPECT_EQ(hostCalls(3), editGesture(kElevL, elevation));

    // A right click switches it off; the wheel (screen coordinates) widens it.
    mouse(child, WM_RBUTTONDOWN, MK_RBUTTON, 218, 167);
    mouse(child, WM_RBUTTONUP, 0, 218, 167);
    EXPECT_EQ(hostCalls(3), editGesture(kActiveL, 0.f));
    POINT p{218, 167};
    ClientToScreen(child, &p);
    SendMessageW(child, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(p.x, p.y));
    idle();
    EXPECT_EQ(hostCalls(3), editGesture(kWidthL, 0.05f));
}

TEST_F(EditorUnderWine, AHostClosingTheEditorFromItsAutomationCallbackDuringADrag)
{
    REQUIRE_DISPLAY();
    const HWND child = openEditor();
    ASSERT_NE(child, nullptr);
    RecordingHost::closeEditorOnAutomate = true;
    mouse(child, WM_MOUSEMOVE, 0, 118, 127);
    mouse(child, WM_LBUTTONDOWN, MK_LBUTTON, 118, 127);
    // The first automation closes the window under the mouse handler.
    SendMessageW(child, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(218, 167));
    RecordingHost::closeEditorOnAutomate = false;
    EXPECT_FALSE(IsWindow(child));
    EXPECT_TRUE(host.children().empty());
    EXPECT_EQ(GetCapture(), nullptr);
    // Messages still queued for the gone window, and idle, do nothing.
    PostMessageW(child, WM_LBUTTONUP, 0, MAKELPARAM(218, 167));
    idle();
    const auto calls = RecordingHost::takeEdits();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "begin0");
    EXPECT_EQ(calls[1].rfind("automate0=", 0), 0u);
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    EXPECT_FALSE(GetClassInfoExW(module, frameClassName().c_str(), &info));
    // The editor opens again and works.
    const HWND again = openEditor();
    ASSERT_NE(again, nullptr);
    mouse(again, WM_LBUTTONDOWN, MK_LBUTTON, 218, 167);
    mouse(again, WM_MOUSEMOVE, MK_LBUTTON, 118, 127);
    mouse(again, WM_LBUTTONUP, 0, 118, 127);
    EXPECT_EQ(hostCalls(6).size(), 6u);
}

TEST_F(EditorUnderWine, FiftyOpenCloseCyclesLeaveNoWindowOrClassBehind)
{
    REQUIRE_DISPLAY();
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    for (int i = 0; i < 50; ++i) {
        const HWND child = openEditor();
        ASSERT_NE(child, nullptr) << "cycle " << i;
        EXPECT_TRUE(GetClassInfoExW(module, frameClassName().c_str(), &info));
        call(effEditClose);
        pumpMessages();
        ASSERT_FALSE(IsWindow(child)) << "cycle " << i;
        ASSERT_TRUE(host.children().empty()) << "cycle " << i;
        ASSERT_FALSE(GetClassInfoExW(module, frameClassName().c_str(), &info)) << "cycle " << i;
    }
}

TEST_F(EditorUnderWine, AnUnusableParentWindowIsReportedAsAFailedOpen)
{
    REQUIRE_DISPLAY();
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(call(effEditOpen, 0, 0, gone), 0);
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    EXPECT_FALSE(GetClassInfoExW(module, frameClassName().c_str(), &info));
    // The next open into a real window works.
    EXPECT_NE(openEditor(), nullptr);
}

TEST_F(EditorUnderWine, HostWindowDestroyedBeforeClose)
{
    REQUIRE_DISPLAY();
    const HWND child = openEditor();
    ASSERT_NE(child, nullptr);
    DestroyWindow(host.window);
    host.window = nullptr;
    EXPECT_FALSE(IsWindow(child));
    idle();
    call(effEditClose);
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    EXPECT_FALSE(GetClassInfoExW(module, frameClassName().c_str(), &info));
    // The editor opens again in a new host window.
    HostWindow second(500, 400);
    EXPECT_EQ(call(effEditOpen, 0, 0, second.window), 1);
    idle();
    EXPECT_EQ(second.children().size(), 1u);
    call(effEditClose);
    EXPECT_TRUE(second.children().empty());
}

} // namespace
