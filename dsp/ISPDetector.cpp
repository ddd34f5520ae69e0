#include "dsp/ISPDetector.h"

CISPDetector::~CISPDetector() = default;

void CISPDetector::reset()
{
    for (float& h : history)
        h = 0.0f;
    peak = 0.0f;
}

void CISPDetector::setSampleRate(float rate)
{
    // A NaN compares unequal and so counts as a change.
    if (rate == sampleRate)
        return;
    sampleRate = rate;
    reset();
}
