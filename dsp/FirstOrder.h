#pragma once

// First-order single-precision filters: a one-pole low-pass (also a control
// smoother), its complementary high-pass, an emphasis section and a
// pole-zero shelving section. Frequencies are normalised (hertz divided by
// the sample rate). Not thread-safe: the owner keeps design calls, reset and
// process on one object from overlapping.

#include "dsp/NumericHelpers.h"

// Pole (or zero) radius for a normalised frequency: exp(-2 atan(pi f)),
// close to exp(-2 pi f) for small f and never below exp(-pi). Frequencies
// below 1e-8, and NaN, count as 1e-8.
float onePoleCoefficient(float freq);

// Frequency floor shared by the first-order designs, so that no design
// divides by zero; NaN gives the floor.
constexpr float kLowestFrequency = 1e-8f;

inline float floorFrequency(float freq)
{
    return freq >= kLowestFrequency ? freq : kLowestFrequency;
}

// Corner of a time constant of the given length: 1 / (2 pi seconds rate).
inline float timeConstantFrequency(float seconds, float sampleRate)
{
    return 1.0f / (seconds * 6.2831855f * sampleRate);
}

// One-pole low-pass. Until a frequency is set it passes its input unchanged.
class C1LPF
{
public:
    C1LPF() = default;
    virtual ~C1LPF();

    // Per sample: lp = (1 - coef) x + coef lp[n-1]; two multiplies, no branch.
    virtual void process(float* sample)
    {
        state = lanes::onePoleStep(state, *sample, coef);
        *sample = state;
    }

    // Clears the memory; the design stays.
    virtual void reset() { state = 0.0f; }
    virtual void setFrequency(float freq);
    virtual void setTimeConstant(float seconds, float sampleRate);
    // Squared magnitude of the analog one-pole prototype at freq.
    virtual float getPowerResponse(float freq) const;

    float getCoefficient() const { return coef; }
    float getCorner() const { return corner; }
    // The filter memory, for an owner that runs the recurrence itself over a
    // block and hands the memory back.
    float getState() const { return state; }
    void setState(float value) { state = value; }

protected:
    float coef = 0.0f;
    float state = 0.0f;
    float corner = 0.0f;
};

// Complementary one-pole high-pass: the input minus the low-pass. Until a
// frequency is set it outputs silence.
class C1HPF final : public C1LPF
{
public:
    ~C1HPF() override;

    void process(float* sample) override
    {
        const float x = *sample;
        state = (state - x) * coef + x;
        *sample = x - state;
    }

    float getPowerResponse(float freq) const override;
};

// First-order emphasis: (x - p x[n-1]) / (1 - p), gain 1 at DC and
// (1 + p) / (1 - p) at the Nyquist frequency.
class C1Emphasis final
{
public:
    C1Emphasis() = default;
    virtual ~C1Emphasis();

    virtual void process(float* sample)
    {
        const float x = *sample;
        const float y = b0 * x + b1 * prevInput;
        prevInput = x;
        *sample = y;
    }

    virtual void setFrequency(float freq);
    virtual void setTimeConstant(float seconds, float sampleRate);
    virtual void reset() { prevInput = 0.0f; }

    float getCorner() const { return corner; }

private:
    float b0 = 1.0f;
    float b1 = 0.0f;
    float prevInput = 0.0f;
    float corner = 0.0f;
};

// First-order pole-zero section (1 + a1 z^-1 in the denominator) with
// bilinear-style low- and high-shelf designs. shelfDb is the shelf's gain,
// gainDb an overall gain, invert flips the polarity. A new section is a
// plain unity gain.
class CBiLin final
{
public:
    CBiLin() = default;
    virtual ~CBiLin();

    // Transposed direct form.
    virtual void process(float* sample)
    {
        const float x = *sample;
        y = b0 * x + state;
        state = b1 * x - a1 * y;
        *sample = y;
    }

    virtual void reset()
    {
        y = 0.0f;
        state = 0.0f;
    }

    // Gain G at the Nyquist frequency; shelfDb lifts or cuts below freq.
    virtual void setLowShelf(float freq, float shelfDb, float gainDb, bool invert);
    // Gain G at DC; shelfDb lifts or cuts above freq.
    virtual void setHighShelf(float freq, float shelfDb, float gainDb, bool invert);

    float getB0() const { return b0; }
    float getB1() const { return b1; }
    float getA1() const { return a1; }

private:
    float b0 = 1.0f;
    float b1 = 0.0f;
    float a1 = 0.0f;
    float y = 0.0f;
    float state = 0.0f;
};
