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
    return std::clamp(vantelor::toNormalised(index, static_cast<float>(clamped)), 0.0f, 1.0f);
}

} // namespace vantelor_vst3
