#pragma once

// The decorrelator's block walks over its rings, written once for every
// vector width: the all-pass sections and the final delay touch each ring
// entry once per frame, so a run of frames that wraps no ring is a pass of
// independent lanes, as wide as the processor has. Each lane does the
// per-sample arithmetic (same operations, same order), so every width
// gives the bits of the per-sample walk.
//
// Everything here is plain data or has internal linkage and is always
// inlined (see LaneMath.h): the engine's renderers instantiate these for
// their own vectors.

#include <cstdint>
#include <cstring>

#include "dsp/LaneMath.h"

#if defined(__AVX512VL__)
#include <immintrin.h>
#endif

namespace ring_walk {
// An all-pass section as a block steps it: `length` entries of `ring`
// walked from `index`, v = g s + x, y = s - g v, the entry becoming v.
struct Allpass
{
    float* ring;
    int32_t length;
    int32_t index;
    float coefficient;
};

// A plain delay as a block steps it: the write position moves on by one
// each frame and the read lies `delay` entries behind it.
struct Delay
{
    float* ring;
    int32_t mask;
    int32_t delay;
    int32_t index;
};

// The decorrelator over a block: its sections in order, then its delay.
struct Chain
{
    static constexpr int kMaxStages = 8;
    Allpass stages[kMaxStages];
    int stageCount;
    Delay delay;
};

// How a step reads and writes its group of lanes. Their members are
// always inlined, and the types are local to each file that includes this,
// like the functions here.
#define RING_WALK_MEMBER inline __attribute__((always_inline))

namespace {
// Whole groups of lanes: T read and written as it lies in memory.
template <class T>
struct Lanes
{
    using Type = T;
    RING_WALK_MEMBER T load(const float* p)
    {
        T v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    RING_WALK_MEMBER void store(float* p, T v) { std::memcpy(p, &v, sizeof v); }
};

#if defined(__AVX512VL__)
// The lanes of eight that `mask` selects (the first few): the others are
// neither read nor written, so a run's last few entries take one group,
// not a tail of narrower ones.
struct FirstLanes
{
    typedef float Type __attribute__((vector_size(32)));
    __mmask8 mask;
    RING_WALK_MEMBER Type load(const float* p) { return (Type)_mm256_maskz_loadu_ps(mask, p); }
    RING_WALK_MEMBER void store(float* p, Type v) { _mm256_mask_storeu_ps(p, mask, (__m256)v); }
};
#endif
} // namespace

#undef RING_WALK_MEMBER

// n entries in place, V-wide while n allows, then the rest: in one masked
// group of eight where the processor has them (AVX-512), else four at a
// time, then one by one. `step(t, lanes)` does the group at t with Lanes<T> or FirstLanes.
template <class V, class Step>
LANE_INLINE void lanesOf(int32_t n, Step step)
{
    typedef float F4 __attribute__((vector_size(16)));
    constexpr int32_t kWidth = static_cast<int32_t>(sizeof(V) / sizeof(float));
    int32_t t = 0;
    for (; t + kWidth <= n; t += kWidth)
        step(t, Lanes<V>{});
#if defined(__AVX512VL__)
    if constexpr (kWidth == 8) {
        if (t < n)
            step(t, FirstLanes{static_cast<__mmask8>((1u << (n - t)) - 1u)});
        return;
    }
#endif
    if constexpr (kWidth > 4)
        for (; t + 4 <= n; t += 4)
            step(t, Lanes<F4>{});
    for (; t < n; ++t)
        step(t, Lanes<float>{});
}

// The section over `count` samples in place. A position at or beyond the
// length (after the length shrank) takes one frame, then the walk starts
// over.
template <class V>
LANE_INLINE void allpass(Allpass& a, float* samples, int32_t count)
{
    const float g = a.coefficient;
    int32_t index = a.index;
    int32_t i = 0;
    while (i < count) {
        const int32_t run =
            index < a.length ? (count - i < a.length - index ? count - i : a.length - index) : 1;
        float* const entry = a.ring + index;
        float* const x = samples + i;
        lanesOf<V>(run, [&](int32_t t, auto lanes) {
            using T = typename decltype(lanes)::Type;
            const T s = lanes.load(entry + t);
            const T v = g * s + lanes.load(x + t);
            lanes.store(x + t, s - g * v);
            lanes.store(entry + t, v);
        });
        i += run;
        index += run;
        if (index >= a.length)
            index = 0;
    }
    a.index = index;
}

// The delay over `count` samples in place. While it reaches back beyond
// the block, every read finds an entry the block has not written yet, so a
// run that wraps neither position is a pass of independent lanes; a shorter
// delay steps frame by frame.
template <class V>
LANE_INLINE void delay(Delay& d, float* samples, int32_t count)
{
    const uint32_t mask = static_cast<uint32_t>(d.mask);
    if (d.delay < count) {
        uint32_t index = static_cast<uint32_t>(d.index);
        for (int32_t i = 0; i < count; ++i) {
            index = (index + 1u) & mask;
            d.ring[index] = samples[i];
            samples[i] = d.ring[(index - static_cast<uint32_t>(d.delay)) & mask];
        }
        d.index = static_cast<int32_t>(index);
        return;
    }
    const int32_t size = d.mask + 1;
    int32_t write = (d.index + 1) & d.mask;
    int32_t read = (write - d.delay) & d.mask;
    int32_t i = 0;
    while (i < count) {
        int32_t run = count - i;
        run = run < size - write ? run : size - write;
        run = run < size - read ? run : size - read;
        float* const to = d.ring + write;
        const float* const from = d.ring + read;
        float* const x = samples + i;
        lanesOf<V>(run, [&](int32_t t, auto lanes) {
            const auto old = lanes.load(from + t);
            lanes.store(to + t, lanes.load(x + t));
            lanes.store(x + t, old);
        });
        i += run;
        write = (write + run) & d.mask;
        read = (read + run) & d.mask;
    }
    d.index = (d.index + count) & d.mask;
}

// The whole chain over `count` samples in place.
template <class V>
LANE_INLINE void chain(Chain& c, float* samples, int32_t count)
{
    if (count <= 0)
        return;
    for (int j = 0; j < c.stageCount; ++j)
        allpass<V>(c.stages[j], samples, count);
    delay<V>(c.delay, samples, count);
}
} // namespace ring_walk
