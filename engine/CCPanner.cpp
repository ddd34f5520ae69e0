#include "engine/CCPanner.h"

#include "engine/Processor.h"

namespace {
// Sizes for the highest sample rate, so a rate change never reallocates.
constexpr int kFarDelayCapacity = 120;
constexpr int kCrossDelayCapacity = 47;

// A fresh panner's angles sit just off zero, so that 0, the value a host
// usually sets first, still counts as a change and designs the filters; at
// this angle they are flat within 1e-8 dB.
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
    if (e > 0.0f) {
        const float peakDb = (fullUpdate ? 0.25f : 0.07f) * e;
        elevationPeak.setPeak(7200.0f / sampleRate, peakDb, 2.0f, 0.0f, false);
        elevationShelf.setHighShelf(10000.0f / sampleRate, (e * -6.0f) * kOneSixtieth, 2.0f, 0.0f,
                                    false);
    } else {
        const float peakDb = (fullUpdate ? 0.35f : 0.25f) * e;
        const float shelfDb = (e * (fullUpdate ? -2.0f : -4.0f)) * kOneSixtieth;
        elevationPeak.setPeak(5500.0f / sampleRate, peakDb, 3.0f, 0.0f, false);
        elevationShelf.setHighShelf(1300.0f / sampleRate, shelfDb, 1.0f, 0.0f, false);
    }
}

void CCCPanner::beginFastBlock(fast_path::PannerBlock& block, uint32_t firstNoiseState)
{
    auto section = [](const CBiQuad& q) {
        return fast_path::Section{q.getB0(), q.getB1(),     q.getB2(),    q.getA1(),
                                  q.getA2(), q.getState1(), q.getState2()};
    };
    auto ring = [](CDelay& line) {
        const CDelay::Cursor c = line.beginBlock();
        return fast_path::Ring{c.ring, c.mask, c.delay, c.index};
    };
    block.azimuth = azimuth;
    block.smootherCoefficient = azimuthSmoother.getCoefficient();
    block.smootherState = azimuthSmoother.getState();
    block.smoothedAzimuth = smoothedAzimuth;
    block.bassShelf = section(outsideBassShelf);
    block.elevationPeak = section(elevationPeak);
    block.elevationShelf = section(elevationShelf);
    block.crossShelfA = section(crossShelfA);
    block.farShelf = section(farShelf);
    block.crossShelfB = section(crossShelfB);
    block.farDelay = ring(farDelay);
    block.crossDelayA = ring(crossDelayA);
    block.crossDelayB = ring(crossDelayB);
    block.noiseState = firstNoiseState;
}

void CCCPanner::endFastBlock(const fast_path::PannerBlock& block)
{
    auto section = [](CBiQuad& q, const fast_path::Section& s) { q.setState(s.s1, s.s2); };
    auto ring = [](CDelay& line, const fast_path::Ring& r) {
        line.endBlock(CDelay::Cursor{r.samples, r.mask, r.delay, r.index});
    };
    azimuthSmoother.setState(block.smootherState);
    smoothedAzimuth = block.smoothedAzimuth;
    section(outsideBassShelf, block.bassShelf);
    section(elevationPeak, block.elevationPeak);
    section(elevationShelf, block.elevationShelf);
    section(crossShelfA, block.crossShelfA);
    section(farShelf, block.farShelf);
    section(crossShelfB, block.crossShelfB);
    ring(farDelay, block.farDelay);
    ring(crossDelayA, block.crossDelayA);
    ring(crossDelayB, block.crossDelayB);
}

uint64_t CCCPanner::hashState(uint64_t hash) const
{
    hash = hashWord(hash, azimuthSmoother.getState());
    hash = hashWord(hash, smoothedAzimuth);
    for (const CBiQuad* q : {&outsideBassShelf, &elevationPeak, &elevationShelf, &farShelf,
                             &crossShelfA, &crossShelfB}) {
        hash = hashWord(hash, q->getState1());
        hash = hashWord(hash, q->getState2());
    }
    for (const CDelay* line : {&farDelay, &crossDelayA, &crossDelayB})
        hash = line->hashState(hash);
    return hash;
}
