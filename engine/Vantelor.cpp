#include "engine/Vantelor.h"
#include "dsp/FloatVector.h"
#include "dsp/NoiseSigns.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr float kDecorrelatorDelaySeconds = 0.012f;
constexpr float kDecorrelatorAllpassSeconds = 0.008f;

// The decorrelator is sized once for the longest lengths the highest rate
// asks for, so a rate change never reallocates and an instance keeps no
// more memory than it can reach (its rings round these up to powers of two).
constexpr int kDecorrelatorMaxDelay = static_cast<int>(kMaxSampleRate * kDecorrelatorDelaySeconds);
constexpr int kDecorrelatorAllpassCapacity =
    static_cast<int>(kMaxSampleRate * kDecorrelatorAllpassSeconds);
constexpr int8_t kDecorrelatorStages = 3;
constexpr float kDecorrelatorCoefficient = 0.6f;

using dsp::F4;
using dsp::I4;
using dsp::load4;
using dsp::store4;
using dsp::U4;

// The largest finite float: a magnitude above it is an infinity, and one
// that compares false with it a NaN.
constexpr float kLargestFloat = std::numeric_limits<float>::max();

// Silence for NaN and infinities; finite values limited so that no filter
// overflows.
inline float sanitizeInput(float v)
{
    const float magnitude = std::fabs(v);
    if (magnitude <= CVantelor::kInputLimit)
        return v;
    if (!(magnitude <= kLargestFloat))
        return 0.0f;
    return v > 0.0f ? CVantelor::kInputLimit : -CVantelor::kInputLimit;
}

// The generator's first 16 powers: kJumps.multiplier[n] and increment[n]
// take a state n steps on.
struct JumpTable
{
    uint32_t multiplier[16];
    uint32_t increment[16];
};

constexpr JumpTable makeJumps()
{
    JumpTable table{};
    for (int n = 0; n < 16; ++n) {
        table.multiplier[n] = CNoiseJump::steps(n).multiplier;
        table.increment[n] = CNoiseJump::steps(n).increment;
    }
    return table;
}

constexpr JumpTable kJumps = makeJumps();

// The states `first`, first + stride, first + 2 stride and first + 3 stride
// steps on from `state`.
inline U4 statesAhead(uint32_t state, int first, int stride)
{
    U4 multiplier;
    U4 increment;
    for (int k = 0; k < 4; ++k) {
        multiplier[k] = kJumps.multiplier[first + stride * k];
        increment[k] = kJumps.increment[first + stride * k];
    }
    const U4 from = {state, state, state, state};
    return from * multiplier + increment;
}

// noiseFromState, four lanes.
inline F4 noiseOf(U4 states)
{
    const I4 bit = (I4)((states >> kNoiseSignShift) & kNoiseSignBit);
    return __builtin_convertvector(bit - 1, F4) * kNoiseLevel;
}

// Bit k set where lane k of a comparison's mask is set.
inline int laneBits(I4 mask)
{
#if defined(__SSE2__)
    return _mm_movemask_ps((__m128)mask);
#else
    return (mask[0] & 1) | (mask[1] & 2) | (mask[2] & 4) | (mask[3] & 8);
#endif
}

// For four input samples: 0 where all pass the input guards unchanged, 1
// where all are replaced by a draw, -1 for anything else.
inline int inputDraws(F4 x)
{
    const F4 m = (F4)((I4)x & 0x7FFFFFFF);
    if (laneBits((m >= kNoiseThreshold) & (m <= CVantelor::kInputLimit)) == 15)
        return 0;
    if (laneBits((m >= kNoiseThreshold) & (m <= kLargestFloat)) == 0)
        return 1;
    return -1;
}

} // namespace

