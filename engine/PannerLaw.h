#pragma once

#include <cmath>

// The panner's placement law, shared by the per-sample panner and the block
// renderers: within +-30 degrees of the centre an amplitude pan law, beyond
// it the outside network faded in over the next 30 degrees. Constants only
// and scalar helpers; the block renderers apply the same constants lane by
// lane.
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
inline float fade(float a)
{
    float d = std::fabs(a) - kSpanEdge;
    d = (d > 0.0f ? d : 0.0f) * kPerDegree;
    return d >= 1.0f ? 1.0f : d;
}

// Pan angle within the span: 0 at -30 degrees, pi/2 at +30.
inline float angle(float a)
{
    return (a * kPerDegree + 1.0f) * kEighthTurn;
}
} // namespace panner_law
