#pragma once

// Low-frequency oscillator: a parabolic sine smoothed by a one-pole low-pass
// with a 5 ms time constant, so that phase jumps never click. Starts at
// phase 0 with an output of 0. Not thread-safe: one owner drives it.

#include "dsp/FirstOrder.h"
#include "dsp/NumericHelpers.h"

class CLFO final
{
public:
    CLFO();
    virtual ~CLFO();

    // Writes the next value, about -1..1.
    virtual void process(float* out)
    {
        *out = fastSin(phase);
        smoother.process(out);
        phase += increment;
        if (phase > kTurn)
            phase -= kTurn;
        else if (phase < 0.0f)
            phase += kTurn;
    }

    // Limited to 22050..192000 Hz (NaN gives 22050); a new rate restarts
    // the oscillator at phase 0.
    virtual void setSampleRate(float rate);
    float getSampleRate() const { return sampleRate; }
    // Hertz; a negative frequency runs backwards, and frequencies beyond
    // half the rate (either way) are capped there.
    virtual void setFrequency(float hertz);
    // Radians, wrapped into [0, 2 pi); a NaN or infinite phase gives 0.
    virtual void setPhase(float radians);
    // Phase 0 and a silent smoother.
    virtual void reset()
    {
        phase = 0.0f;
        smoother.reset();
    }
    virtual void update();

    float getPhase() const { return phase; }
    float getIncrement() const { return increment; }
    float getFrequency() const { return frequency; }

private:
    static constexpr float kTurn = 6.2831855f;

    C1LPF smoother;
    float sampleRate = 44100.0f;
    float frequency = 0.5f;
    float increment = 0.0f;
    float phase = 0.0f;
};
