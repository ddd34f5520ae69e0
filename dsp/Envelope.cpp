#include "dsp/Envelope.h"

#include <algorithm>
#include <limits>

namespace {
// The shortest window the smoothing needs, in samples.
constexpr int kMinWindow = 44;

// A ring that can hold the shortest window: mask + 1 rounded up to a power
// of two of at least 45 entries.
int ringMask(int mask)
{
    const int wanted = mask >= kMinWindow ? mask + 1 : kMinWindow + 1;
    return nextPow2(wanted) - 1;
}

// Shorter times (and NaN) count as this one, so a coefficient computed from
// a time never divides by zero.
constexpr float kShortestTime = 1e-8f;

float limitTime(float seconds)
{
    return seconds >= kShortestTime ? seconds : kShortestTime;
}
} // namespace

CEnvelope::CEnvelope(int mask) : mask(ringMask(mask))
{
    ring = std::make_unique<float[]>(static_cast<size_t>(this->mask) + 1);
    update();
    reset();
}

CEnvelope::~CEnvelope() = default;

void CEnvelope::update()
{
    // Rounded to whole samples; a window too long for the ring (or too long
    // for an int) is the longest the ring allows, and the shortest wins.
    const float samples = sampleRate * holdTime + 0.5f;
    window = samples >= static_cast<float>(mask - 1) ? mask - 1 : truncateToInt(samples);
    if (window < kMinWindow)
        window = kMinWindow;

    attackCoef = floatExp(-1.0f / (sampleRate * attackTime));
    releaseCoef = floatExp(-1.0f / (sampleRate * releaseTime));
    smoothCoef = floatExp(-1.0f / (static_cast<float>(window) * 0.1f));
}

void CEnvelope::reset()
{
    windowMax = floor;
    env = floor;
    stage1 = floor;
    stage2 = floor;
    stage3 = floor;
    stage4 = floor;
    windowMaxAge = 0;
    writeIndex = 0;
    std::fill_n(ring.get(), static_cast<size_t>(mask) + 1, 0.0f);
}

void CEnvelope::setSampleRate(float rate)
{
    const float r = clampSampleRate(rate);
    if (r == sampleRate)
        return;
    sampleRate = r;
    update();
}

void CEnvelope::setHoldTime(float seconds)
{
    if (seconds == holdTime)
        return;
    holdTime = seconds;
    update();
}

void CEnvelope::setAttackTime(float seconds)
{
    const float t = limitTime(seconds);
    if (t == attackTime)
        return;
    attackTime = t;
    update();
}

void CEnvelope::setReleaseTime(float seconds)
{
    const float t = limitTime(seconds);
    if (t == releaseTime)
        return;
    releaseTime = t;
    update();
}

void CEnvelope::setFloor(float value)
{
    // A non-finite floor would make every output non-finite.
    if (value == floor || !(absValue(value) <= std::numeric_limits<float>::max()))
        return;
    floor = value;
    reset();
}
