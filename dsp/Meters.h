#pragma once

// Signal-side followers that feed on-screen level meters. The owner feeds
// blocks of samples from its processing thread and reads the value at its
// display's rate; there is no lock, so the owner keeps the two apart (every
// field is a single 32-bit value or a byte). A non-finite sample counts as
// silence, so one bad sample cannot leave a meter stuck.

#include <limits>

#include "dsp/NumericHelpers.h"

namespace meter_detail {
// |x|, or 0 for an infinity or a NaN.
inline float magnitude(float x)
{
    const float v = absValue(x);
    return v <= std::numeric_limits<float>::max() ? v : 0.0f;
}

// Times below this, and NaN, count as this, so a coefficient computed from
// a time never divides by zero.
constexpr float kShortestMeterTime = 1e-8f;
// Where a peak meter rests: the level of the noise that every output of the
// engine carries, so silence reads as the quietest level there is.
constexpr float kRestingPeak = kNoiseLevel;

inline float meterTime(float seconds)
{
    return seconds >= kShortestMeterTime ? seconds : kShortestMeterTime;
}

// Samples each fed sample stands for; at least 1.
inline int meterDecimation(int decimation)
{
    return decimation >= 1 ? decimation : 1;
}
} // namespace meter_detail

// Peak follower that holds a peak until it has been read once, then lets it
// fall exponentially until a higher peak arrives. In valley mode it follows
// minima instead and rises back towards a ceiling after a read.
class CVu final
{
public:
    // Falls by e per second of samples at 22050 Hz until set otherwise.
    CVu();
    virtual ~CVu();

    // Back to the resting value of the mode: the ceiling for valleys, the
    // resting peak for peaks; nothing is held as read.
    virtual void reset()
    {
        released = false;
        level = valleyMode ? ceiling : meter_detail::kRestingPeak;
    }

    virtual void process(const float* samples, int count)
    {
        if (samples == nullptr)
            return;
        if (valleyMode)
            processValleys(samples, count);
        else
            processPeaks(samples, count);
    }

    // The level falls (or, for valleys, rises) by a factor e per `seconds`;
    // decimation is the number of input samples each fed sample stands for.
    // The current level is kept.
    virtual void setDecay(float seconds, float sampleRate, int decimation);
    // Switching mode resets; setting the current mode changes nothing.
    virtual void setMode(bool valley)
    {
        if (valley == valleyMode)
            return;
        valleyMode = valley;
        reset();
    }
    // Upper limit of the valley follower; takes effect without a reset.
    virtual void setCeiling(float value) { ceiling = value; }
    // Returns the level and lets it move back from a held peak or valley.
    virtual float readLevel()
    {
        released = true;
        return level;
    }

    float getReleaseCoefficient() const { return releaseCoef; }
    float getRiseCoefficient() const { return riseCoef; }
    bool isValleyMode() const { return valleyMode; }

private:
    void processPeaks(const float* samples, int count)
    {
        for (int i = 0; i < count; ++i) {
            const float v = meter_detail::magnitude(samples[i]);
            if (v > level) {
                level = v;
                released = false;
            } else if (released && level > meter_detail::kRestingPeak) {
                level = level * releaseCoef;
            }
        }
    }

    void processValleys(const float* samples, int count)
    {
        for (int i = 0; i < count; ++i) {
            const float v = meter_detail::magnitude(samples[i]);
            if (v < level) {
                level = v > meter_detail::kRestingPeak ? v : meter_detail::kRestingPeak;
                released = false;
            } else if (released && ceiling > level) {
                level = minValue(level * riseCoef, ceiling);
            }
        }
    }

    float releaseCoef = 1.0f;
    float riseCoef = 1.0f;
    float level = meter_detail::kRestingPeak;
    bool released = false;
    bool valleyMode = false;
    float ceiling = 1.0f;
};

// Moving-coil style meter: the rectified signal rises through two cascaded
// one-pole stages (each with half the rise time as its time constant) and
// the display falls no faster than an exponential of the fall time.
class CAnalogVu final
{
public:
    CAnalogVu();
    virtual ~CAnalogVu();

    virtual void reset()
    {
        stage1 = 0.0f;
        stage2 = 0.0f;
        output = 0.0f;
    }

    virtual void process(const float* samples, int count)
    {
        if (samples == nullptr)
            return;
        const float a = riseCoef;
        for (int i = 0; i < count; ++i) {
            stage1 = meter_detail::magnitude(samples[i]) * (1.0f - a) + a * stage1;
            stage2 = (1.0f - a) * stage1 + a * stage2;
            const float fallen = fallCoef * output;
            output = stage2 >= fallen ? stage2 : fallen;
        }
    }

    virtual float getLevel() const { return output; }
    // decimation is the number of input samples each fed sample stands for.
    // The displayed value is kept.
    virtual void setTimes(float riseSeconds, float fallSeconds, float sampleRate, int decimation);

    float getRiseCoefficient() const { return riseCoef; }
    float getFallCoefficient() const { return fallCoef; }

private:
    float stage1 = 0.0f;
    float stage2 = 0.0f;
    float output = 0.0f;
    float riseCoef = 0.0f;
    float fallCoef = 0.0f;
};
