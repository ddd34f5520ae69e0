// A scenario rendered through a CLAP plug-in as a host runs it: the factory
// program loaded as a preset before activation, then each block with its
// events at their frames.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "tests/clap/ClapScenario.h"
#include "tools/host/clap/ClapHost.h"

namespace clap_test {

struct StereoOut
{
    std::vector<float> left;
    std::vector<float> right;
};

inline bool renderClap(const clap_host::ClapModule& module, const Scenario& s, StereoOut& out)
{
    clap_host::ClapInstance plugin(module);
    if (!plugin.valid() || !plugin.loadPreset(std::to_string(s.program)) ||
        !plugin.activate(s.rate, 1, 1024) || !plugin.startProcessing())
        return false;
    const std::size_t total = totalFrames(s);
    std::vector<float> inL, inR;
    testInput(inL, inR, total);
    out.left.assign(total, 0.0f);
    out.right.assign(total, 0.0f);
    clap_host::EventList events;
    std::size_t at = 0;
    for (const Block& b : s.blocks) {
        events.clear();
        for (const Change& c : b.changes) {
            if (c.modulation)
                events.modulation(c.frame, static_cast<clap_id>(c.index), c.amount);
            else
                events.value(c.frame, static_cast<clap_id>(c.index), c.amount);
        }
        float* in[2] = {inL.data() + at, inR.data() + at};
        float* o[2] = {out.left.data() + at, out.right.data() + at};
        if (plugin.process(in, o, b.frames, &events) != CLAP_PROCESS_CONTINUE)
            return false;
        at += b.frames;
    }
    return true;
}

// FNV-1a of the output's bits: one line per render that both builds print.
inline uint64_t hashOf(const StereoOut& out)
{
    uint64_t h = 1469598103934665603ull;
    auto add = [&](const std::vector<float>& v) {
        for (float x : v) {
            uint32_t bits;
            std::memcpy(&bits, &x, sizeof bits);
            for (int k = 0; k < 4; ++k) {
                h ^= (bits >> (8 * k)) & 0xffu;
                h *= 1099511628211ull;
            }
        }
    };
    add(out.left);
    add(out.right);
    return h;
}

} // namespace clap_test
