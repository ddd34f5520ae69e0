#pragma once

// Per-sample arithmetic written once for every sample type: a float, or a
// vector of floats in the compilers' portable vector types, where each lane
// is one sample. A vector lane rounds exactly as the float code does (same
// operations, same order, no contraction), so the per-sample blocks and the
// block renderers that run many samples side by side give the same bits.
//
// Everything here has internal linkage and is always inlined: a renderer
// compiled for a newer instruction set instantiates these for its own
// vectors, and the linker must never pick such a copy for code built for
// the baseline.

#include <climits>
#include <cmath>
#include <cstdint>
#include <type_traits>

#define LANE_INLINE static inline __attribute__((always_inline))

namespace lanes {
// A float, or an integer vector of the same shape as a float vector: what a
// comparison of two T gives.
template <class T>
using Mask = decltype(T{} < T{});

template <class T>
constexpr bool kScalar = std::is_same_v<T, float>;

// x in every lane.
template <class T>
LANE_INLINE T splat(float x)
{
    if constexpr (kScalar<T>) {
        return x;
    } else {
        T v;
        for (unsigned i = 0; i < sizeof v / sizeof x; ++i)
            v[i] = x;
        return v;
    }
}

// |x|, by clearing the sign bit (a NaN stays a NaN).
template <class T>
LANE_INLINE T magnitude(T x)
{
    if constexpr (kScalar<T>)
        return std::fabs(x);
    else
        return (T)((Mask<T>)x & 0x7FFFFFFF);
}

// Truncation toward zero as the processor's conversion does it: a value
// outside the int range, or a NaN, gives the integer-indefinite value
// INT_MIN.
template <class T>
LANE_INLINE auto truncate(T x)
{
    if constexpr (kScalar<T>) {
        if (x >= -2147483648.0f && x < 2147483648.0f)
            return static_cast<int>(x);
        return INT_MIN;
    } else {
        typedef Mask<T> I;
        const I inRange = (x >= splat<T>(-2147483648.0f)) & (x < splat<T>(2147483648.0f));
        // Lanes out of range convert a zero, so no lane's conversion is
        // undefined, and then take INT_MIN.
        const I i = __builtin_convertvector(inRange ? x : splat<T>(0.0f), I);
        return (inRange & i) | (~inRange & INT_MIN);
    }
}

template <class T, class I>
LANE_INLINE T toFloat(I i)
{
    if constexpr (kScalar<T>)
        return static_cast<float>(i);
    else
        return __builtin_convertvector(i, T);
}

// Radians to turns: 1 / (2 pi) in single precision.
constexpr float kTurnsPerRadian = 0.15915494f;

// Piecewise-parabolic sine with period 2*pi: exact at multiples of pi/2,
// 0.75 at pi/4. An argument too large for one turn to be resolved (or a NaN)
// lies on a whole turn as far as single precision can tell, and gives 0.
template <class T>
LANE_INLINE T sine(T x)
{
    const T ph = x * kTurnsPerRadian;
    const auto i = truncate(ph);
    const T diff = ph - toFloat<T>(i);
    T frac = ph >= splat<T>(0.0f) ? diff : diff + 1.0f;
    frac = i == INT_MIN ? splat<T>(0.0f) : frac;
    const T t = 4.0f * frac;
    const T upper = (t - 3.0f) * (t - 3.0f) - 1.0f;
    const T lower = (2.0f - t) * t;
    return t >= splat<T>(2.0f) ? upper : lower;
}

// One step of a biquad in transposed direct form II: the output, and the two
// memories for the next step.
template <class T>
struct BiquadStep
{
    T y, s1, s2;
};

template <class T>
LANE_INLINE BiquadStep<T> biquadStep(T x, T b0, T b1, T b2, T a1, T a2, T s1, T s2)
{
    const T y = b0 * x + s1;
    return {y, b1 * x - a1 * y + s2, b2 * x - a2 * y};
}

// One step of a one-pole low-pass: memory = (1 - c) x + c memory, written
// with two multiplies fewer.
template <class T>
LANE_INLINE T onePoleStep(T memory, T x, T c)
{
    return (memory - x) * c + x;
}
} // namespace lanes
