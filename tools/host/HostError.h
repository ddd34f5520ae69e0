#pragma once

#include <stdexcept>
#include <string>

namespace vst2host {

// A failure the user can act on: a missing file, a plug-in that will not load,
// an unknown parameter, a value out of range. The command prints the message
// as one line and exits with status 2.
class HostError : public std::runtime_error
{
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace vst2host
