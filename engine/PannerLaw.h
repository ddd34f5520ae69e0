#pragma once

#include "dsp/LaneMath.h"

// The panner's placement law, shared by the per-sample panner and the block
// renderers: within +-30 degrees of the centre an amplitude pan law, beyond
// it the outside network faded in over the next 30 degrees. Each formula is
// written once for a float or a vector of floats (one source per lane), so
// the renderers round every lane as the per-sample panner does.
namespace panner_law {
// Edge of the span the amplitude pan law covers, in degrees either side.
constexpr float kSpanEdge = 30.0f;
// 1/30 in single precision: per degree beyond the span (fade-in of the
// outside network) and per degree within it (the pan angle).
constexpr float kPerDegree = 0.033333335f;
// pi/4 and pi/2 in single precision: the pan angle runs from 0 at the left
// edge of the span to pi/2 at the right, and the left gain is the sine a
// quarter turn on.
constexpr float kEighthTurn = 0.7853982f;
constexpr float kQuarterTurn = 1.5707964f;

// Amount of the outside network at smoothed azimuth a: 0 within the span,
// rising to 1 at 60 degrees either side.
template <class T>
LANE_INLINE T fade(T a)
{
    T d = lanes::magnitude(a) - kSpanEdge;
    d = (d > lanes::splat<T>(0.0f) ? d : lanes::splat<T>(0.0f)) * kPerDegree;
    return d >= lanes::splat<T>(1.0f) ? lanes::splat<T>(1.0f) : d;
}

// Pan angle within the span: 0 at -30 degrees, pi/2 at +30.
template <class T>
LANE_INLINE T angle(T a)
{
    return (a * kPerDegree + 1.0f) * kEighthTurn;
}

// The amplitude pan law's gains at pan angle t.
template <class T>
LANE_INLINE T leftGain(T t)
{
    return lanes::sine(t + kQuarterTurn);
}

template <class T>
LANE_INLINE T rightGain(T t)
{
    return lanes::sine(t);
}

// Beyond the span, the outputs of the outside network: the near side takes
// the signal less the far cross-feed, the far side the delayed far path less
// the main cross-feed, both faded in by d.
template <class T>
LANE_INLINE T nearSide(T x, T crossB, T d)
{
    return x - crossB * d;
}

template <class T>
LANE_INLINE T farSide(T y, T crossA, T d)
{
    return y * d - crossA * d;
}
} // namespace panner_law
