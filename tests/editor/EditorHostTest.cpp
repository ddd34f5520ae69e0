// The built plug-in's window on a real X server, driven as a host drives
// it: a child of the host's window with the right geometry and the same
// pixels as the off-screen render; many open/close cycles; the link button
// under synthetic input; and the host quirks: audio running meanwhile, the
// host's window destroyed before close, a slow idle rate, the process
// locale and the keyboard focus left alone.
#include <gtest/gtest.h>

#include "../toolkit/X11TestSupport.h"
#include "EditorTestSupport.h"
#include "LoadedPlugin.h"
#include "editor/MyVSTEditor.h"
#include "plugin/MyVSTPlugin.h"
#include "toolkit/CFrame.h"
#include "toolkit/platform/offscreen/OffscreenFrame.h"

#include <X11/Xatom.h>

#include <atomic>
#include <clocale>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>

using vantelor_test::HostWindow;
using vantelor_test::LoadedPlugin;
using vantelor_test::pumpUntil;
using vantelor_test::StandInOpener;

namespace {

class EditorHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.display)
            GTEST_SKIP() << "no X server";
        ASSERT_NE(plugin.effect, nullptr) << plugin.module().error();
    }
    void TearDown() override
    {
        if (plugin.effect)
            plugin.closeEditor();
    }

    HostWindow host{500, 400};
    LoadedPlugin plugin;
};

TEST_F(EditorHost, OpensAsAChildOfTheHostWindowAndDrawsTheOffscreenPicture)
{
    ERect* rect = nullptr;
    ASSERT_EQ(plugin.call(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 414);
    EXPECT_EQ(rect->bottom - rect->top, 289);

    ASSERT_TRUE(plugin.openEditor(host));
    plugin.idle();
    const Window child = host.onlyChild();
    ASSERT_NE(child, 0u);
    Window root;
    int x, y;
    unsigned w, h, border, depth;
    XGetGeometry(host.display, child, &root, &x, &y, &w, &h, &border, &depth);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 414u);
    EXPECT_EQ(h, 289u);

    // The same window rendered off-screen by the same code, in process.
    CMyVSTPlugin reference(vantelor_test::RecordingHost::callback);
    new CMyVSTEditor(&reference, &reference);
    auto* editor = static_cast<CMyVSTEditor*>(reference.getEditor());
    ASSERT_TRUE(editor->open(nullptr));
    auto* image = dynamic_cast<VSTGUI::OffscreenFrame*>(editor->getFrame()->getPlatformFrame());
    ASSERT_NE(image, nullptr);

    XImage* shown = XGetImage(host.display, child, 0, 0, 414, 289, AllPlanes, ZPixmap);
    ASSERT_NE(shown, nullptr);
    int differing = 0;
    for (int py = 0; py < 289; ++py)
        for (int px = 0; px < 414; ++px) {
            const unsigned long v = XGetPixel(shown, px, py);
            const VSTGUI::CColor e = image->getPixel(px, py);
            if (((v >> 16) & 0xff) != e.red || ((v >> 8) & 0xff) != e.green || (v & 0xff) != e.blue)
                ++differing;
        }
    XDestroyImage(shown);
    EXPECT_EQ(differing, 0);
    editor->close();

    plugin.closeEditor();
    EXPECT_EQ(host.onlyChild(), 0u);
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(EditorHost, OpensClosesAndReopensAHundredTimes)
{
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(plugin.openEditor(host)) << i;
        plugin.idle();
        plugin.closeEditor();
    }
    EXPECT_EQ(host.onlyChild(), 0u);
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(EditorHost, LinkButtonUnderSyntheticInputAtASlowIdleRate)
{
    // Some hosts idle the editor only about 15 times a second; input that
    // arrives between two calls is still handled in order.
    XSetInputFocus(host.display, host.window, RevertToParent, CurrentTime);
    XSync(host.display, False);
    ASSERT_TRUE(plugin.openEditor(host));
    auto slowIdle = [&] {
        plugin.idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(66));
    };
    struct Case
    {
        const char* what;
        unsigned button;
        int releaseX, releaseY;
        bool opens;
    } cases[] = {
        {"left click", 1, 207, 279, true},
        {"released outside", 1, 120, 200, false},
        {"right click", 3, 207, 279, false},
    };
    for (const Case& c : cases) {
        StandInOpener opener;
        host.move(207, 279);
        slowIdle();
        host.button(c.button, true);
        slowIdle();
        host.move(c.releaseX, c.releaseY);
        host.button(c.button, false);
        slowIdle();
        const std::string opened = opener.opened(c.opens ? 3000 : 300);
        if (c.opens) {
            EXPECT_EQ(opened.rfind("file:///", 0), 0u) << c.what << ": " << opened;
            EXPECT_NE(opened.find("/HF_Vantelor-guide.html"), std::string::npos)
                << c.what << ": " << opened;
        } else {
            EXPECT_EQ(opened, "") << c.what;
        }
    }
    Window focus;
    int revert;
    XGetInputFocus(host.display, &focus, &revert);
    EXPECT_EQ(focus, host.window); // the editor never takes the keyboard focus
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(EditorHost, HostWindowDestroyedBeforeClose)
{
    for (bool idleBetween : {false, true}) {
        HostWindow doomed(450, 320);
        ASSERT_TRUE(plugin.call(effEditOpen, 0, 0, doomed.parent()) == 1);
        plugin.idle();
        doomed.destroy();
        if (idleBetween)
            for (int i = 0; i < 5; ++i)
                plugin.idle();
        plugin.closeEditor();
        EXPECT_EQ(vantelor_test::gXErrors, 0) << idleBetween;
    }
    // The editor opens again afterwards.
    ASSERT_TRUE(plugin.openEditor(host));
    plugin.idle();
    EXPECT_NE(host.onlyChild(), 0u);
}

TEST_F(EditorHost, AnUnusableParentWindowIsReportedAsAFailedOpen)
{
    EXPECT_EQ(plugin.call(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x7ffffff0})), 0);
    EXPECT_EQ(host.onlyChild(), 0u);
    ASSERT_TRUE(plugin.openEditor(host)); // a good window afterwards works
    EXPECT_NE(host.onlyChild(), 0u);
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

