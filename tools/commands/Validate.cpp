#include "tools/commands/Commands.h"
#include "tools/host/HostError.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/formats/OpenPlugin.h"
#include "tools/host/ReportStream.h"
#include "tools/validate/Runner.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace vst2host {

void requireVst2(const std::string& plugin, const char* command)
{
    const PluginFormat format = formatOfPath(plugin);
    if (format != PluginFormat::vst2)
        throw HostError(std::string(command) + " supports VST 2.4 plug-ins only; " + plugin +
                        " is " + formatName(format));
}

namespace {

using validate::Check;
using validate::Outcome;
using validate::Result;
using validate::Severity;

// A check stopped after this long has hung.
constexpr double kCheckTimeoutSeconds = 300.0;

void loads(validate::CheckContext& context)
{
    context.loadAny();
}

std::vector<const Check*> selectChecks(const ValidateOptions& options)
{
    const std::vector<Check>& all = validate::allChecks();
    // Only the checks that apply to the plug-in's format.
    const bool vst2 = formatOfPath(options.plugin) == PluginFormat::vst2;
    std::vector<const Check*> selected;
    if (options.only.empty()) {
        for (const Check& check : all)
            if (check.strictness <= options.strictness && (vst2 || check.anyFormat))
                selected.push_back(&check);
        return selected;
    }
    // Named checks run whatever their strictness, in the usual order.
    for (const std::string& name : options.only)
        if (std::none_of(all.begin(), all.end(), [&](const Check& c) { return name == c.name; })) {
            std::string names;
            for (const Check& check : all)
                names += (names.empty() ? "" : ", ") + std::string(check.name);
            throw HostError("no check named \"" + name + "\"; the checks are " + names);
        }
    for (const Check& check : all)
        if (std::find(options.only.begin(), options.only.end(), check.name) != options.only.end()) {
            if (!vst2 && !check.anyFormat)
                throw HostError("the check \"" + std::string(check.name) +
                                "\" applies to VST 2.4 plug-ins only");
            selected.push_back(&check);
        }
    return selected;
}

const char* label(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Pass:
        return "pass";
    case Outcome::Warning:
        return "warn";
    case Outcome::Fail:
        return "FAIL";
    case Outcome::Skip:
        return "skip";
    }
    return "?";
}

// What the line shows: the first failure or warning, else the first note.
std::string summary(const Result& result)
{
    const Severity worst = result.failures > 0 ? Severity::Failure : Severity::Warning;
    const auto first =
        std::find_if(result.findings.begin(), result.findings.end(),
                     [worst](const auto& finding) { return finding.severity == worst; });
    if (first == result.findings.end())
        return result.notes.empty() ? std::string() : result.notes.front();
    std::string text = first->text;
    if (const int more = result.failures + result.warnings - 1; more > 0)
        text += " (and " + std::to_string(more) + " more)";
    return text;
}

nlohmann::json toJson(const Result& result)
{
    nlohmann::json findings = nlohmann::json::array();
    for (const auto& finding : result.findings)
        findings.push_back(
            {{"severity", finding.severity == Severity::Failure ? "failure" : "warning"},
             {"text", finding.text}});
    const char* outcome = result.outcome == Outcome::Fail      ? "fail"
                          : result.outcome == Outcome::Warning ? "warning"
                          : result.outcome == Outcome::Skip    ? "skip"
                                                               : "pass";
    return {{"name", result.check->name},
            {"strictness", result.check->strictness},
            {"description", result.check->description},
            {"outcome", outcome},
            {"failures", result.failures},
            {"warnings", result.warnings},
            {"findings", findings},
            {"notes", result.notes},
            {"seconds", result.seconds}};
}

} // namespace

int runValidate(const ValidateOptions& options)
{
    const std::vector<const Check*> checks = selectChecks(options);

    // A plug-in that does not load is an error of the command, not a list of
    // failed checks.
    const Check load{"load", 1, "the plug-in loads", loads};
    const Result loaded = validate::runIsolated(load, options.plugin, options.strictness,
                                                options.seed, kCheckTimeoutSeconds);
    if (loaded.outcome == Outcome::Fail) {
        const std::string reason =
            loaded.findings.empty() ? std::string("unknown error") : loaded.findings.front().text;
        throw HostError(reason.rfind("cannot load ", 0) == 0
                            ? reason
                            : "cannot load " + options.plugin + ": " + reason);
    }

    FILE* out = report();
    std::fprintf(out, "validating %s at strictness %d, seed %u\n", options.plugin.c_str(),
                 options.strictness, options.seed);
    size_t width = 0;
    for (const Check* check : checks)
        width = std::max(width, std::string(check->name).size());

    std::vector<Result> results;
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    int warnings = 0;
    for (const Check* check : checks) {
        Result result = validate::runIsolated(*check, options.plugin, options.strictness,
                                              options.seed, kCheckTimeoutSeconds);
        std::fprintf(out, "%s  %-*s  %s\n", label(result.outcome), static_cast<int>(width),
                     check->name, summary(result).c_str());
        std::fflush(out);
        (result.outcome == Outcome::Fail   ? failed
         : result.outcome == Outcome::Skip ? skipped
                                           : passed)++;
        warnings += result.warnings;
        results.push_back(std::move(result));
    }
    std::fprintf(out, "%d passed, %d failed, %d warning%s", passed, failed, warnings,
                 warnings == 1 ? "" : "s");
    if (skipped > 0)
        std::fprintf(out, ", %d skipped", skipped);
    std::fprintf(out, "\n");

    if (!options.json.empty()) {
        nlohmann::json document = {{"plugin", options.plugin}, {"strictness", options.strictness},
                                   {"seed", options.seed},     {"passed", passed},
                                   {"failed", failed},         {"skipped", skipped},
                                   {"warnings", warnings},     {"checks", nlohmann::json::array()}};
        for (const Result& result : results)
            document["checks"].push_back(toJson(result));
        std::ofstream file(options.json);
        file << document.dump(2) << "\n";
        if (!file)
            throw HostError("cannot write " + options.json);
    }
    return failed > 0 ? 1 : 0;
}

} // namespace vst2host
