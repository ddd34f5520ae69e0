// The arctangent and tangent of our own: within a few units in the last
// place of the C library's, and, rounded to float as the designs round them,
// the same values, so the designs built on them did not move.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "dsp/FirstOrder.h"
#include "dsp/PortableMath.h"

namespace {

// Distance in units in the last place between two doubles of one sign.
int64_t ulps(double a, double b)
{
    int64_t ia, ib;
    std::memcpy(&ia, &a, sizeof(a));
    std::memcpy(&ib, &b, sizeof(b));
    return ia > ib ? ia - ib : ib - ia;
}

TEST(PortableMath, ArctangentWithinThreeUlpsEverywhere)
{
    int64_t worst = 0;
    for (double e = -300; e <= 300; e += 0.0173) {
        for (double sign : {1.0, -1.0}) {
            const double x = sign * std::pow(10.0, e / 10.0);
            const int64_t d = ulps(portableAtan(x), std::atan(x));
            worst = std::max(worst, d);
            ASSERT_LE(d, 3) << x;
        }
    }
    std::printf("largest difference %lld ulp\n", static_cast<long long>(worst));
    EXPECT_EQ(portableAtan(0.0), 0.0);
    EXPECT_TRUE(std::signbit(portableAtan(-0.0)));
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(portableAtan(infinity), std::atan(infinity));
    EXPECT_EQ(portableAtan(-infinity), -std::atan(infinity));
    EXPECT_TRUE(std::isnan(portableAtan(NAN)));
    EXPECT_LE(ulps(portableAtan(1.0), std::atan(1.0)), 1);
}

TEST(PortableMath, TangentWithinFourUlpsOverTheDesignsRange)
{
    int64_t worst = 0;
    for (double x = -1.57079; x <= 1.57079; x += 0.0000731) {
        const double expected = std::tan(x);
        if (expected == 0.0)
            continue;
        const int64_t d = ulps(std::fabs(portableTan(x)), std::fabs(expected));
        worst = std::max(worst, d);
        ASSERT_LE(d, 4) << x;
        ASSERT_EQ(std::signbit(portableTan(x)), std::signbit(expected)) << x;
    }
    std::printf("largest difference %lld ulp\n", static_cast<long long>(worst));
    // Beyond one period, and where it is not defined.
    for (double x : {3.0, -4.5, 100.0, 12345.678})
        EXPECT_LE(ulps(std::fabs(portableTan(x)), std::fabs(std::tan(x))), 8) << x;
    EXPECT_GT(std::fabs(portableTan(1.5707963267948966)), 1e15);
    EXPECT_TRUE(std::isnan(portableTan(NAN)));
    EXPECT_TRUE(std::isnan(portableTan(INFINITY)));
    EXPECT_TRUE(std::isnan(portableTan(1e7)));
}

// The engine's smoother at every rate it runs at, and a dense set of float
// arguments, give the same float as the C library's functions did.
TEST(PortableMath, RoundedToFloatTheDesignsAreUnchanged)
{
    for (int rate = 22050; rate <= 192000; ++rate) {
        const float x =
            3.1415927f * floorFrequency(timeConstantFrequency(0.025f, static_cast<float>(rate)));
        const float before = static_cast<float>(std::exp(
            static_cast<double>(-2.0f * static_cast<float>(std::atan(static_cast<double>(x))))));
        ASSERT_EQ(onePoleCoefficient(timeConstantFrequency(0.025f, static_cast<float>(rate))),
                  before)
            << rate;
    }
    int atanDiffer = 0;
    int tanDiffer = 0;
    int tried = 0;
    for (float x = 1e-7f; x < 1e7f; x *= 1.0001f) {
        ++tried;
        atanDiffer += static_cast<float>(portableAtan(x)) !=
                      static_cast<float>(std::atan(static_cast<double>(x)));
        if (x < 1.5707f)
            tanDiffer += static_cast<float>(portableTan(x)) !=
                         static_cast<float>(std::tan(static_cast<double>(x)));
    }
    EXPECT_EQ(atanDiffer, 0) << "of " << tried;
    EXPECT_EQ(tanDiffer, 0) << "of " << tried;
}

} // namespace