// Editors on two window threads of one host: one opens, idles and closes in
// a valid parent while the other keeps opening into windows that do not
// exist. Each connection's errors stay with it: every open into a missing
// parent reports failure, every valid one succeeds, and no error escapes to
// the process's handler (whose default would end the host).
TEST_F(EditorHost, TwoWindowThreadsKeepTheirErrorsApart)
{
    constexpr int kRounds = 300;
    const Window parent = host.window;
    std::atomic<int> validOpens{0};
    std::atomic<int> missingOpensReported{0};
    std::thread valid([&] {
        for (int i = 0; i < kRounds; ++i) {
            if (plugin.call(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) == 1)
                ++validOpens;
            plugin.idle();
            plugin.closeEditor();
        }
    });
    std::thread missing([&] {
        LoadedPlugin other;
        ASSERT_NE(other.effect, nullptr);
        for (int i = 0; i < kRounds; ++i) {
            // Ids of a client slot that no client has on this server.
            const auto nowhere = static_cast<uintptr_t>(0x1ff00000u + static_cast<unsigned>(i));
            if (other.call(effEditOpen, 0, 0, reinterpret_cast<void*>(nowhere)) == 0)
                ++missingOpensReported;
            other.idle();
            other.closeEditor();
        }
    });
    valid.join();
    missing.join();
    EXPECT_EQ(validOpens.load(), kRounds);
    EXPECT_EQ(missingOpensReported.load(), kRounds);
    XSync(host.display, False);
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(EditorHost, OpenedWhileAudioAndAutomationRunOnOtherThreads)
{
    plugin.call(effMainsChanged, 0, 1);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        float left[64] = {}, right[64] = {}, outL[64], outR[64];
        float* in[] = {left, right};
        float* out[] = {outL, outR};
        while (!stop.load())
            plugin.effect->processReplacing(plugin.effect, in, out, 64);
    });
    // Parameter and program changes, each of which redraws an open window.
    std::thread automation([&] {
        for (int n = 0; !stop.load(); ++n) {
            plugin.effect->setParameter(plugin.effect, n % 8, static_cast<float>(n % 101) / 100.f);
            if (n % 16 == 0)
                plugin.call(effSetProgram, 0, (n / 16) % 8);
        }
    });
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(plugin.openEditor(host));
        for (int k = 0; k < 5; ++k)
            plugin.idle();
        plugin.closeEditor();
    }
    stop = true;
    audio.join();
    automation.join();
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(EditorHost, OnlyAProgramChangeThatTakesPlaceRedrawsTheWholeWindow)
{
    CMyVSTPlugin local(vantelor_test::RecordingHost::callback);
    new CMyVSTEditor(&local, &local);
    auto* editor = static_cast<CMyVSTEditor*>(local.getEditor());
    ASSERT_TRUE(editor->open(host.parent()));
    ASSERT_TRUE(pumpUntil([&] { editor->idle(); }, [&] { return editor->isWindowVisible(); }));
    editor->idle();
    VSTGUI::CFrame* frame = editor->getFrame();
    ASSERT_FALSE(frame->isDirty());

    for (VstInt32 missing : {32, -1, 1000}) {
        local.setProgram(missing);
        EXPECT_FALSE(frame->isDirty()) << missing;
    }
    local.setProgram(3);
    EXPECT_TRUE(frame->isDirty());
    editor->idle();

    // From another thread the request waits for the window's own idle.
    std::thread([&] { local.setProgram(4); }).join();
    EXPECT_FALSE(frame->isDirty());
    editor->close();
}

TEST_F(EditorHost, LeavesTheProcessLocaleAlone)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_TRUE(plugin.openEditor(host));
    plugin.idle();
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), before);
    plugin.closeEditor();
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), before);
}

} // namespace

