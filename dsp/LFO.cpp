#include "dsp/LFO.h"

CLFO::CLFO()
{
    update();
    smoother.reset();
}

CLFO::~CLFO() = default;

void CLFO::update()
{
    const float nyquist = 0.5f * sampleRate;
    const float f = maxValue(minValue(frequency, nyquist), -nyquist);
    increment = f * kTurn / sampleRate;
    smoother.setTimeConstant(0.005f, sampleRate);
}

void CLFO::setSampleRate(float rate)
{
    const float r = clampSampleRate(rate);
    if (r == sampleRate)
        return;
    sampleRate = r;
    update();
    reset();
}

void CLFO::setFrequency(float hertz)
{
    if (hertz == frequency)
        return;
    frequency = hertz;
    update();
}

void CLFO::setPhase(float radians)
{
    const float wrapped = radians - fastFloor(radians * 0.15915494f) * kTurn;
    // Rounding can land exactly on a whole turn (or just outside it for
    // huge arguments); those, and NaN, start the turn afresh.
    phase = wrapped >= 0.0f && wrapped < kTurn ? wrapped : 0.0f;
}
