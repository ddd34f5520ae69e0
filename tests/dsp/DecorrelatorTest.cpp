// The decorrelator, configured as the engine configures it (the lengths per
// rate are checked through the engine), sizes its rings, delays an impulse to
// (-g)^stages after the final delay, keeps the signal's energy and clears to
// silence.
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

TEST(Decorrelator, RingSizesAndStagesOutOfRange)
{
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
    const int delay = e.d.getDelay();
    ASSERT_GT(delay, 0);
    const std::vector<float> h = e.impulse(200000);
    for (int n = 0; n < delay; ++n)
        ASSERT_EQ(h[n], 0.0f) << n;
    EXPECT_FLOAT_EQ(h[delay], -0.216f);

    // All-pass: the impulse response carries all of the impulse's energy.
    double energy = 0.0;
    for (float v : h)
        energy += static_cast<double>(v) * v;
    EXPECT_NEAR(energy, 1.0, 1e-4);

    // Clear keeps lengths and coefficient; the next output is silent and a
    // new impulse behaves as the first.
    const int stage = e.d.getStageDelay(0);
    e.d.clear();
    EXPECT_EQ(e.d.getDelay(), delay);
    EXPECT_EQ(e.d.getStageDelay(0), stage);
    EXPECT_EQ(e.d.getAllpassCoefficient(), 0.6f);
    const std::vector<float> again = e.impulse(delay + 64);
    for (int n = 0; n < delay; ++n)
        ASSERT_EQ(again[n], 0.0f) << n;
    EXPECT_FLOAT_EQ(again[delay], -0.216f);
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
