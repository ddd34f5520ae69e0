#pragma once

#include "tools/validate/Check.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vst2host {
class HostedPlugin;
class PluginInstance;
} // namespace vst2host

namespace vst2host::validate {

// Sends a text opcode into a guarded buffer; records a failure when the
// plug-in writes past the limit or leaves the text unterminated. Returns the text.
std::string guardedText(PluginInstance& plugin, Findings& findings, int32_t opcode, int32_t index,
                        size_t limit, const std::string& what);

// What one processed block looked like.
struct BlockScan
{
    int64_t unwritten = 0;   // output samples still holding the canary
    int64_t outOfBounds = 0; // samples written before or after the block
    int64_t nonFinite = 0;
    int64_t subnormal = 0;
    int64_t allocations = 0;
    float peak = 0.0f;     // largest finite magnitude
    int firstChannel = -1; // where the first non-finite sample was
    int64_t firstFrame = -1;

    // Merges another block's scan into this one.
    void add(const BlockScan& other, int64_t frameOffset);
    bool clean() const { return unwritten == 0 && outOfBounds == 0 && nonFinite == 0; }
};

// Input and output channel buffers for one instance, with canary samples
// around each output channel and canary values filled in before every call,
// so that a sample the plug-in did not write, or wrote out of bounds, shows.
// Allocations made inside processReplacing are counted for every block.
class Rig
{
public:
    // `seed` starts the rig's own noise sequence (see fillNoise).
    Rig(HostedPlugin& plugin, int maxBlock, uint32_t seed);

    int inputs() const { return static_cast<int>(inputs_.size()); }
    int outputs() const { return outputCount_; }
    float* input(int channel) { return inputs_[channel].data(); }
    const float* output(int channel) const { return outputs_[channel].data() + kGuard; }

    // Processes `frames` frames of the inputs as they are and scans the outputs.
    BlockScan process(int frames);
    // Processes without filling, counting or scanning, for timing.
    void processUnchecked(int frames);

    // Fills the first `frames` samples of every input channel: noise at
    // half full scale, going on from where the last call left the rig's
    // sequence, so rigs given the same seed are fed the same input.
    void fillNoise(int frames);
    void fillConstant(int frames, float value);

    static constexpr int kGuard = 16;

private:
    HostedPlugin& plugin_;
    int maxBlock_;
    int outputCount_;
    std::vector<std::vector<float>> inputs_;
    std::vector<std::vector<float>> outputs_;
    std::vector<float*> inputPointers_;
    std::vector<float*> outputPointers_;
    uint32_t noise_;
};

// A short description of a processing setting for messages: "48000 Hz, block 64".
std::string setting(double sampleRate, int block);

// Describes what is wrong with a scan ("3 samples not written, ..."), or empty.
std::string describe(const BlockScan& scan);

// "1 program", "3 programs": a count with its noun.
std::string counted(int64_t count, const std::string& noun);

// Feeds two started instances, rigged with the same seed, the same noise
// for `blocks` blocks and returns a description of the first output sample
// in which they differ, or empty when they render the same bit for bit.
std::string firstDifference(Rig& first, Rig& second, int blocks, int block);

} // namespace vst2host::validate
