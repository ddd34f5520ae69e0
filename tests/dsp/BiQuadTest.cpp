// Every biquad design has its defining gains at DC, the Nyquist frequency and
// its corner or centre, both as the running filter measures them and as
// getPowerResponse reports them; designs and signal memory stay independent.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <vector>

#include "dsp/BiQuad.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::vector<float> impulseResponse(CBiQuad& filter, int length)
{
    std::vector<float> h(static_cast<size_t>(length), 0.0f);
    h[0] = 1.0f;
    for (float& v : h)
        filter.process(&v);
    return h;
}

// Squared magnitude at a normalised frequency, from a DFT of the impulse
// response of the running filter.
double measuredPower(CBiQuad& filter, double freq)
{
    const std::vector<float> h = impulseResponse(filter, 16384);
    std::complex<double> sum = 0.0;
    for (size_t n = 0; n < h.size(); ++n)
        sum += static_cast<double>(h[n]) *
               std::polar(1.0, -2.0 * M_PI * freq * static_cast<double>(n));
    return std::norm(sum);
}

struct Design
{
    const char* name;
    std::function<void(CBiQuad&)> apply;
    float freq;
    double dc;
    double nyquist;
    double atFreq;
};

TEST(BiQuad, DesignsMeetTheirDefiningGains)
{
    const double G2 = std::pow(10.0, -3.0 / 10.0);   // output gain -3 dB, squared
    const double A4 = std::pow(10.0, 10.0 / 10.0);   // shelf or peak of +10 dB, squared
    const double A2 = std::sqrt(A4);                 // half of it in dB
    const double Cut4 = std::pow(10.0, -8.0 / 10.0); // a cut of -8 dB, squared
    const Design designs[] = {
        {"low-pass q 2", [](CBiQuad& f) { f.setLowPass(0.05f, 2.0f, -3.0f, false); }, 0.05f, G2,
         0.0, 4.0 * G2},
        {"high-pass q 0.7", [](CBiQuad& f) { f.setHighPass(0.1f, 0.7f, -3.0f, true); }, 0.1f, 0.0,
         G2, 0.49 * G2},
        {"low shelf +10", [](CBiQuad& f) { f.setLowShelf(0.02f, 10.0f, 0.7f, -3.0f, false); },
         0.02f, A4 * G2, G2, A2 * G2},
        {"high shelf +10", [](CBiQuad& f) { f.setHighShelf(0.15f, 10.0f, 1.0f, -3.0f, true); },
         0.15f, G2, A4 * G2, A2 * G2},
        {"peak +10", [](CBiQuad& f) { f.setPeak(0.1f, 10.0f, 3.0f, -3.0f, false); }, 0.1f, G2, G2,
         A4 * G2},
        {"peak -8", [](CBiQuad& f) { f.setPeak(0.25f, -8.0f, 1.0f, 0.0f, false); }, 0.25f, 1.0, 1.0,
         Cut4},
        {"all-pass", [](CBiQuad& f) { f.setAllPass(0.2f, 0.8f, -3.0f, false); }, 0.2f, G2, G2, G2},
    };
    for (const Design& d : designs) {
        const struct
        {
            double freq;
            double expected;
        } points[] = {{0.0, d.dc}, {0.5, d.nyquist}, {d.freq, d.atFreq}};
        for (const auto& p : points) {
            CBiQuad f;
            d.apply(f);
            const double tolerance = 2e-3 * p.expected + 1e-6;
            EXPECT_NEAR(f.getPowerResponse(static_cast<float>(p.freq)), p.expected, tolerance)
                << d.name << " at " << p.freq;
            EXPECT_NEAR(measuredPower(f, p.freq), p.expected, tolerance)
                << d.name << " at " << p.freq;
        }
    }
}

TEST(BiQuad, PassThroughAndGain)
{
    struct Case
    {
        const char* name;
        std::function<void(CBiQuad&)> apply;
        float gain;
    };
    const Case cases[] = {
        {"new", [](CBiQuad&) {}, 1.0f},
        {"pass-through",
         [](CBiQuad& f) {
             f.setPeak(0.1f, 6.0f, 1.0f, 0.0f, false);
             f.setPassThrough();
         },
         1.0f},
        {"0 dB", [](CBiQuad& f) { f.setGain(0.0f, false); }, 1.0f},
        {"0 dB inverted", [](CBiQuad& f) { f.setGain(0.0f, true); }, -1.0f},
        {"+6 dB", [](CBiQuad& f) { f.setGain(6.0f, false); }, 1.9952623f},
    };
    for (const Case& c : cases) {
        CBiQuad f;
        c.apply(f);
        for (float x : {1.0f, -0.25f, 0.0f, 3.0f}) {
            float y = x;
            f.process(&y);
            EXPECT_FLOAT_EQ(y, c.gain * x) << c.name;
        }
    }
}

TEST(BiQuad, InvertNegatesNumeratorOnly)
{
    CBiQuad plain;
    CBiQuad inverted;
    plain.setHighShelf(0.1f, 6.0f, 0.7f, 2.0f, false);
    inverted.setHighShelf(0.1f, 6.0f, 0.7f, 2.0f, true);
    EXPECT_EQ(inverted.getB0(), -plain.getB0());
    EXPECT_EQ(inverted.getB1(), -plain.getB1());
    EXPECT_EQ(inverted.getB2(), -plain.getB2());
    EXPECT_EQ(inverted.getA1(), plain.getA1());
    EXPECT_EQ(inverted.getA2(), plain.getA2());
}

