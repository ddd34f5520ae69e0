// The window through a stand-in for a CLAP host on a real X server: it embeds
// in the host's window at 414x289 and at the scales the host sets, runs from
// the host's file-descriptor and timer support (and leaves nothing
// registered when destroyed), its edits reach the host as gesture begin,
// value, gesture end with a flush request while not processing, and the
// host's values move the plot.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "product/VantelorDescription.h"
#include "tests/toolkit/X11TestSupport.h"
#include "tools/host/clap/ClapHost.h"

namespace {

using clap_host::ClapInstance;
using clap_host::ClapModule;
using clap_host::EventList;
using clap_host::OutputList;
using namespace vantelor_test;

constexpr VSTGUI::CColor kSelected{194, 250, 5, 255};

const ClapModule& module()
{
    static const ClapModule m(VANTELOR_CLAP_PLUGIN);
    return m;
}

class ClapWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.display)
            GTEST_SKIP() << "no X server";
        ASSERT_TRUE(module().loaded()) << module().error();
        ASSERT_TRUE(plugin.valid());
        gui = plugin.extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
        ASSERT_NE(gui, nullptr);
    }
    void TearDown() override
    {
        if (gui && plugin.valid())
            gui->destroy(plugin.get());
    }

    // create, the scale (0: none), set_parent, show.
    bool open(double scale = 0)
    {
        if (!gui->create(plugin.get(), CLAP_WINDOW_API_X11, false))
            return false;
        if (scale > 0 && !gui->set_scale(plugin.get(), scale))
            return false;
        clap_window_t parent{};
        parent.api = CLAP_WINDOW_API_X11;
        parent.x11 = host.window;
        return gui->set_parent(plugin.get(), &parent) && gui->show(plugin.get());
    }
    void pump() { plugin.runLoopOnce(); }
    std::vector<std::string> flushed(std::size_t expected)
    {
        pumpUntil(
            [&] {
                pump();
                plugin.flush(nullptr, &out);
            },
            [&] { return out.events.size() >= expected; });
        std::vector<std::string> seen;
        for (const auto& e : out.events) {
            const std::string id = std::to_string(e.id);
            if (e.type == CLAP_EVENT_PARAM_GESTURE_BEGIN)
                seen.push_back("begin" + id);
            else if (e.type == CLAP_EVENT_PARAM_GESTURE_END)
                seen.push_back("end" + id);
            else if (e.type == CLAP_EVENT_PARAM_VALUE)
                seen.push_back("value" + id + "=" + std::to_string(e.value));
        }
        return seen;
    }

    HostWindow host{900, 600};
    ClapInstance plugin{module()};
    const clap_plugin_gui_t* gui = nullptr;
    OutputList out{256};
};

std::string value(int index, float normalised)
{
    return "value" + std::to_string(index) + "=" +
           std::to_string(static_cast<double>(vantelor::toUnits(index, normalised)));
}

