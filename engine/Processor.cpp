#include "engine/Processor.h"

#include <algorithm>
#include <cstring>

CProcessor::CProcessor(int8_t numInputs, int8_t numOutputs)
    : numInputs(numInputs), numOutputs(numOutputs), sampleRate(kDefaultSampleRate)
{}

CProcessor::~CProcessor()
{
    numInputs = 0;
    numOutputs = 0;
}

void CProcessor::process(float** inputs, float** outputs, int32_t sampleFrames)
{
    if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr)
        return;
    const int channels = std::min<int>(numInputs, numOutputs);
    for (int c = 0; c < channels; ++c) {
        if (inputs[c] == nullptr || outputs[c] == nullptr || inputs[c] == outputs[c])
            continue;
        std::memmove(outputs[c], inputs[c], sizeof(float) * static_cast<size_t>(sampleFrames));
    }
}

void CProcessor::reset() {}

void CProcessor::setSampleRate(float rate)
{
    const float clamped = clampSampleRate(rate);
    if (clamped == sampleRate)
        return;
    sampleRate = clamped;
    sampleRateChanged();
    reset();
}

float CProcessor::getSampleRate()
{
    return sampleRate;
}

void CProcessor::sampleRateChanged() {}
