#pragma once

#include <cstdint>

#include "dsp/NumericHelpers.h"

// Base of a multichannel block processor: channel counts, sample rate, and the
// block, reset and sample-rate operations that a concrete engine overrides.
// The base `process` copies inputs to outputs, so a bare processor is a
// pass-through.
class CProcessor
{
public:
    static constexpr float kDefaultSampleRate = 44100.0f;

    CProcessor(int8_t numInputs, int8_t numOutputs);
    virtual ~CProcessor();

    CProcessor(const CProcessor&) = delete;
    CProcessor& operator=(const CProcessor&) = delete;

    // Renders sampleFrames frames; a count of 0 or less writes nothing.
    virtual void process(float** inputs, float** outputs, int32_t sampleFrames);
    // Clears all audio state; settings stay.
    virtual void reset();
    // Clamps to [22050, 192000] (NaN gives 22050); on a change stores the rate,
    // then runs sampleRateChanged and reset.
    virtual void setSampleRate(float rate);
    virtual float getSampleRate();
    // Redesigns everything that depends on the rate; called by setSampleRate.
    virtual void sampleRateChanged();

    int8_t getNumInputs() const { return numInputs; }
    int8_t getNumOutputs() const { return numOutputs; }

protected:
    int8_t numInputs;
    int8_t numOutputs;
    float sampleRate;
};
