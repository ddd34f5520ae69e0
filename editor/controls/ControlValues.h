// Small value helpers shared by the controls: storing a setting only when it
// changes (so that a setter redraws only then), clamping to 0..1, and the
// wheel's default step.
#pragma once

#include <algorithm>
#include <cmath>

namespace control_values {

// One wheel notch moves a twentieth of the range.
constexpr float kWheelIncrement = 0.05f;

// Into 0..1; a NaN goes to 0.
inline float clampUnit(float v)
{
    if (!(v >= 0.f))
        return 0.f;
    return v <= 1.f ? v : 1.f;
}

// Assigns value to field; false when it already held it.
template <typename T>
inline bool store(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// Stores the two ends in order; false when nothing changed or an end is
// not a number one could plot.
inline bool storeRange(float& lo, float& hi, float a, float b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    const bool loChanged = store(lo, std::min(a, b));
    const bool hiChanged = store(hi, std::max(a, b));
    return loChanged || hiChanged;
}

} // namespace control_values
