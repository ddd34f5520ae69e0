#pragma once

#include <cstdint>

namespace vst2host {

// The built-in test material used when no input file is given: four seconds at
// 44100 Hz with distinct material on each input, so that the placement of each
// source can be heard. Left: a plucked melody. Right: band-passed noise bursts
// under a sustained chord. The same every run.
class DemoSignal
{
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int64_t kFrames = 4 * kSampleRate;

    DemoSignal();

    // Renders the next `frames` frames into two channel buffers; past the end
    // it renders silence. Returns the number of frames of material rendered.
    int64_t render(float* left, float* right, int64_t frames);

    // Starts again from the beginning.
    void rewind();

private:
    float pluck();
    float bursts();

    int64_t position_ = 0;
    uint32_t noise_ = 0;

    // Plucked string: a damped delay loop excited with noise at each note.
    static constexpr int kMaxPeriod = 1024;
    float string_[kMaxPeriod] = {};
    int period_ = 100;
    int stringIndex_ = 0;
    float lastOut_ = 0.0f;

    // Noise bursts: a two-pole resonator whose centre moves from burst to burst.
    double bandLow_ = 0.0;
    double bandMid_ = 0.0;
    double chordPhase_[3] = {};
};

} // namespace vst2host