CVantelor::CVantelor(int8_t numInputs, int8_t numOutputs)
    : CProcessor(numInputs, numOutputs),
      renderer(Renderer::sse2),
      passes(&fast_path::kPasses[0]),
      decorrelator(kDecorrelatorMaxDelay, kDecorrelatorAllpassCapacity, kDecorrelatorStages)
{
    const char* simd = std::getenv("VANTELOR_SIMD");
    Renderer widest = Renderer::avx512;
    if (simd != nullptr && std::strcmp(simd, "sse2") == 0)
        widest = Renderer::sse2;
    else if (simd != nullptr && std::strcmp(simd, "avx2") == 0)
        widest = Renderer::avx2;
    setRenderer(widest);
    const int channels = numInputs > 0 ? numInputs : 0;
    panners = std::make_unique<CCCPanner[]>(static_cast<size_t>(channels));
    active = std::make_unique<uint8_t[]>(static_cast<size_t>(channels));
    width = std::make_unique<float[]>(static_cast<size_t>(channels));
    guardedInputs = std::make_unique<float[]>(static_cast<size_t>(channels) * kSliceFrames);
    activeSources = std::make_unique<const float*[]>(static_cast<size_t>(channels));
    activeWidths = std::make_unique<float[]>(static_cast<size_t>(channels));
    activePanners = std::make_unique<CCCPanner*[]>(static_cast<size_t>(channels));
    activeInputs = std::make_unique<const float*[]>(static_cast<size_t>(channels));
    activeBlocks = std::make_unique<fast_path::PannerBlock[]>(static_cast<size_t>(channels));
    work = std::make_unique<fast_path::Work>();
    silentInputs.signs = drawSigns;
    silentInputs.sideDraws = silentSideDraws;
    silentInputs.side = sliceSide;
    for (int c = 0; c < channels; ++c) {
        panners[c].setNoiseGenerator(&pannerNoise);
        active[c] = 1;
        width[c] = 0.0f;
    }
    for (int c = 0; c < channels; ++c)
        panners[c].reset();
    decorrelator.clear();
    CVantelor::sampleRateChanged();
}

CVantelor::~CVantelor() = default;

bool CVantelor::checkBlock(float** inputs, float** outputs, int32_t sampleFrames) const
{
    if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr)
        return false;
    if (outputs[0] == nullptr || outputs[1] == nullptr)
        return false;
    for (int c = 0; c < numInputs; ++c)
        if (inputs[c] == nullptr)
            return false;
    return true;
}

void CVantelor::process(float** inputs, float** outputs, int32_t sampleFrames)
{
    if (!checkBlock(inputs, outputs, sampleFrames))
        return;
    if (renderer == Renderer::reference)
        renderReference(inputs, outputs[0], outputs[1], sampleFrames);
    else
        renderBlocks(inputs, outputs[0], outputs[1], sampleFrames);
}

void CVantelor::processReference(float** inputs, float** outputs, int32_t sampleFrames)
{
    if (checkBlock(inputs, outputs, sampleFrames))
        renderReference(inputs, outputs[0], outputs[1], sampleFrames);
}

void CVantelor::setRenderer(Renderer choice)
{
    if (choice == Renderer::avx512 && !fast_path::hasAvx512())
        choice = Renderer::avx2;
    if (choice == Renderer::avx2 && !fast_path::hasAvx2())
        choice = Renderer::sse2;
    renderer = choice;
    // The reference renderer uses none of them; it keeps the baseline's.
    passes = &fast_path::kPasses[choice == Renderer::avx512 ? 2 : choice == Renderer::avx2 ? 1 : 0];
}

// For each frame: every active input sanitised and guarded, panned and
// summed in channel order, the width-weighted side signal guarded, halved
// and decorrelated, then added to the left sum and taken from the right.
// Every input sample of a frame is read before its outputs are written, so
// in-place processing is safe.
void CVantelor::renderReference(float** inputs, float* outLeft, float* outRight,
                                int32_t sampleFrames)
{
    const int channels = numInputs;
    for (int32_t i = 0; i < sampleFrames; ++i) {
        float sumL = 0.0f;
        float sumR = 0.0f;
        float side = 0.0f;
        for (int c = 0; c < channels; ++c) {
            if (active[c] == 0)
                continue;
            const float v = denormalGuard(sanitizeInput(inputs[c][i]), noise);
            float l;
            float r;
            panners[c].processSample(v, l, r);
            sumL += l;
            sumR += r;
            side += v * width[c];
        }
        side = denormalGuard(side, noise);
        side = side * 0.5f;
        decorrelator.process(&side);
        outLeft[i] = side + sumL;
        outRight[i] = sumR - side;
    }
}

