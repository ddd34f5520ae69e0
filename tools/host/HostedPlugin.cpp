#include "tools/host/HostedPlugin.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace vst2host {

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string trim(const std::string& text)
{
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    auto begin = std::find_if_not(text.begin(), text.end(), isSpace);
    auto end = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return begin < end ? std::string(begin, end) : std::string();
}

const char* formatName(PluginFormat format)
{
    switch (format) {
    case PluginFormat::vst2:
        return "VST 2.4";
    case PluginFormat::vst3:
        return "VST3";
    case PluginFormat::clap:
        return "CLAP";
    }
    return "?";
}

int HostedPlugin::findParameter(const std::string& name)
{
    const std::string wanted = trim(name);
    std::vector<std::string> names;
    for (int i = 0; i < numParams(); ++i) {
        names.push_back(paramName(i));
        if (names.back() == wanted)
            return i;
    }
    const std::string lower = lowerCase(wanted);
    for (int i = 0; i < numParams(); ++i)
        if (lowerCase(names[i]) == lower)
            return i;
    if (!wanted.empty() && std::all_of(wanted.begin(), wanted.end(), ::isdigit)) {
        const long index = std::strtol(wanted.c_str(), nullptr, 10);
        if (index < numParams())
            return static_cast<int>(index);
    }
    return -1;
}

} // namespace vst2host
