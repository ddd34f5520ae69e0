#include "tools/commands/Commands.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/formats/OpenPlugin.h"
#include "tools/host/ReportStream.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vst2host {

namespace {

const char* categoryName(intptr_t category)
{
    static constexpr const char* kNames[] = {
        "Unknown", "Effect",     "Synth",       "Analysis",       "Mastering", "Spatializer",
        "RoomFx",  "SurroundFx", "Restoration", "OfflineProcess", "Shell",     "Generator"};
    if (category < 0 || category >= static_cast<intptr_t>(std::size(kNames)))
        return "Invalid";
    return kNames[category];
}

std::vector<std::string> flagNames(int32_t flags)
{
    static const std::pair<int32_t, const char*> kFlags[] = {
        {effFlagsHasEditor, "HasEditor"},
        {effFlagsHasClip, "HasClip"},
        {effFlagsHasVu, "HasVu"},
        {effFlagsCanMono, "CanMono"},
        {effFlagsCanReplacing, "CanReplacing"},
        {effFlagsProgramChunks, "ProgramChunks"},
        {effFlagsIsSynth, "IsSynth"},
        {effFlagsNoSoundInStop, "NoSoundInStop"},
        {effFlagsExtIsAsync, "ExtIsAsync"},
        {effFlagsExtHasBuffer, "ExtHasBuffer"},
        {effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
    };
    std::vector<std::string> names;
    int32_t known = 0;
    for (const auto& [bit, name] : kFlags) {
        known |= bit;
        if ((flags & bit) != 0)
            names.emplace_back(name);
    }
    if ((flags & ~known) != 0) {
        char other[32];
        std::snprintf(other, sizeof other, "0x%X", static_cast<unsigned>(flags & ~known));
        names.emplace_back(other);
    }
    return names;
}

// The capability strings of VST 2.4 and the channel configurations hosts ask about.
constexpr const char* kCapabilities[] = {
    "sendVstEvents",
    "sendVstMidiEvent",
    "receiveVstEvents",
    "receiveVstMidiEvent",
    "receiveVstTimeInfo",
    "offline",
    "midiProgramNames",
    "bypass",
    "1in1out",
    "1in2out",
    "2in1out",
    "2in2out",
    "2in4out",
    "4in2out",
    "4in4out",
    "4in8out",
    "8in4out",
    "8in8out",
    "mixDryWet",
    "noRealTime",
    "multipass",
    "metapass",
    "plugAsChannelInsert",
    "plugAsSend",
    "conformsToWindowRules",
};

const char* answerText(int answer)
{
    return answer > 0 ? "yes" : (answer < 0 ? "no" : "don't know");
}

nlohmann::ordered_json describe(PluginInstance& plugin)
{
    AEffect* effect = plugin.effect();
    const intptr_t category = plugin.dispatch(effGetPlugCategory);
    nlohmann::ordered_json info;
    info["path"] = plugin.path();
    info["name"] = plugin.effectName();
    info["vendor"] = plugin.vendorString();
    info["product"] = plugin.productString();
    info["vendorVersion"] = plugin.vendorVersion();
    info["uniqueId"] = fourCharacterCode(effect->uniqueID);
    info["uniqueIdValue"] = effect->uniqueID;
    info["vstVersion"] = plugin.dispatch(effGetVstVersion);
    info["category"] = {{"value", category}, {"name", categoryName(category)}};
    info["inputs"] = plugin.numInputs();
    info["outputs"] = plugin.numOutputs();
    info["initialDelay"] = effect->initialDelay;
    info["flags"] = {{"value", effect->flags}, {"names", flagNames(effect->flags)}};

    nlohmann::ordered_json parameters = nlohmann::ordered_json::array();
    for (int i = 0; i < plugin.numParams(); ++i) {
        parameters.push_back({{"index", i},
                              {"name", plugin.paramName(i)},
                              {"display", plugin.paramDisplay(i)},
                              {"label", plugin.paramLabel(i)},
                              {"value", plugin.getParameter(i)},
                              {"automatable", plugin.paramAutomatable(i)}});
    }
    info["parameters"] = std::move(parameters);

    nlohmann::ordered_json programs = nlohmann::ordered_json::array();
    for (int i = 0; i < plugin.numPrograms(); ++i)
        programs.push_back({{"index", i}, {"name", plugin.programName(i)}});
    // Read after the names, which some plug-ins give only by switching programs:
    // shows that the listing left the plug-in's own program selected.
    info["currentProgram"] = plugin.currentProgram();
    info["programs"] = std::move(programs);

    nlohmann::ordered_json canDo = nlohmann::ordered_json::object();
    for (const char* capability : kCapabilities)
        canDo[capability] = plugin.canDo(capability);
    info["canDo"] = std::move(canDo);
    return info;
}

void printText(const nlohmann::ordered_json& info)
{
    const auto text = [](const nlohmann::ordered_json& value) { return value.get<std::string>(); };
    std::fprintf(report(), "Plug-in:        %s\n", text(info["path"]).c_str());
    std::fprintf(report(), "Effect name:    %s\n", text(info["name"]).c_str());
    std::fprintf(report(), "Vendor:         %s\n", text(info["vendor"]).c_str());
    std::fprintf(report(), "Product:        %s\n", text(info["product"]).c_str());
    std::fprintf(report(), "Vendor version: %d\n", info["vendorVersion"].get<int>());
    std::fprintf(report(), "Unique id:      %s (%d)\n", text(info["uniqueId"]).c_str(),
                 info["uniqueIdValue"].get<int>());
    std::fprintf(report(), "VST version:    %lld\n", info["vstVersion"].get<long long>());
    std::fprintf(report(), "Category:       %s (%lld)\n", text(info["category"]["name"]).c_str(),
                 info["category"]["value"].get<long long>());
    std::fprintf(report(), "Inputs:         %d\n", info["inputs"].get<int>());
    std::fprintf(report(), "Outputs:        %d\n", info["outputs"].get<int>());
    std::fprintf(report(), "Initial delay:  %d\n", info["initialDelay"].get<int>());
    std::string flags;
    for (const auto& name : info["flags"]["names"]) {
        flags += ' ';
        flags += text(name);
    }
    std::fprintf(report(), "Flags:          0x%X%s\n", info["flags"]["value"].get<unsigned>(),
                 flags.c_str());

    std::fprintf(report(), "\nParameters (%zu):\n", info["parameters"].size());
    std::fprintf(report(), "  %5s  %-24s %-16s %-10s %-10s %s\n", "index", "name", "display",
                 "label", "value", "automatable");
    for (const auto& p : info["parameters"])
        std::fprintf(report(), "  %5d  %-24s %-16s %-10s %-10.6f %s\n", p["index"].get<int>(),
                     text(p["name"]).c_str(), text(p["display"]).c_str(), text(p["label"]).c_str(),
                     p["value"].get<double>(), p["automatable"].get<bool>() ? "yes" : "no");

    std::fprintf(report(), "\nPrograms (%zu), current %d:\n", info["programs"].size(),
                 info["currentProgram"].get<int>());
    for (const auto& p : info["programs"])
        std::fprintf(report(), "  %5d  %s\n", p["index"].get<int>(), text(p["name"]).c_str());

    std::fprintf(report(), "\nCan do:\n");
    for (const auto& [capability, answer] : info["canDo"].items())
        std::fprintf(report(), "  %-24s %s\n", capability.c_str(), answerText(answer.get<int>()));
}

// A plug-in of a format other than VST 2.4: what every format tells, with
// each parameter's range in units where the format gives it.
nlohmann::ordered_json describeHosted(HostedPlugin& plugin)
{
    nlohmann::ordered_json info;
    info["path"] = plugin.path();
    info["format"] = formatName(plugin.format());
    info["name"] = plugin.pluginName();
    info["vendor"] = plugin.pluginVendor();
    info["version"] = plugin.pluginVersion();
    info["inputs"] = plugin.numInputs();
    info["outputs"] = plugin.numOutputs();
    nlohmann::ordered_json parameters = nlohmann::ordered_json::array();
    for (int i = 0; i < plugin.numParams(); ++i) {
        nlohmann::ordered_json p = {{"index", i},
                                    {"name", plugin.paramName(i)},
                                    {"display", plugin.paramDisplay(i)},
                                    {"label", plugin.paramLabel(i)},
                                    {"value", plugin.getParameter(i)}};
        if (const auto range = plugin.paramRange(i))
            p["range"] = {{"min", range->min},
                          {"max", range->max},
                          {"default", range->defaultValue},
                          {"stepped", range->stepped}};
        parameters.push_back(std::move(p));
    }
    info["parameters"] = std::move(parameters);
    nlohmann::ordered_json programs = nlohmann::ordered_json::array();
    for (int i = 0; i < plugin.numPrograms(); ++i)
        programs.push_back({{"index", i}, {"name", plugin.programName(i)}});
    info["currentProgram"] = plugin.currentProgram();
    info["programs"] = std::move(programs);
    return info;
}

void printHostedText(const nlohmann::ordered_json& info)
{
    const auto text = [](const nlohmann::ordered_json& value) { return value.get<std::string>(); };
    std::fprintf(report(), "Plug-in:        %s\n", text(info["path"]).c_str());
    std::fprintf(report(), "Format:         %s\n", text(info["format"]).c_str());
    std::fprintf(report(), "Name:           %s\n", text(info["name"]).c_str());
    std::fprintf(report(), "Vendor:         %s\n", text(info["vendor"]).c_str());
    std::fprintf(report(), "Version:        %s\n", text(info["version"]).c_str());
    std::fprintf(report(), "Inputs:         %d\n", info["inputs"].get<int>());
    std::fprintf(report(), "Outputs:        %d\n", info["outputs"].get<int>());

    std::fprintf(report(), "\nParameters (%zu):\n", info["parameters"].size());
    std::fprintf(report(), "  %5s  %-24s %-16s %-10s %-10s %s\n", "index", "name", "display",
                 "label", "value", "range");
    for (const auto& p : info["parameters"]) {
        char range[96] = "";
        if (p.contains("range"))
            std::snprintf(range, sizeof range, "%g .. %g, default %g%s",
                          p["range"]["min"].get<double>(), p["range"]["max"].get<double>(),
                          p["range"]["default"].get<double>(),
                          p["range"]["stepped"].get<bool>() ? ", stepped" : "");
        std::fprintf(report(), "  %5d  %-24s %-16s %-10s %-10.6f %s\n", p["index"].get<int>(),
                     text(p["name"]).c_str(), text(p["display"]).c_str(), text(p["label"]).c_str(),
                     p["value"].get<double>(), range);
    }

    std::fprintf(report(), "\nPrograms (%zu), current %d:\n", info["programs"].size(),
                 info["currentProgram"].get<int>());
    for (const auto& p : info["programs"])
        std::fprintf(report(), "  %5d  %s\n", p["index"].get<int>(), text(p["name"]).c_str());
}

} // namespace

int runInfo(const InfoOptions& options)
{
    const std::unique_ptr<HostedPlugin> plugin = openPlugin(options.plugin);
    // VST 2.4 plug-ins answer much more (category, flags, capabilities).
    auto* vst2 = plugin->format() == PluginFormat::vst2 ? static_cast<PluginInstance*>(plugin.get())
                                                        : nullptr;
    const nlohmann::ordered_json info = vst2 ? describe(*vst2) : describeHosted(*plugin);
    if (options.json) {
        // Plug-ins may hand back texts that are not valid UTF-8; replace those bytes
        // rather than failing the whole report.
        const std::string text =
            info.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        std::fprintf(report(), "%s\n", text.c_str());
    } else if (vst2) {
        printText(info);
    } else {
        printHostedText(info);
    }
    return 0;
}

} // namespace vst2host
