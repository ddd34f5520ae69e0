// The source plot end to end: the built plug-in in a host's window on a
// real X server, driven by synthetic mouse input. A drag, a right click and
// the wheel reach the host as automation and the engine as sound; a
// parameter the host changes from another thread moves the circle.
#include <gtest/gtest.h>

#include "../toolkit/X11TestSupport.h"
#include "EditorTestSupport.h"
#include "LoadedPlugin.h"
#include "product/VantelorParameters.h"
#include "toolkit/CGraphics.h"

#include <cmath>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using vantelor_test::editGesture;
using vantelor_test::HostWindow;
using vantelor_test::pumpUntil;
using vantelor_test::RecordingHost;

namespace {

// The plug-in with a probe of where a left-input tone lands.
class Plugin : public vantelor_test::LoadedPlugin
{
public:
    // Share of the output's energy on the right, for a tone on the left
    // input only, over one block.
    double rightShare()
    {
        constexpr int n = 2048;
        std::vector<float> inL(n), inR(n, 0.f), outL(n), outR(n);
        for (int i = 0; i < n; ++i)
            inL[i] = 0.5f * std::sin(static_cast<float>(phase_++) * 0.0712f);
        float* in[] = {inL.data(), inR.data()};
        float* out[] = {outL.data(), outR.data()};
        effect->processReplacing(effect, in, out, n);
        double left = 0, right = 0;
        for (int i = 0; i < n; ++i) {
            left += outL[i] * outL[i];
            right += outR[i] * outR[i];
        }
        return right / (left + right);
    }

private:
    long phase_ = 0;
};

class PlotOnX : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.display)
            GTEST_SKIP() << "no X server";
        ASSERT_NE(plugin.effect, nullptr) << plugin.module().error();
        plugin.call(effMainsChanged, 0, 1);
        ASSERT_EQ(plugin.call(effEditOpen, 0, 0, host.parent()), 1);
        idle();
        RecordingHost::takeEdits();
    }

    void idle() { plugin.call(effEditIdle); }
    // Pumps the editor until the host has seen `expected` calls, and
    // returns what it saw.
    std::vector<std::string> hostCalls(size_t expected)
    {
        std::vector<std::string> calls;
        pumpUntil(
            [&] {
                idle();
                for (auto& c : RecordingHost::takeEdits())
                    calls.push_back(c);
            },
            [&] { return calls.size() >= expected; });
        return calls;
    }
    // Colour on screen, as RGB bytes.
    VSTGUI::CColor shown(int x, int y) { return host.shown(x, y); }

    HostWindow host{500, 400};
    Plugin plugin;
};

constexpr VSTGUI::CColor kSelected{194, 250, 5, 255};

