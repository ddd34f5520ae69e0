#include "tools/host/formats/OpenPlugin.h"

#include "tools/host/PluginInstance.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace vst2host {

PluginFormat formatOfPath(const std::string& path)
{
    // A bundle folder may be named with a trailing separator.
    std::filesystem::path name(path);
    if (!name.has_filename())
        name = name.parent_path();
    std::string extension = name.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".vst3")
        return PluginFormat::vst3;
    if (extension == ".clap")
        return PluginFormat::clap;
    return PluginFormat::vst2;
}

std::unique_ptr<HostedPlugin> openPlugin(const std::string& path)
{
    switch (formatOfPath(path)) {
    case PluginFormat::vst3:
        return openVst3Plugin(path);
    case PluginFormat::clap:
        return openClapPlugin(path);
    case PluginFormat::vst2:
        break;
    }
    return std::make_unique<PluginInstance>(path);
}

} // namespace vst2host
