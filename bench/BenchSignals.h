// Input shared by the per-sample block benchmarks: a block of noise, the same
// on every run.
#pragma once

#include <vector>

#include "dsp/NumericHelpers.h"

namespace bench_signals {
constexpr int kBlock = 4096;

inline std::vector<float> noiseBlock()
{
    CNoiseGenerator generator;
    std::vector<float> block(kBlock);
    for (float& v : block)
        v = static_cast<float>(randomInt(generator) - 16384) * (1.0f / 32768.0f);
    return block;
}
} // namespace bench_signals
