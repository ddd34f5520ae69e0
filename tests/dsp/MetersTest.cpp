// The meter followers: a peak is held until read and then released, valleys
// are followed up to the ceiling, the moving-coil meter rises through two
// stages and falls exponentially, and bad input never leaves a meter stuck.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dsp/Meters.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

void feed(CVu& vu, float value, int count)
{
    const std::vector<float> block(static_cast<size_t>(count), value);
    vu.process(block.data(), count);
}

TEST(Vu, PeakIsHeldUntilReadThenReleased)
{
    CVu vu;
    vu.setDecay(0.1f, 44100.0f, 1);
    const float coef = vu.getReleaseCoefficient();
    EXPECT_NEAR(coef, std::exp(-1.0 / 4410.0), 1e-7);

    const float half = 0.5f;
    vu.process(&half, 1);
    feed(vu, 0.0f, 100000);
    EXPECT_EQ(vu.readLevel(), 0.5f);

    // After the read each silent sample multiplies the level by the release.
    float expected = 0.5f;
    for (int i = 0; i < 10; ++i) {
        feed(vu, 0.0f, 1);
        expected *= coef;
        ASSERT_EQ(vu.readLevel(), expected) << i;
    }

    // A lower sample does not stop the release; a higher one is held again.
    feed(vu, 0.1f, 1);
    EXPECT_EQ(vu.readLevel(), expected * coef);
    feed(vu, 0.7f, 1);
    feed(vu, 0.0f, 5000);
    EXPECT_EQ(vu.readLevel(), 0.7f);

    // After a long silence the level stops at its floor.
    feed(vu, 0.0f, 200000);
    EXPECT_LE(vu.readLevel(), 1e-8f);
    EXPECT_GT(vu.readLevel(), 0.0f);
}

TEST(Vu, ValleyModeFollowsMinimaUpToTheCeiling)
{
    CVu vu;
    vu.setDecay(0.01f, 44100.0f, 1);
    vu.setCeiling(0.8f);
    vu.setMode(true);
    EXPECT_EQ(vu.readLevel(), 0.8f);

    feed(vu, 0.25f, 1);
    feed(vu, 0.5f, 1000);
    EXPECT_EQ(vu.readLevel(), 0.25f) << "a valley is held until read";

    const float rise = vu.getRiseCoefficient();
    feed(vu, 0.5f, 1);
    EXPECT_EQ(vu.readLevel(), 0.25f * rise);
    feed(vu, 0.9f, 100000);
    EXPECT_EQ(vu.readLevel(), 0.8f) << "never above the ceiling";

    // Silence bottoms out at 1e-8 rather than 0.
    feed(vu, 0.0f, 1);
    EXPECT_EQ(vu.readLevel(), 1e-8f);
}

TEST(Vu, SettingTheCurrentModeKeepsTheLevelAndSwitchingResets)
{
    CVu vu;
    feed(vu, 0.3f, 1);
    vu.setMode(false);
    EXPECT_EQ(vu.readLevel(), 0.3f);

    vu.setMode(true);
    EXPECT_EQ(vu.readLevel(), 1.0f);
    vu.setMode(false);
    EXPECT_EQ(vu.readLevel(), 1e-8f);
}

TEST(Vu, DecimationStretchesEachStep)
{
    CVu full;
    CVu decimated;
    full.setDecay(0.05f, 48000.0f, 1);
    decimated.setDecay(0.05f, 48000.0f, 8);
    EXPECT_NEAR(std::pow(full.getReleaseCoefficient(), 8.0f), decimated.getReleaseCoefficient(),
                1e-6);

    // Times, rates and decimations out of range give usable, stable values.
    struct Case
    {
        float seconds;
        float rate;
        int decimation;
    };
    for (const Case& c : {Case{0.0f, 44100.0f, 1}, Case{kNaN, kNaN, 0}, Case{1.0f, 1e9f, -3},
                          Case{-1.0f, 0.0f, 1}}) {
        CVu vu;
        vu.setDecay(c.seconds, c.rate, c.decimation);
        EXPECT_GE(vu.getReleaseCoefficient(), 0.0f);
        EXPECT_LE(vu.getReleaseCoefficient(), 1.0f);
        EXPECT_GE(vu.getRiseCoefficient(), 1.0f);
        EXPECT_TRUE(std::isfinite(vu.getRiseCoefficient()) || c.seconds <= 0.0f ||
                    c.seconds != c.seconds);
    }
}

