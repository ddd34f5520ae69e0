// The source panner places a source by its azimuth and elevation: pan-law
// gains inside the span of +-30 degrees, the delayed and filtered network
// beyond it with its timing, the 25 ms azimuth smoothing, the angle clamps,
// the elevation filter designs and sample-rate handling.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/CCPanner.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct Stereo
{
    std::vector<float> left;
    std::vector<float> right;
};

Stereo run(CCCPanner& panner, const std::vector<float>& input)
{
    Stereo out{std::vector<float>(input.size()), std::vector<float>(input.size())};
    for (size_t i = 0; i < input.size(); ++i)
        panner.process(&input[i], &out.left[i], &out.right[i]);
    return out;
}

// Lets the smoother reach its target on (near) silence.
void settle(CCCPanner& panner, size_t samples = 30000)
{
    run(panner, std::vector<float>(samples, 0.0f));
}

float powerDb(float power)
{
    return 10.0f * std::log10(power);
}
} // namespace

TEST(Panner, ClampsAnglesAndTreatsNaNAsMinimum)
{
    struct Case
    {
        float in;
        float stored;
    };
    const Case cases[] = {{-75.0f, -60.0f}, {90.0f, 60.0f},   {kNaN, -60.0f},
                          {60.0f, 60.0f},   {-60.0f, -60.0f}, {12.5f, 12.5f}};
    for (const Case& c : cases) {
        CCCPanner panner;
        panner.setAzimuth(c.in);
        panner.setElevation(c.in);
        EXPECT_EQ(panner.getAzimuth(), c.stored) << c.in;
        EXPECT_EQ(panner.getElevation(), c.stored) << c.in;
    }
}

// Inside the span the gains follow the parabolic-sine pan law; the smoother
// stops about 1e-3 degree short in single precision, hence the tolerance.
TEST(Panner, SettledPanLawGains)
{
    struct Case
    {
        float azimuth;
        float left;
        float right;
    };
    const Case cases[] = {
        {-30.0f, 1.0f, 0.0f},      {-15.0f, 0.9375f, 0.4375f}, {0.0f, 0.75f, 0.75f},
        {15.0f, 0.4375f, 0.9375f}, {30.0f, 0.0f, 1.0f},
    };
    for (const Case& c : cases) {
        CCCPanner panner;
        panner.setElevation(0.0f);
        panner.setAzimuth(c.azimuth);
        settle(panner);
        const Stereo out = run(panner, std::vector<float>(64, 0.5f));
        EXPECT_NEAR(out.left.back() / 0.5f, c.left, 2e-4f) << c.azimuth;
        EXPECT_NEAR(out.right.back() / 0.5f, c.right, 2e-4f) << c.azimuth;
    }
}

// At -60 degrees the whole network is in: the near output carries the main
// signal at once and its cross-feed correction after the far and the cross
// delays; the far output gets the main path's negated cross-feed after the
// cross delay and the far signal after the far delay.
TEST(Panner, OutsideSpanImpulseTimingAt44100)
{
    CCCPanner panner;
    panner.setElevation(0.0f);
    panner.setAzimuth(-60.0f);
    settle(panner);
    ASSERT_NEAR(panner.getSmoothedAzimuth(), -60.0f, 1e-2f);

    std::vector<float> impulse(64, 0.0f);
    impulse[0] = 1.0f;
    const Stereo out = run(panner, impulse);

    const int far = panner.getFarDelay();
    const int cross = panner.getCrossDelay();
    ASSERT_TRUE(far >= 7 && cross > 0 && far + cross < 64) << far << " " << cross;
    EXPECT_GT(out.left[0], 0.5f);
    for (int i = 0; i < cross; ++i)
        EXPECT_NEAR(out.right[i], 0.0f, 1e-6f) << i;
    EXPECT_LT(out.right[cross], -0.01f);

    // An arrival is a step in the signal that dwarfs the decaying tails
    // around it.
    auto isArrival = [](const std::vector<float>& s, int at) {
        float neighbours = 0.0f;
        for (int k = at - 6; k < at; ++k)
            neighbours = std::fmax(neighbours, std::fabs(s[k] - s[k - 1]));
        return std::fabs(s[at] - s[at - 1]) > 5.0f * neighbours;
    };
    EXPECT_TRUE(isArrival(out.right, far));
    EXPECT_TRUE(isArrival(out.left, far + cross));
}

