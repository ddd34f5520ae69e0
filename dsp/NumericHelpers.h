#pragma once

// Small numeric helpers shared by the DSP blocks, the engine and the editor's
// controls. Everything here is inline, allocation-free and safe to call from
// the audio thread.

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "dsp/LaneMath.h"
#include "dsp/PortableMath.h"

// Linear congruential generator (the multiplier and increment of the common C
// runtime's rand) used for dither and for the tiny noise that keeps decaying
// signals away from denormal numbers. Each user owns one, starting at 0, so a
// render is deterministic and instances never disturb each other.
// Not thread-safe: one generator belongs to one processing thread.
class CNoiseGenerator
{
public:
    static constexpr uint32_t kMultiplier = 214013u;
    static constexpr uint32_t kIncrement = 2531011u;

    // Advances the state (modulo 2^32) and returns the new state.
    uint32_t next()
    {
        state = state * kMultiplier + kIncrement;
        return state;
    }

    uint32_t getState() const { return state; }
    void setState(uint32_t value) { state = value; }

private:
    uint32_t state = 0;
};

// Several steps of the generator as one: state * multiplier + increment
// (modulo 2^32) is where `steps` calls of next() would leave the state. A
// user that draws every n-th state, or a block of draws at once, moves on
// with these constants and stays exact.
struct CNoiseJump
{
    uint32_t multiplier = 1u;
    uint32_t increment = 0u;

    // `count` steps (none for 0 or less), by squaring.
    static constexpr CNoiseJump steps(int count)
    {
        CNoiseJump jump;
        CNoiseJump step{CNoiseGenerator::kMultiplier, CNoiseGenerator::kIncrement};
        for (; count > 0; count >>= 1) {
            if ((count & 1) != 0)
                jump = jump.then(step);
            step = step.then(step);
        }
        return jump;
    }
    // This jump followed by `after`.
    constexpr CNoiseJump then(CNoiseJump after) const
    {
        return {after.multiplier * multiplier, after.multiplier * increment + after.increment};
    }
    constexpr uint32_t apply(uint32_t state) const { return state * multiplier + increment; }
};

// 0..32767, as the C runtime's rand.
inline int randomInt(CNoiseGenerator& generator)
{
    return static_cast<int>((generator.next() >> 16) & 0x7FFFu);
}

// Bit 17 of a generator state, the sign of the denormal noise: 0 or 2.
constexpr uint32_t kNoiseSignShift = 16;
constexpr uint32_t kNoiseSignBit = 2u;
// The size of the noise that keeps signals away from denormal numbers:
// 160 dB below full scale, far below hearing yet some 30 orders of
// magnitude above the denormal range, so no filter memory fed by it ever
// decays into that range.
constexpr float kNoiseLevel = 1e-8f;
// Values strictly within this distance of zero are replaced by noise. It
// equals the level so that the noise itself passes a guard unchanged:
// a guarded signal is never nearer zero than the noise.
constexpr float kNoiseThreshold = kNoiseLevel;

// +1e-8 or -1e-8 from a state the generator has reached; no branch.
inline float noiseFromState(uint32_t state)
{
    const int bit = static_cast<int>((state >> kNoiseSignShift) & kNoiseSignBit);
    return static_cast<float>(bit - 1) * kNoiseLevel;
}

// +1e-8 or -1e-8, from bit 17 of the advanced state.
inline float denormalNoise(CNoiseGenerator& generator)
{
    return noiseFromState(generator.next());
}

// x itself unless it lies strictly within +-1e-8 (a NaN passes through); such
// a near-zero value is replaced by +-1e-8 noise. Draws only when replacing.
inline float denormalGuard(float x, CNoiseGenerator& generator)
{
    if (x >= kNoiseThreshold || x <= -kNoiseThreshold || x != x)
        return x;
    return denormalNoise(generator);
}

// Truncation toward zero as the processor's conversion does it: a value
// outside the int range, or a NaN, gives the integer-indefinite value INT_MIN.
inline int truncateToInt(float x)
{
    return lanes::truncate(x);
}

// Piecewise-parabolic sine with period 2*pi (see lanes::sine).
inline float fastSin(float x)
{
    return lanes::sine(x);
}

inline float fastCos(float x)
{
    return fastSin(x + 1.5707964f);
}

// Floor through integer truncation; values too large for an int (already
// whole) and NaN are returned unchanged.
inline float fastFloor(float x)
{
    const int i = truncateToInt(x);
    if (i == INT_MIN || static_cast<float>(i) == x)
        return x;
    return x < 0.0f ? static_cast<float>(i - 1) : static_cast<float>(i);
}

