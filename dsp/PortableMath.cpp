#include "dsp/PortableMath.h"

#include <cmath>
#include <limits>

namespace {
// pi/2 in two parts: the first has 31 significant bits, so k * kPiHalfHigh is
// exact for |k| < 2^22; their sum is pi/2 to within 4e-27.
constexpr double kPiHalfHigh = 1.5707963267341256;
constexpr double kPiHalfLow = 6.077100506506192e-11;
constexpr double kPiHalf = 1.5707963267948966;
constexpr double kPiQuarter = 0.7853981633974483;
constexpr double kTanPiEighth = 0.41421356237309503;

// Coefficients of the series below: (-1)^n / (2n + 1) for atan,
// (-1)^n / (2n + 1)! for sin and (-1)^n / (2n)! for cos, n = 1..kTerms.
constexpr int kTerms = 14;
struct Series
{
    double atan[kTerms];
    double sin[kTerms];
    double cos[kTerms];
};
constexpr Series makeSeries()
{
    Series s{};
    double sinFactorial = 1.0;
    double cosFactorial = 1.0;
    for (int n = 1; n <= kTerms; ++n) {
        const double sign = n % 2 == 1 ? -1.0 : 1.0;
        s.atan[n - 1] = sign / static_cast<double>(2 * n + 1);
        sinFactorial *= static_cast<double>(2 * n) * static_cast<double>(2 * n + 1);
        s.sin[n - 1] = sign / sinFactorial;
        cosFactorial *= static_cast<double>(2 * n - 1) * static_cast<double>(2 * n);
        s.cos[n - 1] = sign / cosFactorial;
    }
    return s;
}
constexpr Series kSeries = makeSeries();

// sum of c[n-1] u^n for n = 1..kTerms, by Horner's rule.
double polynomial(const double* c, double u)
{
    double sum = 0.0;
    for (int n = kTerms; n >= 1; --n)
        sum = c[n - 1] + u * sum;
    return u * sum;
}

// atan on |t| <= 0.21: t - t^3/3 + t^5/5 - ...
double atanSeries(double t)
{
    return t + t * polynomial(kSeries.atan, t * t);
}

// sin and cos on |y| <= pi/4 by their Taylor series.
double sinSeries(double y)
{
    return y + y * polynomial(kSeries.sin, y * y);
}

double cosSeries(double y)
{
    return 1.0 + polynomial(kSeries.cos, y * y);
}

} // namespace

double portableAtan(double x)
{
    // NaN passes through, and zero keeps its sign.
    if (x != x || x == 0.0)
        return x;
    const bool negative = x < 0.0;
    double a = negative ? -x : x;
    // atan(a) = pi/2 - atan(1/a) above 1.
    const bool inverted = a > 1.0;
    if (inverted)
        a = 1.0 / a;
    // atan(a) = pi/4 + atan((a - 1) / (a + 1)) above tan(pi/8).
    const bool shifted = a > kTanPiEighth;
    if (shifted)
        a = (a - 1.0) / (a + 1.0);
    // atan(t) = 2 atan(t / (1 + sqrt(1 + t^2))) brings |t| under 0.21.
    const double half = a / (1.0 + std::sqrt(1.0 + a * a));
    double r = 2.0 * atanSeries(half);
    if (shifted)
        r = kPiQuarter + r;
    if (inverted)
        r = kPiHalf - r;
    return negative ? -r : r;
}

double portableTan(double x)
{
    if (!(x - x == 0.0) || !(x < 1e6 && x > -1e6))
        return std::numeric_limits<double>::quiet_NaN();
    // x = k pi/2 + y with |y| <= pi/4 (k rounded half away from zero).
    const double q = x / kPiHalf;
    const double k = static_cast<double>(static_cast<long long>(q >= 0.0 ? q + 0.5 : q - 0.5));
    const double y = (x - k * kPiHalfHigh) - k * kPiHalfLow;
    const bool odd = static_cast<long long>(k) % 2 != 0;
    const double s = sinSeries(y);
    const double c = cosSeries(y);
    return odd ? -c / s : s / c;
}
