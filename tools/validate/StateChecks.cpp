// Programs and state: every program selectable with its name, and a bank
// saved as a host saves it restores into a fresh instance that renders the
// same audio.
#include "tools/validate/Check.h"
#include "tools/validate/Harness.h"

#include "tools/host/PluginInstance.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vst2host::validate {

namespace {

// Programs given random values and compared; a bank of thousands gains
// nothing over its first ones.
constexpr int kProgramsCompared = 64;
constexpr int kRenderBlocks = 40;
constexpr int kBlock = 512;

void programNames(CheckContext& context)
{
    Findings& findings = context.findings;
    const auto plugin = context.loadAny();
    // VST 2.4 names the current program and any program by index apart;
    // the other formats name programs by index alone.
    auto* vst2 = dynamic_cast<PluginInstance*>(plugin.get());
    int empty = 0;
    for (int program = 0; program < plugin->numPrograms(); ++program) {
        plugin->setProgram(program);
        const int current = plugin->currentProgram();
        if (current != program)
            findings.fail(std::string(vst2 ? "effSetProgram " : "selecting program ") +
                          std::to_string(program) + " leaves program " + std::to_string(current) +
                          " selected");
        const std::string name =
            vst2 ? vst2->text(effGetProgramName) : plugin->programName(program);
        const std::string other = vst2 ? vst2->text(effGetProgramNameIndexed, program) : "";
        if (!other.empty() && other != name)
            findings.fail("program " + std::to_string(program) + " is \"" + name +
                          "\" when selected but \"" + other + "\" by effGetProgramNameIndexed");
        if (name.empty())
            ++empty;
    }
    if (empty > 0)
        findings.warn(counted(empty, "program") + " without a name");
    findings.note(counted(plugin->numPrograms(), "program") + " selected and named");
}

// A bank as a host keeps it: the plug-in's chunk when it says its programs are
// chunks, otherwise each program's name and parameter values.
struct Bank
{
    std::vector<char> chunk;
    std::vector<std::string> names;
    std::vector<std::vector<float>> values;
    int current = 0;
};

int comparedPrograms(PluginInstance& plugin)
{
    return std::min(plugin.numPrograms(), kProgramsCompared);
}

bool usesChunks(PluginInstance& plugin)
{
    return (plugin.effect()->flags & effFlagsProgramChunks) != 0;
}

Bank save(PluginInstance& plugin)
{
    Bank bank;
    bank.current = plugin.currentProgram();
    if (usesChunks(plugin)) {
        void* data = nullptr;
        const intptr_t size = plugin.dispatch(effGetChunk, 0, 0, &data);
        if (data != nullptr && size > 0)
            bank.chunk.assign(static_cast<const char*>(data),
                              static_cast<const char*>(data) + size);
        return bank;
    }
    for (int program = 0; program < comparedPrograms(plugin); ++program) {
        plugin.setProgram(program);
        bank.names.push_back(plugin.text(effGetProgramName));
        std::vector<float> values;
        for (int p = 0; p < plugin.numParams(); ++p)
            values.push_back(plugin.getParameter(p));
        bank.values.push_back(values);
    }
    plugin.setProgram(bank.current);
    return bank;
}

void restore(PluginInstance& plugin, const Bank& bank)
{
    if (usesChunks(plugin)) {
        std::vector<char> copy = bank.chunk;
        plugin.dispatch(effSetChunk, 0, static_cast<intptr_t>(copy.size()), copy.data());
        return;
    }
    for (size_t program = 0; program < bank.values.size(); ++program) {
        plugin.setProgram(static_cast<int>(program));
        char name[kVstMaxProgNameLen + 1] = {};
        std::strncpy(name, bank.names[program].c_str(), kVstMaxProgNameLen);
        plugin.dispatch(effSetProgramName, 0, 0, name);
        for (size_t p = 0; p < bank.values[program].size(); ++p)
            plugin.setParameter(static_cast<int>(p), bank.values[program][p]);
    }
    plugin.setProgram(bank.current);
}

void compareBanks(PluginInstance& restored, const Bank& saved, Findings& findings)
{
    const Bank again = save(restored);
    if (again.current != saved.current)
        findings.fail("restored instance is at program " + std::to_string(again.current) +
                      ", saved at " + std::to_string(saved.current));
    for (size_t program = 0; program < saved.values.size() && program < again.values.size();
         ++program) {
        if (again.names[program] != saved.names[program])
            findings.fail("program " + std::to_string(program) + " restored as \"" +
                          again.names[program] + "\", saved as \"" + saved.names[program] + "\"");
        for (size_t p = 0; p < saved.values[program].size(); ++p)
            if (again.values[program][p] != saved.values[program][p]) {
                findings.fail("program " + std::to_string(program) + " parameter " +
                              std::to_string(p) + " restored as " +
                              std::to_string(again.values[program][p]) + ", saved as " +
                              std::to_string(saved.values[program][p]));
                break;
            }
    }
}

void bankRestore(CheckContext& context)
{
    Findings& findings = context.findings;
    auto original = context.load();
    // Random values in every compared program, then the last one left selected
    // unless there is only one.
    for (int program = 0; program < std::max(comparedPrograms(*original), 1); ++program) {
        if (original->numPrograms() > 0)
            original->setProgram(program);
        for (int p = 0; p < original->numParams(); ++p)
            original->setParameter(p, context.uniform());
    }
    if (original->numPrograms() > 2)
        original->setProgram(1);
    const Bank bank = save(*original);
    if (usesChunks(*original) && bank.chunk.empty()) {
        findings.fail("says its programs are chunks but effGetChunk gives no data");
        return;
    }
    auto restored = context.load();
    restore(*restored, bank);
    if (!usesChunks(*original)) {
        compareBanks(*restored, bank, findings);
    } else {
        // A chunk is opaque; the current program's values show what it restored.
        for (int p = 0; p < original->numParams(); ++p) {
            const float saved = original->getParameter(p);
            const float got = restored->getParameter(p);
            if (got != saved)
                findings.fail("parameter " + std::to_string(p) + " (" + original->paramName(p) +
                              ") restored from the chunk as " + std::to_string(got) +
                              ", saved as " + std::to_string(saved));
        }
    }

    for (PluginInstance* plugin : {original.get(), restored.get()})
        plugin->start(44100.0f, kBlock);
    Rig first(*original, kBlock, context.seed);
    Rig second(*restored, kBlock, context.seed);
    if (const std::string difference = firstDifference(first, second, kRenderBlocks, kBlock);
        !difference.empty()) {
        findings.fail("the restored instance renders differently: " + difference);
        return;
    }
    findings.note(
        std::string("bank saved as ") +
        (usesChunks(*original)
             ? "a chunk of " + std::to_string(bank.chunk.size()) + " bytes"
             : counted(static_cast<int64_t>(bank.values.size()), "program") + " of values") +
        ", restored, renders identically");
}

} // namespace

void addStateChecks(std::vector<Check>& checks)
{
    checks.push_back({"programs", 1, "every program selectable, with the same name both ways",
                      programNames, true});
    checks.push_back({"state.bank-restore", 3,
                      "a saved bank restores into a fresh instance that renders the same",
                      bankRestore});
}

} // namespace vst2host::validate
