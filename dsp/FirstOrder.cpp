#include "dsp/FirstOrder.h"

namespace {
// The largest float below 1. A shelf far wider than the audio band can round
// its pole or zero to exactly 1; keeping them just inside the unit circle
// keeps the section stable and its divisions defined.
constexpr float kMaxRadius = 0.99999994f;

float radius(float x)
{
    const float r = floatExp(-2.0f * floatAtan(x));
    return r <= kMaxRadius ? r : kMaxRadius;
}
} // namespace

float onePoleCoefficient(float freq)
{
    return floatExp(-2.0f * floatAtan(3.1415927f * floorFrequency(freq)));
}

C1LPF::~C1LPF() = default;

void C1LPF::setFrequency(float freq)
{
    corner = floorFrequency(freq);
    coef = onePoleCoefficient(corner);
}

void C1LPF::setTimeConstant(float seconds, float sampleRate)
{
    setFrequency(timeConstantFrequency(seconds, sampleRate));
}

float C1LPF::getPowerResponse(float freq) const
{
    const float c2 = corner * corner;
    return c2 / (freq * freq + c2 + 1e-16f);
}

C1HPF::~C1HPF() = default;

float C1HPF::getPowerResponse(float freq) const
{
    const float c2 = corner * corner;
    return 1.0f - c2 / (freq * freq + c2 + 1e-16f);
}

C1Emphasis::~C1Emphasis() = default;

void C1Emphasis::setFrequency(float freq)
{
    corner = floorFrequency(freq);
    const float p = onePoleCoefficient(corner);
    b0 = 1.0f / (1.0f - p);
    b1 = -b0 * p;
}

void C1Emphasis::setTimeConstant(float seconds, float sampleRate)
{
    setFrequency(timeConstantFrequency(seconds, sampleRate));
}

CBiLin::~CBiLin() = default;

// Low shelf: zero and pole from the prewarped corner scaled by sqrt of the
// shelf gain; unity-normalised at the Nyquist frequency, then scaled by G.
void CBiLin::setLowShelf(float freq, float shelfDb, float gainDb, bool invert)
{
    const float w = floorFrequency(freq) * 3.1415927f;
    const float A = floatPow(10.0f, shelfDb * 0.025f);
    const float G = floatPow(10.0f, gainDb * 0.05f);
    const float z = radius(w * A);
    const float p = radius(w / A);
    a1 = -p;
    b0 = G * (1.0f + p) / (1.0f + z);
    b1 = -b0 * z;
    if (invert) {
        b0 = -b0;
        b1 = -b1;
    }
}

// High shelf: the mirror image, normalised to G at DC.
void CBiLin::setHighShelf(float freq, float shelfDb, float gainDb, bool invert)
{
    const float w = floorFrequency(freq) * 3.1415927f;
    const float A = floatPow(10.0f, shelfDb * 0.025f);
    const float G = floatPow(10.0f, gainDb * 0.05f);
    const float z = radius(w / A);
    const float p = radius(w * A);
    a1 = -p;
    b0 = G * (1.0f - p) / (1.0f - z);
    b1 = -b0 * z;
    if (invert) {
        b0 = -b0;
        b1 = -b1;
    }
}
