// The numeric helpers give their documented values, including at the edges
// where a processor conversion or a float's bit pattern decides the result.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cmath>
#include <limits>

#include "dsp/NoiseSigns.h"
#include "dsp/NumericHelpers.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(NoiseGenerator, RandomSequenceFromZero)
{
    CNoiseGenerator g;
    EXPECT_EQ(g.getState(), 0u);
    EXPECT_EQ(randomInt(g), 38);
    EXPECT_EQ(g.getState(), 2531011u);
    EXPECT_EQ(randomInt(g), 7719);

    // The range holds across wrap-around of the state.
    g.setState(0xFFFFFFFFu);
    for (int i = 0; i < 10000; ++i) {
        const int r = randomInt(g);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

// The signs read from the table are the generator's own, from states
// anywhere in the period, including runs that cross the period's end, and
// the place found for a state leads back to it.
TEST(NoiseGenerator, SignsAheadAreTheDrawsSigns)
{
    // State 0 stands at the period's start; states a few steps before it
    // (mod 2^18) make runs that wrap round.
    uint32_t beforeStart = 0;
    for (int i = 0; i < (1 << 18) - 7; ++i)
        beforeStart = beforeStart * CNoiseGenerator::kMultiplier + CNoiseGenerator::kIncrement;
    const struct
    {
        uint32_t state;
        int words;
    } cases[] = {{0u, 1},
                 {beforeStart, 3},
                 {beforeStart | 0xFFFC0000u, 2},
                 {0xFFFFFFFFu, kMaxNoiseSignWords},
                 {0x12345678u, 15},
                 {2531011u, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        uint8_t out[8 * kMaxNoiseSignWords + 1] = {};
        out[8 * c.words] = 0xA5;
        noiseSignsAfter(noisePeriodPlace(c.state), c.words, out);
        CNoiseGenerator g;
        g.setState(c.state);
        for (int q = 0; q < 64 * c.words; ++q)
            ASSERT_EQ((out[q / 8] >> (q % 8)) & 1, denormalNoise(g) > 0.0f ? 1 : 0) << "sign " << q;
        EXPECT_EQ(out[8 * c.words], 0xA5) << "wrote past the words asked for";

        CNoiseGenerator fromZero;
        for (uint32_t step = 0; step < noisePeriodPlace(c.state); ++step)
            fromZero.next();
        EXPECT_EQ(fromZero.getState() & 0x3FFFFu, c.state & 0x3FFFFu);
    }
    EXPECT_EQ(noisePeriodPlace(beforeStart), (1u << 18) - 7u);
}

TEST(NoiseGenerator, DenormalNoiseIsPlusOrMinusOneE8)
{
    CNoiseGenerator g;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(denormalNoise(g), 1e-8f) << i;

    // Both signs occur, and nothing else; each generator has its own sequence.
    CNoiseGenerator a;
    CNoiseGenerator b;
    int positive = 0;
    for (int i = 0; i < 1000; ++i) {
        const float n = denormalNoise(a);
        ASSERT_TRUE(n == 1e-8f || n == -1e-8f) << n;
        positive += n > 0.0f;
    }
    EXPECT_GT(positive, 300);
    EXPECT_LT(positive, 700);
    EXPECT_EQ(denormalNoise(b), 1e-8f);
}

TEST(NoiseGenerator, DenormalGuardReplacesOnlyNearZero)
{
    CNoiseGenerator g;
    for (float x : {1e-9f, -1e-9f, 0.0f, -0.0f, 9.9e-9f, 1e-40f}) {
        const float y = denormalGuard(x, g);
        EXPECT_TRUE(y == 1e-8f || y == -1e-8f) << x;
    }
    const uint32_t before = g.getState();
    for (float x : {2e-8f, -2e-8f, 1e-8f, -1e-8f, 1.0f, -kInf})
        EXPECT_EQ(denormalGuard(x, g), x);
    EXPECT_TRUE(std::isnan(denormalGuard(kNaN, g)));
    // Values that pass through draw nothing.
    EXPECT_EQ(g.getState(), before);
}

TEST(NumericHelpers, ParabolicSine)
{
    const float pi = 3.1415927f;
    struct Case
    {
        float x;
        float expected;
    };
    const Case cases[] = {
        {0.0f, 0.0f},
        {pi / 2, 1.0f},
        {-pi / 2, -1.0f},
        {pi, 0.0f},
        {3 * pi / 2, -1.0f},
        {pi / 4, 0.75f},
        {-2 * pi, 0.0f},
        {2 * pi + pi / 2, 1.0f},
        {-pi / 4, -0.75f},
        {-3 * pi / 2, 1.0f},
        // Beyond what one turn can resolve, and NaN: a whole turn.
        {1e12f, 0.0f},
        {-1e12f, 0.0f},
        {kNaN, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(fastSin(c.x), c.expected, 2e-6f) << c.x;
    EXPECT_NEAR(fastCos(0.0f), 1.0f, 1e-6f);
    EXPECT_NEAR(fastCos(pi), -1.0f, 2e-6f);

    // Bounded by 1 and within 6 % of the sine over several turns.
    for (int i = -2000; i <= 2000; ++i) {
        const float x = static_cast<float>(i) * 0.01f;
        const float s = fastSin(x);
        ASSERT_LE(std::fabs(s), 1.0f) << x;
        ASSERT_NEAR(s, std::sin(x), 0.06f) << x;
    }
}

TEST(NumericHelpers, FloorAndCeiling)
{
    struct Case
    {
        float x;
        float floor;
        float ceil;
    };
    const Case cases[] = {
        {-1.5f, -2.0f, -1.0f},
        {2.0f, 2.0f, 2.0f},
        {1.2f, 1.0f, 2.0f},
        {-1.2f, -2.0f, -1.0f},
        {-0.5f, -1.0f, 0.0f},
        {0.5f, 0.0f, 1.0f},
        {3e9f, 3e9f, 3e9f},
        {-3e9f, -3e9f, -3e9f},
        {-2147483648.0f, -2147483648.0f, -2147483648.0f},
        {8388607.5f, 8388607.0f, 8388608.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fastFloor(c.x), c.floor) << c.x;
        EXPECT_EQ(fastCeil(c.x), c.ceil) << c.x;
    }
    EXPECT_TRUE(std::isnan(fastFloor(kNaN)));
    EXPECT_EQ(fastFloor(-kInf), -kInf);
    EXPECT_EQ(truncateToInt(kNaN), INT_MIN);
    EXPECT_EQ(truncateToInt(2147483648.0f), INT_MIN);
    EXPECT_EQ(truncateToInt(-7.9f), -7);
}

TEST(NumericHelpers, PowersOfTwo)
{
    struct Case
    {
        int n;
        int log2;
        int next;
    };
    const Case cases[] = {
        {1000, 9, 1024},
        {1024, 10, 1024},
        {1025, 10, 2048},
        {1, 0, 1},
        {0, 0, 2},
        {-5, 0, 2},
        {2, 1, 2},
        {3, 1, 4},
        {192001, 17, 262144},
        // Rounded to 24 bits, this reports the power above it.
        {(1 << 25) - 1, 25, 1 << 25},
        {(1 << 30) + 1, 30, 1 << 30},
        {INT_MAX, 31, 1 << 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(log2Int(c.n), c.log2) << c.n;
        EXPECT_EQ(nextPow2(c.n), c.next) << c.n;
    }
    EXPECT_EQ(pow2Int(0), 1);
    EXPECT_EQ(pow2Int(10), 1024);
    EXPECT_EQ(pow2Int(31), INT_MIN);
}

TEST(NumericHelpers, SquareRootEstimate)
{
    EXPECT_EQ(fastSqrt(4.0f), 2.0f);
    EXPECT_EQ(fastSqrt(16.0f), 4.0f);
    EXPECT_EQ(fastSqrt(0.25f), 0.5f);
    EXPECT_EQ(fastSqrt(2.0f), 1.5f);
    for (float x = 0.01f; x < 1000.0f; x *= 1.37f)
        EXPECT_NEAR(fastSqrt(x) / std::sqrt(x), 1.0f, 0.065f) << x;
}

TEST(NumericHelpers, AbsMinMax)
{
    EXPECT_EQ(absValue(-2.5f), 2.5f);
    EXPECT_FALSE(std::signbit(absValue(-0.0f)));
    EXPECT_EQ(absValue(-2.5), 2.5);
    // Integers give their magnitude, not a cleared sign bit.
    EXPECT_EQ(absValue(-1), 1);
    EXPECT_EQ(absValue(INT_MIN), INT_MAX);
    EXPECT_EQ(absValue(static_cast<signed char>(-128)), 127);
    EXPECT_EQ(absValue(static_cast<signed char>(-5)), 5);

    EXPECT_EQ(minValue(1, 2), 1);
    EXPECT_EQ(maxValue(1, 2), 2);
    EXPECT_EQ(minValue(2.0, 1.0), 1.0);
    EXPECT_EQ(maxValue(2.0f, 1.0f), 2.0f);
    // Equal values: the second argument.
    EXPECT_TRUE(std::signbit(minValue(0.0f, -0.0f)));
    EXPECT_TRUE(std::signbit(maxValue(0.0f, -0.0f)));
    EXPECT_EQ(sqr(-3), 9);
}
} // namespace
