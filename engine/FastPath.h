#pragma once

// The engine's block renderers: the panners of a block in pairs, with the
// arithmetic of CCCPanner::processSample kept operation for operation, so
// every output sample and every memory at the end of a block is the bit
// the per-sample panner gives.
//
// One source, compiled once for the x86-64 baseline (SSE2), once for
// processors with AVX2 and once for those with AVX-512; the engine picks
// one when it is constructed. Only
// plain data crosses this header, so nothing compiled for AVX2 can end up
// in code that runs on an older processor.

#include <cstdint>

#include "dsp/NumericHelpers.h"
#include "dsp/RingWalk.h"

namespace fast_path {
// Longest block a renderer takes in one call.
constexpr int kMaxFrames = 512;

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

// A renderer's work area, allocated once by its owner. Arrays hold both
// panners interleaved (frame f of panner k at 2 (kPad + f) + k), with room
// before and after the block for the frames that the skewed loop and the
// vector groups reach beyond it. The room before the block is a cache line,
// and so is every array's length: a group of frames starting at a multiple
// of eight lies in one line, so the widest loads never straddle two.
struct alignas(64) Work
{
    static constexpr int kPad = 8;
    static constexpr int kSlots = 2 * (kPad + kMaxFrames + 2 * kPad);
    // A delay line's history: up to a whole ring (128 entries at most)
    // before the block, then the block.
    static constexpr int kHistory = 2 * (kPad + 128 + kMaxFrames + 2 * kPad);

    float noise[kSlots];
    float x0[kSlots];
    float angle[kSlots];
    float fade[kSlots];
    float far[kSlots];
    uint32_t states[kSlots];
    // The far path's input (the elevation shelf's output, which the mix
    // reads `delay` entries on), and the cross-feed shelves' outputs as
    // their delays hold them: read at frame f, an entry gives the delayed
    // value.
    float history[kHistory];
    float crossA[kHistory];
    float crossB[kHistory];
    // Silent inputs written out, for panners that cannot share a walk.
    float silentInputs[2][kMaxFrames];

