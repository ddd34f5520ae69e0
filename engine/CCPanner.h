#pragma once

#include <cmath>
#include <cstdint>

#include "dsp/BiQuad.h"
#include "dsp/Delay.h"
#include "dsp/FirstOrder.h"
#include "dsp/NumericHelpers.h"
#include "engine/FastPath.h"
#include "engine/PannerLaw.h"

// Renders one mono source, placed by azimuth and elevation, into a stereo
// pair. Inside +-30 degrees an amplitude pan law spreads the source; beyond
// it a network of short delays and shelves forms a far copy and subtracts a
// filtered cross-feed of the opposite path, faded in from 30 to 60 degrees.
// Elevation colours the signal with a peak and a shelf at every azimuth.
// Every filter and delay runs on every sample, so crossing between the
// regimes never wakes a filter from stale state.
//
// Not thread-safe: the owner serialises the setters and process.
class CCCPanner final
{
public:
    static constexpr float kMaxAngle = 60.0f;

    // An angle as the setters store it: within [-60, 60], NaN gives -60.
    static float clampAngle(float degrees)
    {
        if (!(degrees > -kMaxAngle))
            return -kMaxAngle;
        if (degrees >= kMaxAngle)
            return kMaxAngle;
        return degrees;
    }

    CCCPanner();
    virtual ~CCCPanner();

    CCCPanner(const CCCPanner&) = delete;
    CCCPanner& operator=(const CCCPanner&) = delete;

    // Reads one input sample and overwrites one sample on each output.
    virtual void process(const float* input, float* outLeft, float* outRight);
    // Clears every filter and delay memory and returns the smoothed azimuth
    // to the centre; designs and delay lengths stay.
    virtual void reset();
    // Clamped to [22050, 192000]; a change resets and redesigns everything.
    virtual void setSampleRate(float fs);
    // Target azimuth in degrees, clamped to [-60, 60] (NaN gives -60); the
    // sound follows through the 25 ms smoother.
    virtual void setAzimuth(float degrees);
    // Elevation in degrees, clamped like the azimuth; a change redesigns the
    // two elevation filters at once.
    virtual void setElevation(float degrees);
    // Designs every filter and sets every delay for the current rate and
    // elevation.
    virtual void updateFilters();

    // Generator for the per-sample denormal noise. The owner of several
    // panners passes one generator shared by all of them before processing;
    // a panner on its own draws from a generator of its own.
    void setNoiseGenerator(CNoiseGenerator* generator)
    {
        noise = generator != nullptr ? generator : &ownNoise;
    }

    float getSampleRate() const { return sampleRate; }
    float getAzimuth() const { return azimuth; }
    float getElevation() const { return elevation; }
    // The azimuth the last processed sample was rendered at.
    float getSmoothedAzimuth() const { return smoothedAzimuth; }
    int getFarDelay() const { return farDelay.getDelay(); }
    int getCrossDelay() const { return crossDelayA.getDelay(); }
    const CBiQuad& getElevationPeak() const { return elevationPeak; }
    const CBiQuad& getElevationShelf() const { return elevationShelf; }
    const CBiQuad& getOutsideBassShelf() const { return outsideBassShelf; }
    const CBiQuad& getFarShelf() const { return farShelf; }
    const CBiQuad& getCrossShelf() const { return crossShelfA; }
    const C1LPF& getAzimuthSmoother() const { return azimuthSmoother; }

    // The per-sample work of process, callable without a virtual dispatch
    // from an owner that knows the concrete type.
    inline void processSample(float input, float& outLeft, float& outRight);

    // The panner's state as the block renderers run it: every coefficient,
    // memory and ring cursor, with the noise state of the first draw of the
    // block. endFastBlock takes back what a renderer left (the memories, the
    // cursors, the smoothed azimuth and the noise state of the last draw).
    void beginFastBlock(fast_path::PannerBlock& block, uint32_t firstNoiseState);
    void endFastBlock(const fast_path::PannerBlock& block);

    // Every memory, ring and the smoothed azimuth folded into `hash`.
    uint64_t hashState(uint64_t hash) const;

private:
    void designElevationFilters(bool fullUpdate);

    float sampleRate;
    float azimuth;
    float elevation;
    float smoothedAzimuth;
    CNoiseGenerator ownNoise;
    CNoiseGenerator* noise;

    C1LPF azimuthSmoother;
    CBiQuad outsideBassShelf;
    CDelay farDelay;
    CBiQuad farShelf;
    CDelay crossDelayA;
    CDelay crossDelayB;
    CBiQuad crossShelfA;
    CBiQuad crossShelfB;
    CBiQuad elevationPeak;
    CBiQuad elevationShelf;
};

inline void CCCPanner::processSample(float input, float& outLeft, float& outRight)
{
    // One draw per sample, shared by the azimuth and the signal path.
    const float n = denormalNoise(*noise);

    float a = azimuth + n;
    azimuthSmoother.process(&a);
    smoothedAzimuth = a;

    const float d = panner_law::fade(a);

    const float x0 = input + n;
    float bass = x0;
    outsideBassShelf.process(&bass);
    float x = (1.0f - d) * x0 + d * bass;
    elevationPeak.process(&x);
    elevationShelf.process(&x);

    float y = x;
    farDelay.process(&y);
    farShelf.process(&y);

    float cA = x;
    crossShelfA.process(&cA);
    crossDelayA.process(&cA);
    float cB = y;
    crossShelfB.process(&cB);
    crossDelayB.process(&cB);

    if (a <= -panner_law::kSpanEdge) {
        outLeft = panner_law::nearSide(x, cB, d);
        outRight = panner_law::farSide(y, cA, d);
    } else if (a >= panner_law::kSpanEdge) {
        outRight = panner_law::nearSide(x, cB, d);
        outLeft = panner_law::farSide(y, cA, d);
    } else {
        const float t = panner_law::angle(a);
        outLeft = panner_law::leftGain(t) * x;
        outRight = panner_law::rightGain(t) * x;
    }
}
