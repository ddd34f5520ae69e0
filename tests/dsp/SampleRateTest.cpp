// Every block that takes a sample rate limits it the same way: a NaN or a rate
// below 22050 Hz gives 22050, a rate above 192000 Hz gives 192000.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "dsp/Envelope.h"
#include "dsp/LFO.h"
#include "dsp/NRCompander.h"
#include "dsp/NumericHelpers.h"
#include "dsp/Quantizer.h"
#include "dsp/Reverb.h"

namespace {
// Sets a rate on a fresh block and reads back the rate it keeps.
using RateProbe = std::function<float(float)>;

template <typename Block, typename... Args>
RateProbe probe(Args&... args)
{
    return [&args...](float rate) {
        Block block(args...);
        block.setSampleRate(rate);
        return block.getSampleRate();
    };
}

TEST(SampleRate, EveryBlockClampsAlike)
{
    CNoiseGenerator noise;
    int envelopeMask = 1023;
    const std::vector<std::pair<std::string, RateProbe>> blocks = {
        {"clampSampleRate", [](float rate) { return clampSampleRate(rate); }},
        {"CQuantizer", probe<CQuantizer>(noise)},
        {"CNREncoder", probe<CNREncoder>()},
        {"CLFO", probe<CLFO>()},
        {"CUFNReverb", probe<CUFNReverb>()},
        {"CEnvelope", probe<CEnvelope>(envelopeMask)},
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct
    {
        float given;
        float kept;
    } cases[] = {
        {nan, 22050.0f},      {-inf, 22050.0f},     {0.0f, 22050.0f},       {8000.0f, 22050.0f},
        {48000.0f, 48000.0f}, {96000.0f, 96000.0f}, {384000.0f, 192000.0f}, {inf, 192000.0f},
    };
    for (const auto& [name, setAndGet] : blocks)
        for (const auto& c : cases)
            EXPECT_EQ(setAndGet(c.given), c.kept) << name << " given " << c.given;
}
} // namespace