    static_assert(kPad * 2 * sizeof(float) == 64 && kSlots * sizeof(float) % 64 == 0 &&
                  kHistory * sizeof(float) % 64 == 0);
};

// Inputs that are silent (or not numbers) for a whole block: the engine's
// input guards replace each of their samples by a draw of the engine's own
// generator, first input then second, and the side signal's guard draws
// once more in a frame where the side signal of those draws is too small
// to keep. Where that depends on the signs just drawn, so does where each
// frame's draws are, and they are found by a walk from frame to frame,
// which the renderer takes inside its filter loop, where the walk's
// latency overlaps the filters'. Otherwise they come at a fixed stride.
struct SilentInputs
{
    // Bits a block can reach: bit q (bit q % 8 of byte q / 8) is set where
    // the (q+1)-th state of the engine's generator after the block's start
    // gives positive noise, and bit q of `sideDraws` where a frame whose
    // first draw is that state draws for its side signal too (read for a
    // walk only). Each array holds kSilentBytes bytes.
    const uint8_t* signs = nullptr;
    const uint8_t* sideDraws = nullptr;
    // The halved side signal of a frame whose guard keeps it, indexed by
    // the frame's input signs (bit 0: the first input's, bit 1: the
    // second's; 1 for positive).
    float sideKept[4] = {};
    // Where every frame draws for its side signal (1) or none does (0), the
    // draws come at a fixed stride and need no walk; -1 otherwise.
    int sideAlwaysDraws = -1;
    // Out: every frame's halved side signal, and how many draws the block
    // took from the engine's generator.
    float* side = nullptr;
    int draws = 0;
};

// The bytes of SilentInputs::signs and sideDraws: up to three draws for
// each frame of a block, and a whole word read beyond them.
constexpr int kSilentBytes = 8 * (3 * kMaxFrames / 64 + 2);

// Renders `frames` (1..kMaxFrames) frames of `count` panners (1 or 2) and
// adds their outputs to `sums` (left and right interleaved, one pair per
// frame), the first panner's before the second's. A panner draws its noise
// every frame; from one draw to its next the generator moves on by
// `stride`. With `silent`, the inputs are the guards' draws it describes
// and `inputs` is not read.
using PairRenderer = void (*)(PannerBlock* const* panners, int count, const float* const* inputs,
                              SilentInputs* silent, float* sums, int32_t frames, CNoiseJump stride,
                              Work& work);

void renderPairSse2(PannerBlock* const* panners, int count, const float* const* inputs,
                    SilentInputs* silent, float* sums, int32_t frames, CNoiseJump stride,
                    Work& work);
void renderPairAvx2(PannerBlock* const* panners, int count, const float* const* inputs,
                    SilentInputs* silent, float* sums, int32_t frames, CNoiseJump stride,
                    Work& work);
void renderPairAvx512(PannerBlock* const* panners, int count, const float* const* inputs,
                      SilentInputs* silent, float* sums, int32_t frames, CNoiseJump stride,
                      Work& work);

// The decorrelator's walk over `count` samples in place, in vectors: as wide
// as each renderer's, but eight lanes on AVX-512 processors, where that
// walks faster.
using ChainWalk = void (*)(ring_walk::Chain& chain, float* samples, int32_t count);

void walkChainSse2(ring_walk::Chain& chain, float* samples, int32_t count);
void walkChainAvx2(ring_walk::Chain& chain, float* samples, int32_t count);
void walkChainAvx512(ring_walk::Chain& chain, float* samples, int32_t count);

// How the engine's input guards treat a stretch of input (`frames` >= 1):
// every sample passes unchanged (finite, within `limit` and not near zero,
// so nothing is drawn for it), every sample is replaced by a draw (near
// zero, or not a finite number, which counts as silence), or anything else.
enum class InputScan
{
    passesUnchanged,
    allDrawn,
    mixed,
};
using ScanInput = InputScan (*)(const float* in, int32_t frames, float limit);

InputScan scanInputSse2(const float* in, int32_t frames, float limit);
InputScan scanInputAvx2(const float* in, int32_t frames, float limit);
InputScan scanInputAvx512(const float* in, int32_t frames, float limit);

// The side signal of a stretch whose inputs pass their guards unchanged:
// 0 + in0 w0 (+ in1 w1 where in1 is given), halved into `half`. The result
// has kSomeSideDrawn where some frame's side signal is near zero (its
// guard replaces it) and kSomeSideKept where some frame's is kept.
constexpr int kSomeSideDrawn = 1;
constexpr int kSomeSideKept = 2;
using SideSignal = int (*)(const float* in0, const float* in1, float w0, float w1, float* half,
                           int32_t frames);

int sideSignalSse2(const float* in0, const float* in1, float w0, float w1, float* half,
                   int32_t frames);
int sideSignalAvx2(const float* in0, const float* in1, float w0, float w1, float* half,
                   int32_t frames);
int sideSignalAvx512(const float* in0, const float* in1, float w0, float w1, float* half,
                     int32_t frames);

// The halved side signal of a stretch whose every frame's side signal is
// replaced by one draw: the draw's sign is bit i of `signs` (bit i % 8 of
// byte i / 8; set for positive).
using SideNoise = void (*)(const uint8_t* signs, float* half, int32_t frames);

void sideNoiseSse2(const uint8_t* signs, float* half, int32_t frames);
void sideNoiseAvx2(const uint8_t* signs, float* half, int32_t frames);
void sideNoiseAvx512(const uint8_t* signs, float* half, int32_t frames);

// A stretch's outputs from the panners' sums (left and right interleaved,
// one pair per frame) and the decorrelated side signal: left = side + the
// left sum, right = the right sum - side.
using FinishOutputs = void (*)(const float* sums, const float* side, float* left, float* right,
                               int32_t frames);

void finishOutputsSse2(const float* sums, const float* side, float* left, float* right,
                       int32_t frames);
void finishOutputsAvx2(const float* sums, const float* side, float* left, float* right,
                       int32_t frames);
void finishOutputsAvx512(const float* sums, const float* side, float* left, float* right,
                         int32_t frames);

// One instruction set's passes, which the engine takes together.
struct Passes
{
    const char* name;
    PairRenderer renderPair;
    ChainWalk walkChain;
    ScanInput scanInput;
    SideSignal sideSignal;
    SideNoise sideNoise;
    FinishOutputs finishOutputs;
};

// Every instruction set's passes, narrowest first: SSE2, AVX2, AVX-512.
constexpr int kInstructionSets = 3;
extern const Passes kPasses[kInstructionSets];

// Whether this processor runs kPasses[set].
bool processorRuns(int set);

// Whether this processor runs the AVX2 renderer (AVX2 and BMI2).
bool hasAvx2();
// Whether this processor runs the AVX-512 renderer (AVX-512 F, VL, BW and
// DQ, and BMI2) and the system saves its registers.
bool hasAvx512();
} // namespace fast_path
