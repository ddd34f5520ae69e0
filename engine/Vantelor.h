#pragma once

#include <cmath>
#include <cstdint>
#include <memory>

#include "dsp/Decorrelator.h"
#include "dsp/NumericHelpers.h"
#include "engine/CCPanner.h"
#include "engine/FastPath.h"
#include "engine/Processor.h"

// The spatial engine: every input channel is a source placed by its own
// panner; the panners are summed into a stereo pair, and a decorrelated copy
// of the width-weighted inputs is added to the left output and subtracted
// from the right to widen the image.
//
// The noise is part of the sound. Every panner adds a draw of +-1e-8 to
// every sample, and inputs and side signals nearer zero than that are
// replaced by draws, all from the engine's own generator in a fixed order,
// so that no filter memory ever decays into denormal numbers. Every output
// sample depends on those draws: a change to their order, their number or
// their size changes every render, silence included, and the renders that
// tests and stored projects compare against.
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

    // How process renders a block. All of them give the same output and
    // leave the same state, to the bit, so they may alternate.
    enum class Renderer
    {
        // Frame by frame through the panners' per-sample process: the
        // engine's definition.
        reference,
        // Blocks of panner pairs in vector lanes, on the x86-64 baseline.
        sse2,
        // The same for processors with AVX2.
        avx2,
        // The same for processors with AVX-512.
        avx512,
    };

    // Renders with the widest vectors the processor has (AVX-512, else
    // AVX2, else SSE2), unless the environment variable VANTELOR_SIMD names
    // a narrower one, "sse2" or "avx2" (read here, once).
    CVantelor(int8_t numInputs, int8_t numOutputs);
    ~CVantelor() override;

    // Reads numInputs input channels and writes output channels 0 and 1.
    // Null channel arrays or channels and counts of 0 or less write nothing;
    // a NaN or infinite input sample is heard as silence.
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    // process, frame by frame, whatever the chosen renderer.
    void processReference(float** inputs, float** outputs, int32_t sampleFrames);
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

    // Chooses the renderer (for tests and benchmarks; never while process
    // runs). A renderer the processor cannot run gives the widest one it
    // can.
    void setRenderer(Renderer choice);
    Renderer getRenderer() const { return renderer; }

    // Every bit of the audio state (filter memories, rings and their
    // positions, smoothed azimuths, generator states) folded into a hash;
    // the decorrelator's long rings only when asked.
    uint64_t stateDigest(bool withDecorrelator) const;

    // Read-only views for the plug-in and for tests.
    bool isActive(int8_t channel) const { return validChannel(channel) && active[channel] != 0; }
    float getWidth(int8_t channel) const { return validChannel(channel) ? width[channel] : 0.0f; }
    const CCCPanner* getPanner(int8_t channel) const
    {
        return validChannel(channel) ? &panners[channel] : nullptr;
    }
    const CDecorrelator& getDecorrelator() const { return decorrelator; }

private:
    bool validChannel(int8_t channel) const { return channel >= 0 && channel < numInputs; }
    // Whether a block's arguments can be rendered at all.
    bool checkBlock(float** inputs, float** outputs, int32_t sampleFrames) const;
    // Reads the inputs and writes the outputs; the arguments are checked.
    void renderReference(float** inputs, float* outLeft, float* outRight, int32_t sampleFrames);
    void renderBlocks(float** inputs, float* outLeft, float* outRight, int32_t sampleFrames);
    // For a slice of one or two active inputs (in1 null for one) that no
    // input guard changes: clears the sums and forms the guarded, halved
    // side signal.
    void guardSide(const float* in0, const float* in1, int32_t frames, CNoiseGenerator& guard);
    // For a slice of one or two active inputs that the input guards replace
    // entirely (silence), from the engine generator's `state`: the sums
    // cleared and silentInputs filled in for the pair renderer, which forms
    // the draws and writes the side signal.
    void prepareSilence(int count, int32_t frames, uint32_t state);
    // The signs of the `words` x 64 draws after `state` of the engine's
    // generator (see noiseSignsAfter), in drawSigns; and, once the slice
    // has taken `draws` of them, the generator's state after them, where
    // the next slice starts.
    const uint8_t* signsAhead(uint32_t state, int words);
    uint32_t tookDraws(int draws);
    // For a slice of one or two active inputs (in1 null for one) that the
    // input guards change in part: the guarded inputs, the sums cleared and
    // the guarded, halved side signal.
    void guardMixed(const float* in0, const float* in1, int32_t frames, CNoiseGenerator& guard);

    Renderer renderer;
    // The chosen renderer's passes, all built for one instruction set.
    const fast_path::Passes* passes;

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
    static constexpr int kSliceFrames = fast_path::kMaxFrames;
    std::unique_ptr<float[]> guardedInputs;
    float sliceSums[2 * kSliceFrames];
    float sliceSide[kSliceFrames];
    std::unique_ptr<const float*[]> activeSources;
    std::unique_ptr<float[]> activeWidths;
    std::unique_ptr<CCCPanner*[]> activePanners;
    std::unique_ptr<const float*[]> activeInputs;
    std::unique_ptr<fast_path::PannerBlock[]> activeBlocks;
    std::unique_ptr<fast_path::Work> work;
    // The signs of the engine generator's next states (for a silent slice,
    // a word more than the walk reads, for the second input's signs at a
    // word's end); a silent slice's draws and where a frame draws for its
    // side signal.
    fast_path::SilentInputs silentInputs;
    uint8_t drawSigns[fast_path::kSilentBytes + 8] = {};
    uint8_t silentSideDraws[fast_path::kSilentBytes] = {};
    // A state of the engine's generator and its place in the noise signs'
    // period (state 0 is at place 0), kept from one slice to the next.
    uint32_t signsState = 0;
    uint32_t signsPlace = 0;
    // The jump over the last slice's draws, and their number.
    int lastDraws = 0;
    CNoiseJump lastJump;
};