inline float fastCeil(float x)
{
    const int i = truncateToInt(x);
    if (i == INT_MIN || static_cast<float>(i) == x)
        return x;
    return x > 0.0f ? static_cast<float>(i + 1) : static_cast<float>(i);
}

// Base-2 exponent of n as a float holds it: 0 for n <= 1, 31 from INT_MAX.
// Above 2^24 the conversion rounds to 24 bits, so values just below a power
// of two report that power's exponent.
inline int log2Int(int n)
{
    if (n <= 1)
        return 0;
    if (n >= 2147483647)
        return 31;
    const uint32_t bits = std::bit_cast<uint32_t>(static_cast<float>(n));
    return static_cast<int>((bits >> 23) & 0xFFu) - 127;
}

// 2^n; the shift count is taken modulo 32 as the processor does, so 31 gives
// INT_MIN rather than undefined behaviour.
inline int pow2Int(int n)
{
    return static_cast<int>(1u << (static_cast<unsigned>(n) & 31u));
}

// The largest power of two an int holds; nextPow2 saturates there.
constexpr int kMaxPow2Int = 1 << 30;

// Smallest power of two >= n (1 for n = 1, 2 for n <= 0), at most 2^30.
inline int nextPow2(int n)
{
    if (n <= 0)
        return 2;
    if (n >= kMaxPow2Int)
        return kMaxPow2Int;
    const int p = pow2Int(log2Int(n));
    // log2Int may round up above 2^24, in which case p is already the answer.
    return p >= n ? p : 2 * p;
}

// Every block, the engine and the plug-in accept sample rates from 22050 to
// 192000 Hz; a lower rate, or a NaN, gives 22050.
constexpr float kMinSampleRate = 22050.0f;
constexpr float kMaxSampleRate = 192000.0f;

inline float clampSampleRate(float rate)
{
    if (!(rate >= kMinSampleRate))
        return kMinSampleRate;
    return rate > kMaxSampleRate ? kMaxSampleRate : rate;
}

// Square-root estimate by halving the float's exponent: exact for even
// powers of two, within about 6 % elsewhere. For x >= 0.
inline float fastSqrt(float x)
{
    const int32_t bits = std::bit_cast<int32_t>(x);
    return std::bit_cast<float>((bits >> 1) + 0x1FC00000);
}

template <typename T>
inline T sqr(T x)
{
    return x * x;
}

// Absolute value: the sign bit cleared for floating point; for integers the
// magnitude, saturated so that the most negative value gives the largest.
inline float absValue(float x)
{
    return std::bit_cast<float>(std::bit_cast<uint32_t>(x) & 0x7FFFFFFFu);
}

inline double absValue(double x)
{
    return std::bit_cast<double>(std::bit_cast<uint64_t>(x) & 0x7FFFFFFFFFFFFFFFull);
}

inline int absValue(int x)
{
    return x >= 0 ? x : (x == INT_MIN ? INT_MAX : -x);
}

inline signed char absValue(signed char x)
{
    return x >= 0 ? x : (x == SCHAR_MIN ? SCHAR_MAX : static_cast<signed char>(-x));
}

// For equal arguments both return the second one.
template <typename T>
inline T minValue(T a, T b)
{
    return b > a ? a : b;
}

template <typename T>
inline T maxValue(T a, T b)
{
    return b >= a ? b : a;
}

// FNV-1a over the bits of 32-bit words: a digest of state for tests that
// compare two renderers bit for bit.
constexpr uint64_t kHashStart = 0xCBF29CE484222325ull;

inline uint64_t hashWord(uint64_t hash, uint32_t word)
{
    for (int b = 0; b < 4; ++b) {
        hash ^= (word >> (8 * b)) & 0xFFu;
        hash *= 0x100000001B3ull;
    }
    return hash;
}

inline uint64_t hashWord(uint64_t hash, float value)
{
    return hashWord(hash, std::bit_cast<uint32_t>(value));
}

// Single-precision transcendentals for filter designs: the double-precision
// function of the widened argument, rounded once. The platforms' float
// functions differ in the last place; these give the same coefficient on
// every build. The arctangent is our own (the Windows build would take the
// system runtime's); exp, pow and sin are compiled into every binary.
inline float floatExp(float x)
{
    return static_cast<float>(std::exp(static_cast<double>(x)));
}

inline float floatAtan(float x)
{
    return static_cast<float>(portableAtan(static_cast<double>(x)));
}

inline float floatPow(float base, float exponent)
{
    return static_cast<float>(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
}

inline float floatSin(float x)
{
    return static_cast<float>(std::sin(static_cast<double>(x)));
}