TEST(Vu, NonFiniteSamplesCountAsSilence)
{
    for (bool valley : {false, true}) {
        CVu vu;
        vu.setMode(valley);
        const float block[] = {0.5f, kInf, kNaN, -kInf, 0.25f};
        vu.process(block, 5);
        vu.process(nullptr, 10);
        vu.process(block, -1);
        const float level = vu.readLevel();
        EXPECT_TRUE(std::isfinite(level)) << valley;
        EXPECT_EQ(level, valley ? 1e-8f : 0.5f) << valley;
    }
}

struct AnalogRun
{
    std::vector<float> levels;

    AnalogRun(CAnalogVu& vu, float value, int count, int step = 1)
    {
        const std::vector<float> block(static_cast<size_t>(step), value);
        for (int i = 0; i < count; ++i) {
            vu.process(block.data(), step);
            levels.push_back(vu.getLevel());
        }
    }
};

TEST(AnalogVu, RisesThroughTwoStagesAndFallsExponentially)
{
    CAnalogVu vu;
    vu.setTimes(0.1f, 0.5f, 44100.0f, 1);
    const AnalogRun rise(vu, 1.0f, 44100);
    for (size_t i = 1; i < rise.levels.size(); ++i)
        ASSERT_GE(rise.levels[i], rise.levels[i - 1]) << i;
    // Two cascaded stages with time constant rise/2: 1 - 3 e^-2 after the
    // rise time.
    EXPECT_NEAR(rise.levels[4409], 1.0 - 3.0 * std::exp(-2.0), 2e-3);
    EXPECT_NEAR(rise.levels.back(), 1.0f, 1e-4);

    // Once the input stops the display falls by exactly the fall
    // coefficient per sample while the stages lie below it.
    const float fall = vu.getFallCoefficient();
    EXPECT_NEAR(fall, std::exp(-1.0 / 22050.0), 1e-7);
    AnalogRun decay(vu, 0.0f, 2000);
    decay.levels.insert(decay.levels.begin(), rise.levels.back());
    size_t firstFall = decay.levels.size();
    for (size_t i = decay.levels.size() - 1; i > 0 && decay.levels[i] == fall * decay.levels[i - 1];
         --i)
        firstFall = i;
    EXPECT_LT(firstFall, 500u) << "the stages fall faster than the display after a short while";
    EXPECT_NEAR(decay.levels.back(),
                decay.levels[firstFall - 1] * std::pow(fall, 2001.0f - firstFall), 1e-5);
}

TEST(AnalogVu, DecimatedFeedReachesTheSameLevelInTheSameTime)
{
    CAnalogVu full;
    CAnalogVu decimated;
    full.setTimes(0.065f, 0.5f, 48000.0f, 1);
    decimated.setTimes(0.065f, 0.5f, 48000.0f, 4);
    // 50 ms of signal: every sample versus one sample in four.
    const AnalogRun a(full, 0.8f, 2400);
    const AnalogRun b(decimated, 0.8f, 600);
    EXPECT_NEAR(a.levels.back(), b.levels.back(), 0.02f);
}

TEST(AnalogVu, BadInputLeavesTheMeterWorking)
{
    CAnalogVu vu;
    vu.setTimes(kNaN, -1.0f, kNaN, 0);
    const float block[] = {kNaN, kInf, -kInf, 0.5f};
    vu.process(block, 4);
    vu.process(nullptr, 4);
    vu.process(block, 0);
    EXPECT_TRUE(std::isfinite(vu.getLevel()));
    EXPECT_GT(vu.getLevel(), 0.0f);
    vu.reset();
    EXPECT_EQ(vu.getLevel(), 0.0f);
}
} // namespace
