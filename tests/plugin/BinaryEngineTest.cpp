// The built plug-in drives its engine as a direct user would: every parameter, program,
// sample-rate and suspend/resume request sounds exactly like the same calls
// made on an engine directly, renders are deterministic, and bad input is
// heard as silence.
#include <functional>
#include <limits>

#include "product/VantelorParameters.h"
#include "tests/plugin/PluginHarness.h"

using harness::Placement;
using harness::Stereo;
using vst2host::PluginInstance;

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

void expectIdentical(const Stereo& actual, const Stereo& expected, const std::string& what)
{
    ASSERT_EQ(actual.frames(), expected.frames()) << what;
    for (size_t i = 0; i < actual.frames(); ++i) {
        ASSERT_EQ(actual.left[i], expected.left[i]) << what << ", left, frame " << i;
        ASSERT_EQ(actual.right[i], expected.right[i]) << what << ", right, frame " << i;
    }
}

class PluginEngine : public ::testing::Test
{};
} // namespace

// Each factory program sounds exactly like an engine given the program's
// placement in units.
TEST_F(PluginEngine, FactoryProgramsReachTheSound)
{
    const Placement programs[8] = {
        {-30, 0, 1, 0, 30, 0, 1, 0},     {-30, 55, 1, 0, 30, 55, 1, 0},
        {-30, -55, 1, 0, 30, -55, 1, 0}, {-55, 0, 1, 10, 55, 0, 1, 10},
        {-30, 0, 1, 80, 30, 0, 1, 80},   {0, 0, 1, 80, 0, 0, 1, 80},
        {-55, 0, 1, 10, 30, 0, 0, 0},    {-30, 0, 0, 0, 55, 0, 1, 10},
    };
    const Stereo input = harness::testSignal(8192);
    for (int p = 0; p < 8; ++p) {
        PluginInstance plugin(harness::pluginPath());
        plugin.start(44100.0f, 512);
        plugin.setProgram(p);
        CVantelor engine(2, 2);
        harness::place(engine, programs[p]);
        expectIdentical(harness::render(plugin, input), harness::render(engine, input),
                        "program " + std::to_string(p));
    }
}

