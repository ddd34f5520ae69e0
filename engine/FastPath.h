#pragma once

// The engine's block renderers: the panners of a block in pairs, with the
// arithmetic of CCCPanner::processSample kept operation for operation, so
// every output sample and every memory at the end of a block is the bit
// the per-sample panner gives.
//
// One source, compiled once for the x86-64 baseline (SSE2) and once for
// processors with AVX2; the engine picks one when it is constructed. Only
// plain data crosses this header, so nothing compiled for AVX2 can end up
// in code that runs on an older processor.

#include <cstdint>

#include "dsp/NumericHelpers.h"

namespace fast_path
{
// Longest block a renderer takes in one call.
constexpr int kMaxFrames = 128;

// A biquad's run-time coefficients and its two memories.
struct Section
{
    float b0, b1, b2, a1, a2, s1, s2;
};

// A delay ring as the panner steps it: write at the next index, read
// `delay` entries back.
struct Ring
{
    float* samples;
    uint32_t mask;
    uint32_t delay;
    uint32_t index;
};

// One panner for one block.
struct PannerBlock
{
    float azimuth;
    float smootherCoefficient;
    float smootherState;
    float smoothedAzimuth;
    Section bassShelf, elevationPeak, elevationShelf, crossShelfA, farShelf, crossShelfB;
    Ring farDelay, crossDelayA, crossDelayB;
    // In: the generator state of the block's first draw. Out: of its last.
    uint32_t noiseState;
};

// Renders `frames` (1..kMaxFrames) frames of `count` panners (1 or 2) and
// adds their outputs to `sums` (left and right interleaved, one pair per
// frame), the first panner's before the second's. A panner draws its noise
// every frame; from one draw to its next the generator moves on by
// `stride`.
using PairRenderer = void (*)(PannerBlock* const* panners, int count, const float* const* inputs, float* sums,
                              int32_t frames, CNoiseJump stride);

void renderPairSse2(PannerBlock* const* panners, int count, const float* const* inputs, float* sums,
                    int32_t frames, CNoiseJump stride);
void renderPairAvx2(PannerBlock* const* panners, int count, const float* const* inputs, float* sums,
                    int32_t frames, CNoiseJump stride);

// Whether this processor runs the AVX2 renderer.
bool hasAvx2();
} // namespace fast_path
