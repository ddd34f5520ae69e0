// A frame's scale factor: how many window pixels one unscaled coordinate
// unit covers. Views and controls work in unscaled coordinates; only the
// window, its back buffer and the drawing context see the factor.
#pragma once

#include "toolkit/CGraphics.h"

#include <cmath>

namespace VSTGUI {

constexpr double kMinScaleFactor = 1.0;
constexpr double kMaxScaleFactor = 4.0;

// A usable factor: inside 1..4; anything not a finite number is 1.
inline double clampScaleFactor(double factor)
{
    if (!std::isfinite(factor))
        return kMinScaleFactor;
    return factor < kMinScaleFactor ? kMinScaleFactor
                                    : (factor > kMaxScaleFactor ? kMaxScaleFactor : factor);
}

// A length in window pixels, a half pixel rounding up (414 at 1.5 is 621,
// 289 at 1.5 is 434).
inline int scaledPixels(CCoord length, double factor)
{
    return static_cast<int>(std::floor(length * factor + 0.5));
}

// The window pixels that a rectangle touches, rounded outwards.
inline CRect scaleRectOut(const CRect& r, double factor)
{
    return CRect(std::floor(r.left * factor), std::floor(r.top * factor),
                 std::ceil(r.right * factor), std::ceil(r.bottom * factor));
}

// The unscaled rectangle that covers an area of window pixels.
inline CRect unscaleRectOut(const CRect& r, double factor)
{
    return CRect(std::floor(r.left / factor), std::floor(r.top / factor),
                 std::ceil(r.right / factor), std::ceil(r.bottom / factor));
}

// A window position in unscaled coordinates.
inline CPoint unscalePoint(double x, double y, double factor)
{
    return CPoint(x / factor, y / factor);
}

} // namespace VSTGUI