TEST(Panner, SmootherCoversAboutTwoThirdsOfAStepInOneTimeConstant)
{
    CCCPanner panner;
    panner.setAzimuth(20.0f);
    run(panner, std::vector<float>(1102, 0.0f)); // 0.025 s at 44100 Hz
    EXPECT_NEAR(panner.getSmoothedAzimuth() / 20.0f, 0.632f, 0.005f);
}

// A panner never given a rate runs at 44100 Hz (the lengths per rate are
// checked through the engine).
TEST(Panner, FreshPannerRunsAt44100)
{
    CCCPanner fresh;
    CCCPanner at44100;
    at44100.setSampleRate(44100.0f);
    EXPECT_EQ(fresh.getSampleRate(), 44100.0f);
    EXPECT_EQ(fresh.getFarDelay(), at44100.getFarDelay());
    EXPECT_EQ(fresh.getCrossDelay(), at44100.getCrossDelay());
}

// Setters given the current value change nothing, so two panners fed the
// same signal stay identical; a real rate change starts from clear state.
TEST(Panner, UnchangedSettersLeaveStateAlone)
{
    std::vector<float> signal(2000);
    for (size_t i = 0; i < signal.size(); ++i)
        signal[i] = std::sin(0.05f * static_cast<float>(i));

    CCCPanner a;
    CCCPanner b;
    for (CCCPanner* p : {&a, &b}) {
        p->setAzimuth(-45.0f);
        p->setElevation(20.0f);
        run(*p, signal);
    }
    b.setSampleRate(44100.0f);
    b.setElevation(20.0f);
    const Stereo outA = run(a, signal);
    const Stereo outB = run(b, signal);
    EXPECT_EQ(outA.left, outB.left);
    EXPECT_EQ(outA.right, outB.right);

    b.setSampleRate(48000.0f);
    EXPECT_EQ(b.getSmoothedAzimuth(), 0.0f);
}

// Construction and rate changes use the full-update elevation designs, an
// elevation change the elevation-change designs; checked at each filter's
// design frequency (peak centre, shelf at Nyquist).
TEST(Panner, ElevationDesignsDependOnHowTheyWereReached)
{
    struct Case
    {
        float elevation;
        bool afterRateChange;
        float peakHz;
        float peakDb;
        float shelfDb;
    };
    const Case cases[] = {
        {30.0f, false, 7200.0f, 0.07f * 30.0f, -3.0f},
        {30.0f, true, 7200.0f, 0.25f * 30.0f, -3.0f},
        {-30.0f, false, 5500.0f, 0.25f * -30.0f, 2.0f},
        {-30.0f, true, 5500.0f, 0.35f * -30.0f, 1.0f},
        {60.0f, false, 7200.0f, 0.07f * 60.0f, -6.0f},
        {-60.0f, true, 5500.0f, 0.35f * -60.0f, 2.0f},
    };
    for (const Case& c : cases) {
        CCCPanner panner;
        panner.setElevation(c.elevation);
        float rate = 44100.0f;
        if (c.afterRateChange) {
            rate = 48000.0f;
            panner.setSampleRate(rate);
        }
        EXPECT_NEAR(powerDb(panner.getElevationPeak().getPowerResponse(c.peakHz / rate)), c.peakDb,
                    1e-3f)
            << c.elevation << (c.afterRateChange ? " after rate change" : "");
        EXPECT_NEAR(powerDb(panner.getElevationShelf().getPowerResponse(0.5f)), c.shelfDb, 1e-3f)
            << c.elevation << (c.afterRateChange ? " after rate change" : "");
    }
}
