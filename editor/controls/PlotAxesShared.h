// Helpers shared by the files of the plot control: rounding, clamping,
// colour fading, tick series and label formatting.
#pragma once

#include "editor/controls/ControlValues.h"
#include "plugin/TextBounded.h"
#include "toolkit/CGraphics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plot_axes {

using control_values::clampUnit;
using control_values::store;
using control_values::storeRange;
using VSTGUI::CColor;

// Ranges and log-axis ends narrower than this count as this, so the
// reciprocals the mapping keeps stay finite.
constexpr float kMinRange = 1e-8f;
// A grid with a step far too small for its range would take forever to
// draw and show nothing but a solid area; it is cut off here.
constexpr int kMaxTicks = 1024;
constexpr int kLabelChars = 8;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Nearest integer, halves away from zero.
inline double nearest(double v)
{
    return std::round(v);
}

// Into lo..hi; a NaN goes to lo, so nothing downstream sees one.
inline double clampCoord(double v, double lo, double hi)
{
    if (!(v >= lo))
        return lo;
    return v <= hi ? v : hi;
}

inline CColor withAlpha(CColor c, uint8_t alpha)
{
    c.alpha = alpha;
    return c;
}

// Grid and label colours fade out within 36 px of the crosshair.
inline CColor fadedNear(CColor c, double distance, bool fading)
{
    if (fading && distance < 36)
        c.alpha = static_cast<uint8_t>(c.alpha * distance / 36.0);
    return c;
}

// The value of the series origin + n * step that the tick loops start from:
// the first one strictly above floorValue, or with atOrBelow the last one
// not above it.
inline float firstTick(float origin, float step, float floorValue, bool atOrBelow)
{
    const float n = std::floor((floorValue - origin) / step);
    return origin + (atOrBelow ? n : n + 1.f) * step;
}

// Formats value for a tick label. A caller's format is used only when it
// takes exactly one floating-point argument; anything else could read
// arguments that are not there.
inline void formatLabel(char (&text)[kLabelChars + 1], float value, const char* format,
                        const char* plain, const char* thousands)
{
    if (format && isSingleFloatFormat(format))
        formatBounded(text, kLabelChars, format, static_cast<double>(value));
    else if (value >= 1000.f)
        formatBounded(text, kLabelChars, thousands, static_cast<double>(value / 1000.f));
    else
        formatBounded(text, kLabelChars, plain, static_cast<double>(value));
}

} // namespace plot_axes
