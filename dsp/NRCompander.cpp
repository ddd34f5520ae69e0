#include "dsp/NRCompander.h"

#include "dsp/FirstOrder.h"

CNREncoder::CNREncoder()
{
    update();
    reset();
}

CNREncoder::~CNREncoder() = default;

// Band split at 1 kHz, level smoothed over 10 ms.
void CNREncoder::update()
{
    splitCoef = onePoleCoefficient(1000.0f / sampleRate);
    levelCoef = floatExp(-1.0f / (sampleRate * 0.01f));
}

void CNREncoder::setSampleRate(float hertz)
{
    const float rate = clampSampleRate(hertz);
    if (rate == sampleRate)
        return;
    sampleRate = rate;
    reset();
    update();
}

CNRDecoder::~CNRDecoder() = default;
