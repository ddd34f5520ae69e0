#include "engine/Vantelor.h"
#include "dsp/FloatVector.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
// The decorrelator is sized once for the highest rate with room to spare.
constexpr int kDecorrelatorMaxDelay = 192000;
constexpr int kDecorrelatorAllpassCapacity = 65536;
constexpr int8_t kDecorrelatorStages = 3;

constexpr float kDecorrelatorDelaySeconds = 0.012f;
constexpr float kDecorrelatorAllpassSeconds = 0.008f;
constexpr float kDecorrelatorCoefficient = 0.6f;

using dsp::F4;
using dsp::I4;
using dsp::U4;
using dsp::load4;
using dsp::store4;

// Whether every sample passes the input guards unchanged: finite, within
// the input limit and not near zero (so nothing is drawn for it).
bool passesGuards(const float* in, int32_t frames)
{
    I4 fail = {};
    int32_t i = 0;
    for (; i + 4 <= frames; i += 4)
    {
        const F4 m = (F4)((I4)load4(in + i) & 0x7FFFFFFF);
        fail |= ~((m >= 1e-8f) & (m <= CVantelor::kInputLimit));
    }
    bool ok = (fail[0] | fail[1] | fail[2] | fail[3]) == 0;
    for (; i < frames; ++i)
    {
        const float m = std::fabs(in[i]);
        ok = ok && m >= 1e-8f && m <= CVantelor::kInputLimit;
    }
    return ok;
}

// Whether every sample is replaced by the input guards: near zero, or not a
// finite number (which counts as silence).
bool replacedByGuards(const float* in, int32_t frames)
{
    I4 kept = {};
    int32_t i = 0;
    for (; i + 4 <= frames; i += 4)
    {
        const F4 m = (F4)((I4)load4(in + i) & 0x7FFFFFFF);
        kept |= (m >= 1e-8f) & (m <= 3.4028235e38f);
    }
    bool replaced = (kept[0] | kept[1] | kept[2] | kept[3]) == 0;
    for (; i < frames; ++i)
    {
        const float m = std::fabs(in[i]);
        replaced = replaced && !(m >= 1e-8f && m <= 3.4028235e38f);
    }
    return replaced;
}

// Silence for NaN and infinities; finite values limited so that no filter
// overflows.
inline float sanitizeInput(float v)
{
    const float magnitude = std::fabs(v);
    if (magnitude <= CVantelor::kInputLimit)
        return v;
    if (!(magnitude <= 3.4028235e38f))
        return 0.0f;
    return v > 0.0f ? CVantelor::kInputLimit : -CVantelor::kInputLimit;
}
} // namespace

