// The delay lines size their rings, clamp their delays, read back exactly
// the input of the right earlier call (whole or fractional), and the
// all-pass gives its impulse sequence; no delay value reaches outside the
// ring.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "dsp/Delay.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Feeds 1, 2, 3, ... so every output names the call its input came from.
std::vector<float> runCounting(CDelay& line, int calls)
{
    std::vector<float> out;
    for (int n = 1; n <= calls; ++n) {
        float x = static_cast<float>(n);
        line.process(&x);
        out.push_back(x);
    }
    return out;
}

TEST(Delay, RingSizesAndClamps)
{
    struct Case
    {
        int32_t maxDelay;
        int32_t size;
    };
    const Case cases[] = {{47, 64}, {120, 128},       {63, 64}, {64, 128},
                          {0, 1},   {192000, 262144}, {-5, 1}};
    for (const Case& c : cases) {
        CDelay line(c.maxDelay);
        EXPECT_EQ(line.getSize(), c.size) << c.maxDelay;
        EXPECT_EQ(line.getDelay(), 0);
    }
    CDelay line(47);
    EXPECT_EQ(line.setDelay(1000), 63);
    EXPECT_EQ(line.setDelay(-5), 0);
    EXPECT_EQ(line.setDelay(17), 17);
    EXPECT_EQ(line.getDelay(), 17);

    C4Delay fine(10);
    EXPECT_EQ(fine.getSize(), 64);
    EXPECT_EQ(fine.setDelay(20.0f), 15.75f);
    EXPECT_EQ(fine.setDelay(-1.0f), 0.0f);
    EXPECT_EQ(fine.setDelay(kNaN), 0.0f);
    EXPECT_EQ(fine.setDelay(2.5f), 2.5f);
}

TEST(Delay, WriteThenRead)
{
    for (int32_t d : {0, 1, 5, 63}) {
        CDelay line(47);
        line.setDelay(d);
        const std::vector<float> out = runCounting(line, 200);
        for (int n = 1; n <= 200; ++n)
            ASSERT_EQ(out[n - 1], n > d ? static_cast<float>(n - d) : 0.0f)
                << "delay " << d << " call " << n;
        // tap reads without writing; 0 is the last input.
        float t = -1.0f;
        line.tap(&t, 0);
        EXPECT_EQ(t, 200.0f);
        line.tap(&t, 3);
        EXPECT_EQ(t, 197.0f);
    }
}

TEST(Delay, FractionalAndPerCallReads)
{
    CDelay line(47);
    float x = 0.0f;
    for (int n = 1; n <= 10; ++n) {
        x = static_cast<float>(n * n);
        line.processFractional(&x, 2.25f);
    }
    // 0.25 x (input of 3 calls earlier) + 0.75 x (input of 2 calls earlier).
    EXPECT_FLOAT_EQ(x, 0.25f * 49.0f + 0.75f * 64.0f);

    // Across the start of the ring.
    CDelay fresh(47);
    float first = 4.0f;
    fresh.processFractional(&first, 0.5f);
    EXPECT_FLOAT_EQ(first, 2.0f);

    float y = 11.0f;
    line.processAt(&y, 1);
    EXPECT_EQ(y, 100.0f);
}

TEST(Delay, WildDelaysStayInsideTheRing)
{
    // The per-call reads trust their caller; out-of-range values must still
    // land inside the ring (the sanitizer build checks the accesses).
    CDelay line(47);
    C4Delay fine(10);
    for (int32_t d : {INT_MIN, -1, 64, 1000, INT_MAX}) {
        float x = 1.0f;
        line.processAt(&x, d);
        line.tap(&x, d);
        EXPECT_TRUE(std::isfinite(x)) << d;
    }
    for (float d : {-1e30f, -3.5f, 1e6f, 1e30f, kNaN, std::numeric_limits<float>::infinity()}) {
        float x = 1.0f;
        line.processFractional(&x, d);
        float y = 1.0f;
        fine.processFractional(&y, d);
        fine.read(&y, d);
    }
}

TEST(Delay, ClearKeepsSettings)
{
    CDelay line(47);
    line.setDelay(3);
    runCounting(line, 10);
    line.clear();
    EXPECT_EQ(line.getDelay(), 3);
    const std::vector<float> out = runCounting(line, 5);
    EXPECT_EQ(out, (std::vector<float>{0.0f, 0.0f, 0.0f, 1.0f, 2.0f}));
}

std::vector<float> allpassImpulse(CAPDelay& section, int length)
{
    std::vector<float> out;
    for (int n = 0; n < length; ++n) {
        float x = n == 0 ? 1.0f : 0.0f;
        section.process(&x);
        out.push_back(x);
    }
    return out;
}

