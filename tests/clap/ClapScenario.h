// A seeded run of a factory program with value and modulation events at
// random frames of random blocks, and what the engine must hear at each: the
// host's value plus its modulation, clamped to the range. Every value is one
// that both formats carry exactly (a VST 2.4 normalised value whose units are
// the same float), so the two renders can be compared bit for bit. Shared by
// the tests and by the render program both builds make.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "product/VantelorDescription.h"

namespace clap_test {

struct Change
{
    uint32_t frame; // inside its block
    bool modulation;
    int32_t index;
    double amount; // the value in units, or the modulation amount
    float heard;   // what the engine hears from this frame on, in units
};

struct Block
{
    uint32_t frames;
    std::vector<Change> changes; // in frame order
};

struct Scenario
{
    int program;
    double rate;
    std::vector<Block> blocks;
};

class Random
{
public:
    explicit Random(uint32_t seed) : state(seed) {}
    uint32_t next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    // 0 .. n-1
    uint32_t below(uint32_t n) { return n ? next() % n : 0; }
    float unit() { return static_cast<float>(next()) / 16777215.0f; }

private:
    uint32_t state;
};

// A value in units the VST 2.4 build sends as toNormalised(units) and hears
// as the same units again.
inline bool carriedExactly(int32_t index, float units)
{
    const vantelor::ParameterDescription& p = vantelor::kVantelorParameters[index];
    if (p.kind == vantelor::Kind::toggle)
        return units == 0.0f || units == 1.0f;
    if (index == kWidthL || index == kWidthR)
        return true; // the width reaches the engine as its normalised value
    return vantelor::toUnits(index, vantelor::toNormalised(index, units)) == units;
}

inline float heardValue(int32_t index, double value, double modulation)
{
    const vantelor::ParameterDescription& p = vantelor::kVantelorParameters[index];
    return static_cast<float>(
        std::clamp(value + modulation, static_cast<double>(p.min), static_cast<double>(p.max)));
}

inline Scenario makeScenario(int program, double rate, uint32_t seed, int numBlocks = 24)
{
    Random random(seed);
    Scenario s{program, rate, {}};
    double value[kNumVantelorParameters];
    double modulation[kNumVantelorParameters] = {};
    for (int i = 0; i < kNumVantelorParameters; ++i)
        value[i] = vantelor::kVantelorFactoryPrograms[program].values[i];
    for (int b = 0; b < numBlocks; ++b) {
        Block block{1 + random.below(700), {}};
        // Frames first, in order, so that each change follows the ones
        // before it in time.
        std::vector<uint32_t> frames(random.below(5));
        for (uint32_t& frame : frames) {
            // The first frame and the last come up often.
            const uint32_t pick = random.below(8);
            frame = pick == 0 ? 0 : pick == 1 ? block.frames - 1 : random.below(block.frames);
        }
        std::sort(frames.begin(), frames.end());
        for (const uint32_t frame : frames) {
            const int32_t index = static_cast<int32_t>(random.below(kNumVantelorParameters));
            const vantelor::ParameterDescription& p = vantelor::kVantelorParameters[index];
            const bool modulates = p.kind == vantelor::Kind::continuous && random.below(2) == 0;
            Change change{frame, modulates, index, 0.0, 0.0f};
            for (;;) {
                if (p.kind == vantelor::Kind::toggle) {
                    change.amount = random.below(2);
                    change.heard = static_cast<float>(change.amount);
                    break;
                }
                const float target = vantelor::toUnits(index, random.unit());
                if (modulates) {
                    // Now and then far beyond the range: the engine hears its end.
                    change.amount = random.below(6) == 0
                                        ? (random.below(2) ? 1.0 : -1.0) * (p.max - p.min) * 1.5
                                        : static_cast<double>(target) - value[index];
                    change.heard = heardValue(index, value[index], change.amount);
                } else {
                    change.amount = target;
                    change.heard = heardValue(index, target, modulation[index]);
                }
                if (carriedExactly(index, change.heard))
                    break;
            }
            (modulates ? modulation : value)[index] = change.amount;
            block.changes.push_back(change);
        }
        s.blocks.push_back(block);
    }
    return s;
}

// The same input for every run: a tone on the left, noise bursts on the
// right, from a fixed seed.
inline void testInput(std::vector<float>& left, std::vector<float>& right, std::size_t frames)
{
    left.assign(frames, 0.0f);
    right.assign(frames, 0.0f);
    uint32_t state = 1;
    for (std::size_t i = 0; i < frames; ++i) {
        left[i] = 0.5f * static_cast<float>(((i * 37) % 200)) / 200.0f - 0.25f;
        state = state * 1664525u + 1013904223u;
        right[i] =
            ((i / 1500) % 2 == 0) ? static_cast<float>(state >> 8) / 16777216.0f - 0.5f : 0.0f;
    }
}

inline std::size_t totalFrames(const Scenario& s)
{
    std::size_t n = 0;
    for (const Block& b : s.blocks)
        n += b.frames;
    return n;
}

} // namespace clap_test
