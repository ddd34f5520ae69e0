// The four-times oversampling filter passes the base band, rejects what lies
// beyond the base rate's Nyquist frequency, and clears to exact silence.
#include <gtest/gtest.h>

#include <cmath>

#include "dsp/FourSampler.h"

namespace {
// Gain in dB of a sine at a frequency normalised to the four-times rate,
// after the filter has settled.
double sineGainDb(double freq)
{
    C4Sampler sampler;
    double inPower = 0.0;
    double outPower = 0.0;
    for (int n = 0; n < 40000; ++n) {
        const float x = static_cast<float>(std::sin(2.0 * M_PI * freq * n));
        float y = 0.0f;
        sampler.filter(&x, &y);
        if (n >= 20000) {
            inPower += static_cast<double>(x) * x;
            outPower += static_cast<double>(y) * y;
        }
    }
    return 10.0 * std::log10(outPower / inPower);
}

TEST(FourSampler, ResponseAcrossTheBand)
{
    struct Case
    {
        double freq;
        double minDb;
        double maxDb;
    };
    const Case cases[] = {
        {0.02, -0.1, 0.05},   {0.1, -0.15, 0.05},   {0.125, -21.5, -20.0},
        {0.15, -52.0, -50.0}, {0.2, -200.0, -95.0}, {0.4, -200.0, -95.0},
    };
    for (const Case& c : cases) {
        const double db = sineGainDb(c.freq);
        EXPECT_GE(db, c.minDb) << c.freq;
        EXPECT_LE(db, c.maxDb) << c.freq;
    }
}

TEST(FourSampler, UpsampleSettlesToDcGain)
{
    C4Sampler sampler;
    EXPECT_EQ(sampler.getFactor(), 4);
    const float one = 1.0f;
    float out[4] = {};
    for (int n = 0; n < 2000; ++n)
        sampler.upsample(&one, out);
    for (float v : out)
        EXPECT_NEAR(v, 0.99426f, 1e-5f);

    // Downsampling keeps the last of four filtered samples.
    C4Sampler a;
    C4Sampler b;
    const float in[4] = {0.5f, -1.0f, 0.25f, 2.0f};
    float down = 0.0f;
    float last = 0.0f;
    a.downsample(in, &down);
    for (const float& x : in)
        b.filter(&x, &last);
    EXPECT_EQ(down, last);
}

TEST(FourSampler, ResetGivesExactSilence)
{
    C4Sampler sampler;
    const float loud = 1.0f;
    float out[4];
    for (int n = 0; n < 10; ++n)
        sampler.upsample(&loud, out);
    sampler.reset();
    const float zero = 0.0f;
    for (int n = 0; n < 10; ++n) {
        sampler.upsample(&zero, out);
        for (float v : out)
            ASSERT_EQ(v, 0.0f);
    }
}
} // namespace
