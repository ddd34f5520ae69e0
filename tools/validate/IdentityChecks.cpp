// Identity and texts: the record's numbers, and every text the plug-in writes
// into a host's buffer, each checked against its documented limit.
#include "tools/validate/Check.h"
#include "tools/validate/Harness.h"

#include "tools/host/PluginInstance.h"

#include <string>

namespace vst2host::validate {

namespace {

// Limits that hosts size their buffers by: parameter texts 8 characters,
// program names 24, names and vendor strings 64.
constexpr size_t kParamText = kVstMaxParamStrLen;
constexpr size_t kProgramName = kVstMaxProgNameLen;
constexpr size_t kLongText = kVstMaxVendorStrLen;

// Beyond these, a count is a corrupt record rather than a design.
constexpr int kMaxChannels = 64;
constexpr int kMaxParameters = 100000;
constexpr int kMaxPrograms = 100000;

// What every format tells: the numbers and a name.
void identityOfAnyFormat(HostedPlugin& plugin, Findings& findings)
{
    const auto count = [&](const char* what, int value, int low, int high) {
        if (value < low || value > high)
            findings.fail(std::string("number of ") + what + " is " + std::to_string(value) +
                          ", outside " + std::to_string(low) + ".." + std::to_string(high));
    };
    count("inputs", plugin.numInputs(), 0, kMaxChannels);
    count("outputs", plugin.numOutputs(), 1, kMaxChannels);
    count("parameters", plugin.numParams(), 0, kMaxParameters);
    count("programs", plugin.numPrograms(), 0, kMaxPrograms);
    const std::string name = plugin.pluginName();
    if (name.empty())
        findings.warn("the plug-in gives no name; hosts show the file name instead");
    int unnamed = 0;
    for (int p = 0; p < plugin.numParams(); ++p)
        unnamed += plugin.paramName(p).empty() ? 1 : 0;
    if (unnamed > 0)
        findings.warn(std::to_string(unnamed) + " parameters without a name");
    findings.note("\"" + name + "\", " + std::string(formatName(plugin.format())) + ", " +
                  std::to_string(plugin.numInputs()) + " in, " +
                  std::to_string(plugin.numOutputs()) + " out, " +
                  std::to_string(plugin.numParams()) + " parameters, " +
                  std::to_string(plugin.numPrograms()) + " programs");
}

void identity(CheckContext& context)
{
    Findings& findings = context.findings;
    const auto any = context.loadAny();
    auto* plugin = dynamic_cast<PluginInstance*>(any.get());
    if (plugin == nullptr) {
        identityOfAnyFormat(*any, findings);
        return;
    }
    const AEffect& effect = *plugin->effect();
    const auto count = [&](const char* what, int value, int low, int high) {
        if (value < low || value > high)
            findings.fail(std::string("number of ") + what + " is " + std::to_string(value) +
                          ", outside " + std::to_string(low) + ".." + std::to_string(high));
    };
    count("inputs", effect.numInputs, 0, kMaxChannels);
    count("outputs", effect.numOutputs, 1, kMaxChannels);
    count("parameters", effect.numParams, 0, kMaxParameters);
    count("programs", effect.numPrograms, 0, kMaxPrograms);
    if (effect.numPrograms == 0)
        findings.warn("declares no programs; hosts expect at least one");
    if ((effect.flags & effFlagsCanReplacing) == 0 || effect.processReplacing == nullptr)
        findings.problem(3, "has no processReplacing, which VST 2.4 requires");
    if (effect.uniqueID == 0)
        findings.problem(
            3, "unique ID is 0; hosts tell plug-ins and their saved settings apart by it");
    if (effect.dispatcher == nullptr || effect.getParameter == nullptr ||
        effect.setParameter == nullptr)
        findings.fail("a dispatcher, getParameter or setParameter pointer is null");

    const std::string name =
        guardedText(*plugin, findings, effGetEffectName, 0, kLongText, "effGetEffectName");
    if (name.empty())
        findings.warn("effGetEffectName gives no name; hosts show the file name instead");
    else if (name.size() > static_cast<size_t>(kVstMaxEffectNameLen))
        findings.warn("effect name \"" + name + "\" is longer than " +
                      std::to_string(kVstMaxEffectNameLen) + " characters");
    guardedText(*plugin, findings, effGetVendorString, 0, kLongText, "effGetVendorString");
    guardedText(*plugin, findings, effGetProductString, 0, kLongText, "effGetProductString");
    findings.note("\"" + name + "\", " + std::to_string(effect.numInputs) + " in, " +
                  std::to_string(effect.numOutputs) + " out, " +
                  counted(effect.numParams, "parameter") + ", " +
                  counted(effect.numPrograms, "program") + ", ID " +
                  fourCharacterCode(effect.uniqueID));
}

// Every parameter's name, label and display, at its own value and at both
// ends of the range, and every program's name, read into guarded buffers.
void texts(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.load();
    int read = 0;
    for (int p = 0; p < plugin->numParams(); ++p) {
        const std::string index = " of parameter " + std::to_string(p);
        const float own = plugin->getParameter(p);
        guardedText(*plugin, findings, effGetParamName, p, kParamText, "effGetParamName" + index);
        for (const float value : {own, 0.0f, 1.0f}) {
            plugin->setParameter(p, value);
            const std::string at = index + " at " + std::to_string(value).substr(0, 4);
            guardedText(*plugin, findings, effGetParamLabel, p, kParamText,
                        "effGetParamLabel" + at);
            guardedText(*plugin, findings, effGetParamDisplay, p, kParamText,
                        "effGetParamDisplay" + at);
            read += 2;
        }
        plugin->setParameter(p, own);
        ++read;
    }
    const int current = plugin->currentProgram();
    for (int program = 0; program < plugin->numPrograms(); ++program) {
        const std::string index = " of program " + std::to_string(program);
        guardedText(*plugin, findings, effGetProgramNameIndexed, program, kProgramName,
                    "effGetProgramNameIndexed" + index);
        plugin->setProgram(program);
        guardedText(*plugin, findings, effGetProgramName, 0, kProgramName,
                    "effGetProgramName" + index);
        read += 2;
    }
    plugin->setProgram(current);
    findings.note(std::to_string(read) + " texts within their limits");
}

// Questions about capabilities the plug-in cannot know must not be answered
// "yes"; an empty question neither.
void canDo(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.load();
    for (const char* question : {"", "vst2-host-unknown-capability", "receiveVstMidiEventsTwice"}) {
        char buffer[256] = {};
        std::snprintf(buffer, sizeof buffer, "%s", question);
        const intptr_t answer = plugin->dispatch(effCanDo, 0, 0, buffer);
        if (answer > 0)
            findings.fail("effCanDo answers yes (" + std::to_string(answer) + ") to \"" + question +
                          "\"");
    }
    findings.note("unknown and empty capabilities not claimed");
}

} // namespace

void addIdentityChecks(std::vector<Check>& checks)
{
    checks.push_back({"identity", 1, "numbers of inputs, outputs, parameters and programs; names",
                      identity, true});
    checks.push_back({"texts", 1, "every text opcode into a buffer guarded past its limit", texts});
    checks.push_back({"can-do", 1, "effCanDo with unknown and empty capabilities", canDo});
}

} // namespace vst2host::validate
