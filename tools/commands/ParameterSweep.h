#pragma once

#include <string>
#include <vector>

namespace vst2host {

class HostedPlugin;

// A parameter moved linearly in display units, as a host's automation
// moves it. The normalised values of evenly spaced display values are
// found once; between them the normalised value is interpolated, which
// keeps the motion smooth even where the display is rounded.
class ParameterSweep
{
public:
    static constexpr int kSegments = 64;

    // `text` is NAME:FROM:TO in display units. Throws HostError for an
    // unknown parameter, a malformed text or a value the plug-in cannot
    // display.
    ParameterSweep(HostedPlugin& plugin, const std::string& text);

    // The NAME part of a sweep text (empty when it has none).
    static std::string parameterName(const std::string& text);

    // Sets the parameter for a position `t` (0 at FROM, 1 at TO).
    void apply(HostedPlugin& plugin, double t) const;

private:
    int index_ = 0;
    std::vector<float> knots_;
};

} // namespace vst2host
