#include "engine/Vantelor.h"

#include <algorithm>

namespace
{
// The decorrelator is sized once for the highest rate with room to spare.
constexpr int kDecorrelatorMaxDelay = 192000;
constexpr int kDecorrelatorAllpassCapacity = 65536;
constexpr int8_t kDecorrelatorStages = 3;

constexpr float kDecorrelatorDelaySeconds = 0.012f;
constexpr float kDecorrelatorAllpassSeconds = 0.008f;
constexpr float kDecorrelatorCoefficient = 0.6f;

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
      decorrelator(kDecorrelatorMaxDelay, kDecorrelatorAllpassCapacity, kDecorrelatorStages)
{
    const int channels = numInputs > 0 ? numInputs : 0;
    panners = std::make_unique<CCCPanner[]>(static_cast<size_t>(channels));
    active = std::make_unique<uint8_t[]>(static_cast<size_t>(channels));
    width = std::make_unique<float[]>(static_cast<size_t>(channels));
    guardedInputs = std::make_unique<float[]>(static_cast<size_t>(channels) * kSliceFrames);
    activeSources = std::make_unique<const float*[]>(static_cast<size_t>(channels));
    activeWidths = std::make_unique<float[]>(static_cast<size_t>(channels));
    activePanners = std::make_unique<CCCPanner*[]>(static_cast<size_t>(channels));
    activeInputs = std::make_unique<const float*[]>(static_cast<size_t>(channels));
    activeNoise = std::make_unique<uint32_t[]>(static_cast<size_t>(channels));
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

void CVantelor::process(float** inputs, float** outputs, int32_t sampleFrames)
{
    if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr)
        return;
    float* const outLeft = outputs[0];
    float* const outRight = outputs[1];
    if (outLeft == nullptr || outRight == nullptr)
        return;
    const int channels = numInputs;
    for (int c = 0; c < channels; ++c)
        if (inputs[c] == nullptr)
            return;

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
    CCCPanner::NoiseStride stride{1u, 0u};
    for (int k = 0; k < count; ++k)
    {
        CNoiseGenerator step;
        step.setState(stride.increment);
        stride.multiplier *= 214013u;
        stride.increment = step.next();
    }

    // Slice by slice: guard the inputs and form the side signal frame by
    // frame (the engine's own noise is drawn in that order), run the
    // panners over the slice, then the decorrelator and the mix. Every
    // input sample of a slice is read before its outputs are written, so
    // in-place processing is safe.
    for (int32_t start = 0; start < sampleFrames; start += kSliceFrames)
    {
        const int32_t frames = sampleFrames - start < kSliceFrames ? sampleFrames - start : kSliceFrames;
        // The engine's generator is held locally for the slice; it draws
        // for the first input, the second and so on, then for the side.
        CNoiseGenerator guard = noise;
        if (count == 2)
        {
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
            CNoiseGenerator shared = pannerNoise;
            for (int k = 0; k < count; ++k)
                activeNoise[k] = shared.next();
            for (int k = 0; k < count; k += 2)
            {
                const int lanes = count - k < 2 ? 1 : 2;
                CCCPanner::renderBlock(&activePanners[k], lanes, &activeInputs[k], sliceSums, frames,
                                       &activeNoise[k], stride);
            }
            // The last panner's last draw is where the shared generator stands.
            pannerNoise.setState(activeNoise[count - 1]);
        }

        decorrelator.processBlock(sliceSide, frames);
        float* const left = outLeft + start;
        float* const right = outRight + start;
        for (int32_t i = 0; i < frames; ++i)
        {
            left[i] = sliceSide[i] + sliceSums[2 * i];
            right[i] = sliceSums[2 * i + 1] - sliceSide[i];
        }
    }
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
