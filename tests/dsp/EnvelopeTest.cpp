// The look-ahead envelope is up at a peak before the peak leaves the ring,
// releases afterwards, never reports below its floor and keeps its window
// within the ring; the LFO keeps its period and caps its frequency.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dsp/Envelope.h"
#include "dsp/LFO.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct EnvelopeRun
{
    std::vector<float> audio;
    std::vector<float> envelope;

    EnvelopeRun(CEnvelope& block, const std::vector<float>& input)
    {
        for (float x : input) {
            float e = 0.0f;
            block.process(&x, &e);
            audio.push_back(x);
            envelope.push_back(e);
        }
    }
};

std::vector<float> impulseAt(int position, float height, int length)
{
    std::vector<float> v(static_cast<size_t>(length), 0.0f);
    v[static_cast<size_t>(position)] = height;
    return v;
}

TEST(Envelope, PeakIsCoveredBeforeItLeavesTheRing)
{
    CEnvelope block(127);
    EXPECT_EQ(block.getWindow(), 66);
    EXPECT_NEAR(block.getSmoothCoefficient(), 0.8594f, 1e-4f);

    const EnvelopeRun run(block, impulseAt(10, 2.0f, 40000));
    // The audio is the input delayed by the mask.
    for (size_t n = 0; n < run.audio.size(); ++n)
        ASSERT_EQ(run.audio[n], n == 137 ? 2.0f : 0.0f) << n;

    // Nothing moves before the peak enters the look-ahead window; by the
    // time it comes out, floor / envelope brings it down to the floor.
    for (int n = 0; n < 137 - 66; ++n)
        ASSERT_EQ(run.envelope[static_cast<size_t>(n)], 1.0f) << n;
    EXPECT_GE(run.envelope[137], 2.0f);
    EXPECT_LE(run.envelope[137], 2.0106f);
    float highest = 0.0f;
    for (float e : run.envelope)
        highest = std::max(highest, e);
    EXPECT_LE(highest, 2.0106f);

    // Afterwards it falls back quickly to the follower, which releases by
    // a factor e per release time (0.4 s) towards the floor.
    const size_t later = 2000;
    const size_t release = 17640;
    for (size_t n = 140; n + 1 < run.envelope.size(); ++n)
        ASSERT_LE(run.envelope[n + 1], run.envelope[n]) << n;
    EXPECT_GT(run.envelope[later], 1.0f);
    EXPECT_NEAR((run.envelope[later + release] - 1.0f) / (run.envelope[later] - 1.0f),
                std::exp(-1.0f), 0.01f);
}

TEST(Envelope, StaysExactlyAtTheFloorBelowIt)
{
    CEnvelope block(255);
    block.setFloor(0.5f);
    std::vector<float> input;
    for (int n = 0; n < 20000; ++n)
        input.push_back(0.5f * static_cast<float>(std::sin(0.01 * n)));
    const EnvelopeRun run(block, input);
    for (size_t n = 0; n < run.envelope.size(); ++n)
        ASSERT_EQ(run.envelope[n], 0.5f) << n;
}

TEST(Envelope, WindowStaysWithinTheRing)
{
    struct Case
    {
        int mask;
        float hold;
        float rate;
        int window;
    };
    for (const Case& c : {Case{127, 0.0015f, 44100.0f, 66}, Case{127, 0.0f, 44100.0f, 44},
                          Case{127, 1.0f, 44100.0f, 126}, Case{127, 1e30f, 44100.0f, 126},
                          Case{127, kNaN, 44100.0f, 44}, Case{127, -1.0f, 44100.0f, 44},
                          Case{4095, 0.0015f, 192000.0f, 288}, Case{4095, 0.0015f, 1000.0f, 44},
                          // Rings too small for the shortest window grow to 64.
                          Case{7, 0.0015f, 44100.0f, 62}, Case{-5, 0.0f, 44100.0f, 44},
                          Case{100, 1.0f, 44100.0f, 126}}) {
        CEnvelope block(c.mask);
        block.setSampleRate(c.rate);
        block.setHoldTime(c.hold);
        EXPECT_EQ(block.getWindow(), c.window) << c.mask << " " << c.hold << " " << c.rate;
        EXPECT_GE(block.getMask(), block.getWindow() + 1);
        EXPECT_EQ((block.getMask() + 1) & block.getMask(), 0) << "power-of-two ring";

        // A loud burst is still covered when it comes out.
        const EnvelopeRun run(block, impulseAt(0, 4.0f, block.getMask() + 2));
        EXPECT_GE(run.envelope[static_cast<size_t>(block.getMask())], 4.0f)
            << c.mask << " " << c.hold;
    }
}