void CVantelor::renderBlocks(float** inputs, float* outLeft, float* outRight, int32_t sampleFrames)
{
    const int channels = numInputs;

    // The active panners are fixed for the block; each draws once per frame
    // from the shared generator, in channel order, so panner k of `count`
    // draws every count-th state after its own first one.
    int count = 0;
    for (int c = 0; c < channels; ++c) {
        if (active[c] == 0)
            continue;
        activeSources[count] = inputs[c];
        activeWidths[count] = width[c];
        activePanners[count] = &panners[c];
        activeInputs[count] = &guardedInputs[static_cast<size_t>(count) * kSliceFrames];
        ++count;
    }
    const CNoiseJump stride = CNoiseJump::steps(count);

    // Slice by slice: guard the inputs and form the side signal frame by
    // frame (the engine's own noise is drawn in that order), run the
    // panners over the slice in pairs, then the decorrelator and the mix.
    // Every input sample of a slice is read before its outputs are written,
    // so in-place processing is safe.
    for (int32_t start = 0; start < sampleFrames; start += kSliceFrames) {
        const int32_t frames =
            sampleFrames - start < kSliceFrames ? sampleFrames - start : kSliceFrames;
        fast_path::SilentInputs* silent = nullptr;
        // The engine's generator is held locally for the slice; it draws
        // for the first input, the second and so on, then for the side.
        CNoiseGenerator guard = noise;
        fast_path::InputScan guarded = fast_path::InputScan::mixed;
        if (count == 1 || count == 2) {
            guarded = passes->scanInput(activeSources[0] + start, frames, kInputLimit);
            if (count == 2 && guarded != fast_path::InputScan::mixed &&
                passes->scanInput(activeSources[1] + start, frames, kInputLimit) != guarded)
                guarded = fast_path::InputScan::mixed;
        }
        if (guarded == fast_path::InputScan::passesUnchanged) {
            // The usual case: no input is guarded, so the panners read the
            // inputs themselves and the only draws are the side signal's,
            // at most one per frame.
            const float* const second = count == 2 ? activeSources[1] + start : nullptr;
            guardSide(activeSources[0] + start, second, frames, guard);
            activeInputs[0] = activeSources[0] + start;
            if (second != nullptr)
                activeInputs[1] = second;
        } else if (guarded == fast_path::InputScan::allDrawn) {
            // Silence: every input sample is a draw, in a known order; the
            // pair renderer forms them, and the engine's generator moves on
            // by the draws it reports.
            prepareSilence(count, frames, guard.getState());
            silent = &silentInputs;
        } else if (count == 1 || count == 2) {
            // Some input samples are guarded (a quiet input, or a signal
            // that touches zero): four frames at a time where the draw
            // pattern is plain, frame by frame elsewhere.
            activeInputs[0] = &guardedInputs[0];
            if (count == 2)
                activeInputs[1] = &guardedInputs[kSliceFrames];
            guardMixed(activeSources[0] + start, count == 2 ? activeSources[1] + start : nullptr,
                       frames, guard);
        } else {
            for (int k = 0; k < count; ++k)
                activeInputs[k] = &guardedInputs[static_cast<size_t>(k) * kSliceFrames];
            for (int32_t i = 0; i < frames; ++i) {
                float side = 0.0f;
                for (int k = 0; k < count; ++k) {
                    const float v =
                        denormalGuard(sanitizeInput(activeSources[k][start + i]), guard);
                    guardedInputs[static_cast<size_t>(k) * kSliceFrames + i] = v;
                    side += v * activeWidths[k];
                }
                side = denormalGuard(side, guard);
                sliceSide[i] = side * 0.5f;
                sliceSums[2 * i] = 0.0f;
                sliceSums[2 * i + 1] = 0.0f;
            }
        }
        noise = guard;

        if (count > 0) {
            // Panner k's first draw of the slice is the shared generator's
            // (k+1)-th next state.
            CNoiseGenerator shared = pannerNoise;
            for (int k = 0; k < count; ++k)
                activePanners[k]->beginFastBlock(activeBlocks[k], shared.next());
            for (int k = 0; k < count; k += 2) {
                fast_path::PannerBlock* pair[2] = {&activeBlocks[k],
                                                   k + 1 < count ? &activeBlocks[k + 1] : nullptr};
                passes->renderPair(pair, count - k < 2 ? 1 : 2, &activeInputs[k], silent, sliceSums,
                                   frames, stride, *work);
            }
            if (silent != nullptr) {
                noise.setState(tookDraws(silent->draws));
            }
            for (int k = 0; k < count; ++k)
                activePanners[k]->endFastBlock(activeBlocks[k]);
            // The last panner's last draw is where the shared generator stands.
            pannerNoise.setState(activeBlocks[count - 1].noiseState);
        }

        ring_walk::Chain chain;
        if (decorrelator.beginChain(chain)) {
            passes->walkChain(chain, sliceSide, frames);
            decorrelator.endChain(chain);
        } else {
            decorrelator.processBlock(sliceSide, frames);
        }
        passes->finishOutputs(sliceSums, sliceSide, outLeft + start, outRight + start, frames);
    }
}

uint64_t CVantelor::stateDigest(bool withDecorrelator) const
{
    uint64_t hash = hashWord(kHashStart, noise.getState());
    hash = hashWord(hash, pannerNoise.getState());
    for (int c = 0; c < numInputs; ++c)
        hash = panners[c].hashState(hash);
    return withDecorrelator ? decorrelator.hashState(hash) : hash;
}

