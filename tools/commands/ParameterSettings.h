#pragma once

#include "tools/commands/Commands.h"

#include <string>
#include <utility>

namespace vst2host {

class HostedPlugin;

// Splits "NAME=VALUE" at the last separator, so names may contain it too.
// Throws HostError when the separator is missing or either side is empty.
std::pair<std::string, std::string> splitAssignment(const std::string& text, char separator,
                                                    const char* option);

// The index of a parameter by name or index; throws HostError naming the
// plug-in's parameters when there is none.
int requireParameter(HostedPlugin& plugin, const std::string& name);

// Selects the program and sets the parameters the options name. With
// `skipMissing`, programs and parameters the plug-in does not have are
// skipped (used when one set of options serves several plug-ins); otherwise
// they are errors.
void applyParameters(HostedPlugin& plugin, const ParameterOptions& options, bool skipMissing);

} // namespace vst2host
