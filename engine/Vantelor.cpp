#include "engine/Vantelor.h"

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

    // Every input sample of a frame is read before that frame's outputs are
    // written, so in-place processing is safe.
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
    if (amount > kWidthLimit)
        amount = kWidthLimit;
    else if (amount < -kWidthLimit)
        amount = -kWidthLimit;
    width[channel] = amount;
}