void CVantelor::guardSide(const float* in0, const float* in1, int32_t frames,
                          CNoiseGenerator& guard)
{
    std::memset(sliceSums, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
    const float w0 = activeWidths[0];
    const float w1 = in1 != nullptr ? activeWidths[1] : 0.0f;
    auto sideOf = [&](int32_t i) {
        float side = 0.0f + in0[i] * w0;
        if (in1 != nullptr)
            side = side + in1[i] * w1;
        return side;
    };
    // The side signal halved, and whether its guard replaces it. With no
    // width the side signal is zero (the inputs are finite) in every frame.
    bool anyKept = false;
    bool anyReplaced = true;
    if (w0 != 0.0f || w1 != 0.0f) {
        const int found = passes->sideSignal(in0, in1, w0, w1, sliceSide, frames);
        anyKept = (found & fast_path::kSomeSideKept) != 0;
        anyReplaced = (found & fast_path::kSomeSideDrawn) != 0;
    }
    if (anyReplaced && !anyKept) {
        // Every frame draws once: the signs of the generator's next states
        // in a row.
        const uint32_t state = guard.getState();
        passes->sideNoise(signsAhead(state, (frames + 63) / 64), sliceSide, frames);
        guard.setState(tookDraws(frames));
    } else if (anyReplaced) {
        for (int32_t i = 0; i < frames; ++i)
            sliceSide[i] = denormalGuard(sideOf(i), guard) * 0.5f;
    }
}

const uint8_t* CVantelor::signsAhead(uint32_t state, int words)
{
    // A slice usually starts where the one before left the generator.
    if (state != signsState) {
        signsState = state;
        signsPlace = noisePeriodPlace(state);
    }
    noiseSignsAfter(signsPlace, words, drawSigns);
    return drawSigns;
}

uint32_t CVantelor::tookDraws(int draws)
{
    // Slices of one length take as many draws each time: the jump over
    // them is worked out once, not per slice.
    if (draws != lastDraws) {
        lastDraws = draws;
        lastJump = CNoiseJump::steps(draws);
    }
    signsState = lastJump.apply(signsState);
    signsPlace = (signsPlace + static_cast<uint32_t>(draws)) % kNoisePeriod;
    return signsState;
}

// A silent slice: every input sample is replaced by a draw, and the pair
// renderer forms the draws. Here: the signs of every draw the slice can
// reach, the side signal where it is kept and, unless every frame draws
// for its side signal or none does, for each place whether a frame whose
// first draw is there draws for its side signal too.
void CVantelor::prepareSilence(int count, int32_t frames, uint32_t state)
{
    std::memset(sliceSums, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
    const float w0 = activeWidths[0];
    const float w1 = count == 2 ? activeWidths[1] : 0.0f;
    // By the frame's input signs (bit 0 the first, bit 1 the second): the
    // side signal as the frame forms it, and whether its guard draws.
    uint64_t drawsBySigns[4];
    for (int signs = 0; signs < 4; ++signs) {
        const float a = static_cast<float>((signs & 1) * 2 - 1) * kNoiseLevel;
        const float b = static_cast<float>((signs & 2) - 1) * kNoiseLevel;
        float side = 0.0f + a * w0;
        if (count == 2)
            side = side + b * w1;
        silentInputs.sideKept[signs] = side * 0.5f;
        const bool draws = !(side >= kNoiseThreshold || side <= -kNoiseThreshold || side != side);
        drawsBySigns[signs] = draws ? ~uint64_t{0} : 0;
    }
    // Up to three draws a frame, the walk's last reload a word beyond, and
    // the word after that for the second input's signs.
    const int words = 3 * frames / 64 + 2;
    signsAhead(state, words + 1);
    const bool always =
        (drawsBySigns[0] & drawsBySigns[1] & drawsBySigns[2] & drawsBySigns[3]) != 0;
    const bool never = (drawsBySigns[0] | drawsBySigns[1] | drawsBySigns[2] | drawsBySigns[3]) == 0;
    silentInputs.sideAlwaysDraws = always ? 1 : never ? 0 : -1;
    if (always || never)
        return;
    for (int w = 0; w < words; ++w) {
        uint64_t first;
        uint64_t after;
        std::memcpy(&first, drawSigns + 8 * w, sizeof first);
        std::memcpy(&after, drawSigns + 8 * w + 8, sizeof after);
        const uint64_t second = count == 2 ? (first >> 1) | (after << 63) : 0;
        const uint64_t draws =
            (first & second & drawsBySigns[3]) | (first & ~second & drawsBySigns[1]) |
            (~first & second & drawsBySigns[2]) | (~first & ~second & drawsBySigns[0]);
        std::memcpy(silentSideDraws + 8 * w, &draws, sizeof draws);
    }
}

void CVantelor::guardMixed(const float* in0, const float* in1, int32_t frames,
                           CNoiseGenerator& guard)
{
    std::memset(sliceSums, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
    float* const v0 = &guardedInputs[0];
    float* const v1 = &guardedInputs[kSliceFrames];
    const float w0 = activeWidths[0];
    const float w1 = in1 != nullptr ? activeWidths[1] : 0.0f;
    uint32_t state = guard.getState();
    // One frame as the definition renders it: the first input's guard, the
    // second's, then the side signal's.
    auto oneFrame = [&](int32_t i) {
        CNoiseGenerator g;
        g.setState(state);
        const float a = denormalGuard(sanitizeInput(in0[i]), g);
        v0[i] = a;
        float side = 0.0f + a * w0;
        if (in1 != nullptr) {
            const float b = denormalGuard(sanitizeInput(in1[i]), g);
            v1[i] = b;
            side = side + b * w1;
        }
        sliceSide[i] = denormalGuard(side, g) * 0.5f;
        state = g.getState();
    };
    // Four frames at once where each input is passed or replaced in all
    // four and at most one of them draws, and the side signal's guard draws
    // in all four frames or in none: the draws then come at a fixed stride.
    // Whether the side draws is guessed (as in the four frames before) and
    // checked.
    bool sideDraws = false;
    int32_t i = 0;
    for (; i + 4 <= frames; i += 4) {
        const F4 a = load4(in0 + i);
        const F4 b = in1 != nullptr ? load4(in1 + i) : F4{};
        const int drawsA = inputDraws(a);
        const int drawsB = in1 != nullptr ? inputDraws(b) : 0;
        bool done = false;
        if (drawsA >= 0 && drawsB >= 0 && drawsA + drawsB <= 1) {
            const int inputs = drawsA + drawsB;
            for (int attempt = 0; attempt < 2 && !done; ++attempt) {
                const bool guess = attempt == 0 ? sideDraws : !sideDraws;
                const int stride = inputs + (guess ? 1 : 0);
                const F4 drawn = inputs != 0 ? noiseOf(statesAhead(state, 1, stride)) : F4{};
                const F4 ga = drawsA != 0 ? drawn : a;
                const F4 gb = drawsB != 0 ? drawn : b;
                F4 side = 0.0f + ga * w0;
                if (in1 != nullptr)
                    side = side + gb * w1;
                if (laneBits(~((side >= kNoiseThreshold) | (side <= -kNoiseThreshold))) !=
                    (guess ? 15 : 0))
                    continue;
                if (guess)
                    side = noiseOf(statesAhead(state, inputs + 1, stride));
                store4(v0 + i, ga);
                if (in1 != nullptr)
                    store4(v1 + i, gb);
                store4(sliceSide + i, side * 0.5f);
                state = state * kJumps.multiplier[4 * stride] + kJumps.increment[4 * stride];
                sideDraws = guess;
                done = true;
            }
        }
        if (!done)
            for (int32_t k = i; k < i + 4; ++k)
                oneFrame(k);
    }
    for (; i < frames; ++i)
        oneFrame(i);
    guard.setState(state);
}

void CVantelor::reset()
{
    for (int c = 0; c < numInputs; ++c)
        panners[c].reset();
    decorrelator.clear();
}

void CVantelor::sampleRateChanged()
{
    for (int c = 0; c < numInputs; ++c)
        panners[c].setSampleRate(sampleRate);
    decorrelator.setDelay(static_cast<int32_t>(sampleRate * kDecorrelatorDelaySeconds));
    decorrelator.setAllpassTotal(static_cast<int32_t>(sampleRate * kDecorrelatorAllpassSeconds));
    decorrelator.setAllpassCoefficient(kDecorrelatorCoefficient);
}

void CVantelor::setElevation(float degrees, int8_t channel)
{
    if (validChannel(channel))
        panners[channel].setElevation(degrees);
}

void CVantelor::setAzimuth(float degrees, int8_t channel)
{
    if (validChannel(channel))
        panners[channel].setAzimuth(degrees);
}

void CVantelor::setActive(bool on, int8_t channel)
{
    if (!validChannel(channel))
        return;
    const uint8_t value = on ? 1 : 0;
    if (value == active[channel])
        return;
    active[channel] = value;
    panners[channel].reset();
}

void CVantelor::setWidth(float amount, int8_t channel)
{
    if (!validChannel(channel) || !std::isfinite(amount))
        return;
    width[channel] = std::clamp(amount, 0.0f, 1.0f);
}
