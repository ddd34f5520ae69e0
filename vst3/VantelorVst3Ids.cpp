#include "vst3/VantelorVst3Ids.h"

#include <algorithm>
#include <cmath>

namespace vantelor_vst3 {

int32_t programOf(double normalised)
{
    if (!(normalised > 0))
        return 0;
    return static_cast<int32_t>(std::lround(std::min(normalised, 1.0) * kProgramSteps));
}

double normalisedOfProgram(int32_t program)
{
    return static_cast<double>(std::clamp(program, 0, kProgramSteps)) / kProgramSteps;
}

bool productValue(double normalised, float* value)
{
    if (std::isnan(normalised))
        return false;
    *value = static_cast<float>(std::clamp(normalised, 0.0, 1.0));
    return true;
}

double normalisedOfUnits(int32_t index, double units)
{
    const vantelor::ParameterDescription& p = vantelor::kVantelorParameters[index];
    const double clamped =
        std::clamp(units, static_cast<double>(p.min), static_cast<double>(p.max));
    if (p.unit == vantelor::Unit::percent)
        return (clamped - p.min) / (p.max - p.min);
    // The float whose units, by the product's arithmetic, are the value:
    // the quotient itself nearly always, else one of its neighbours, so
    // that a value handed back reaches the engine unchanged.
    const auto target = static_cast<float>(clamped);
    const float guess = std::clamp(vantelor::toNormalised(index, target), 0.0f, 1.0f);
    float below = guess;
    float above = guess;
    for (int step = 0; step < 4; ++step) {
        if (vantelor::toUnits(index, above) == target)
            return above;
        if (vantelor::toUnits(index, below) == target)
            return below;
        above = std::nextafter(above, 2.0f);
        below = std::nextafter(below, -1.0f);
    }
    return guess;
}

} // namespace vantelor_vst3
