#pragma once

// Single-band noise-reduction compander. The encoder raises quiet content
// above 1 kHz by up to 20 dB; the decoder applies the exact inverse gain
// law, so noise added between the two is pushed down by as much. Both
// measure the high band the same way and differ only in their gain law.
// Not thread-safe: one owner drives each.

#include <cmath>

#include "dsp/NumericHelpers.h"
#include "dsp/SignalGuard.h"

class CNREncoder
{
public:
    // Ready for 44100 Hz.
    CNREncoder();
    virtual ~CNREncoder();

    // Scales the sample by the gain law of the smoothed high-band level. A
    // non-finite or absurdly large sample counts as silence, so it never poisons the level.
    virtual void process(float* sample)
    {
        const float x = signalOrSilence(*sample);
        lowState = (1.0f - splitCoef) * x + splitCoef * lowState;
        level = absValue((x - lowState) * 8.0f) * (1.0f - levelCoef) + levelCoef * level;
        *sample = x * gainCurve(level);
    }

    // Clears the band split and the level.
    virtual void reset()
    {
        lowState = 0.0f;
        level = 0.0f;
    }
    // 22050..192000 Hz (NaN gives 22050); a new rate clears the state.
    virtual void setSampleRate(float hertz);
    virtual void update();
    // (L + 0.2) / (L + 0.02): +20 dB for a silent high band, towards unity
    // for a loud one.
    virtual float gainCurve(float highLevel) const
    {
        return (highLevel + 0.2f) / (highLevel + 0.02f);
    }

    float getLevel() const { return level; }
    float getSampleRate() const { return sampleRate; }

protected:
    float sampleRate = 44100.0f;
    float splitCoef = 0.0f;
    float levelCoef = 0.0f;
    float lowState = 0.0f;
    float level = 0.0f;
};

class CNRDecoder final : public CNREncoder
{
public:
    ~CNRDecoder() override;

    // Added to the root's divisor so that a silent band (L = 0) divides by
    // a number, not by zero; far too small to move any other result.
    static constexpr float kDivisionGuard = 1e-8f;

    // u / L for the band level u that the encoder turned into L: the root
    // of L = u (u + 0.2) / (u + 0.02). 0.1 for a silent band, towards unity
    // for a loud one.
    float gainCurve(float highLevel) const override
    {
        const float L = highLevel;
        const float b = 0.2f - L;
        const float root = std::sqrt(b * b + 0.08f * L);
        // Below 0.2 the written root would cancel against b and lose every
        // digit for small levels; its conjugate form keeps them.
        if (b > 0.0f)
            return 0.04f / (root + b);
        return (root - b) / (2.0f * L + kDivisionGuard);
    }
};