TEST(BiQuad, FrequencyClampedToBand)
{
    struct Case
    {
        float freq;
        float equivalent;
    };
    const Case cases[] = {{0.7f, 0.5f}, {2.0f, 0.5f}, {-0.1f, 0.0f}, {kNaN, 0.0f}};
    for (const Case& c : cases) {
        CBiQuad a;
        CBiQuad b;
        a.setLowPass(c.freq, 0.7f, 0.0f, false);
        b.setLowPass(c.equivalent, 0.7f, 0.0f, false);
        EXPECT_EQ(a.getB0(), b.getB0()) << c.freq;
        EXPECT_EQ(a.getA1(), b.getA1()) << c.freq;
        EXPECT_EQ(a.getA2(), b.getA2()) << c.freq;
        EXPECT_TRUE(std::isfinite(a.getPowerResponse(0.25f))) << c.freq;
    }
}

TEST(BiQuad, KWeightingStages)
{
    CBiQuad shelf;
    shelf.setKWeightingShelf(48000.0f);
    EXPECT_NEAR(shelf.getB0(), 1.5351723f, 1e-6f);
    EXPECT_NEAR(shelf.getB1(), -2.6917031f, 1e-6f);
    EXPECT_NEAR(shelf.getB2(), 1.1983529f, 1e-6f);
    EXPECT_NEAR(shelf.getA1(), -1.6906327f, 1e-6f);
    EXPECT_NEAR(shelf.getA2(), 0.7324549f, 1e-6f);
    // About +4 dB at high frequencies, flat at DC.
    EXPECT_NEAR(10.0 * std::log10(shelf.getPowerResponse(0.0f)), 0.0, 0.01);
    EXPECT_NEAR(10.0 * std::log10(shelf.getPowerResponse(0.4f)), 4.0, 0.1);

    CBiQuad highPass;
    highPass.setKWeightingHighPass(48000.0f);
    EXPECT_EQ(highPass.getB0(), 1.0f);
    EXPECT_EQ(highPass.getB1(), -2.0f);
    EXPECT_EQ(highPass.getB2(), 1.0f);
    EXPECT_NEAR(highPass.getA1(), -1.9900763f, 1e-6f);
    EXPECT_NEAR(highPass.getA2(), 0.9901009f, 1e-6f);
    EXPECT_EQ(highPass.getPowerResponse(0.0f), 0.0f);

    // Rates outside 22050..192000 (and NaN) design for the nearest limit.
    struct Case
    {
        float rate;
        float equivalent;
    };
    for (const Case c :
         {Case{8000.0f, 22050.0f}, Case{384000.0f, 192000.0f}, Case{kNaN, 22050.0f}}) {
        CBiQuad a;
        CBiQuad b;
        a.setKWeightingShelf(c.rate);
        b.setKWeightingShelf(c.equivalent);
        EXPECT_EQ(a.getB0(), b.getB0()) << c.rate;
        EXPECT_EQ(a.getA1(), b.getA1()) << c.rate;
        a.setKWeightingHighPass(c.rate);
        b.setKWeightingHighPass(c.equivalent);
        EXPECT_EQ(a.getA1(), b.getA1()) << c.rate;
        EXPECT_EQ(a.getA2(), b.getA2()) << c.rate;
    }
}

TEST(BiQuad, MatchedPeak)
{
    const float centre = 1000.0f / 44100.0f;
    CBiQuad f;
    f.setMatchedPeak(centre, 6.0f, 1.0f, 0.0f);
    const double peak = std::pow(10.0, 6.0 / 10.0);
    EXPECT_NEAR(f.getPowerResponse(0.0f), 1.0f, 1e-6f);
    EXPECT_NEAR(f.getPowerResponse(centre), peak, 1e-4 * peak);
    EXPECT_NEAR(measuredPower(f, 0.0), 1.0, 1e-4);
    f.reset();
    EXPECT_NEAR(measuredPower(f, centre), peak, 1e-3 * peak);

    // The output gain scales everything; a 0 dB bell is a tiny bell, not a
    // division by zero.
    CBiQuad loud;
    loud.setMatchedPeak(centre, 6.0f, 1.0f, 6.0f);
    EXPECT_NEAR(loud.getPowerResponse(centre), peak * peak, 1e-3 * peak * peak);
    CBiQuad flat;
    flat.setMatchedPeak(centre, 0.0f, 1.0f, 0.0f);
    for (float freq : {0.0f, centre, 0.25f, 0.5f})
        EXPECT_NEAR(flat.getPowerResponse(freq), 1.0f, 1e-4f) << freq;
}

TEST(BiQuad, DesignAndMemoryAreIndependent)
{
    // Redesigning to the same coefficients mid-signal changes nothing.
    CBiQuad steady;
    CBiQuad redesigned;
    steady.setPeak(0.05f, 9.0f, 2.0f, 0.0f, false);
    redesigned.setPeak(0.05f, 9.0f, 2.0f, 0.0f, false);
    for (int n = 0; n < 64; ++n) {
        float a = n == 0 ? 1.0f : 0.0f;
        float b = a;
        if (n == 10)
            redesigned.setPeak(0.05f, 9.0f, 2.0f, 0.0f, false);
        steady.process(&a);
        redesigned.process(&b);
        ASSERT_EQ(a, b) << n;
    }
    // Reset clears the memory and keeps the design.
    const float b0 = redesigned.getB0();
    redesigned.reset();
    EXPECT_EQ(redesigned.getB0(), b0);
    float silence = 0.0f;
    redesigned.process(&silence);
    EXPECT_EQ(silence, 0.0f);
}
} // namespace
