#include "dsp/Reverb.h"

#include <limits>

namespace {
// The lines are sized for 1.36 s at the highest rate.
constexpr int32_t kLineCapacity = 192000;
// Shorter predelays (and NaN) count as this one; the line needs a length
// above zero.
constexpr float kShortestPredelay = 1e-8f;

// Whole samples of a length in samples: truncated, NaN and negatives give 0,
// lengths beyond an int the largest ring (the blocks clamp to their own).
int32_t wholeSamples(float samples)
{
    if (!(samples >= 0.0f))
        return 0;
    if (samples >= static_cast<float>(kMaxPow2Int))
        return kMaxPow2Int;
    return static_cast<int32_t>(samples);
}

bool isFinite(float x)
{
    return absValue(x) <= std::numeric_limits<float>::max();
}

// The value, raised to `lowest` if smaller; NaN gives `lowest`.
float atLeast(float x, float lowest)
{
    return x >= lowest ? x : lowest;
}
} // namespace

CUFNReverb::CUFNReverb()
{
    for (int j = 0; j < kLines; ++j) {
        lines[j] = std::make_unique<CDelay>(kLineCapacity);
        damping[j] = std::make_unique<C1LPF>();
    }
    diffuserA = std::make_unique<CDecorrelator>(768, 2879, 4);
    diffuserB = std::make_unique<CDecorrelator>(1919, 2879, 3);
    diffuserC = std::make_unique<CDecorrelator>(96000, 38400, 4);
    reset();
    update();
}

CUFNReverb::~CUFNReverb() = default;

void CUFNReverb::update()
{
    // Line j is shorter than line 0 by 3^(-j spread); together they last
    // `size` seconds.
    float w[kLines];
    float W = 0.0f;
    for (int j = 0; j < kLines; ++j) {
        w[j] = floatPow(3.0f, -static_cast<float>(j) * spread);
        W += w[j];
    }
    const float r = 1.0f / W;
    for (int j = 0; j < kLines; ++j) {
        const float len = w[j] * size * sampleRate * r;
        // -60 dB per decay time, and -6 dB that normalises the sign matrix.
        lineGain[j] = floatPow(10.0f, (len * -60.0f / (sampleRate * decayTime) - 6.0f) * 0.05f);
        lines[j]->setDelay(wholeSamples(len));
        damping[j]->setFrequency(dampingFrequency /
                                 (floatPow(w[j], 2.0f * dampingSlope) * sampleRate));
    }

    diffuserA->setAllpassCoefficient(0.5f);
    diffuserA->setDelay(wholeSamples(sampleRate * 0.004f));
    diffuserA->setAllpassTotal(wholeSamples(sampleRate * 0.015f));
    diffuserB->setAllpassCoefficient(0.5f);
    diffuserB->setDelay(wholeSamples(sampleRate * 0.01f));
    diffuserB->setAllpassTotal(wholeSamples(sampleRate * 0.015f));
    diffuserC->setDelay(wholeSamples(predelay * sampleRate));
    diffuserC->setAllpassTotal(wholeSamples(diffusion * 0.2f * sampleRate));
    diffuserC->setAllpassCoefficient(0.5f);

    bassFilter.setFrequency(500.0f / sampleRate);
    lfo.setSampleRate(sampleRate);
    lfo.setFrequency(0.7f);
}

void CUFNReverb::reset()
{
    for (int j = 0; j < kLines; ++j) {
        feedback[j] = 0.0f;
        damping[j]->reset();
        lines[j]->clear();
    }
    diffuserC->clear();
    diffuserA->clear();
    diffuserB->clear();
    bassFilter.reset();
    lfo.reset();
}

void CUFNReverb::setSampleRate(float hertz)
{
    const float rate = clampSampleRate(hertz);
    if (rate == sampleRate)
        return;
    sampleRate = rate;
    reset();
    update();
}

void CUFNReverb::setDecayTime(float seconds)
{
    const float t = atLeast(seconds, 0.01f);
    if (t == decayTime)
        return;
    decayTime = t;
    update();
}

void CUFNReverb::setDampingFrequency(float hertz)
{
    const float f = atLeast(hertz, 20.0f);
    if (f == dampingFrequency)
        return;
    dampingFrequency = f;
    update();
}

void CUFNReverb::setDampingSlope(float slope)
{
    if (slope == dampingSlope || !isFinite(slope))
        return;
    dampingSlope = slope;
    update();
}

void CUFNReverb::setSize(float seconds)
{
    const float s = atLeast(seconds, 0.01f);
    if (s == size || !isFinite(s))
        return;
    size = s;
    reset();
    update();
}

void CUFNReverb::setPredelay(float seconds)
{
    const float p = atLeast(seconds, kShortestPredelay);
    if (p == predelay || !isFinite(p))
        return;
    predelay = p;
    diffuserA->clear();
    update();
}

void CUFNReverb::setSpread(float value)
{
    // Beyond +-20 the ratio between the lines leaves single precision.
    if (!isFinite(value))
        return;
    const float s = maxValue(minValue(value, 20.0f), -20.0f);
    if (s == spread)
        return;
    spread = s;
    reset();
    update();
}

void CUFNReverb::setDiffusion(float seconds)
{
    if (seconds == diffusion || !isFinite(seconds))
        return;
    diffusion = seconds;
    diffuserC->clear();
    update();
}

void CUFNReverb::setMonoBass(bool on)
{
    if (on == monoBass)
        return;
    monoBass = on;
    update();
}

void CUFNReverb::setEarlyLevel(float level)
{
    if (isFinite(level))
        earlyLevel = level;
}

void CUFNReverb::setModulation(bool on)
{
    if (on == modulation)
        return;
    modulation = on;
    lfo.reset();
}
