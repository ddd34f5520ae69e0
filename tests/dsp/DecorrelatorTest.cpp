// The decorrelator, configured as the engine configures it, has the
// documented lengths at each rate, delays an impulse to (-g)^stages after
// the final delay, keeps the signal's energy and clears to silence.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/Decorrelator.h"

namespace {
// The engine's configuration.
struct EngineDecorrelator
{
    explicit EngineDecorrelator(float rate)
    {
        d.setDelay(static_cast<int32_t>(rate * 0.012f));
        d.setAllpassTotal(static_cast<int32_t>(rate * 0.008f));
        d.setAllpassCoefficient(0.6f);
    }

    std::vector<float> impulse(int length)
    {
        std::vector<float> out;
        for (int n = 0; n < length; ++n) {
            float x = n == 0 ? 1.0f : 0.0f;
            d.process(&x);
            out.push_back(x);
        }
        return out;
    }

    CDecorrelator d{192000, 65536, 3};
};

TEST(Decorrelator, EngineLengthsPerRate)
{
    struct Case
    {
        float rate;
        int32_t delay;
        int32_t stages[3];
    };
    const Case cases[] = {
        {44100.0f, 529, {150, 114, 86}},
        {48000.0f, 576, {164, 124, 94}},
        {192000.0f, 2304, {657, 499, 379}},
    };
    for (const Case& c : cases) {
        EngineDecorrelator e(c.rate);
        EXPECT_EQ(e.d.getDelay(), c.delay) << c.rate;
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(e.d.getStageDelay(j), c.stages[j]) << c.rate << " stage " << j;
    }
    EngineDecorrelator e(44100.0f);
    EXPECT_EQ(e.d.getSize(), 262144);
    const int32_t rings[] = {32768, 32768, 16384};
    for (int j = 0; j < 3; ++j)
        EXPECT_EQ(e.d.getStageSize(j), rings[j]) << j;
    EXPECT_EQ(e.d.getStageDelay(3), 0);
    EXPECT_EQ(e.d.getStageDelay(-1), 0);
}

TEST(Decorrelator, ImpulseAndEnergy)
{
    EngineDecorrelator e(44100.0f);
    const std::vector<float> h = e.impulse(200000);
    for (int n = 0; n < 529; ++n)
        ASSERT_EQ(h[n], 0.0f) << n;
    EXPECT_FLOAT_EQ(h[529], -0.216f);

    // All-pass: the impulse response carries all of the impulse's energy.
    double energy = 0.0;
    for (float v : h)
        energy += static_cast<double>(v) * v;
    EXPECT_NEAR(energy, 1.0, 1e-4);

    // Clear keeps lengths and coefficient; the next output is silent and a
    // new impulse behaves as the first.
    e.d.clear();
    EXPECT_EQ(e.d.getDelay(), 529);
    EXPECT_EQ(e.d.getStageDelay(0), 150);
    EXPECT_EQ(e.d.getAllpassCoefficient(), 0.6f);
    const std::vector<float> again = e.impulse(600);
    for (int n = 0; n < 529; ++n)
        ASSERT_EQ(again[n], 0.0f) << n;
    EXPECT_FLOAT_EQ(again[529], -0.216f);
}

TEST(Decorrelator, DegenerateConfigurations)
{
    // No stages: a plain delay.
    for (int8_t count : {static_cast<int8_t>(0), static_cast<int8_t>(-3)}) {
        CDecorrelator plain(100, 1000, count);
        EXPECT_EQ(plain.getStageCount(), 0);
        plain.setDelay(7);
        plain.setAllpassTotal(50);
        plain.setAllpassCoefficient(0.6f);
        for (int n = 0; n < 12; ++n) {
            float x = n == 0 ? 1.0f : 0.0f;
            plain.process(&x);
            EXPECT_EQ(x, n == 7 ? 1.0f : 0.0f) << n;
        }
    }
    // A total of 0 (or less) gives every section length 1; lengths beyond a
    // section's ring are clamped by it.
    CDecorrelator d(100, 64, 3);
    for (int32_t total : {0, -100}) {
        d.setAllpassTotal(total);
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(d.getStageDelay(j), 1) << total << " stage " << j;
    }
    d.setAllpassTotal(1 << 20);
    for (int j = 0; j < 3; ++j)
        EXPECT_EQ(d.getStageDelay(j), d.getStageSize(j) - 1) << j;
}
} // namespace
