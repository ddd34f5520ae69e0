#pragma once

// Word-length reduction with rectangular dither and error-feedback noise
// shaping. The shaping filter is a low shelf chosen by the sample rate: at
// 40 kHz and above it moves the noise up above 15 kHz, below 40 kHz it
// moves it under 300 Hz. Not thread-safe: one owner drives it, and the
// noise generator it is given belongs to that owner's thread.

#include <cfloat>
#include <cstdint>

#include "dsp/NumericHelpers.h"
#include "dsp/SignalGuard.h"

class CQuantizer final
{
public:
    // Starts switched off at 44100 Hz, without shaping.
    explicit CQuantizer(CNoiseGenerator& noise);
    virtual ~CQuantizer();

    // Rounds the sample down to the grid after adding the dither and the
    // filtered error of earlier samples; the output therefore sits half a
    // step low on average. Off (bits <= 0) the sample is left unchanged. A
    // non-finite or absurdly large sample counts
    // as silence, so it never poisons the filter.
    virtual void process(float* sample)
    {
        if (bits <= 0)
            return;
        const float x = signalOrSilence(*sample);
        const float v = x * scale - s0;
        const float r = static_cast<float>(randomInt(*noise) - 16384) / 32768.0f;
        const float q = fastFloor(v + r);
        const float e = q - v + 0.5f;
        s0 = c1 * e + s1;
        s1 = c2 * e - a1 * s0 + s2;
        s2 = -a2 * s0;
        *sample = q * invScale;
    }

    // Clears the error filter.
    virtual void reset()
    {
        s0 = 0.0f;
        s1 = 0.0f;
        s2 = 0.0f;
    }
    // Word length; 0 or less switches the block off, 1 and 2 round to whole
    // numbers, more than 31 counts as 31.
    virtual void setBits(int8_t value);
    // Shelf depth, 30 dB per unit at 40 kHz and above, 20 dB per unit
    // below; bounded to +-10 and a non-finite value is ignored.
    virtual void setShaping(float amount);
    // 22050..192000 Hz (NaN gives 22050).
    virtual void setSampleRate(float hertz);
    float getSampleRate() const { return sampleRate; }
    virtual void update();

    int8_t getBits() const { return bits; }
    float getScale() const { return scale; }
    float getShaping() const { return shaping; }
    float getC1() const { return c1; }
    float getC2() const { return c2; }

private:
    CNoiseGenerator* noise;
    float sampleRate = 44100.0f;
    int8_t bits = -1;
    float shaping = 0.0f;
    float scale = 1.0f;
    float invScale = 1.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
    float c1 = 0.0f;
    float c2 = 0.0f;
    float s0 = 0.0f;
    float s1 = 0.0f;
    float s2 = 0.0f;
};
