// The engine sums the active panners into the two outputs and adds the
// decorrelated side signal, weighted by each source's width, to the left
// output and subtracts it from the right; it handles its switches and rate
// changes, and survives bad input with finite output.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/Vantelor.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Block
{
    std::vector<float> in[2];
    std::vector<float> out[2];

    explicit Block(size_t frames, float left = 0.0f, float right = 0.0f)
        : in{std::vector<float>(frames, left), std::vector<float>(frames, right)},
          out{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)}
    {}

    void render(CVantelor& engine)
    {
        float* inputs[2] = {in[0].data(), in[1].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        engine.process(inputs, outputs, static_cast<int32_t>(in[0].size()));
    }
};

Block sines(size_t frames)
{
    Block b(frames);
    for (size_t i = 0; i < frames; ++i) {
        b.in[0][i] = 0.5f * std::sin(0.031f * static_cast<float>(i));
        b.in[1][i] = 0.3f * std::sin(0.017f * static_cast<float>(i) + 1.0f);
    }
    return b;
}

bool isSubnormal(float v)
{
    return std::fpclassify(v) == FP_SUBNORMAL;
}

void expectNear(const std::vector<float>& a, const std::vector<float>& b, float tolerance)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        ASSERT_NEAR(a[i], b[i], tolerance) << "frame " << i;
}
} // namespace

// Every delay length in the engine, per rate: each panner's far path and
// cross-feed and the decorrelator's delay and all-pass stages. The rate is
// clamped to what the engine supports and each length is truncated from a
// time; the other tests take the lengths from the engine rather than restate
// them.
TEST(Engine, DelayLengthsFollowTheRate)
{
    struct Case
    {
        float rate;
        float clamped;
        int farDelay;
        int crossDelay;
        int decorrelatorDelay;
        int stages[3];
    };
    const Case cases[] = {
        {8000.0f, 22050.0f, 13, 5, 264, {75, 57, 43}},
        {kNaN, 22050.0f, 13, 5, 264, {75, 57, 43}},
        {44100.0f, 44100.0f, 27, 10, 529, {150, 114, 86}},
        {48000.0f, 48000.0f, 30, 11, 576, {164, 124, 94}},
        {96000.0f, 96000.0f, 60, 23, 1152, {328, 249, 189}},
        {192000.0f, 192000.0f, 120, 47, 2304, {657, 499, 379}},
        {384000.0f, 192000.0f, 120, 47, 2304, {657, 499, 379}},
    };
    for (const Case& c : cases) {
        CVantelor engine(2, 2);
        engine.setSampleRate(c.rate);
        for (int8_t channel = 0; channel < 2; ++channel) {
            const CCCPanner& panner = *engine.getPanner(channel);
            EXPECT_EQ(panner.getSampleRate(), c.clamped) << c.rate;
            EXPECT_EQ(panner.getFarDelay(), c.farDelay) << c.rate;
            EXPECT_EQ(panner.getCrossDelay(), c.crossDelay) << c.rate;
        }
        const CDecorrelator& d = engine.getDecorrelator();
        EXPECT_EQ(d.getDelay(), c.decorrelatorDelay) << c.rate;
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(d.getStageDelay(j), c.stages[j]) << c.rate << " stage " << j;
    }
}

// Near-zero input is replaced by +-1e-8 noise so nothing decays into
// subnormal numbers; with both sources off only the decorrelated noise
// remains, in opposite polarity.
TEST(Engine, SilenceGivesTinyNoiseAndNeverSubnormals)
{
    for (bool sourcesOn : {true, false}) {
        CVantelor engine(2, 2);
        engine.setActive(sourcesOn, 0);
        engine.setActive(sourcesOn, 1);
        Block b(20000, 0.0f, 1e-30f);
        b.render(engine);
        for (size_t i = 0; i < b.out[0].size(); ++i) {
            for (const auto& out : b.out) {
                ASSERT_LT(std::fabs(out[i]), 1e-6f) << i;
                ASSERT_FALSE(isSubnormal(out[i])) << i;
            }
            if (!sourcesOn) {
                ASSERT_EQ(b.out[0][i], -b.out[1][i]) << i;
            }
        }
    }
}