CVantelor::CVantelor(int8_t numInputs, int8_t numOutputs)
    : CProcessor(numInputs, numOutputs),
      renderer(Renderer::sse2),
      pairRenderer(fast_path::renderPairSse2),
      decorrelator(kDecorrelatorMaxDelay, kDecorrelatorAllpassCapacity, kDecorrelatorStages)
{
    const char* simd = std::getenv("VANTELOR_SIMD");
    setRenderer(simd != nullptr && std::strcmp(simd, "sse2") == 0 ? Renderer::sse2 : Renderer::avx2);
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
    for (int c = 0; c < channels; ++c)
    {
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
    if (choice == Renderer::avx2 && !fast_path::hasAvx2())
        choice = Renderer::sse2;
    renderer = choice;
    pairRenderer = choice == Renderer::avx2 ? fast_path::renderPairAvx2 : fast_path::renderPairSse2;
}

// For each frame: every active input sanitised and guarded, panned and
// summed in channel order, the width-weighted side signal guarded, halved
// and decorrelated, then added to the left sum and taken from the right.
// Every input sample of a frame is read before its outputs are written, so
// in-place processing is safe.
void CVantelor::renderReference(float** inputs, float* outLeft, float* outRight, int32_t sampleFrames)
{
    const int channels = numInputs;
    for (int32_t i = 0; i < sampleFrames; ++i)
    {
        float sumL = 0.0f;
        float sumR = 0.0f;
        float side = 0.0f;
        for (int c = 0; c < channels; ++c)
        {
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
    for (int c = 0; c < channels; ++c)
    {
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
    for (int32_t start = 0; start < sampleFrames; start += kSliceFrames)
    {
        const int32_t frames = sampleFrames - start < kSliceFrames ? sampleFrames - start : kSliceFrames;
        // The engine's generator is held locally for the slice; it draws
        // for the first input, the second and so on, then for the side.
        CNoiseGenerator guard = noise;
        if ((count == 1 || count == 2) && passesGuards(activeSources[0] + start, frames) &&
            (count == 1 || passesGuards(activeSources[1] + start, frames)))
        {
            // The usual case: no input is guarded, so the panners read the
            // inputs themselves and the only draws are the side signal's,
            // at most one per frame.
            const float* const second = count == 2 ? activeSources[1] + start : nullptr;
            guardSide(activeSources[0] + start, second, frames, guard);
            activeInputs[0] = activeSources[0] + start;
            if (second != nullptr)
                activeInputs[1] = second;
        }
        else if (count == 2 && replacedByGuards(activeSources[0] + start, frames) &&
                 replacedByGuards(activeSources[1] + start, frames))
        {
            // Silence: both inputs are noise drawn in a known order.
            guardSilence(frames, guard);
            activeInputs[0] = &guardedInputs[0];
            activeInputs[1] = &guardedInputs[kSliceFrames];
        }
        else if (count == 1 && replacedByGuards(activeSources[0] + start, frames))
        {
            // Silence on one input: its noise, then the side signal's.
            guardSilenceOne(frames, guard);
            activeInputs[0] = &guardedInputs[0];
        }
        else if (count == 2)
        {
            activeInputs[0] = &guardedInputs[0];
            activeInputs[1] = &guardedInputs[kSliceFrames];
            const float* const in0 = activeSources[0] + start;
            const float* const in1 = activeSources[1] + start;
            const float w0 = activeWidths[0];
            const float w1 = activeWidths[1];
            float* const v0 = &guardedInputs[0];
            float* const v1 = &guardedInputs[kSliceFrames];
            for (int32_t i = 0; i < frames; ++i)
            {
                const float a = denormalGuard(sanitizeInput(in0[i]), guard);
                const float b = denormalGuard(sanitizeInput(in1[i]), guard);
                v0[i] = a;
                v1[i] = b;
                const float side = denormalGuard((0.0f + a * w0) + b * w1, guard);
                sliceSide[i] = side * 0.5f;
                sliceSums[2 * i] = 0.0f;
                sliceSums[2 * i + 1] = 0.0f;
            }
        }
        else
        {
            for (int k = 0; k < count; ++k)
                activeInputs[k] = &guardedInputs[static_cast<size_t>(k) * kSliceFrames];
            for (int32_t i = 0; i < frames; ++i)
            {
                float side = 0.0f;
                for (int k = 0; k < count; ++k)
                {
                    const float v = denormalGuard(sanitizeInput(activeSources[k][start + i]), guard);
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

        if (count > 0)
        {
            // Panner k's first draw of the slice is the shared generator's
            // (k+1)-th next state.
            CNoiseGenerator shared = pannerNoise;
            for (int k = 0; k < count; ++k)
                activePanners[k]->beginFastBlock(activeBlocks[k], shared.next());
            for (int k = 0; k < count; k += 2)
            {
                fast_path::PannerBlock* pair[2] = {&activeBlocks[k], k + 1 < count ? &activeBlocks[k + 1] : nullptr};
                pairRenderer(pair, count - k < 2 ? 1 : 2, &activeInputs[k], sliceSums, frames, stride, *work);
            }
            for (int k = 0; k < count; ++k)
                activePanners[k]->endFastBlock(activeBlocks[k]);
            // The last panner's last draw is where the shared generator stands.
            pannerNoise.setState(activeBlocks[count - 1].noiseState);
        }

        decorrelator.processBlock(sliceSide, frames);
        float* const left = outLeft + start;
        float* const right = outRight + start;
        int32_t i = 0;
        for (; i + 4 <= frames; i += 4)
        {
            const F4 side = load4(sliceSide + i);
            const F4 a = load4(sliceSums + 2 * i);
            const F4 b = load4(sliceSums + 2 * i + 4);
            store4(left + i, side + __builtin_shufflevector(a, b, 0, 2, 4, 6));
            store4(right + i, __builtin_shufflevector(a, b, 1, 3, 5, 7) - side);
        }
        for (; i < frames; ++i)
        {
            left[i] = sliceSide[i] + sliceSums[2 * i];
            right[i] = sliceSums[2 * i + 1] - sliceSide[i];
        }
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

void CVantelor::guardSide(const float* in0, const float* in1, int32_t frames, CNoiseGenerator& guard)
{
    std::memset(sliceSums, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
    const float w0 = activeWidths[0];
    const float w1 = in1 != nullptr ? activeWidths[1] : 0.0f;
    // The side signal before its guard, and whether the guard replaces it.
    I4 replaced = {};
    I4 kept = {};
    int32_t i = 0;
    for (; i + 4 <= frames; i += 4)
    {
        F4 side = 0.0f + load4(in0 + i) * w0;
        if (in1 != nullptr)
            side = side + load4(in1 + i) * w1;
        store4(sliceSide + i, side);
        const I4 near = ~((side >= 1e-8f) | (side <= -1e-8f));
        replaced |= near;
        kept |= ~near;
    }
    for (; i < frames; ++i)
    {
        sliceSide[i] = 0.0f + in0[i] * w0;
        if (in1 != nullptr)
            sliceSide[i] = sliceSide[i] + in1[i] * w1;
        const bool near = !(sliceSide[i] >= 1e-8f || sliceSide[i] <= -1e-8f);
        replaced[0] |= near ? -1 : 0;
        kept[0] |= near ? 0 : -1;
    }
    const bool anyKept = (kept[0] | kept[1] | kept[2] | kept[3]) != 0;
    const bool anyReplaced = (replaced[0] | replaced[1] | replaced[2] | replaced[3]) != 0;
    if (anyReplaced && !anyKept)
    {
        // Every frame draws once: the generator's next states in a row,
        // four at a time.
        const CNoiseJump four = CNoiseJump::steps(4);
        uint32_t first = guard.getState();
        U4 states;
        for (int k = 0; k < 4; ++k)
            states[k] = first = CNoiseJump::steps(1).apply(first);
        uint32_t last = guard.getState();
        for (i = 0; i < frames; i += 4)
        {
            const I4 bit = (I4)((states >> kNoiseSignShift) & kNoiseSignBit);
            const F4 noise = __builtin_convertvector(bit - 1, F4) * kNoiseLevel;
            const int n = frames - i < 4 ? frames - i : 4;
            for (int k = 0; k < n; ++k)
                sliceSide[i + k] = noise[k];
            last = states[n - 1];
            states = states * four.multiplier + four.increment;
        }
        guard.setState(last);
    }
    else if (anyReplaced)
    {
        for (i = 0; i < frames; ++i)
            sliceSide[i] = denormalGuard(sliceSide[i], guard);
    }
    for (i = 0; i + 4 <= frames; i += 4)
        store4(sliceSide + i, load4(sliceSide + i) * 0.5f);
    for (; i < frames; ++i)
        sliceSide[i] = sliceSide[i] * 0.5f;
}

void CVantelor::guardSilence(int32_t frames, CNoiseGenerator& guard)
{
    std::memset(sliceSums, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
    float* const v0 = &guardedInputs[0];
    float* const v1 = &guardedInputs[kSliceFrames];
    const float w0 = activeWidths[0];
    const float w1 = activeWidths[1];
    // Each frame draws for the first input, then the second; the side
    // signal formed from those two draws is one of four values, and whether
    // its guard draws a third time is known for each ahead.
    float sideOf[4];
    bool drawsOf[4];
    bool always = true;
    for (int signs = 0; signs < 4; ++signs)
    {
        const float a = static_cast<float>((signs >> 1) * 2 - 1) * kNoiseLevel;
        const float b = static_cast<float>((signs & 1) * 2 - 1) * kNoiseLevel;
        sideOf[signs] = (0.0f + a * w0) + b * w1;
        drawsOf[signs] = !(sideOf[signs] >= 1e-8f || sideOf[signs] <= -1e-8f || sideOf[signs] != sideOf[signs]);
        always = always && drawsOf[signs];
    }
    const CNoiseJump one = CNoiseJump::steps(1);
    const CNoiseJump two = CNoiseJump::steps(2);
    const CNoiseJump three = CNoiseJump::steps(3);
    uint32_t state = guard.getState();
    if (always)
    {
        // Three draws every frame: four frames at a time.
        const CNoiseJump twelve = CNoiseJump::steps(12);
        U4 first;
        U4 second;
        U4 third;
        for (int k = 0; k < 4; ++k)
        {
            const uint32_t base = CNoiseJump::steps(3 * k).apply(state);
            first[k] = one.apply(base);
            second[k] = two.apply(base);
            third[k] = three.apply(base);
        }
        auto noiseOf = [](U4 states) {
            const I4 bit = (I4)((states >> kNoiseSignShift) & kNoiseSignBit);
            return __builtin_convertvector(bit - 1, F4) * kNoiseLevel;
        };
        int32_t i = 0;
        for (; i + 4 <= frames; i += 4)
        {
            store4(v0 + i, noiseOf(first));
            store4(v1 + i, noiseOf(second));
            store4(sliceSide + i, noiseOf(third) * 0.5f);
            // The last draw of these four frames.
            state = third[3];
            first = first * twelve.multiplier + twelve.increment;
            second = second * twelve.multiplier + twelve.increment;
            third = third * twelve.multiplier + twelve.increment;
        }
        for (; i < frames; ++i)
        {
            v0[i] = noiseFromState(state = one.apply(state));
            v1[i] = noiseFromState(state = one.apply(state));
            sliceSide[i] = noiseFromState(state = one.apply(state)) * 0.5f;
        }
    }
    else
    {
        // Whether the side draws depends on the two signs just drawn: the
        // next state is chosen without a branch.
        for (int32_t i = 0; i < frames; ++i)
        {
            const uint32_t a = one.apply(state);
            const uint32_t b = two.apply(state);
            const uint32_t c = three.apply(state);
            const int signs = static_cast<int>(((a >> kNoiseSignShift) & kNoiseSignBit) |
                                               (((b >> kNoiseSignShift) & kNoiseSignBit) >> 1));
            v0[i] = noiseFromState(a);
            v1[i] = noiseFromState(b);
            const bool draws = drawsOf[signs];
            sliceSide[i] = (draws ? noiseFromState(c) : sideOf[signs]) * 0.5f;
            state = draws ? c : b;
        }
    }
    guard.setState(state);
}

void CVantelor::guardSilenceOne(int32_t frames, CNoiseGenerator& guard)
{
    std::memset(sliceSums, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
    float* const v0 = &guardedInputs[0];
    const float w0 = activeWidths[0];
    // The side signal is the input's noise times the width, of one
    // magnitude whatever the sign: its guard draws every frame or never.
    const float side = 0.0f + kNoiseLevel * w0;
    const bool sideDraws = !(side >= 1e-8f || side <= -1e-8f || side != side);
    const int perFrame = sideDraws ? 2 : 1;
    const CNoiseJump one = CNoiseJump::steps(1);
    const CNoiseJump jump = CNoiseJump::steps(4 * perFrame);
    uint32_t state = guard.getState();
    U4 first;
    U4 second;
    for (int k = 0; k < 4; ++k)
    {
        const uint32_t base = CNoiseJump::steps(perFrame * k).apply(state);
        first[k] = one.apply(base);
        second[k] = one.apply(first[k]);
    }
    auto noiseOf = [](U4 states) {
        const I4 bit = (I4)((states >> kNoiseSignShift) & kNoiseSignBit);
        return __builtin_convertvector(bit - 1, F4) * kNoiseLevel;
    };
    int32_t i = 0;
    for (; i + 4 <= frames; i += 4)
    {
        const F4 input = noiseOf(first);
        store4(v0 + i, input);
        store4(sliceSide + i, (sideDraws ? noiseOf(second) : 0.0f + input * w0) * 0.5f);
        // The last draw of these four frames.
        state = sideDraws ? second[3] : first[3];
        first = first * jump.multiplier + jump.increment;
        second = second * jump.multiplier + jump.increment;
    }
    for (; i < frames; ++i)
    {
        v0[i] = noiseFromState(state = one.apply(state));
        const float raw = 0.0f + v0[i] * w0;
        sliceSide[i] = (sideDraws ? noiseFromState(state = one.apply(state)) : raw) * 0.5f;
    }
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
