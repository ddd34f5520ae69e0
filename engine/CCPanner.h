#pragma once

#include <cmath>
#include <cstdint>

#include "dsp/BiQuad.h"
#include "dsp/Delay.h"
#include "dsp/FirstOrder.h"
#include "dsp/NumericHelpers.h"

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
    void setNoiseGenerator(CNoiseGenerator* generator) { noise = generator != nullptr ? generator : &ownNoise; }

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

    // Block rendering for an owner of several panners that share one noise
    // generator, drawn by each active panner in turn every frame. Renders
    // `frames` samples of `count` panners (1 or 2, processed side by side)
    // and adds their outputs to `sums` (left and right interleaved, one pair
    // per frame) in panner order, with
    // the same arithmetic as processSample. noiseStates[k] holds the
    // generator state panner k draws from at the first frame; from frame to
    // frame a state moves on by state * stride.multiplier + stride.increment.
    // On return noiseStates[k] holds the state of panner k's last draw.
    struct NoiseStride
    {
        uint32_t multiplier;
        uint32_t increment;
    };
    static void renderBlock(CCCPanner* const* panners, int count, const float* const* inputs, float* sums,
                            int32_t frames, uint32_t* noiseStates, NoiseStride stride);

private:
    template <class Lanes>
    static void renderLanes(CCCPanner* const* panners, const float* const* inputs, float* sums, int32_t frames,
                            uint32_t* noiseStates, NoiseStride stride);

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

    float d = std::fabs(a) - 30.0f;
    d = (d > 0.0f ? d : 0.0f) * 0.033333335f;
    if (d >= 1.0f)
        d = 1.0f;

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

    if (a <= -30.0f)
    {
        outLeft = x - cB * d;
        outRight = y * d - cA * d;
    }
    else if (a >= 30.0f)
    {
        outRight = x - cB * d;
        outLeft = y * d - cA * d;
    }
    else
    {
        // t runs from 0 at -30 degrees to pi/2 at +30.
        const float t = (a * 0.033333335f + 1.0f) * 0.7853982f;
        outLeft = fastSin(t + 1.5707964f) * x;
        outRight = fastSin(t) * x;
    }
}