// The width signal is the decorrelated half of the width-weighted input: an
// impulse on one source at width 1 adds (-0.6)^3 x 0.5 to the left output and
// takes it from the right, the decorrelator's delay later.
TEST(Engine, WidthAddsDecorrelatedSideInOppositePolarity)
{
    auto render = [](float width) {
        CVantelor engine(2, 2);
        engine.setActive(false, 1);
        engine.setWidth(width, 0);
        Block b(600);
        b.in[0][0] = 1.0f;
        b.render(engine);
        return b;
    };
    const Block wide = render(1.0f);
    const Block narrow = render(0.0f);
    const size_t arrival = static_cast<size_t>(CVantelor(2, 2).getDecorrelator().getDelay());
    ASSERT_LT(arrival, 600u);
    for (size_t i = 0; i < 600; ++i) {
        const float sideL = wide.out[0][i] - narrow.out[0][i];
        const float sideR = wide.out[1][i] - narrow.out[1][i];
        const float expected = i == arrival ? 0.5f * -0.216f : 0.0f;
        ASSERT_NEAR(sideL, expected, 1e-6f) << i;
        ASSERT_NEAR(sideR, -expected, 1e-6f) << i;
    }
}

// Widths are limited to 0..1, so no value can raise the level; values that
// are not numbers are ignored.
TEST(Engine, WidthIsLimitedToItsRangeAndNonFiniteValuesAreIgnored)
{
    const struct
    {
        float set;
        float kept;
    } cases[] = {{0.4f, 0.4f},  {1.0f, 1.0f},   {1.0001f, 1.0f}, {10.0f, 1.0f}, {1e30f, 1.0f},
                 {-0.2f, 0.0f}, {-3e38f, 0.0f}, {kNaN, 0.8f},    {kInf, 0.8f},  {-kInf, 0.8f}};
    for (const auto& c : cases) {
        CVantelor engine(2, 2);
        engine.setWidth(0.8f, 1);
        engine.setWidth(c.set, 1);
        EXPECT_EQ(engine.getWidth(1), c.kept) << c.set;
    }
}

TEST(Engine, ActiveSwitchRestartsOnlyOnChange)
{
    CVantelor engine(2, 2);
    engine.setAzimuth(-20.0f, 0);
    sines(3000).render(engine);
    const float glided = engine.getPanner(0)->getSmoothedAzimuth();
    ASSERT_LT(glided, -10.0f);

    engine.setActive(true, 0);
    EXPECT_EQ(engine.getPanner(0)->getSmoothedAzimuth(), glided);

    engine.setActive(false, 0);
    EXPECT_FALSE(engine.isActive(0));
    engine.setActive(true, 0);
    EXPECT_EQ(engine.getPanner(0)->getSmoothedAzimuth(), 0.0f);
}

// An inactive source is not heard and does not advance its panner.
TEST(Engine, InactiveSourceIsSkipped)
{
    CVantelor engine(2, 2);
    engine.setActive(false, 0);
    engine.setWidth(1.0f, 0);
    engine.setAzimuth(40.0f, 0);
    Block b(4000, 0.9f, 0.0f);
    b.render(engine);
    EXPECT_EQ(engine.getPanner(0)->getSmoothedAzimuth(), 0.0f);
    for (const auto& out : b.out)
        for (float v : out)
            ASSERT_LT(std::fabs(v), 1e-6f);
}

// Setters aimed at a channel the engine does not have change nothing.
TEST(Engine, OutOfRangeChannelsAreIgnored)
{
    CVantelor touched(2, 2);
    CVantelor untouched(2, 2);
    for (int8_t channel : {int8_t{2}, int8_t{-1}, int8_t{127}}) {
        touched.setAzimuth(50.0f, channel);
        touched.setElevation(-40.0f, channel);
        touched.setActive(false, channel);
        touched.setWidth(1.0f, channel);
    }
    Block a = sines(4000);
    Block b = sines(4000);
    a.render(touched);
    b.render(untouched);
    EXPECT_EQ(a.out[0], b.out[0]);
    EXPECT_EQ(a.out[1], b.out[1]);
}

// The current rate changes nothing (two engines stay bit-identical); a new
// rate clears every memory, so a used engine then sounds like a fresh one
// (up to the +-1e-8 noise, whose generators have moved on).
TEST(Engine, SampleRateChangeRedesignsAndClears)
{
    CVantelor used(2, 2);
    CVantelor twin(2, 2);
    for (CVantelor* e : {&used, &twin}) {
        e->setAzimuth(-50.0f, 0);
        e->setWidth(0.7f, 1);
        sines(5000).render(*e);
    }
    used.setSampleRate(44100.0f);
    Block a = sines(2000);
    Block b = sines(2000);
    a.render(used);
    b.render(twin);
    EXPECT_EQ(a.out[0], b.out[0]);
    EXPECT_EQ(a.out[1], b.out[1]);

    used.setSampleRate(48000.0f);
    CVantelor fresh(2, 2);
    fresh.setSampleRate(48000.0f);
    fresh.setAzimuth(-50.0f, 0);
    fresh.setWidth(0.7f, 1);
    Block c = sines(3000);
    Block d = sines(3000);
    c.render(used);
    d.render(fresh);
    expectNear(c.out[0], d.out[0], 1e-5f);
    expectNear(c.out[1], d.out[1], 1e-5f);
}

