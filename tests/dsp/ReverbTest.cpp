// The reverb's network has the designed lengths and gains, an impulse
// arrives through the early and the tail paths at the designed times, only
// the setters that change the lines clear the tail, and mono bass narrows
// only the low end.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <vector>

#include "dsp/Reverb.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

struct Stereo
{
    std::vector<float> left;
    std::vector<float> right;
};

Stereo run(CUFNReverb& reverb, const std::vector<float>& input)
{
    Stereo out;
    for (float x : input) {
        float l = 0.0f;
        float r = 0.0f;
        reverb.process(&x, &l, &r);
        out.left.push_back(l);
        out.right.push_back(r);
    }
    return out;
}

std::vector<float> impulse(int length)
{
    std::vector<float> v(static_cast<size_t>(length), 0.0f);
    v[0] = 1.0f;
    return v;
}

size_t firstNonZero(const std::vector<float>& v)
{
    for (size_t n = 0; n < v.size(); ++n)
        if (v[n] != 0.0f)
            return n;
    return v.size();
}

double energy(const std::vector<float>& v, size_t from = 0)
{
    double e = 0.0;
    for (size_t n = from; n < v.size(); ++n)
        e += static_cast<double>(v[n]) * v[n];
    return e;
}

TEST(Reverb, DefaultNetwork)
{
    CUFNReverb reverb;
    const int lengths[] = {8452, 6079, 4372, 3144};
    const float gains[] = {0.2585f, 0.3113f, 0.3559f, 0.3918f};
    const float corners[] = {2000.0f, 2781.0f, 3866.0f, 5376.0f};
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(reverb.getLineDelay(j), lengths[j]) << j;
        EXPECT_NEAR(reverb.getLineGain(j), gains[j], 1e-4f) << j;
        EXPECT_NEAR(reverb.getDampingCorner(j), corners[j], 1.0f) << j;
    }
    EXPECT_EQ(reverb.getLineDelay(4), 0);

    struct Diffuser
    {
        const CDecorrelator& d;
        int delay;
        int stages;
        int total;
    };
    for (const Diffuser& c : {Diffuser{reverb.getDiffuserA(), 176, 4, 661},
                              Diffuser{reverb.getDiffuserB(), 441, 3, 661},
                              Diffuser{reverb.getDiffuserC(), 44, 4, 4410}}) {
        EXPECT_EQ(c.d.getDelay(), c.delay);
        EXPECT_EQ(c.d.getStageCount(), c.stages);
        EXPECT_EQ(c.d.getAllpassCoefficient(), 0.5f);
        int total = 0;
        for (int j = 0; j < c.stages; ++j)
            total += c.d.getStageDelay(j);
        EXPECT_NEAR(total, c.total, c.stages) << c.delay;
    }

    // At 96 kHz the same design scales with the rate.
    reverb.setSampleRate(96000.0f);
    int sum = 0;
    for (int j = 0; j < 4; ++j)
        sum += reverb.getLineDelay(j);
    EXPECT_NEAR(sum, 48000, 4);
    EXPECT_EQ(reverb.getDiffuserC().getDelay(), 96);
}

TEST(Reverb, ImpulseArrivesEarlyThenThroughTheTail)
{
    CUFNReverb reverb;
    const Stereo out = run(reverb, impulse(20000));

    // The early path: the first diffuser after its 176-sample delay, equal
    // on both sides, then the second diffuser 441 samples later with
    // opposite signs.
    EXPECT_EQ(firstNonZero(out.left), 176u);
    EXPECT_EQ(firstNonZero(out.right), 176u);
    EXPECT_FLOAT_EQ(out.left[176], 0.70710677f * 0.25f * 0.0625f);
    for (size_t n = 176; n < 617; ++n)
        ASSERT_EQ(out.left[n], out.right[n]) << n;
    EXPECT_NE(out.left[617], out.right[617]);

    // Without the early path the tail is silent until the pre-delay (44)
    // and the shortest line (3144) have passed.
    CUFNReverb tailOnly;
    tailOnly.setEarlyLevel(0.0f);
    const Stereo tail = run(tailOnly, impulse(20000));
    EXPECT_EQ(firstNonZero(tail.left), 44u + 3144u);
    EXPECT_EQ(firstNonZero(tail.right), 44u + 3144u);

    // The tail decays by about 60 dB in the decay time (2 s): compare the
    // energy of two windows 0.5 s apart.
    CUFNReverb decaying;
    const Stereo longRun = run(decaying, impulse(3 * 44100));
    auto windowEnergy = [&](size_t from) {
        double e = 0.0;
        for (size_t n = from; n < from + 4410; ++n)
            e += static_cast<double>(longRun.left[n]) * longRun.left[n];
        return e;
    };
    const double dropDb = 10.0 * std::log10(windowEnergy(44100) / windowEnergy(44100 + 22050));
    EXPECT_GT(dropDb, 12.0);
    EXPECT_LT(dropDb, 25.0);
}

