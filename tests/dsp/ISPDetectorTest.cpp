// The true-peak detector finds crests between samples with the oversampling
// its rate allows, holds the largest until read, and never changes its input.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "dsp/ISPDetector.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

float feed(CISPDetector& detector, const std::vector<float>& samples)
{
    for (const float& s : samples) {
        const float before = s;
        detector.process(&s);
        EXPECT_EQ(std::bit_cast<uint32_t>(s), std::bit_cast<uint32_t>(before));
    }
    return detector.readPeak();
}

std::vector<float> sine(double cyclesPerSample, double phase, int count)
{
    std::vector<float> out;
    for (int n = 0; n < count; ++n)
        out.push_back(static_cast<float>(std::sin(2.0 * kPi * cyclesPerSample * n + phase)));
    return out;
}

TEST(ISPDetector, QuarterRateSineAtFortyFiveDegrees)
{
    // Samples of +-0.7071: the crest lies midway between two samples, which
    // only the interpolators below 160 kHz can see.
    struct Case
    {
        float rate;
        float low;
        float high;
    };
    for (const Case& c : {Case{44100.0f, 1.02f, 1.027f}, Case{96000.0f, 1.02f, 1.027f},
                          Case{192000.0f, 0.70710677f, 0.70710677f}}) {
        CISPDetector detector;
        detector.setSampleRate(c.rate);
        const float peak = feed(detector, sine(0.25, kPi / 4.0, 64));
        EXPECT_GE(peak, c.low) << c.rate;
        EXPECT_LE(peak, c.high) << c.rate;
        EXPECT_EQ(detector.getLatency(), 5);
    }
}

TEST(ISPDetector, ImpulseReadsItsOwnHeightAfterTheLatency)
{
    for (float rate : {44100.0f, 96000.0f, 192000.0f}) {
        CISPDetector detector;
        detector.setSampleRate(rate);
        std::vector<float> impulse(5, 0.0f);
        impulse[0] = 1.0f;
        // Until the impulse reaches the centre only the kernels' tails see it.
        EXPECT_LT(feed(detector, impulse), 0.3f) << rate;
        EXPECT_EQ(feed(detector, std::vector<float>(20, 0.0f)), 1.0f) << rate;
    }
}

TEST(ISPDetector, SineCrestsWithinAFractionOfADecibel)
{
    // Below a quarter of the rate the four-times grid lies within an eighth
    // of a sample of every crest.
    for (double f : {0.01, 0.05, 0.11, 0.17, 0.23})
        for (double phase : {0.0, 0.4, 1.1, 2.0}) {
            CISPDetector detector;
            feed(detector, sine(f, phase, 40));
            const float peak = feed(detector, sine(f, phase + 2.0 * kPi * f * 40, 400));
            EXPECT_GT(peak, 0.975f) << f << " " << phase;
            EXPECT_LT(peak, 1.03f) << f << " " << phase;
        }
}

TEST(ISPDetector, ReadStartsANewIntervalAndRateChangeClears)
{
    CISPDetector detector;
    const float half = 0.5f;
    detector.process(&half);
    EXPECT_EQ(feed(detector, std::vector<float>(10, 0.0f)), 0.5f);
    EXPECT_EQ(detector.readPeak(), 0.0f);

    // The sample fed last is still five samples short of the centre.
    detector.process(&half);
    detector.readPeak();
    detector.setSampleRate(44100.0f);
    EXPECT_EQ(feed(detector, std::vector<float>(8, 0.0f)), 0.5f) << "same rate keeps the history";

    detector.process(&half);
    detector.setSampleRate(48000.0f);
    EXPECT_EQ(detector.readPeak(), 0.0f);
    EXPECT_EQ(feed(detector, std::vector<float>(12, 0.0f)), 0.0f) << "another rate clears it";
}

TEST(ISPDetector, NonFiniteSamplesPassWithoutPoisoningTheHistory)
{
    CISPDetector detector;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    detector.process(&nan);
    EXPECT_EQ(feed(detector, std::vector<float>(12, 0.0f)), 0.0f);
    EXPECT_NEAR(feed(detector, sine(0.05, 0.3, 200)), 1.0f, 0.03f);
}
} // namespace
