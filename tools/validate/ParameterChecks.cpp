// Parameters: values read back as set, displays for each, values kept across
// program switches, and values no host should send that must still leave the
// output finite.
#include "tools/validate/Check.h"
#include "tools/validate/Harness.h"

#include "tools/host/PluginInstance.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace vst2host::validate {

namespace {

constexpr float kReadBackTolerance = 1e-5f;

std::string number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string parameterName(HostedPlugin& plugin, int index)
{
    return "parameter " + std::to_string(index) + " (" + plugin.paramName(index) + ")";
}

// Each parameter set to 0, 1, the middle and a random value reads back as
// set. A stepped parameter may round the value; then what it reads back
// must read back unchanged when set again.
void readBack(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.loadAny();
    int stepped = 0;
    for (int p = 0; p < plugin->numParams(); ++p) {
        bool rounds = false;
        for (const float value : {0.0f, 1.0f, 0.5f, context.uniform()}) {
            plugin->setParameter(p, value);
            const float got = plugin->getParameter(p);
            if (std::fabs(got - value) <= kReadBackTolerance)
                continue;
            if (!std::isfinite(got) || got < 0.0f || got > 1.0f) {
                findings.fail(parameterName(*plugin, p) + " set to " + number(value) +
                              " reads back " + number(got));
                continue;
            }
            plugin->setParameter(p, got);
            const float again = plugin->getParameter(p);
            if (std::fabs(again - got) > kReadBackTolerance)
                findings.fail(parameterName(*plugin, p) + " set to " + number(value) +
                              " reads back " + number(got) + ", and set to that, " + number(again));
            else
                rounds = true;
        }
        stepped += rounds ? 1 : 0;
    }
    findings.note(std::to_string(plugin->numParams()) + " parameters read back" +
                  (stepped > 0 ? " (" + std::to_string(stepped) + " stepped)" : std::string()));
}

// Every parameter has a display at both ends of its range.
void displays(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.loadAny();
    int constant = 0;
    for (int p = 0; p < plugin->numParams(); ++p) {
        std::string shown[2];
        for (int end = 0; end < 2; ++end) {
            plugin->setParameter(p, static_cast<float>(end));
            shown[end] = plugin->paramDisplay(p);
            if (shown[end].empty())
                findings.warn(parameterName(*plugin, p) + " has an empty display at " +
                              std::to_string(end));
        }
        if (!shown[0].empty() && shown[0] == shown[1])
            ++constant;
    }
    if (constant > 0)
        findings.warn(std::to_string(constant) + " parameters display the same text at 0 and 1");
    findings.note(std::to_string(plugin->numParams()) + " parameters displayed");
}

// Values set in one program are still there after switching to another
// program and back.
void programSwitch(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.load();
    if (plugin->numPrograms() < 2 || plugin->numParams() == 0) {
        findings.note("fewer than two programs or no parameters: nothing to switch");
        return;
    }
    const int first = plugin->currentProgram();
    const int other = first == 0 ? 1 : 0;
    std::vector<float> expected(plugin->numParams());
    for (int p = 0; p < plugin->numParams(); ++p) {
        plugin->setParameter(p, context.uniform());
        expected[p] = plugin->getParameter(p);
    }
    plugin->setProgram(other);
    plugin->setProgram(first);
    int lost = 0;
    for (int p = 0; p < plugin->numParams(); ++p) {
        const float got = plugin->getParameter(p);
        if (got == expected[p])
            continue;
        if (++lost <= 3)
            findings.fail(parameterName(*plugin, p) + " was " + number(expected[p]) +
                          " in program " + std::to_string(first) + ", and " + number(got) +
                          " after switching to program " + std::to_string(other) + " and back");
    }
    if (lost > 3)
        findings.fail(std::to_string(lost) + " parameters lost their values in all");
    findings.note("values kept through a switch from program " + std::to_string(first) + " to " +
                  std::to_string(other) + " and back");
}

// Non-finite and out-of-range values, as a corrupt project or a careless host
// sends them: no crash, displays within their limit, the output finite then and
// after the parameter is set back.
void badValues(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.load();
    constexpr int kBlock = 256;
    plugin->start(44100.0f, kBlock);
    Rig rig(*plugin, kBlock, context.seed);
    const float values[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            -1.0f,
                            2.0f,
                            1e30f,
                            -1e30f};
    int cases = 0;
    for (int p = 0; p < plugin->numParams(); ++p) {
        const float own = plugin->getParameter(p);
        for (const float value : values) {
            plugin->setParameter(p, value);
            const std::string what =
                "setParameter(" + std::to_string(p) + ", " + number(value) + ")";
            guardedText(*plugin, findings, effGetParamDisplay, p, kVstMaxParamStrLen,
                        "effGetParamDisplay after " + what);
            rig.fillNoise(kBlock);
            if (const std::string problem = describe(rig.process(kBlock)); !problem.empty())
                findings.fail(what + ": " + problem);
            plugin->setParameter(p, own);
            rig.fillNoise(kBlock);
            if (const std::string problem = describe(rig.process(kBlock)); !problem.empty())
                findings.fail(what + ", then set back: " + problem);
            ++cases;
        }
    }
    findings.note(std::to_string(cases) + " bad values, output finite");
}

} // namespace

void addParameterChecks(std::vector<Check>& checks)
{
    checks.push_back({"parameters.read-back", 1,
                      "each parameter at 0, 1, middle and random reads back", readBack, true});
    checks.push_back({"parameters.display", 1, "a display text for each parameter at both ends",
                      displays, true});
    checks.push_back(
        {"parameters.program-switch", 3, "values survive switching programs", programSwitch});
    checks.push_back({"parameters.bad-values", 1,
                      "NaN, infinite and out-of-range values leave the output finite", badValues});
}

} // namespace vst2host::validate
