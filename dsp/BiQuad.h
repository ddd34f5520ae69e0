#pragma once

#include "dsp/LaneMath.h"

// General second-order IIR section. The designs compute an unnormalised
// coefficient set in double precision; the per-sample path runs in single
// precision on that set divided by a0. Frequencies are normalised (hertz
// divided by the sample rate, 0.5 is the Nyquist frequency); only the
// K-weighting stages take a sample rate in hertz.
//
// Every design leaves the signal memory alone, so coefficients may change
// between any two samples. Not thread-safe: the owner keeps design calls,
// reset and process on one section from overlapping.
class CBiQuad final
{
public:
    // A new section passes its input unchanged.
    CBiQuad() = default;
    virtual ~CBiQuad();

    // Clears the signal memory; the design stays.
    virtual void reset()
    {
        y = 0.0f;
        s1 = 0.0f;
        s2 = 0.0f;
    }

    // Transposed direct form II: five multiplies, four adds, no branch.
    virtual void process(float* sample)
    {
        const lanes::BiquadStep<float> next =
            lanes::biquadStep(*sample, b0, b1, b2, a1, a2, s1, s2);
        y = next.y;
        s1 = next.s1;
        s2 = next.s2;
        *sample = y;
    }

    // gainDb is an overall gain applied to the numerator and invert flips the
    // output's polarity. shelfDb and peakDb are the shelf or bell gain; q the
    // quality factor (the caller passes q > 0). freq is clamped to [0, 0.5].
    virtual void setGain(float gainDb, bool invert);
    virtual void setLowPass(float freq, float q, float gainDb, bool invert);
    virtual void setHighPass(float freq, float q, float gainDb, bool invert);
    virtual void setLowShelf(float freq, float shelfDb, float q, float gainDb, bool invert);
    virtual void setHighShelf(float freq, float shelfDb, float q, float gainDb, bool invert);
    virtual void setPeak(float freq, float peakDb, float q, float gainDb, bool invert);
    virtual void setAllPass(float freq, float q, float gainDb, bool invert);
    // Peak whose gain at the Nyquist frequency matches its analog prototype;
    // unity at DC, band edges at half the peak in decibels. freq > 0.
    virtual void setMatchedPeak(float freq, float peakDb, float q, float gainDb);
    // The two stages of the K-weighting curve for loudness measurement; the
    // rate is clamped to [22050, 192000].
    virtual void setKWeightingShelf(float sampleRate);
    virtual void setKWeightingHighPass(float sampleRate);
    // Squared magnitude of the design's response at freq (a linear power
    // ratio; 10 log10 of it is the gain in dB).
    virtual float getPowerResponse(float freq) const;
    // Derives the run-time set from the design set.
    virtual void updateCoefficients();
    virtual void setPassThrough();

    // The two state terms of the recurrence, for an owner that runs it
    // itself over a block and hands them back. The last output is only a
    // scratch value of process and is not part of the memory.
    float getState1() const { return s1; }
    float getState2() const { return s2; }
    void setState(float state1, float state2)
    {
        s1 = state1;
        s2 = state2;
    }

    // The run-time set: b0, b1, b2, a1, a2 (a0 is 1).
    float getB0() const { return b0; }
    float getB1() const { return b1; }
    float getB2() const { return b2; }
    float getA1() const { return a1; }
    float getA2() const { return a2; }

private:
    // Stores a design set and derives the run-time set from it.
    void design(double nb0, double nb1, double nb2, double na0, double na1, double na2);

    float y = 0.0f;
    float s1 = 0.0f;
    float s2 = 0.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
    float b0 = 1.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
    double da0 = 1.0;
    double da1 = 0.0;
    double da2 = 0.0;
    double db0 = 1.0;
    double db1 = 0.0;
    double db2 = 0.0;
};