namespace {

constexpr VstInt32 kScaleIndex = 0x50726553;  // 'PreS'
constexpr VstIntPtr kScaleValue = 0x41654373; // 'AeCs'

struct Size
{
    int width, height;
    bool operator==(const Size&) const = default;
};

Size reportedSize(LoadedPlugin& plugin)
{
    ERect* rect = nullptr;
    if (plugin.call(effEditGetRect, 0, 0, &rect) != 1 || !rect)
        return {0, 0};
    return {rect->right - rect->left, rect->bottom - rect->top};
}

Size childSize(const HostWindow& host)
{
    Window root;
    int x, y;
    unsigned w = 0, h = 0, border, depth;
    if (!host.onlyChild() ||
        !XGetGeometry(host.display, host.onlyChild(), &root, &x, &y, &w, &h, &border, &depth))
        return {0, 0};
    return {static_cast<int>(w), static_cast<int>(h)};
}

// The desktop's X resources for the length of a test, restored after.
class DesktopResources
{
public:
    DesktopResources(Display* display, const char* resources) : display_(display)
    {
        atom_ = XInternAtom(display_, "RESOURCE_MANAGER", False);
        if (char* old = XResourceManagerString(display_))
            old_ = old;
        set(resources);
    }
    ~DesktopResources()
    {
        if (old_.empty())
            XDeleteProperty(display_, DefaultRootWindow(display_), atom_);
        else
            set(old_.c_str());
        XSync(display_, False);
    }

private:
    void set(const char* text)
    {
        XChangeProperty(display_, DefaultRootWindow(display_), atom_, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text),
                        static_cast<int>(std::strlen(text)));
        XSync(display_, False);
    }

    Display* display_;
    Atom atom_;
    std::string old_;
};

} // namespace

TEST_F(EditorHost, TheHostsScaleRequestSizesTheWindowBeforeAndAfterOpening)
{
    struct Case
    {
        float factor;
        Size size;
    } cases[] = {{2.f, {828, 578}}, {1.5f, {621, 434}}, {1.f, {414, 289}}, {3.f, {1242, 867}}};
    for (const Case& c : cases) {
        // Before the window opens: the answer, the size, the window.
        EXPECT_EQ(plugin.call(effVendorSpecific, kScaleIndex, kScaleValue, nullptr, c.factor), 1);
        EXPECT_EQ(reportedSize(plugin), c.size) << c.factor;
        ASSERT_TRUE(plugin.openEditor(host));
        plugin.idle();
        EXPECT_EQ(childSize(host), c.size) << c.factor;
        plugin.closeEditor();
    }
    // While it is open: the window follows, and so does the size.
    ASSERT_TRUE(plugin.openEditor(host));
    plugin.idle();
    EXPECT_EQ(plugin.call(effVendorSpecific, kScaleIndex, kScaleValue, nullptr, 1.5f), 1);
    plugin.idle();
    EXPECT_EQ(reportedSize(plugin), (Size{621, 434}));
    EXPECT_EQ(childSize(host), (Size{621, 434}));
    // Not a scale request, or no usable factor: not answered, nothing moves.
    EXPECT_EQ(plugin.call(effVendorSpecific, kScaleIndex, 0, nullptr, 2.f), 0);
    EXPECT_EQ(plugin.call(effVendorSpecific, kScaleIndex, kScaleValue, nullptr, 0.f), 0);
    EXPECT_EQ(plugin.call(effVendorSpecific, kScaleIndex, kScaleValue, nullptr, NAN), 0);
    EXPECT_EQ(reportedSize(plugin), (Size{621, 434}));
    // Factors beyond 1..4 are held inside it.
    EXPECT_EQ(plugin.call(effVendorSpecific, kScaleIndex, kScaleValue, nullptr, 9.f), 1);
    plugin.idle();
    EXPECT_EQ(reportedSize(plugin), (Size{1656, 1156}));
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(EditorHost, TheDesktopsXftDpiOpensTheWindowScaledWithoutAHostRequest)
{
    DesktopResources resources(host.display, "Xft.dpi:\t192\n");
    EXPECT_EQ(reportedSize(plugin), (Size{828, 578}));
    ASSERT_TRUE(plugin.openEditor(host));
    plugin.idle();
    EXPECT_EQ(childSize(host), (Size{828, 578}));
    EXPECT_EQ(reportedSize(plugin), (Size{828, 578}));
    // The host's own request wins over the desktop's.
    EXPECT_EQ(plugin.call(effVendorSpecific, kScaleIndex, kScaleValue, nullptr, 1.f), 1);
    plugin.idle();
    EXPECT_EQ(childSize(host), (Size{414, 289}));
}

TEST_F(EditorHost, OpensAndClosesAtSeveralScales)
{
    // Under the sanitizer build, anything a scale leaves behind is a leak.
    for (float factor : {1.f, 1.25f, 1.5f, 1.75f, 2.f, 4.f}) {
        ASSERT_EQ(plugin.call(effVendorSpecific, kScaleIndex, kScaleValue, nullptr, factor), 1);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(plugin.openEditor(host)) << factor;
            plugin.idle();
            plugin.closeEditor();
        }
    }
    EXPECT_EQ(host.onlyChild(), 0u);
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}
