// The quantizer puts every sample on its grid, draws one dither value per
// sample from the generator it is given, and shapes its noise as the shelf
// prescribes; the compander's gain laws are inverse to each other, so a
// steady tone survives the round trip.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "dsp/NRCompander.h"
#include "dsp/Quantizer.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

std::vector<float> sine(double cyclesPerSample, double amplitude, int count)
{
    std::vector<float> v;
    for (int n = 0; n < count; ++n)
        v.push_back(static_cast<float>(amplitude * std::sin(2.0 * kPi * cyclesPerSample * n)));
    return v;
}

TEST(Quantizer, OffUntilBitsAreSetThenOnTheGrid)
{
    CNoiseGenerator noise;
    CQuantizer q(noise);
    const std::vector<float> input = sine(0.0123, 0.9, 2000);
    for (float x : input) {
        float y = x;
        q.process(&y);
        ASSERT_EQ(y, x);
    }
    EXPECT_EQ(noise.getState(), 0u) << "no dither is drawn while off";

    struct Case
    {
        int8_t bits;
        float step;
    };
    for (const Case& c :
         {Case{1, 1.0f}, Case{2, 1.0f}, Case{8, 1.0f / 128.0f}, Case{16, 1.0f / 32768.0f},
          Case{24, 1.0f / 8388608.0f}, Case{100, 1.0f / 1073741824.0f}}) {
        q.setBits(c.bits);
        q.setShaping(0.0f);
        EXPECT_EQ(q.getC1(), 0.0f);
        EXPECT_EQ(q.getC2(), 0.0f);
        double meanError = 0.0;
        for (float x : input) {
            float y = x * 3.0f;
            q.process(&y);
            const float steps = y / c.step;
            ASSERT_EQ(steps, std::floor(steps)) << int(c.bits) << " " << y;
            // Floor after dither in [-0.5, 0.5): within 1.5 steps below and
            // half a step above.
            ASSERT_GE(y - x * 3.0f, -1.5f * c.step);
            ASSERT_LE(y - x * 3.0f, 0.5f * c.step);
            meanError += (y - x * 3.0f) / c.step;
        }
        // Where a float still resolves fractions of a step, the floor shows
        // as an offset of half a step.
        if (c.bits <= 16) {
            EXPECT_NEAR(meanError / input.size(), -0.5, 0.05) << int(c.bits);
        }
    }
    EXPECT_EQ(q.getBits(), 31);
}

TEST(Quantizer, DrawsOneDitherValuePerSampleFromItsOwnGenerator)
{
    CNoiseGenerator first;
    CNoiseGenerator second;
    CQuantizer a(first);
    CQuantizer b(second);
    a.setBits(16);
    b.setBits(16);
    const std::vector<float> input = sine(0.01, 0.5, 1000);
    for (float x : input) {
        float ya = x;
        float yb = x;
        a.process(&ya);
        b.process(&yb);
        ASSERT_EQ(ya, yb);
    }
    CNoiseGenerator reference;
    for (size_t i = 0; i < input.size(); ++i)
        randomInt(reference);
    EXPECT_EQ(first.getState(), reference.getState());
}

// Power of the quantisation error in a band, from averaged periodograms.
struct ErrorSpectrum
{
    static constexpr int kSize = 512;
    std::vector<double> power = std::vector<double>(kSize / 2, 0.0);

    ErrorSpectrum(float rate, float shaping)
    {
        CNoiseGenerator noise;
        CQuantizer q(noise);
        q.setSampleRate(rate);
        q.setBits(12);
        q.setShaping(shaping);
        const std::vector<float> input = sine(0.0137, 0.3, 64 * kSize);
        std::vector<double> error;
        for (float x : input) {
            float y = x;
            q.process(&y);
            error.push_back(static_cast<double>(y) - x);
        }
        for (size_t start = kSize; start + kSize <= error.size(); start += kSize)
            for (int k = 1; k < kSize / 2; ++k) {
                std::complex<double> sum = 0.0;
                for (int n = 0; n < kSize; ++n)
                    sum += error[start + n] * std::polar(1.0, -2.0 * kPi * k * n / kSize);
                power[k] += std::norm(sum);
            }
    }

    // Mean power per bin between two fractions of the rate.
    double band(double from, double to) const
    {
        double sum = 0.0;
        int bins = 0;
        for (int k = static_cast<int>(from * kSize); k < static_cast<int>(to * kSize); ++k, ++bins)
            sum += power[k];
        return sum / bins;
    }
};