TEST(Reverb, OnlyLineChangesClearTheTail)
{
    struct Case
    {
        const char* name;
        std::function<void(CUFNReverb&)> change;
        bool clearsTail;
    };
    const Case cases[] = {
        {"sample rate", [](CUFNReverb& r) { r.setSampleRate(48000.0f); }, true},
        {"same sample rate", [](CUFNReverb& r) { r.setSampleRate(44100.0f); }, false},
        {"size", [](CUFNReverb& r) { r.setSize(0.7f); }, true},
        {"same size", [](CUFNReverb& r) { r.setSize(0.5f); }, false},
        {"spread", [](CUFNReverb& r) { r.setSpread(0.5f); }, true},
        {"decay", [](CUFNReverb& r) { r.setDecayTime(5.0f); }, false},
        {"damping", [](CUFNReverb& r) { r.setDampingFrequency(8000.0f); }, false},
        {"damping slope", [](CUFNReverb& r) { r.setDampingSlope(1.0f); }, false},
        {"pre-delay", [](CUFNReverb& r) { r.setPredelay(0.02f); }, false},
        {"diffusion", [](CUFNReverb& r) { r.setDiffusion(0.2f); }, false},
        {"mono bass", [](CUFNReverb& r) { r.setMonoBass(true); }, false},
        {"modulation", [](CUFNReverb& r) { r.setModulation(true); }, false},
    };
    for (const Case& c : cases) {
        CUFNReverb reverb;
        run(reverb, impulse(10000));
        c.change(reverb);
        const Stereo after = run(reverb, std::vector<float>(4000, 0.0f));
        const double e = energy(after.left) + energy(after.right);
        if (c.clearsTail)
            EXPECT_EQ(e, 0.0) << c.name;
        else
            EXPECT_GT(e, 1e-4) << c.name;
    }
}

TEST(Reverb, SettersApplyTheirLimits)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    CUFNReverb reverb;
    reverb.setDecayTime(0.0f);
    EXPECT_EQ(reverb.getDecayTime(), 0.01f);
    reverb.setDecayTime(nan);
    EXPECT_EQ(reverb.getDecayTime(), 0.01f);
    reverb.setDampingFrequency(5.0f);
    EXPECT_EQ(reverb.getDampingFrequency(), 20.0f);
    reverb.setSampleRate(8000.0f);
    EXPECT_EQ(reverb.getSampleRate(), 22050.0f);
    reverb.setSampleRate(1e6f);
    EXPECT_EQ(reverb.getSampleRate(), 192000.0f);
    reverb.setSize(-1.0f);
    EXPECT_EQ(reverb.getSize(), 0.01f);

    // Values that would turn the network into NaNs are refused or bounded,
    // and the reverb keeps sounding finite.
    reverb.setSpread(nan);
    reverb.setDampingSlope(nan);
    reverb.setDiffusion(std::numeric_limits<float>::infinity());
    reverb.setEarlyLevel(nan);
    reverb.setSize(1e9f);
    EXPECT_EQ(reverb.getSpread(), 0.3f);
    EXPECT_EQ(reverb.getEarlyLevel(), 0.25f);
    for (float spread : {-1000.0f, 1000.0f}) {
        reverb.setSpread(spread);
        std::vector<float> input = impulse(30000);
        input[5] = nan;
        input[6] = -std::numeric_limits<float>::infinity();
        const Stereo out = run(reverb, input);
        for (size_t n = 0; n < out.left.size(); ++n)
            ASSERT_TRUE(std::isfinite(out.left[n]) && std::isfinite(out.right[n]))
                << spread << " " << n;
        EXPECT_GT(energy(out.left), 0.0);
    }
}

TEST(Reverb, MonoBassNarrowsOnlyTheLowEnd)
{
    // The same input with and without mono bass: the sum of the sides is
    // untouched, the difference shrinks to about a fifth at 50 Hz and stays
    // at 8 kHz, as the one-pole low-pass of the difference predicts.
    for (double hz : {50.0, 8000.0}) {
        std::vector<float> input;
        for (int n = 0; n < 44100; ++n)
            input.push_back(static_cast<float>(0.5 * std::sin(2.0 * kPi * hz * n / 44100.0)));
        CUFNReverb wide;
        CUFNReverb narrow;
        narrow.setMonoBass(true);
        const Stereo a = run(wide, input);
        const Stereo b = run(narrow, input);

        std::vector<float> diffA;
        std::vector<float> diffB;
        for (size_t n = 0; n < input.size(); ++n) {
            ASSERT_NEAR(a.left[n] + a.right[n], b.left[n] + b.right[n], 1e-5f) << n;
            diffA.push_back(a.left[n] - a.right[n]);
            diffB.push_back(b.left[n] - b.right[n]);
        }
        const double ratio = std::sqrt(energy(diffB, 22050) / energy(diffA, 22050));
        // The difference minus 0.8 times its 500 Hz one-pole low-pass.
        const double c = std::exp(-2.0 * std::atan(kPi * 500.0 / 44100.0));
        const std::complex<double> z = std::polar(1.0, -2.0 * kPi * hz / 44100.0);
        const double expected = std::abs(1.0 - 0.8 * (1.0 - c) / (1.0 - c * z));
        EXPECT_NEAR(ratio, expected, 0.01) << hz;
    }
}

TEST(Reverb, ModulationSweepsTheTailWithoutChangingItsLevel)
{
    CUFNReverb still;
    CUFNReverb moving;
    moving.setModulation(true);
    std::vector<float> input = impulse(2 * 44100);
    const Stereo a = run(still, input);
    const Stereo b = run(moving, input);
    double difference = 0.0;
    for (size_t n = 0; n < input.size(); ++n) {
        ASSERT_TRUE(std::isfinite(b.left[n]) && std::isfinite(b.right[n]));
        difference += std::fabs(a.left[n] - b.left[n]);
    }
    EXPECT_GT(difference, 1e-3);
    const double ratioDb = 10.0 * std::log10(energy(b.left, 4410) / energy(a.left, 4410));
    EXPECT_NEAR(ratioDb, 0.0, 1.5);
}
} // namespace
