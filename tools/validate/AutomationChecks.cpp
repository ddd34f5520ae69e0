// Automation: parameter changes between short sub-blocks, as hosts split a
// block at automation points, and from a second thread while audio runs.
#include "tools/validate/Check.h"
#include "tools/validate/Harness.h"

#include "tools/host/PluginInstance.h"

#include <atomic>
#include <random>
#include <string>
#include <thread>

namespace vst2host::validate {

namespace {

constexpr int kSubBlock = 32;

void subBlocks(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.loadAny();
    if (plugin->numParams() == 0) {
        findings.note("no parameters to automate");
        return;
    }
    constexpr int kBlock = 512;
    plugin->start(44100.0f, kBlock);
    Rig rig(*plugin, kBlock, context.seed);
    BlockScan total;
    // Enough changes to hit every parameter many times over at random,
    // while the run stays under a second and a half of audio.
    constexpr int kChanges = 2000;
    for (int change = 0; change < kChanges; ++change) {
        const int p =
            static_cast<int>(context.random() % static_cast<uint32_t>(plugin->numParams()));
        plugin->setParameter(p, context.uniform());
        rig.fillNoise(kSubBlock);
        total.add(rig.process(kSubBlock), static_cast<int64_t>(change) * kSubBlock);
    }
    if (const std::string problem = describe(total); !problem.empty())
        findings.fail("parameter changes every 32 frames: " + problem);
    findings.note(std::to_string(kChanges) + " parameter changes, one every 32 frames");
}

void secondThread(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.load();
    if (plugin->numParams() == 0) {
        findings.note("no parameters to set");
        return;
    }
    constexpr int kBlock = 256;
    plugin->start(44100.0f, kBlock);
    Rig rig(*plugin, kBlock, context.seed);
    std::atomic<bool> running{true};
    std::atomic<int64_t> changes{0};
    const int params = plugin->numParams();
    AEffect* effect = plugin->effect();
    std::thread automation([&, seed = context.seed] {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        while (running.load(std::memory_order_relaxed)) {
            const int p = static_cast<int>(random() % static_cast<uint32_t>(params));
            effect->setParameter(effect, p, value(random));
            changes.fetch_add(1, std::memory_order_relaxed);
        }
    });
    BlockScan total;
    // About two seconds at 44.1 kHz: long enough for the other thread to
    // make thousands of changes while blocks run.
    constexpr int kBlocks = 400;
    for (int b = 0; b < kBlocks; ++b) {
        rig.fillNoise(kBlock);
        total.add(rig.process(kBlock), static_cast<int64_t>(b) * kBlock);
        // Gives the other thread a chance on a machine with one core.
        if (b % 16 == 0)
            std::this_thread::yield();
    }
    running = false;
    automation.join();
    if (const std::string problem = describe(total); !problem.empty())
        findings.fail("setParameter from a second thread while processing: " + problem);
    findings.note(std::to_string(changes.load()) +
                  " parameter changes from a second thread during " + std::to_string(kBlocks) +
                  " blocks");
}

} // namespace

void addAutomationChecks(std::vector<Check>& checks)
{
    checks.push_back(
        {"automation.sub-blocks", 1, "parameter changes every 32 frames", subBlocks, true});
    checks.push_back({"automation.threads", 5, "setParameter from a second thread while processing",
                      secondThread});
}

} // namespace vst2host::validate
