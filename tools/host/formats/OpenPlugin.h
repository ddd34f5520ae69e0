#pragma once

#include "tools/host/HostedPlugin.h"

#include <memory>
#include <string>

namespace vst2host {

// The format a path names: a "*.vst3" bundle is VST3, a "*.clap" file CLAP,
// anything else VST 2.4.
PluginFormat formatOfPath(const std::string& path);

// Loads the plug-in at `path` in the format its name says and makes one
// instance, stopped. Throws HostError, one line, when it cannot.
std::unique_ptr<HostedPlugin> openPlugin(const std::string& path);

// Each format's loader, for callers that know the format.
std::unique_ptr<HostedPlugin> openVst3Plugin(const std::string& path);
std::unique_ptr<HostedPlugin> openClapPlugin(const std::string& path);

} // namespace vst2host