TEST_F(ClapWindow, EmbedsInTheHostsWindowOnItsRunLoop)
{
    const char* api = nullptr;
    bool floating = true;
    ASSERT_TRUE(gui->get_preferred_api(plugin.get(), &api, &floating));
    EXPECT_STREQ(api, CLAP_WINDOW_API_X11);
    EXPECT_FALSE(floating);
    EXPECT_TRUE(gui->is_api_supported(plugin.get(), CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(gui->is_api_supported(plugin.get(), CLAP_WINDOW_API_X11, true));
    EXPECT_FALSE(gui->is_api_supported(plugin.get(), CLAP_WINDOW_API_WIN32, false));
    EXPECT_FALSE(gui->create(plugin.get(), "wayland", false));

    ASSERT_TRUE(open());
    const Window child = host.onlyChild();
    ASSERT_NE(child, 0u);
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui->get_size(plugin.get(), &w, &h));
    EXPECT_EQ(w, 414u);
    EXPECT_EQ(h, 289u);
    EXPECT_FALSE(gui->can_resize(plugin.get()));
    uint32_t aw = 1000, ah = 1000;
    EXPECT_TRUE(gui->adjust_size(plugin.get(), &aw, &ah));
    EXPECT_EQ(aw, 414u);
    EXPECT_EQ(ah, 289u);
    EXPECT_FALSE(gui->set_size(plugin.get(), 500, 300));
    // The X connection's descriptor for reading, and the idle timer.
    EXPECT_EQ(plugin.record.fds.size(), 1u);
    ASSERT_EQ(plugin.record.timers.size(), 1u);
    EXPECT_GT(plugin.record.timers.begin()->second, 0u);
    EXPECT_LE(plugin.record.timers.begin()->second, 50u);
    ASSERT_TRUE(pumpUntil([&] { pump(); }, [&] { return host.shown(300, 127) == kSelected; }));

    gui->destroy(plugin.get());
    EXPECT_TRUE(plugin.record.fds.empty());
    EXPECT_TRUE(plugin.record.timers.empty());
    EXPECT_EQ(host.onlyChild(), 0u);
    EXPECT_EQ(gXErrors, 0);
}

TEST_F(ClapWindow, DrawsAtTheScaleTheHostSets)
{
    const struct
    {
        double scale;
        uint32_t width, height;
    } cases[] = {{1.5, 621, 434}, {2.0, 828, 578}, {1.0, 414, 289}};
    for (const auto& c : cases) {
        ASSERT_TRUE(open(c.scale)) << c.scale;
        uint32_t w = 0, h = 0;
        ASSERT_TRUE(gui->get_size(plugin.get(), &w, &h));
        EXPECT_EQ(w, c.width) << c.scale;
        EXPECT_EQ(h, c.height) << c.scale;
        XWindowAttributes attributes{};
        XGetWindowAttributes(host.display, host.onlyChild(), &attributes);
        EXPECT_EQ(static_cast<uint32_t>(attributes.width), c.width) << c.scale;
        EXPECT_EQ(static_cast<uint32_t>(attributes.height), c.height) << c.scale;
        gui->destroy(plugin.get());
    }
    ASSERT_TRUE(gui->create(plugin.get(), CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(gui->set_scale(plugin.get(), 0.0));
    EXPECT_FALSE(gui->set_scale(plugin.get(), -2.0));
}

TEST_F(ClapWindow, EditsReachTheHostAsGesturesWithAFlushRequest)
{
    ASSERT_TRUE(open());
    pump();
    // Drag L (azimuth -30 at column 118, elevation 0 at row 127) 100 px
    // right and 40 px down.
    host.move(118, 127);
    pump();
    host.button(1, true);
    pump();
    host.move(218, 167);
    pump();
    host.button(1, false);
    const float azimuth = static_cast<float>(191.0 / 364);
    const float elevation = static_cast<float>(1 - 146.0 / 212);
    const std::vector<std::string> expected = {"begin0", value(0, azimuth),   "end0",
                                               "begin1", value(1, elevation), "end1"};
    EXPECT_EQ(flushed(6), expected);
    EXPECT_GE(plugin.record.flushRequests, 1);
    EXPECT_EQ(plugin.value(kAziL), static_cast<double>(vantelor::toUnits(kAziL, azimuth)));
    EXPECT_EQ(gXErrors, 0);
}

TEST_F(ClapWindow, TheHostsValuesMoveThePlotAndAreNeverSentBack)
{
    ASSERT_TRUE(open());
    // R (selected at open) sits at column 300; azimuth 0.9 of the range puts
    // it at 355.
    ASSERT_TRUE(pumpUntil([&] { pump(); }, [&] { return host.shown(300, 127) == kSelected; }));
    EventList events;
    events.value(0, kAziR, vantelor::toUnits(kAziR, 0.9f));
    plugin.flush(&events, &out);
    ASSERT_TRUE(pumpUntil([&] { pump(); }, [&] { return host.shown(355, 127) == kSelected; }));
    EXPECT_NE(host.shown(300, 127), kSelected);
    // And while processing, from the audio thread's events.
    ASSERT_TRUE(plugin.activate(48000));
    ASSERT_TRUE(plugin.startProcessing());
    float l[64] = {}, r[64] = {};
    float* io[2] = {l, r};
    events.clear();
    events.value(10, kAziR, vantelor::toUnits(kAziR, 0.75f)); // back to column 300
    plugin.process(io, io, 64, &events, &out);
    ASSERT_TRUE(pumpUntil([&] { pump(); }, [&] { return host.shown(300, 127) == kSelected; }));
    EXPECT_TRUE(out.events.empty());
}

TEST_F(ClapWindow, OpensAndClosesFiftyTimes)
{
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(open()) << i;
        pump();
        gui->destroy(plugin.get());
    }
    EXPECT_EQ(host.onlyChild(), 0u);
    EXPECT_TRUE(plugin.record.fds.empty());
    EXPECT_TRUE(plugin.record.timers.empty());
    // No parent, another API's parent, or set twice.
    ASSERT_TRUE(gui->create(plugin.get(), CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(gui->set_parent(plugin.get(), nullptr));
    clap_window_t other{};
    other.api = CLAP_WINDOW_API_WIN32;
    other.ptr = reinterpret_cast<void*>(1);
    EXPECT_FALSE(gui->set_parent(plugin.get(), &other));
    EXPECT_FALSE(gui->create(plugin.get(), CLAP_WINDOW_API_X11, false)); // already made
    EXPECT_EQ(gXErrors, 0);
}

} // namespace
