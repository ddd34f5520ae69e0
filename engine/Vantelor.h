#pragma once

#include <cmath>
#include <cstdint>
#include <memory>

#include "dsp/Decorrelator.h"
#include "dsp/NumericHelpers.h"
#include "engine/CCPanner.h"
#include "engine/Processor.h"

// The spatial engine: every input channel is a source placed by its own
// panner; the panners are summed into a stereo pair, and a decorrelated copy
// of the width-weighted inputs is added to the left output and subtracted
// from the right to widen the image.
//
// Not thread-safe: the owner keeps the setters, rate changes and process on
// one thread at a time (the plug-in hands parameter changes to the audio
// thread).
class CVantelor : public CProcessor
{
public:
    // Inputs beyond this magnitude (about 180 dB over full scale) are
    // limited to it, so no finite input can overflow the filters and leave
    // infinities in their memories.
    static constexpr float kInputLimit = 1e9f;

    CVantelor(int8_t numInputs, int8_t numOutputs);
    ~CVantelor() override;

    // Reads numInputs input channels and writes output channels 0 and 1.
    // Null channel arrays or channels and counts of 0 or less write nothing;
    // a NaN or infinite input sample is heard as silence.
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    void reset() override;
    void sampleRateChanged() override;

    // Channel setters; channels outside 0..numInputs-1 are ignored.
    virtual void setElevation(float degrees, int8_t channel);
    virtual void setAzimuth(float degrees, int8_t channel);
    // A change of the switch restarts that channel's panner from clear state.
    virtual void setActive(bool on, int8_t channel);
    // Width factor, limited to 0..1 as the angles are to their span, so a
    // corrupt project or a careless host cannot raise the level; a
    // non-finite value is ignored.
    virtual void setWidth(float amount, int8_t channel);

    // Read-only views for the plug-in and for tests.
    bool isActive(int8_t channel) const { return validChannel(channel) && active[channel] != 0; }
    float getWidth(int8_t channel) const { return validChannel(channel) ? width[channel] : 0.0f; }
    const CCCPanner* getPanner(int8_t channel) const { return validChannel(channel) ? &panners[channel] : nullptr; }
    const CDecorrelator& getDecorrelator() const { return decorrelator; }

private:
    bool validChannel(int8_t channel) const { return channel >= 0 && channel < numInputs; }

    // Noise for the near-zero guards of the engine itself, and the generator
    // shared by this engine's panners: per instance, so renders are
    // deterministic and instances never disturb each other.
    CNoiseGenerator noise;
    CNoiseGenerator pannerNoise;

    CDecorrelator decorrelator;
    std::unique_ptr<CCCPanner[]> panners;
    std::unique_ptr<uint8_t[]> active;
    std::unique_ptr<float[]> width;

    // Work areas for rendering a block in slices: the guarded inputs of the
    // active channels, the panners' sums and the side signal, and the
    // active channels' sources and widths, and their panners with inputs
    // and noise states.
    static constexpr int kSliceFrames = 128;
    std::unique_ptr<float[]> guardedInputs;
    float sliceSums[2 * kSliceFrames];
    float sliceSide[kSliceFrames];
    std::unique_ptr<const float*[]> activeSources;
    std::unique_ptr<float[]> activeWidths;
    std::unique_ptr<CCCPanner*[]> activePanners;
    std::unique_ptr<const float*[]> activeInputs;
    std::unique_ptr<uint32_t[]> activeNoise;
};