// Frame counts of 0 or less and missing buffers leave the outputs untouched.
TEST(Engine, DegenerateCallsWriteNothing)
{
    CVantelor engine(2, 2);
    float inL[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    float inR[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    float outL[8];
    float outR[8];
    float* inputs[2] = {inL, inR};
    float* outputs[2] = {outL, outR};
    float* inputsMissingOne[2] = {inL, nullptr};
    float* outputsMissingOne[2] = {outL, nullptr};
    struct Case
    {
        const char* what;
        float** in;
        float** out;
        int32_t frames;
    };
    const Case cases[] = {
        {"zero frames", inputs, outputs, 0},
        {"negative frames", inputs, outputs, -5},
        {"null input array", nullptr, outputs, 8},
        {"null output array", inputs, nullptr, 8},
        {"null input channel", inputsMissingOne, outputs, 8},
        {"null output channel", inputs, outputsMissingOne, 8},
    };
    for (const Case& c : cases) {
        std::fill(std::begin(outL), std::end(outL), 7.0f);
        std::fill(std::begin(outR), std::end(outR), 7.0f);
        engine.process(c.in, c.out, c.frames);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(outL[i], 7.0f) << c.what;
            EXPECT_EQ(outR[i], 7.0f) << c.what;
        }
    }
}

// A NaN or infinite sample is heard as silence: the outputs are exactly those
// of zeros in its place, and the audio after it is unharmed.
TEST(Engine, NonFiniteInputIsSilence)
{
    for (float bad : {kNaN, kInf, -kInf}) {
        CVantelor poisoned(2, 2);
        CVantelor clean(2, 2);
        for (CVantelor* e : {&poisoned, &clean})
            e->setWidth(0.5f, 0);
        Block badBlock(256, bad, 0.0f);
        badBlock.in[1][100] = bad;
        Block zeros(256, 0.0f, 0.0f);
        badBlock.render(poisoned);
        zeros.render(clean);
        EXPECT_EQ(badBlock.out[0], zeros.out[0]) << bad;
        EXPECT_EQ(badBlock.out[1], zeros.out[1]) << bad;

        Block a = sines(1024);
        Block b = sines(1024);
        a.render(poisoned);
        b.render(clean);
        EXPECT_EQ(a.out[0], b.out[0]) << bad;
        EXPECT_EQ(a.out[1], b.out[1]) << bad;
    }
}

// Absurdly large finite input and width cannot overflow into the filters.
TEST(Engine, ExtremeFiniteValuesKeepTheOutputFinite)
{
    CVantelor engine(2, 2);
    engine.setAzimuth(-CCCPanner::kMaxAngle, 0);
    engine.setElevation(CCCPanner::kMaxAngle, 0);
    engine.setWidth(3e38f, 0);
    engine.setWidth(-3e38f, 1);
    Block b(4096, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max());
    for (size_t i = 0; i < 4096; i += 3)
        b.in[0][i] = -b.in[0][i];
    b.render(engine);
    Block after = sines(4096);
    after.render(engine);
    for (const Block* blk : {&b, &after})
        for (const auto& out : blk->out)
            for (float v : out)
                ASSERT_TRUE(std::isfinite(v));
}

// In-place processing (outputs aliasing inputs) gives the same result.
TEST(Engine, ProcessesInPlace)
{
    CVantelor a(2, 2);
    CVantelor b(2, 2);
    for (CVantelor* e : {&a, &b})
        e->setWidth(0.6f, 0);
    Block separate = sines(1000);
    separate.render(a);
    Block inPlace = sines(1000);
    float* io[2] = {inPlace.in[0].data(), inPlace.in[1].data()};
    b.process(io, io, 1000);
    EXPECT_EQ(separate.out[0], inPlace.in[0]);
    EXPECT_EQ(separate.out[1], inPlace.in[1]);
}
