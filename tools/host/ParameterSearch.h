#pragma once

#include <optional>
#include <string>

namespace vst2host {

class HostedPlugin;

// The number a display text starts with ("-45.0" in "-45.0 deg", minus
// infinity in "-inf dB"); nothing when it does not start with a number.
std::optional<double> leadingNumber(const std::string& text);

// Finds the normalised value at which the plug-in displays `target`, by
// bisection on the plug-in's own display text. Works for any parameter whose
// displayed number is monotonic in the normalised value, increasing or
// decreasing. When the display is rounded, the result is the middle of the
// range of values that display the target; when no value displays it exactly,
// the value whose display comes nearest. Leaves the parameter set to the
// result. Throws HostError when the display is not numeric or the target lies
// outside the displayed range.
float normalizedForDisplay(HostedPlugin& plugin, int index, double target);

// Finds a normalised value for a value as the user typed it: a number is
// searched for as above; a word ("Off", "On") is looked up among the
// parameter's display texts, ignoring case. Throws HostError when no value
// fits.
float normalizedForText(HostedPlugin& plugin, int index, const std::string& value);

} // namespace vst2host
