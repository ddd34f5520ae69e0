#pragma once

// Input guard for the blocks that keep long memories (reverb lines, error
// and level filters): a NaN, an infinity or a value so large that the
// block's own arithmetic would overflow counts as silence, so one bad
// sample cannot poison the state for good. Every real signal passes
// unchanged.

#include "dsp/NumericHelpers.h"

// Far beyond any audio level, and small enough that a few products and sums
// of it stay finite.
constexpr float kLargestSignal = 1e15f;

// x, or 0 for NaN, infinities and magnitudes above kLargestSignal.
inline float signalOrSilence(float x)
{
    return absValue(x) <= kLargestSignal ? x : 0.0f;
}
