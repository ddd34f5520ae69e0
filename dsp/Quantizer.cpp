#include "dsp/Quantizer.h"

#include <cmath>
#include <limits>

namespace {
constexpr int8_t kMaxBits = 31;
constexpr float kMaxShaping = 10.0f;

float floatCos(float x)
{
    return static_cast<float>(std::cos(static_cast<double>(x)));
}
} // namespace

CQuantizer::CQuantizer(CNoiseGenerator& noise) : noise(&noise)
{
    update();
    reset();
}

CQuantizer::~CQuantizer() = default;

void CQuantizer::update()
{
    if (bits < 3) {
        scale = 1.0f;
        invScale = 1.0f;
    } else {
        scale = static_cast<float>(1u << (bits - 1));
        invScale = 1.0f / scale;
    }

    // The shelf the noise follows; its first impulse-response value is
    // scaled to 1, as error feedback requires.
    const bool lowRate = !(sampleRate >= 40000.0f);
    const float g = lowRate ? 20.0f * shaping : -30.0f * shaping;
    const float f0 = lowRate ? 300.0f : 15000.0f;
    const float Q = lowRate ? 0.3f : 1.5f;

    // Cookbook low shelf, in single precision.
    const float A = floatPow(10.0f, g * 0.025f);
    const float w = f0 * 6.2831855f / sampleRate;
    const float c = floatCos(w);
    const float alpha = floatSin(w) / (2.0f * Q);
    const float k = 2.0f * std::sqrt(A) * alpha;
    const float b0 = A * ((A + 1.0f) - (A - 1.0f) * c + k);
    const float b1 = 2.0f * A * ((A - 1.0f) - (A + 1.0f) * c);
    const float b2 = A * ((A + 1.0f) - (A - 1.0f) * c - k);
    const float a0 = (A + 1.0f) + (A - 1.0f) * c + k;
    const float na1 = -2.0f * ((A - 1.0f) + (A + 1.0f) * c);
    const float na2 = (A + 1.0f) + (A - 1.0f) * c - k;

    a1 = na1 / a0;
    a2 = na2 / a0;
    c1 = na1 / a0 - b1 / b0;
    c2 = na2 / a0 - b2 / b0;
}

void CQuantizer::setBits(int8_t value)
{
    // The scale is a 32-bit shift.
    const int8_t b = value <= kMaxBits ? value : kMaxBits;
    if (b == bits)
        return;
    bits = b;
    update();
    reset();
}

void CQuantizer::setShaping(float amount)
{
    if (!(absValue(amount) <= std::numeric_limits<float>::max()))
        return;
    const float s = maxValue(minValue(amount, kMaxShaping), -kMaxShaping);
    if (s == shaping)
        return;
    shaping = s;
    update();
    reset();
}

void CQuantizer::setSampleRate(float hertz)
{
    const float rate = clampSampleRate(hertz);
    if (rate == sampleRate)
        return;
    sampleRate = rate;
    update();
    reset();
}
