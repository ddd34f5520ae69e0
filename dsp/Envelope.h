#pragma once

// Look-ahead peak envelope for limiting. The audio is delayed through a
// ring; over a window of the samples about to leave it, the largest
// magnitude above a floor is tracked, followed with attack and release and
// smoothed by four one-pole stages, so that a gain of floor / envelope is
// already down when a peak leaves the ring. Allocates only its ring, in the
// constructor. Not thread-safe: one owner drives it.

#include <cfloat>
#include <cstdint>
#include <memory>

#include "dsp/NumericHelpers.h"
#include "dsp/SignalGuard.h"

class CEnvelope final
{
public:
    // The ring holds mask + 1 samples (a power of two, at least 45; other
    // values are raised to the next power of two that fits) and delays the
    // audio by mask samples. Starts at 44100 Hz, at the floor, silent.
    explicit CEnvelope(int mask);
    virtual ~CEnvelope();

    CEnvelope(const CEnvelope&) = delete;
    CEnvelope& operator=(const CEnvelope&) = delete;

    // Delays *io by mask samples and writes the envelope (never below the
    // floor) to *envelopeOut. A non-finite (or absurdly large) sample is
    // delayed like any other but ignored by the detector.
    virtual void process(float* io, float* envelopeOut)
    {
        ring[writeIndex] = *io;
        writeIndex = (writeIndex + 1) & mask;

        const float v = maxValue(detected(ring[(writeIndex + window) & mask]), floor);
        if (v >= windowMax) {
            windowMax = v;
            windowMaxAge = window;
        } else if (--windowMaxAge < 0) {
            rescanWindow();
        }

        const float e = windowMax;
        if (env > e)
            env = e + (env - e) * releaseCoef;
        else
            env = e + (env - e) * attackCoef;

        // The window maximum is taken slightly above the floor so that the
        // smoothing below cannot undershoot a peak.
        const float target = maxValue(env, floor + (e - floor) * 1.0106f);
        stage1 = target + (stage1 - target) * smoothCoef;
        stage2 = stage1 + (stage2 - stage1) * smoothCoef;
        stage3 = stage2 + (stage3 - stage2) * smoothCoef;
        stage4 = stage3 + (stage4 - stage3) * smoothCoef;

        *envelopeOut = stage4;
        *io = ring[writeIndex];
    }

    // Limited to 22050..192000 Hz (NaN gives 22050).
    virtual void setSampleRate(float rate);

    // Look-ahead window in seconds; the window is at least 44 samples and
    // at most mask - 1.
    void setHoldTime(float seconds);
    // Times below 1e-8 s (or NaN) count as 1e-8 s.
    void setAttackTime(float seconds);
    void setReleaseTime(float seconds);
    // The level the envelope reports above; a new floor resets the block.
    // Infinite and NaN floors are ignored.
    void setFloor(float value);
    // Back to the floor with a silent ring.
    void reset();
    // Recomputes the window and the coefficients from the settings.
    void update();

    int getMask() const { return mask; }
    int getWindow() const { return window; }
    float getSampleRate() const { return sampleRate; }
    float getFloor() const { return floor; }
    float getSmoothCoefficient() const { return smoothCoef; }

private:
    // Magnitude seen by the detector: 0 for an infinity, a NaN or a value
    // too large for the smoothing to stay finite.
    static float detected(float x) { return absValue(signalOrSilence(x)); }

    // The maximum left the window: find the largest entry (the latest on
    // ties) and how long it stays.
    void rescanWindow()
    {
        windowMax = floor;
        windowMaxAge = window;
        for (int i = 0; i <= window; ++i) {
            const float u = detected(ring[(writeIndex + i) & mask]);
            if (u >= windowMax) {
                windowMax = u;
                windowMaxAge = i;
            }
        }
    }

    int mask;
    float sampleRate = 44100.0f;
    float holdTime = 0.0015f;
    float attackTime = 0.04f;
    float releaseTime = 0.4f;
    float floor = 1.0f;
    int window = 0;
    float attackCoef = 0.0f;
    float releaseCoef = 0.0f;
    float smoothCoef = 0.0f;
    float windowMax = 1.0f;
    int windowMaxAge = 0;
    std::unique_ptr<float[]> ring;
    int writeIndex = 0;
    float env = 1.0f;
    float stage1 = 1.0f;
    float stage2 = 1.0f;
    float stage3 = 1.0f;
    float stage4 = 1.0f;
};
