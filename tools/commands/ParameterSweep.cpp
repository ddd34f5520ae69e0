#include "tools/commands/ParameterSweep.h"

#include "tools/commands/ParameterSettings.h"
#include "tools/host/HostError.h"
#include "tools/host/ParameterSearch.h"
#include "tools/host/HostedPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vst2host {

namespace {

double number(const std::string& text, const std::string& option)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value))
        throw HostError("--sweep expects NAME:FROM:TO with numbers, got \"" + option + "\"");
    return value;
}

} // namespace

ParameterSweep::ParameterSweep(HostedPlugin& plugin, const std::string& text)
{
    // NAME:FROM:TO, split from the right so names may contain colons.
    const auto [nameAndFrom, toText] = splitAssignment(text, ':', "--sweep");
    const auto [name, fromText] = splitAssignment(nameAndFrom, ':', "--sweep");
    index_ = requireParameter(plugin, name);
    const double from = number(fromText, text);
    const double to = number(toText, text);
    for (int k = 0; k <= kSegments; ++k)
        knots_.push_back(normalizedForDisplay(plugin, index_, from + (to - from) * k / kSegments));
}

std::string ParameterSweep::parameterName(const std::string& text)
{
    const auto [nameAndFrom, toText] = splitAssignment(text, ':', "--sweep");
    return splitAssignment(nameAndFrom, ':', "--sweep").first;
}

void ParameterSweep::apply(HostedPlugin& plugin, double t) const
{
    const double position = std::clamp(t, 0.0, 1.0) * kSegments;
    const int k = std::min(static_cast<int>(position), kSegments - 1);
    const double fraction = position - k;
    const double value = knots_[k] + (knots_[k + 1] - knots_[k]) * fraction;
    plugin.setParameter(index_, static_cast<float>(value));
}

} // namespace vst2host
