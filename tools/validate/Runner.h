#pragma once

#include "tools/validate/Check.h"

#include <string>
#include <vector>

namespace vst2host::validate {

enum class Outcome
{
    Pass,
    Warning,
    Fail,
    Skip
};

// The result of one check as the runner saw it.
struct Result
{
    const Check* check = nullptr;
    Outcome outcome = Outcome::Pass;
    std::vector<Finding> findings; // the first ones, as kept
    std::vector<std::string> notes;
    int failures = 0;
    int warnings = 0;
    double seconds = 0.0;
};

// Runs one check in a child process, so that a plug-in that crashes, aborts or
// hangs fails that check and the others still run. A check that does not
// finish within `timeoutSeconds` is stopped and fails.
Result runIsolated(const Check& check, const std::string& pluginPath, int strictness, uint32_t seed,
                   double timeoutSeconds);

} // namespace vst2host::validate
