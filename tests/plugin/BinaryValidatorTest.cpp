// Host-level checks on the built plug-in in the manner of a plug-in
// validator: every common sample rate and block size, automation in small
// sub-blocks with random parameter and program changes, and sample-rate
// changes while running. The output never holds NaN, infinity or subnormals.
#include <random>

#include "product/VantelorParameters.h"
#include "tests/plugin/PluginHarness.h"

using harness::Stereo;
using vst2host::PluginInstance;

namespace {
class PluginValidator : public ::testing::Test
{};

// Loud enough to find overflow, quiet tails to find subnormals.
Stereo burstThenSilence(size_t frames)
{
    Stereo s = harness::testSignal(frames, 9);
    for (size_t i = frames / 2; i < frames; ++i) {
        s.left[i] = 0.0f;
        s.right[i] = 0.0f;
    }
    return s;
}

float peak(const Stereo& s)
{
    float p = 0.0f;
    for (size_t i = 0; i < s.frames(); ++i)
        p = std::fmax(p, std::fmax(std::fabs(s.left[i]), std::fabs(s.right[i])));
    return p;
}
} // namespace

TEST_F(PluginValidator, EverySampleRateAndBlockSizeGivesCleanOutput)
{
    const Stereo input = burstThenSilence(12000);
    for (float rate : {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f})
        for (int block : {1, 32, 512, 4096}) {
            PluginInstance plugin(harness::pluginPath());
            plugin.start(rate, block);
            plugin.setProgram(3); // outside the span, with width: every path runs
            const Stereo out = harness::render(plugin, input, block);
            EXPECT_EQ(harness::firstBadSample(out), -1) << rate << " Hz, block " << block;
            EXPECT_GT(peak(out), 0.05f) << rate << " Hz, block " << block;
        }
}

// Random parameter values (some outside 0..1) and program changes between
// 32-frame sub-blocks, and rate changes without a suspend.
TEST_F(PluginValidator, RandomAutomationAndRateChangesWhileRunning)
{
    std::mt19937 random(20240611u);
    std::uniform_int_distribution<int> parameter(0, kNumVantelorParameters - 1);
    std::uniform_int_distribution<int> program(0, 31);
    std::uniform_real_distribution<float> value(-0.2f, 1.2f);
    std::uniform_int_distribution<int> dice(0, 99);
    const float rates[] = {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f};

    PluginInstance plugin(harness::pluginPath());
    plugin.start(44100.0f, 32);
    const Stereo input = harness::testSignal(32 * 6000, 13);
    const Stereo out = harness::renderBlocks(
        [&](float** inputs, float** outputs, int32_t frames) {
            const int roll = dice(random);
            if (roll < 40)
                plugin.setParameter(parameter(random), value(random));
            else if (roll < 43)
                plugin.setProgram(program(random));
            else if (roll == 43)
                plugin.dispatch(effSetSampleRate, 0, 0, nullptr,
                                rates[static_cast<size_t>(dice(random)) % 6]);
            plugin.process(inputs, outputs, frames);
        },
        input, 32);
    EXPECT_EQ(harness::firstBadSample(out), -1);
    // Unity-level input never comes out more than a few times louder.
    EXPECT_LT(peak(out), 16.0f);
}