TEST(AllpassDelay, ImpulseSequence)
{
    CAPDelay section(16);
    section.setDelay(1);
    section.setCoefficient(0.6f);
    const std::vector<float> h = allpassImpulse(section, 8);
    EXPECT_FLOAT_EQ(h[0], -0.6f);
    EXPECT_FLOAT_EQ(h[1], 0.64f);
    for (int n = 2; n < 8; ++n)
        EXPECT_NEAR(h[n], 0.6f * h[n - 1], 1e-6f) << n;

    // Energy is preserved (flat magnitude) with a longer delay too.
    CAPDelay longer(64);
    longer.setDelay(7);
    longer.setCoefficient(-0.7f);
    double energy = 0.0;
    for (float v : allpassImpulse(longer, 2000))
        energy += static_cast<double>(v) * v;
    EXPECT_NEAR(energy, 1.0, 1e-5);

    // Clear keeps the length and the coefficient.
    section.clear();
    EXPECT_EQ(section.getDelay(), 1);
    EXPECT_EQ(section.getCoefficient(), 0.6f);
    EXPECT_FLOAT_EQ(allpassImpulse(section, 1)[0], -0.6f);
}

TEST(AllpassDelay, ZeroCoefficientIsPlainDelay)
{
    struct Case
    {
        int32_t delay;
        int expectedAt;
    };
    // A delay of 0 acts as 1.
    for (const Case c : {Case{5, 5}, Case{1, 1}, Case{0, 1}}) {
        CAPDelay section(16);
        section.setDelay(c.delay);
        const std::vector<float> h = allpassImpulse(section, 12);
        for (int n = 0; n < 12; ++n)
            EXPECT_EQ(h[n], n == c.expectedAt ? 1.0f : 0.0f) << c.delay << " at " << n;
    }
}

TEST(FourTimesDelay, DelaysARampByTheRequestedTime)
{
    // A ramp through the oversampling filter and the ring: after settling,
    // the delayed output trails the undelayed one by delay x slope x DC gain.
    constexpr float kSlope = 0.001f;
    C4Delay reference(64);
    for (float d : {0.25f, 2.5f, 7.75f}) {
        C4Delay line(64);
        reference.clear();
        float a = 0.0f;
        float b = 0.0f;
        for (int n = 0; n < 3000; ++n) {
            a = kSlope * static_cast<float>(n);
            b = a;
            reference.processFractional(&a, 0.0f);
            line.processFractional(&b, d);
        }
        EXPECT_NEAR(a - b, d * kSlope * 0.99426f, 2e-5f) << d;
    }
    // process uses the stored delay; clear restarts from silence.
    C4Delay line(64);
    line.setDelay(3.0f);
    float x = 1.0f;
    for (int n = 0; n < 4; ++n) {
        x = 1.0f;
        line.process(&x);
    }
    line.clear();
    x = 0.0f;
    line.process(&x);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(line.getDelay(), 3.0f);
}
} // namespace

// Block processing gives what sample-by-sample processing gives, to the bit
// and in the ring's state: delays shorter and longer than the block, blocks
// across the ring's end, and an all-pass whose length shrinks mid-walk.
TEST(Delay, BlocksProcessAsSamples)
{
    struct Case
    {
        int32_t capacity;
        int32_t delay;
        int32_t block;
    };
    const Case cases[] = {{63, 0, 7},   {63, 5, 32},  {63, 40, 40},
                          {63, 63, 17}, {63, 50, 13}, {1000, 529, 128}};
    for (const Case& tc : cases) {
        for (bool allpass : {false, true}) {
            std::unique_ptr<CDelay> bySample = allpass ? std::make_unique<CAPDelay>(tc.capacity)
                                                       : std::make_unique<CDelay>(tc.capacity);
            std::unique_ptr<CDelay> byBlock = allpass ? std::make_unique<CAPDelay>(tc.capacity)
                                                      : std::make_unique<CDelay>(tc.capacity);
            for (CDelay* d : {bySample.get(), byBlock.get()}) {
                d->setDelay(tc.delay);
                if (allpass)
                    static_cast<CAPDelay*>(d)->setCoefficient(0.6f);
            }
            std::vector<float> signal(static_cast<size_t>(tc.block));
            for (int b = 0; b < 40; ++b) {
                if (allpass && b == 20)
                    for (CDelay* d : {bySample.get(), byBlock.get()})
                        d->setDelay(tc.delay / 3);
                for (int32_t i = 0; i < tc.block; ++i)
                    signal[i] = std::sin(0.37f * static_cast<float>(b * tc.block + i)) +
                                0.01f * static_cast<float>(i);
                std::vector<float> expected = signal;
                for (float& v : expected)
                    bySample->process(&v);
                if (allpass)
                    static_cast<CAPDelay*>(byBlock.get())->processBlock(signal.data(), tc.block);
                else
                    byBlock->processBlock(signal.data(), tc.block);
                for (int32_t i = 0; i < tc.block; ++i)
                    ASSERT_EQ(signal[i], expected[i])
                        << (allpass ? "all-pass" : "delay") << " " << tc.delay << ", block " << b
                        << ", sample " << i;
            }
            float a = 0.0f;
            float b = 0.0f;
            for (int32_t d = 0; d <= tc.capacity; ++d) {
                bySample->tap(&a, d);
                byBlock->tap(&b, d);
                ASSERT_EQ(a, b) << "ring entry " << d;
            }
        }
    }
}
