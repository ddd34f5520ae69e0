// Shared helpers for the tests that drive the built plug-in: loading it,
// test signals, block-wise rendering, and a reference engine driven directly.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Vantelor.h"
#include "tests/support/BuiltPlugin.h"
#include "tools/host/PluginInstance.h"

namespace harness {
struct Stereo
{
    std::vector<float> left;
    std::vector<float> right;

    explicit Stereo(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
};

inline std::string pluginPath()
{
    return vantelor_test::kBuiltPluginPath;
}

// Distinct material on each input: a swept tone on the left, noise bursts on
// the right, both from a fixed seed.
inline Stereo testSignal(size_t frames, uint32_t seed = 1)
{
    Stereo s(frames);
    uint32_t state = seed;
    for (size_t i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i);
        s.left[i] = 0.5f * std::sin(0.002f * t + 0.00002f * t * t * 0.01f) * std::sin(0.05f * t);
        state = state * 1664525u + 1013904223u;
        const float noise = static_cast<float>(state >> 8) / 16777216.0f - 0.5f;
        s.right[i] = ((i / 2000) % 2 == 0) ? noise : 0.0f;
    }
    return s;
}

// Renders `input` through `process` (any callable taking float**, float**,
// int32_t) in blocks of `block` frames.
template <typename Process>
Stereo renderBlocks(Process&& process, const Stereo& input, int block)
{
    Stereo in = input;
    Stereo out(input.frames());
    for (size_t start = 0; start < input.frames(); start += static_cast<size_t>(block)) {
        const int32_t n = static_cast<int32_t>(
            std::min<size_t>(static_cast<size_t>(block), input.frames() - start));
        float* inputs[2] = {in.left.data() + start, in.right.data() + start};
        float* outputs[2] = {out.left.data() + start, out.right.data() + start};
        process(inputs, outputs, n);
    }
    return out;
}

inline Stereo render(vst2host::PluginInstance& plugin, const Stereo& input, int block = 512)
{
    return renderBlocks([&](float** i, float** o, int32_t n) { plugin.process(i, o, n); }, input,
                        block);
}

inline Stereo render(CVantelor& engine, const Stereo& input, int block = 512)
{
    return renderBlocks([&](float** i, float** o, int32_t n) { engine.process(i, o, n); }, input,
                        block);
}

// The placement of one factory program in units, in parameter order.
struct Placement
{
    float aziL, elevL, activeL, widthL, aziR, elevR, activeR, widthR;
};

// Drives a reference engine as the plug-in drives its own: degrees,
// switches, widths as fractions.
inline void place(CVantelor& engine, const Placement& p)
{
    engine.setAzimuth(p.aziL, 0);
    engine.setElevation(p.elevL, 0);
    engine.setActive(p.activeL > 0.5f, 0);
    engine.setWidth(p.widthL / 100.0f, 0);
    engine.setAzimuth(p.aziR, 1);
    engine.setElevation(p.elevR, 1);
    engine.setActive(p.activeR > 0.5f, 1);
    engine.setWidth(p.widthR / 100.0f, 1);
}

constexpr Placement kDefaultPlacement{-30, 0, 1, 0, 30, 0, 1, 0};

inline bool isSubnormal(float v)
{
    return std::fpclassify(v) == FP_SUBNORMAL;
}

// First frame that is NaN, infinite or subnormal, or -1.
inline long firstBadSample(const Stereo& s)
{
    for (size_t i = 0; i < s.frames(); ++i)
        for (float v : {s.left[i], s.right[i]})
            if (!std::isfinite(v) || isSubnormal(v))
                return static_cast<long>(i);
    return -1;
}
} // namespace harness