// Host requests made between two blocks take effect at the start of the next
// block exactly as the corresponding engine calls would.
TEST_F(PluginEngine, HostRequestsBetweenBlocksMatchDirectEngineCalls)
{
    struct Case
    {
        const char* what;
        std::function<void(PluginInstance&)> host;
        std::function<void(CVantelor&)> engine;
    };
    const Case cases[] = {
        {"Active L at 0.5 is off", [](PluginInstance& p) { p.setParameter(kActiveL, 0.5f); },
         [](CVantelor& e) { e.setActive(false, 0); }},
        {"Active L at 0.51 stays on", [](PluginInstance& p) { p.setParameter(kActiveL, 0.51f); },
         [](CVantelor&) {}},
        {"Active R off and on again restarts the source",
         [](PluginInstance& p) {
             p.setParameter(kActiveR, 0.0f);
             p.setParameter(kActiveR, 1.0f);
         },
         [](CVantelor& e) {
             e.setActive(false, 1);
             e.setActive(true, 1);
         }},
        {"Width L 0.8", [](PluginInstance& p) { p.setParameter(kWidthL, 0.8f); },
         [](CVantelor& e) { e.setWidth(0.8f, 0); }},
        // Widths beyond the range (a corrupt project, a careless host) sound
        // as the nearest end of it, never louder.
        {"Width R 1.7 is limited to 1", [](PluginInstance& p) { p.setParameter(kWidthR, 1.7f); },
         [](CVantelor& e) { e.setWidth(1.0f, 1); }},
        {"Width L 10 is limited to 1", [](PluginInstance& p) { p.setParameter(kWidthL, 10.0f); },
         [](CVantelor& e) { e.setWidth(1.0f, 0); }},
        {"Width L 1e30 is limited to 1", [](PluginInstance& p) { p.setParameter(kWidthL, 1e30f); },
         [](CVantelor& e) { e.setWidth(1.0f, 0); }},
        {"Width R -5 is limited to 0",
         [](PluginInstance& p) {
             p.setParameter(kWidthR, 0.5f);
             p.setParameter(kWidthR, -5.0f);
         },
         [](CVantelor& e) { e.setWidth(0.0f, 1); }},
        {"Width R NaN is ignored", [](PluginInstance& p) { p.setParameter(kWidthR, kNaN); },
         [](CVantelor&) {}},
        {"Width L NaN after a value keeps that value",
         [](PluginInstance& p) {
             p.setParameter(kWidthL, 0.3f);
             p.setParameter(kWidthL, kNaN);
         },
         [](CVantelor& e) {
             e.setWidth(0.3f, 0);
             e.setWidth(kNaN, 0);
         }},
        {"Azimuths in degrees",
         [](PluginInstance& p) {
             p.setParameter(kAziL, 0.125f);
             p.setParameter(kAziR, 1.0f);
         },
         [](CVantelor& e) {
             e.setAzimuth(-45.0f, 0);
             e.setAzimuth(60.0f, 1);
         }},
        {"Elevation NaN clamps to -60", [](PluginInstance& p) { p.setParameter(kElevR, kNaN); },
         [](CVantelor& e) { e.setElevation(-60.0f, 1); }},
        {"Last of several values wins",
         [](PluginInstance& p) {
             p.setParameter(kAziL, 0.9f);
             p.setParameter(kAziL, 0.1f);
         },
         [](CVantelor& e) { e.setAzimuth(-48.0f, 0); }},
        {"Elevation then rate change: full-update design",
         [](PluginInstance& p) {
             p.setParameter(kElevL, 0.75f);
             p.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
         },
         [](CVantelor& e) {
             e.setElevation(30.0f, 0);
             e.setSampleRate(48000.0f);
         }},
        {"Rate change then elevation: elevation-change design",
         [](PluginInstance& p) {
             p.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
             p.setParameter(kElevL, 0.75f);
         },
         [](CVantelor& e) {
             e.setSampleRate(48000.0f);
             e.setElevation(30.0f, 0);
         }},
        {"Elevation away and back after a rate change: elevation-change design",
         [](PluginInstance& p) {
             p.setParameter(kElevL, 0.75f);
             p.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
             p.setParameter(kElevL, 0.8f);
             p.setParameter(kElevL, 0.75f);
         },
         [](CVantelor& e) {
             e.setElevation(30.0f, 0);
             e.setSampleRate(48000.0f);
             e.setElevation(36.0f, 0);
             e.setElevation(30.0f, 0);
         }},
        {"Elevation R away and back at the same rate changes nothing",
         [](PluginInstance& p) {
             p.setParameter(kElevR, 0.2f);
             p.setParameter(kElevR, 0.5f);
         },
         [](CVantelor& e) {
             e.setElevation(-36.0f, 1);
             e.setElevation(0.0f, 1);
         }},
        {"Rate 8000 runs at 22050",
         [](PluginInstance& p) { p.dispatch(effSetSampleRate, 0, 0, nullptr, 8000.0f); },
         [](CVantelor& e) { e.setSampleRate(22050.0f); }},
        {"Rate 384000 runs at 192000",
         [](PluginInstance& p) { p.dispatch(effSetSampleRate, 0, 0, nullptr, 384000.0f); },
         [](CVantelor& e) { e.setSampleRate(192000.0f); }},
        {"Rate 44100 again changes nothing",
         [](PluginInstance& p) { p.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f); },
         [](CVantelor&) {}},
        {"Suspend and resume clear the audio state",
         [](PluginInstance& p) {
             p.dispatch(effMainsChanged, 0, 0);
             p.dispatch(effMainsChanged, 0, 1);
         },
         [](CVantelor& e) { e.reset(); }},
        {"Out-of-range parameter indices change nothing",
         [](PluginInstance& p) {
             p.setParameter(9, 0.3f);
             p.setParameter(-1, 0.3f);
         },
         [](CVantelor&) {}},
        {"Program 6 between blocks", [](PluginInstance& p) { p.setProgram(6); },
         [](CVantelor& e) {
             harness::place(e, {-55, 0, 1, 10, 30, 0, 0, 0});
         }},
    };

    const Stereo first = harness::testSignal(3000, 7);
    const Stereo second = harness::testSignal(6000, 11);
    for (const Case& c : cases) {
        PluginInstance plugin(harness::pluginPath());
        plugin.start(44100.0f, 512);
        CVantelor engine(2, 2);
        harness::place(engine, harness::kDefaultPlacement);

        expectIdentical(harness::render(plugin, first), harness::render(engine, first), c.what);
        c.host(plugin);
        c.engine(engine);
        expectIdentical(harness::render(plugin, second), harness::render(engine, second), c.what);
    }
}

// Two fresh instances in one process give identical output: each owns its
// noise generators.
TEST_F(PluginEngine, FreshInstancesRenderIdentically)
{
    const Stereo input = harness::testSignal(20000, 3);
    PluginInstance a(harness::pluginPath());
    PluginInstance b(harness::pluginPath());
    for (PluginInstance* p : {&a, &b}) {
        p->start(48000.0f, 256);
        p->setProgram(4);
    }
    const Stereo outA = harness::render(a, input, 256);
    const Stereo outB = harness::render(b, input, 256);
    expectIdentical(outA, outB, "second instance");
    // The second instance's render did not disturb the first one's state.
    PluginInstance c(harness::pluginPath());
    c.start(48000.0f, 256);
    c.setProgram(4);
    expectIdentical(harness::render(c, input, 100), outA, "other block size");
}

// A block of NaN (or infinities) is heard exactly as a block of silence, and
// the audio after it is unharmed.
TEST_F(PluginEngine, NonFiniteBlockSoundsLikeSilence)
{
    const Stereo audio = harness::testSignal(4096, 5);
    for (float bad : {kNaN, std::numeric_limits<float>::infinity()}) {
        Stereo poisoned(1024);
        std::fill(poisoned.left.begin(), poisoned.left.end(), bad);
        std::fill(poisoned.right.begin(), poisoned.right.end(), -bad);
        PluginInstance a(harness::pluginPath());
        PluginInstance b(harness::pluginPath());
        for (PluginInstance* p : {&a, &b}) {
            p->start(44100.0f, 512);
            p->setProgram(3);
        }
        expectIdentical(harness::render(a, poisoned), harness::render(b, Stereo(1024)),
                        "bad block");
        expectIdentical(harness::render(a, audio), harness::render(b, audio),
                        "audio after the bad block");
    }
}
