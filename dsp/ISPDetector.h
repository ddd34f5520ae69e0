#pragma once

// True-peak estimate: besides each sample, the values between two
// neighbouring samples are interpolated with short fixed FIR kernels and the
// largest magnitude is held until read. Four times oversampled below 80 kHz,
// twice below 160 kHz, plain sample peak above. The detector only observes
// its input. Not thread-safe: the owner keeps feeding and reading apart.

#include "dsp/NumericHelpers.h"

class CISPDetector final
{
public:
    CISPDetector() = default;
    virtual ~CISPDetector();

    virtual void process(const float* sample)
    {
        for (int k = kTaps - 1; k > 0; --k)
            history[k] = history[k - 1];
        history[0] = *sample;

        float d = absValue(history[5]);
        // Negated tests, so that a NaN rate takes the finest branch.
        if (!(sampleRate >= 80000.0f)) {
            const float q1 = absValue(quarterPhase(0, 1));
            const float q2 = absValue(quarterPhase(kTaps - 1, -1));
            if (q1 >= d)
                d = q1;
            if (q2 >= d)
                d = q2;
        }
        if (!(sampleRate >= 160000.0f)) {
            const float h = absValue(halfPhase());
            if (h >= d)
                d = h;
        }
        if (d >= peak)
            peak = d;
    }

    virtual void reset();
    // The largest magnitude since the last read; starts a new interval.
    virtual float readPeak()
    {
        const float p = peak;
        peak = 0.0f;
        return p;
    }
    // The interpolation is centred five samples back.
    virtual int getLatency() const { return latency; }
    // A different rate clears the history and the held peak.
    virtual void setSampleRate(float rate);

    float getSampleRate() const { return sampleRate; }

private:
    static constexpr int kTaps = 12;

    // Quarter-sample interpolation between history[6] and history[5]; the
    // kernel read backwards gives the mirrored phase. Summed tap by tap in
    // order, so every build gives the same value.
    float quarterPhase(int first, int step) const
    {
        static constexpr float c[kTaps] = {-0.014550997f, 0.027914578f,  -0.045136373f,
                                           0.071183838f,  -0.121936202f, 0.297266603f,
                                           0.899371624f,  -0.175315857f, 0.091386668f,
                                           -0.056518059f, 0.035837073f,  -0.020920943f};
        float sum = 0.0f;
        for (int k = 0; k < kTaps; ++k)
            sum = sum + c[k] * history[first + step * k];
        return sum;
    }

    // Midpoint between history[6] and history[5] from a symmetric kernel.
    float halfPhase() const
    {
        static constexpr float e[kTaps / 2] = {-0.024993937f, 0.044881545f,  -0.071428575f,
                                               0.113677919f,  -0.204131126f, 0.633946121f};
        float sum = e[0] * (history[0] + history[11]);
        for (int k = 1; k < kTaps / 2; ++k)
            sum = sum + e[k] * (history[k] + history[kTaps - 1 - k]);
        return sum;
    }

    float history[kTaps] = {};
    float peak = 0.0f;
    int latency = 5;
    float sampleRate = 44100.0f;
};