TEST(Quantizer, ShapingMovesTheNoiseAsTheShelfPrescribes)
{
    struct Case
    {
        float rate;
        float shaping;
        double minLowOverHighDb;
        double maxLowOverHighDb;
    };
    // At 44.1 kHz the noise leaves the band below 15 kHz for the top
    // octave; below 40 kHz it gathers under 300 Hz instead.
    for (const Case& c : {Case{44100.0f, 0.0f, -1.5, 1.5}, Case{44100.0f, 1.0f, -40.0, -20.0},
                          Case{44100.0f, 0.5f, -20.0, -8.0}, Case{32000.0f, 1.0f, 8.0, 25.0}}) {
        const ErrorSpectrum spectrum(c.rate, c.shaping);
        const bool lowRate = c.rate < 40000.0f;
        const double low = lowRate ? spectrum.band(0.002, 0.006) : spectrum.band(0.01, 0.1);
        const double high = lowRate ? spectrum.band(0.2, 0.45) : spectrum.band(0.4, 0.49);
        const double db = 10.0 * std::log10(low / high);
        EXPECT_GT(db, c.minLowOverHighDb) << c.rate << " " << c.shaping;
        EXPECT_LT(db, c.maxLowOverHighDb) << c.rate << " " << c.shaping;
    }
}

TEST(Quantizer, BadInputAndSettingsKeepTheOutputFinite)
{
    CNoiseGenerator noise;
    CQuantizer q(noise);
    q.setBits(16);
    q.setShaping(1.0f);
    q.setShaping(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(q.getShaping(), 1.0f);
    q.setShaping(1e9f);
    EXPECT_EQ(q.getShaping(), 10.0f);
    q.setShaping(1.0f);
    q.setSampleRate(std::numeric_limits<float>::quiet_NaN());
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(), -3e38f, 0.25f};
    for (int round = 0; round < 100; ++round)
        for (float x : bad) {
            q.process(&x);
            ASSERT_TRUE(std::isfinite(x));
        }
    float x = 0.25f;
    q.process(&x);
    EXPECT_NEAR(x, 0.25f, 0.01f);
}

TEST(Compander, GainLawsAreInverse)
{
    CNREncoder encoder;
    CNRDecoder decoder;
    EXPECT_EQ(encoder.gainCurve(0.0f), 10.0f);
    for (float level : {0.0f, 1e-12f, 1e-8f, 1e-6f, 1e-4f})
        EXPECT_NEAR(decoder.gainCurve(level), 0.1f, 1e-3f) << level;

    // A band at level u leaves the encoder at L = u g(u); the decoder's gain
    // at L undoes g(u).
    for (float u : {1e-5f, 1e-3f, 0.01f, 0.1f, 0.18f, 0.2f, 0.5f, 1.0f, 10.0f, 1000.0f}) {
        const float g = encoder.gainCurve(u);
        EXPECT_NEAR(decoder.gainCurve(u * g) * g, 1.0f, 1e-5f) << u;
    }
    EXPECT_NEAR(encoder.gainCurve(1e6f), 1.0f, 1e-5f);
}

TEST(Compander, SteadyToneSurvivesTheRoundTrip)
{
    struct Case
    {
        double hz;
        double amplitude;
    };
    for (const Case& c :
         {Case{5000.0, 0.001}, Case{5000.0, 0.05}, Case{5000.0, 0.8}, Case{200.0, 0.1}}) {
        CNREncoder encoder;
        CNRDecoder decoder;
        const std::vector<float> input = sine(c.hz / 44100.0, c.amplitude, 22050);
        double inPower = 0.0;
        double encodedPower = 0.0;
        double outPower = 0.0;
        for (size_t n = 0; n < input.size(); ++n) {
            float y = input[n];
            encoder.process(&y);
            const float encoded = y;
            decoder.process(&y);
            if (n >= 11025) {
                inPower += static_cast<double>(input[n]) * input[n];
                encodedPower += static_cast<double>(encoded) * encoded;
                outPower += static_cast<double>(y) * y;
            }
        }
        const double gainDb = 10.0 * std::log10(outPower / inPower);
        EXPECT_NEAR(gainDb, 0.0, 0.2) << c.hz << " " << c.amplitude;
        // Quiet highs are lifted by the encoder.
        if (c.amplitude < 0.01) {
            EXPECT_GT(10.0 * std::log10(encodedPower / inPower), 15.0);
        }
    }
}

TEST(Compander, RateChangeClearsAndBadInputCountsAsSilence)
{
    CNRDecoder decoder;
    float x = 0.5f;
    decoder.process(&x);
    EXPECT_GT(decoder.getLevel(), 0.0f);
    decoder.setSampleRate(44100.0f);
    EXPECT_GT(decoder.getLevel(), 0.0f);
    decoder.setSampleRate(10.0f);
    EXPECT_EQ(decoder.getSampleRate(), 22050.0f);
    EXPECT_EQ(decoder.getLevel(), 0.0f);

    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 3e38f}) {
        float y = bad;
        decoder.process(&y);
        EXPECT_EQ(y, 0.0f);
        EXPECT_TRUE(std::isfinite(decoder.getLevel()));
    }
}
} // namespace