TEST(Envelope, NonFiniteSamplesAreDelayedButNotDetected)
{
    CEnvelope block(63);
    std::vector<float> input(400, 0.5f);
    input[3] = kNaN;
    input[4] = kInf;
    input[5] = -kInf;
    input[100] = 3.0f;
    const EnvelopeRun run(block, input);
    EXPECT_TRUE(std::isnan(run.audio[66]));
    EXPECT_EQ(run.audio[67], kInf);
    for (float e : run.envelope)
        ASSERT_TRUE(std::isfinite(e) && e >= 1.0f);
    EXPECT_GE(run.envelope[163], 3.0f) << "still detects real peaks";

    block.setFloor(kNaN);
    EXPECT_EQ(block.getFloor(), 1.0f);
}

TEST(LFO, PeriodFollowsTheFrequency)
{
    CLFO lfo;
    lfo.setFrequency(1.0f);
    float out = 0.0f;
    for (int n = 0; n < 44100; ++n)
        lfo.process(&out);
    const float phase = lfo.getPhase();
    EXPECT_TRUE(phase < 5e-3f || phase > 6.2831855f - 5e-3f) << phase;

    // Upward zero crossings of the smoothed output, 441 samples apart at
    // 100 Hz, once the smoother has settled on the new frequency.
    lfo.setFrequency(100.0f);
    std::vector<int> crossings;
    float previous = 0.0f;
    for (int n = 0; n < 44100; ++n) {
        lfo.process(&out);
        ASSERT_LE(std::fabs(out), 1.0f);
        if (previous < 0.0f && out >= 0.0f && n > 2000)
            crossings.push_back(n);
        previous = out;
    }
    ASSERT_GE(crossings.size(), 85u);
    const double period =
        static_cast<double>(crossings.back() - crossings.front()) / (crossings.size() - 1);
    EXPECT_NEAR(period, 441.0, 0.05);
}

TEST(LFO, FrequencyIsCappedAtHalfTheRate)
{
    for (float f : {22050.0f, 30000.0f, kInf, kNaN}) {
        CLFO lfo;
        lfo.setFrequency(f);
        EXPECT_FLOAT_EQ(lfo.getIncrement(), 3.1415927f) << f;
        float out = 1.0f;
        float largest = 0.0f;
        for (int n = 0; n < 1000; ++n) {
            lfo.process(&out);
            largest = std::max(largest, std::fabs(out));
        }
        EXPECT_LT(largest, 1e-5f) << f;
    }
}

TEST(LFO, PhaseStaysWithinOneTurn)
{
    struct Case
    {
        float radians;
        float stored;
    };
    for (const Case& c : {Case{7.0f, 0.7168147f}, Case{-1.0f, 5.2831855f}, Case{0.0f, 0.0f},
                          Case{kNaN, 0.0f}, Case{kInf, 0.0f}}) {
        CLFO lfo;
        lfo.setPhase(c.radians);
        EXPECT_NEAR(lfo.getPhase(), c.stored, 1e-5f) << c.radians;
    }

    // Running backwards wraps the other way.
    CLFO lfo;
    lfo.setFrequency(-3.0f);
    float out = 0.0f;
    for (int n = 0; n < 100000; ++n) {
        lfo.process(&out);
        ASSERT_GE(lfo.getPhase(), 0.0f);
        ASSERT_LE(lfo.getPhase(), 6.2831855f);
    }

    // A new rate restarts the phase; the same rate keeps it.
    lfo.setSampleRate(44100.0f);
    EXPECT_NE(lfo.getPhase(), 0.0f);
    lfo.setSampleRate(8000.0f);
    EXPECT_EQ(lfo.getPhase(), 0.0f);
    EXPECT_FLOAT_EQ(lfo.getIncrement(), -3.0f * 6.2831855f / 22050.0f);
}
} // namespace
