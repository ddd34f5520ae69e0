#include "tools/commands/ParameterSettings.h"

#include "tools/host/HostError.h"
#include "tools/host/ParameterSearch.h"
#include "tools/host/HostedPlugin.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace vst2host {

namespace {

bool isIndex(const std::string& text)
{
    return !text.empty() && text.size() < 10 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool equalIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The program index for an index or a name; -1 when there is none.
int findProgram(HostedPlugin& plugin, const std::string& wanted)
{
    if (isIndex(wanted)) {
        const int index = std::atoi(wanted.c_str());
        return index < plugin.numPrograms() ? index : -1;
    }
    std::vector<std::string> names;
    for (int i = 0; i < plugin.numPrograms(); ++i)
        names.push_back(plugin.programName(i));
    for (int i = 0; i < plugin.numPrograms(); ++i)
        if (names[i] == wanted)
            return i;
    for (int i = 0; i < plugin.numPrograms(); ++i)
        if (equalIgnoringCase(names[i], wanted))
            return i;
    return -1;
}

} // namespace

std::pair<std::string, std::string> splitAssignment(const std::string& text, char separator,
                                                    const char* option)
{
    const size_t at = text.rfind(separator);
    if (at == std::string::npos || trim(text.substr(0, at)).empty() ||
        trim(text.substr(at + 1)).empty())
        throw HostError(std::string(option) + " expects NAME" + separator + "VALUE, got \"" + text +
                        "\"");
    return {trim(text.substr(0, at)), trim(text.substr(at + 1))};
}

int requireParameter(HostedPlugin& plugin, const std::string& name)
{
    const int index = plugin.findParameter(name);
    if (index >= 0)
        return index;
    std::string known;
    for (int i = 0; i < plugin.numParams(); ++i)
        known += (i == 0 ? "" : ", ") + plugin.paramName(i);
    throw HostError("unknown parameter \"" + name +
                    "\" (parameters: " + (known.empty() ? "none" : known) + ")");
}

void applyParameters(HostedPlugin& plugin, const ParameterOptions& options, bool skipMissing)
{
    if (!options.program.empty()) {
        const int program = findProgram(plugin, trim(options.program));
        if (program >= 0)
            plugin.setProgram(program);
        else if (!skipMissing)
            throw HostError("unknown program \"" + options.program + "\" (the plug-in has " +
                            std::to_string(plugin.numPrograms()) + " programs)");
    }
    for (const std::string& assignment : options.sets) {
        const auto [name, value] = splitAssignment(assignment, '=', "--set");
        if (skipMissing && plugin.findParameter(name) < 0)
            continue;
        const int index = requireParameter(plugin, name);
        // Exactly through the format's own conversion where it has one; by
        // the displayed texts otherwise.
        if (!plugin.setParameterText(index, value))
            normalizedForText(plugin, index, value);
    }
    for (const std::string& assignment : options.normalized) {
        const auto [name, value] = splitAssignment(assignment, '=', "--set-normalized");
        if (skipMissing && plugin.findParameter(name) < 0)
            continue;
        const int index = requireParameter(plugin, name);
        char* end = nullptr;
        const double number = std::strtod(value.c_str(), &end);
        if (end == value.c_str() || *end != '\0' || !(number >= 0.0 && number <= 1.0))
            throw HostError("--set-normalized " + name + " needs a value from 0 to 1, got \"" +
                            value + "\"");
        plugin.setParameter(index, static_cast<float>(number));
    }
}

} // namespace vst2host
