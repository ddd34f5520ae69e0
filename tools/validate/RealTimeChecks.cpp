// Real time: no memory allocated inside processReplacing, counted by the host
// around each call, and the processing cost per frame.
#include "tools/validate/Check.h"
#include "tools/validate/Harness.h"

#include "tools/host/PluginInstance.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace vst2host::validate {

namespace {

// A host's audio thread must not wait for the allocator: a failure from this
// strictness, a warning below it.
constexpr int kAllocationFailsFrom = 7;

void allocation(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.loadAny();
    constexpr int kBlock = 512;
    plugin->setRealtime(true);
    plugin->start(44100.0f, kBlock);
    Rig rig(*plugin, kBlock, context.seed);
    int64_t allocations = 0;
    int calls = 0;
    int allocatingCalls = 0;
    // Whole blocks with parameter and program changes between them, which the
    // plug-in takes up inside its next call, then sub-blocks of every size.
    for (int b = 0; b < 128; ++b) {
        if (plugin->numParams() > 0)
            plugin->setParameter(b % plugin->numParams(), context.uniform());
        if (plugin->numPrograms() > 1 && b % 32 == 16)
            plugin->setProgram(b / 32 % plugin->numPrograms());
        const int frames = b < 64 ? kBlock : 1 + b % kBlock;
        rig.fillNoise(frames);
        const BlockScan scan = rig.process(frames);
        ++calls;
        allocations += scan.allocations;
        allocatingCalls += scan.allocations > 0 ? 1 : 0;
    }
    if (allocations > 0)
        findings.problem(kAllocationFailsFrom, std::to_string(allocations) +
                                                   " allocations inside processReplacing, in " +
                                                   std::to_string(allocatingCalls) + " of " +
                                                   std::to_string(calls) + " calls");
    else
        findings.note("no allocation in " + std::to_string(calls) + " calls of processReplacing");
}

void cost(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.loadAny();
    constexpr int kBlock = 512;
    constexpr float kRate = 44100.0f;
    plugin->setRealtime(true);
    plugin->start(kRate, kBlock);
    Rig rig(*plugin, kBlock, context.seed);
    rig.fillNoise(kBlock);
    for (int b = 0; b < 16; ++b)
        rig.process(kBlock);
    using Clock = std::chrono::steady_clock;
    // Two seconds of audio, or as much as half a second of work allows.
    const auto begin = Clock::now();
    int blocks = 0;
    while (blocks < 172 && Clock::now() - begin < std::chrono::milliseconds(500)) {
        rig.processUnchecked(kBlock);
        ++blocks;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    const double frames = static_cast<double>(blocks) * kBlock;
    const double nanoseconds = seconds * 1e9 / frames;
    const double load = 100.0 * seconds / (frames / kRate);
    char text[128];
    std::snprintf(text, sizeof text,
                  "%.1f ns per frame, %.2f %% of real time at 44100 Hz, block 512", nanoseconds,
                  load);
    if (load > 100.0)
        findings.warn(std::string("slower than real time: ") + text);
    else
        findings.note(text);
}

} // namespace

void addRealTimeChecks(std::vector<Check>& checks)
{
    checks.push_back({"realtime.allocation", 1, "no memory allocated inside processReplacing",
                      allocation, true});
    checks.push_back({"realtime.cost", 1, "processing cost per frame", cost, true});
}

} // namespace vst2host::validate