// A host may close the window from inside any callback: here from the
// automation call of a drag step. Nothing of the window is touched after
// the close, the window goes, and it opens again as new.
TEST_F(PlotOnX, HostClosingTheEditorFromItsAutomationCallbackDuringADrag)
{
    host.move(118, 127);
    idle();
    host.button(1, true);
    idle();
    RecordingHost::takeEdits();
    RecordingHost::closeEditorOnAutomate = true;
    host.move(160, 140);
    pumpUntil([&] { idle(); }, [&] { return !RecordingHost::closeEditorOnAutomate.load(); });
    EXPECT_FALSE(RecordingHost::closeEditorOnAutomate.load());
    host.move(200, 150);
    host.button(1, false);
    for (int i = 0; i < 5; ++i)
        idle();
    const std::vector<std::string> calls = RecordingHost::takeEdits();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "begin0");
    EXPECT_EQ(calls[2], "close");
    XSync(host.display, False);
    EXPECT_EQ(host.onlyChild(), 0u);

    ASSERT_EQ(plugin.call(effEditOpen, 0, 0, host.parent()), 1);
    idle();
    EXPECT_NE(host.onlyChild(), 0u);
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(PlotOnX, MouseEditsReachTheHostAndTheSound)
{
    // The default program: L at azimuth -30 (column 118), elevation 0 (row 127).
    ASSERT_EQ(plugin.parameter(kAziL), 0.25f);
    ASSERT_EQ(plugin.parameter(kElevL), 0.5f);
    for (int i = 0; i < 4; ++i)
        plugin.rightShare();
    const double before = plugin.rightShare();
    EXPECT_LT(before, 0.3);

    // Drag L 100 px right and 40 px down.
    host.move(118, 127);
    idle();
    host.button(1, true);
    idle();
    host.move(218, 167);
    idle();
    host.button(1, false);
    const float azimuth = static_cast<float>(191.0 / 364);
    const float elevation = static_cast<float>(1 - 146.0 / 212);
    std::vector<std::string> expected = editGesture(kAziL, azimuth);
    for (auto& s : editGesture(kElevL, elevation))
        expected.push_back(s);
    EXPECT_EQ(hostCalls(6), expected);
    EXPECT_EQ(plugin.parameter(kAziL), azimuth);
    EXPECT_EQ(plugin.parameter(kElevL), elevation);
    // The very next block already leans towards the new place.
    EXPECT_GT(plugin.rightShare(), before + 0.15);

    // A right click on it switches it off, the wheel widens it.
    host.click(3);
    EXPECT_EQ(hostCalls(3), editGesture(kActiveL, 0.f));
    EXPECT_EQ(plugin.parameter(kActiveL), 0.f);
    host.click(4);
    EXPECT_EQ(hostCalls(3), editGesture(kWidthL, 0.05f));
    EXPECT_NEAR(plugin.parameter(kWidthL), 0.05f, 1e-6f);
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

TEST_F(PlotOnX, AHostChangeFromAnotherThreadMovesTheCircleAtTheNextIdle)
{
    // R (selected at open) sits at column 300; azimuth 0.9 puts it at 355.
    ASSERT_TRUE(pumpUntil([&] { idle(); }, [&] { return shown(300, 127) == kSelected; }));
    EXPECT_NE(shown(355, 127), kSelected);
    std::thread([&] { plugin.effect->setParameter(plugin.effect, kAziR, 0.9f); }).join();
    EXPECT_NE(shown(355, 127), kSelected); // not before the window's idle
    idle();
    EXPECT_EQ(shown(355, 127), kSelected);
    EXPECT_NE(shown(300, 127), kSelected);

    // A program change is drawn as well.
    plugin.call(effSetProgram, 0, 7); // "Mono far right": both sources far right
    ASSERT_TRUE(pumpUntil([&] { idle(); }, [&] { return !(shown(355, 127) == kSelected); }));
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}

} // namespace

// At twice the scale, the window is twice the size and the same gesture at
// twice the distance sends exactly what it sends at 1x: the host's request
// arrives while the window is open, as hosts send it when a window moves.
class PlotOnXAtTwiceTheScale : public PlotOnX
{
protected:
    void SetUp() override
    {
        PlotOnX::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(plugin.call(effVendorSpecific, 0x50726553, 0x41654373, nullptr, 2.f), 1);
        idle();
        RecordingHost::takeEdits();
    }
};

TEST_F(PlotOnXAtTwiceTheScale, DragRightClickAndWheelSendTheValuesOf1x)
{
    Window root;
    int x, y;
    unsigned w = 0, h = 0, border, depth;
    XGetGeometry(host.display, host.onlyChild(), &root, &x, &y, &w, &h, &border, &depth);
    EXPECT_EQ(w, 828u);
    EXPECT_EQ(h, 578u);

    host.move(2 * 118, 2 * 127);
    idle();
    host.button(1, true);
    idle();
    host.move(2 * 218, 2 * 167);
    idle();
    host.button(1, false);
    std::vector<std::string> expected = editGesture(kAziL, static_cast<float>(191.0 / 364));
    for (auto& s : editGesture(kElevL, static_cast<float>(1 - 146.0 / 212)))
        expected.push_back(s);
    EXPECT_EQ(hostCalls(6), expected);
    host.click(3);
    EXPECT_EQ(hostCalls(3), editGesture(kActiveL, 0.f));
    host.click(4);
    EXPECT_EQ(hostCalls(3), editGesture(kWidthL, 0.05f));
    EXPECT_EQ(vantelor_test::gXErrors, 0);
}
