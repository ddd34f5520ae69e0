#include "engine/CCPanner.h"

#include "engine/Processor.h"

namespace
{
// Sizes for the highest sample rate, so a rate change never reallocates.
constexpr int kFarDelayCapacity = 120;
constexpr int kCrossDelayCapacity = 47;

constexpr float kInitialAngle = 1e-8f;
constexpr float kOneSixtieth = 0.016666668f;
} // namespace

CCCPanner::CCCPanner()
    : sampleRate(CProcessor::kDefaultSampleRate),
      azimuth(kInitialAngle),
      elevation(kInitialAngle),
      smoothedAzimuth(0.0f),
      noise(&ownNoise),
      farDelay(kFarDelayCapacity),
      crossDelayA(kCrossDelayCapacity),
      crossDelayB(kCrossDelayCapacity)
{
    CCCPanner::reset();
    CCCPanner::updateFilters();
}

CCCPanner::~CCCPanner() = default;

void CCCPanner::process(const float* input, float* outLeft, float* outRight)
{
    processSample(*input, *outLeft, *outRight);
}

void CCCPanner::reset()
{
    azimuthSmoother.reset();
    outsideBassShelf.reset();
    farDelay.clear();
    farShelf.reset();
    crossDelayA.clear();
    crossDelayB.clear();
    crossShelfA.reset();
    crossShelfB.reset();
    elevationPeak.reset();
    elevationShelf.reset();
    smoothedAzimuth = 0.0f;
}

void CCCPanner::setSampleRate(float fs)
{
    const float clamped = clampSampleRate(fs);
    if (clamped == sampleRate)
        return;
    sampleRate = clamped;
    reset();
    updateFilters();
}

void CCCPanner::setAzimuth(float degrees)
{
    azimuth = clampAngle(degrees);
}

void CCCPanner::setElevation(float degrees)
{
    const float clamped = clampAngle(degrees);
    if (clamped == elevation)
        return;
    elevation = clamped;
    designElevationFilters(false);
}

void CCCPanner::updateFilters()
{
    // Low-frequency lift of the outside-span network.
    outsideBassShelf.setLowShelf(180.0f / sampleRate, 5.0f, 2.0f, 0.0f, false);
    azimuthSmoother.setTimeConstant(0.025f, sampleRate);
    // Far path: the extra travel time to the far ear, then head shadow.
    farDelay.setDelay(static_cast<int>(sampleRate * 0.000628f));
    farShelf.setHighShelf(2700.0f / sampleRate, -25.0f, 0.5f, -2.0f, false);
    // Cross-feed that cancels each path's leak into the opposite output.
    const int crossDelay = static_cast<int>(sampleRate * 0.000246f);
    crossDelayA.setDelay(crossDelay);
    crossDelayB.setDelay(crossDelay);
    crossShelfA.setHighShelf(2000.0f / sampleRate, -11.0f, 0.4f, -2.5f, false);
    crossShelfB.setHighShelf(2000.0f / sampleRate, -11.0f, 0.4f, -2.5f, false);
    designElevationFilters(true);
}

// Two designs exist: the one a full redesign (construction, rate change)
// uses, and the one an elevation move uses. They differ in the peak gains and
// in the downward shelf slope, and a rate change keeps the full-redesign
// voicing until the elevation moves again.
void CCCPanner::designElevationFilters(bool fullUpdate)
{
    const float e = elevation;
    if (e > 0.0f)
    {
        const float peakDb = (fullUpdate ? 0.25f : 0.07f) * e;
        elevationPeak.setPeak(7200.0f / sampleRate, peakDb, 2.0f, 0.0f, false);
        elevationShelf.setHighShelf(10000.0f / sampleRate, (e * -6.0f) * kOneSixtieth, 2.0f, 0.0f, false);
    }
    else
    {
        const float peakDb = (fullUpdate ? 0.35f : 0.25f) * e;
        const float shelfDb = (e * (fullUpdate ? -2.0f : -4.0f)) * kOneSixtieth;
        elevationPeak.setPeak(5500.0f / sampleRate, peakDb, 3.0f, 0.0f, false);
        elevationShelf.setHighShelf(1300.0f / sampleRate, shelfDb, 1.0f, 0.0f, false);
    }
}
