// The first-order filters have their documented coefficients, step
// responses and gains at DC and the Nyquist frequency.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dsp/FirstOrder.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Steady-state gain of a filter for a constant (DC) or alternating
// (Nyquist) input, measured on the running filter.
template <typename Filter>
float measuredGain(Filter& filter, bool nyquist, int samples = 20000)
{
    float out = 0.0f;
    for (int n = 0; n < samples; ++n) {
        out = (nyquist && (n & 1)) ? -1.0f : 1.0f;
        filter.process(&out);
    }
    return std::fabs(out);
}

TEST(OnePole, NewFiltersPassOrBlock)
{
    C1LPF lp;
    C1HPF hp;
    for (float x : {1.0f, -0.5f, 3.0f}) {
        float a = x;
        float b = x;
        lp.process(&a);
        hp.process(&b);
        EXPECT_EQ(a, x);
        EXPECT_EQ(b, 0.0f);
    }
}

TEST(OnePole, CoefficientMapping)
{
    // Tiny, zero, negative and NaN frequencies all floor to 1e-8.
    for (float f : {0.0f, -1.0f, kNaN, 1e-9f}) {
        C1LPF lp;
        lp.setFrequency(f);
        EXPECT_EQ(lp.getCorner(), 1e-8f) << f;
        EXPECT_EQ(lp.getCoefficient(), 0.99999994f) << f;
    }
    // Close to the classic exp(-2 pi f) at low frequencies, exp(-pi) at infinity.
    for (float f : {1e-5f, 1e-4f, 1e-3f})
        EXPECT_NEAR(onePoleCoefficient(f), std::exp(-2.0 * M_PI * f), 1e-6) << f;
    EXPECT_NEAR(onePoleCoefficient(std::numeric_limits<float>::infinity()), std::exp(-M_PI), 1e-7);

    C1LPF smoother;
    smoother.setTimeConstant(0.025f, 44100.0f);
    EXPECT_NEAR(smoother.getCorner() * 44100.0f, 6.366198f, 1e-4f);
    smoother.setTimeConstant(0.0f, 44100.0f);
    EXPECT_NEAR(smoother.getCoefficient(), std::exp(-M_PI), 1e-7);
}

TEST(OnePole, StepResponseAndComplement)
{
    C1LPF lp;
    C1HPF hp;
    lp.setFrequency(0.01f);
    hp.setFrequency(0.01f);
    const double p = lp.getCoefficient();
    for (int n = 1; n <= 50; ++n) {
        float a = 1.0f;
        float b = 1.0f;
        lp.process(&a);
        hp.process(&b);
        ASSERT_NEAR(a, 1.0 - std::pow(p, n), 2e-6) << n;
        ASSERT_NEAR(a + b, 1.0f, 1e-6f) << n;
    }
    // A design change keeps the memory; reset clears it.
    lp.setFrequency(0.2f);
    float x = 0.0f;
    lp.process(&x);
    EXPECT_GT(x, 0.0f);
    lp.reset();
    x = 0.0f;
    lp.process(&x);
    EXPECT_EQ(x, 0.0f);
}

TEST(OnePole, PowerResponseOfPrototype)
{
    C1LPF lp;
    C1HPF hp;
    lp.setFrequency(0.05f);
    hp.setFrequency(0.05f);
    EXPECT_FLOAT_EQ(lp.getPowerResponse(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(lp.getPowerResponse(0.05f), 0.5f);
    EXPECT_FLOAT_EQ(hp.getPowerResponse(0.05f), 0.5f);
    EXPECT_NEAR(hp.getPowerResponse(0.0f), 0.0f, 1e-7f);
}

TEST(Emphasis, UnityAtDcAndRiseTowardsNyquist)
{
    for (float f : {0.001f, 0.05f, 0.3f}) {
        C1Emphasis e;
        e.setFrequency(f);
        const float p = onePoleCoefficient(f);
        EXPECT_NEAR(measuredGain(e, false, 10), 1.0f, 1e-5f) << f;
        e.reset();
        EXPECT_NEAR(measuredGain(e, true, 10), (1.0f + p) / (1.0f - p),
                    1e-4f * (1.0f + p) / (1.0f - p))
            << f;
    }
    C1Emphasis fresh;
    EXPECT_EQ(measuredGain(fresh, true, 3), 1.0f);
}

TEST(BiLinShelf, GainsAtDcAndNyquist)
{
    struct Case
    {
        bool high;
        float shelfDb;
        float gainDb;
    };
    const Case cases[] = {
        {false, 12.0f, 0.0f},
        {false, -9.0f, 3.0f},
        {true, 12.0f, 0.0f},
        {true, -9.0f, -6.0f},
    };
    for (const Case& c : cases) {
        CBiLin s;
        if (c.high)
            s.setHighShelf(0.01f, c.shelfDb, c.gainDb, false);
        else
            s.setLowShelf(0.01f, c.shelfDb, c.gainDb, false);
        const float G = std::pow(10.0f, c.gainDb / 20.0f);
        const float shelf = std::pow(10.0f, c.shelfDb / 20.0f);
        const float dc = measuredGain(s, false);
        s.reset();
        const float nyquist = measuredGain(s, true);
        // The side away from the shelf is exactly G; the shelf side reaches
        // the shelf gain within the warping of a corner at 0.01.
        EXPECT_NEAR(c.high ? dc : nyquist, G, 1e-4f * G) << c.high << " " << c.shelfDb;
        EXPECT_NEAR((c.high ? nyquist : dc) / (G * shelf), 1.0f, 0.02f)
            << c.high << " " << c.shelfDb;
    }
}

TEST(BiLinShelf, FlatShelfIsPlainGainAndInvertFlips)
{
    for (bool invert : {false, true}) {
        CBiLin s;
        s.setLowShelf(0.1f, 0.0f, 6.0f, invert);
        const float G = std::pow(10.0f, 0.3f) * (invert ? -1.0f : 1.0f);
        for (float x : {1.0f, 0.0f, -2.0f, 0.5f}) {
            float y = x;
            s.process(&y);
            EXPECT_NEAR(y, G * x, 1e-5f) << invert;
        }
    }
}

TEST(BiLinShelf, ExtremeShelfStaysFinite)
{
    // A shelf so wide that its pole or zero rounds to 1 must not divide by
    // zero or integrate without bound.
    for (bool high : {false, true}) {
        CBiLin s;
        if (high)
            s.setHighShelf(1e-8f, 120.0f, 0.0f, false);
        else
            s.setLowShelf(1e-8f, 120.0f, 0.0f, false);
        ASSERT_TRUE(std::isfinite(s.getB0()) && std::isfinite(s.getB1())) << high;
        EXPECT_GT(s.getA1(), -1.0f) << high;
        float y = 0.0f;
        for (int n = 0; n < 100000; ++n) {
            y = 1.0f;
            s.process(&y);
        }
        EXPECT_TRUE(std::isfinite(y)) << high;
    }
}
} // namespace
