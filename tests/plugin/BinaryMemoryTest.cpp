// A session of many instances costs little memory: 100 instances of the
// built plug-in, each resumed and run long enough to cycle every ring it
// has, keep at most 128 KB resident each, counting everything the process
// gained since before the plug-in was loaded (its code, its libraries and
// its shared tables divided among them).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "product/VantelorParameters.h"
#include "tests/plugin/PluginHarness.h"
#include "tools/host/ResidentMemory.h"

using harness::Stereo;
using vst2host::PluginInstance;
using vst2host::residentBytes;

TEST(PluginMemory, HundredInstancesAfterProcessingStayUnderTheBound)
{
    constexpr int kInstances = 100;
    constexpr long kBoundPerInstance = 128 * 1024;
    constexpr int kBlock = 512;
    // Longer than the longest ring at the highest rate, so every page an
    // instance can ever touch has been touched.
    constexpr size_t kFrames = 16 * kBlock;

    const Stereo input = harness::testSignal(kFrames, 5);
    Stereo in = input;
    Stereo out(kFrames);

    const long before = residentBytes();
    if (before < 0)
        GTEST_SKIP() << "no /proc/self/statm to read resident memory from";

    std::vector<std::unique_ptr<PluginInstance>> session;
    for (int i = 0; i < kInstances; ++i) {
        session.push_back(std::make_unique<PluginInstance>(harness::pluginPath()));
        PluginInstance& plugin = *session.back();
        plugin.start(i % 2 == 0 ? 44100.0f : 192000.0f, kBlock);
        // Every source wide, so the decorrelator works on signal.
        plugin.setParameter(kWidthL, 1.0f);
        plugin.setParameter(kWidthR, 1.0f);
        for (size_t start = 0; start < kFrames; start += kBlock) {
            float* inputs[2] = {in.left.data() + start, in.right.data() + start};
            float* outputs[2] = {out.left.data() + start, out.right.data() + start};
            plugin.process(inputs, outputs, kBlock);
        }
    }
    const long after = residentBytes();
    const long perInstance = (after - before) / kInstances;
    std::printf("resident per instance after processing: %ld bytes (%ld KB)\n", perInstance,
                perInstance / 1024);
    EXPECT_LE(perInstance, kBoundPerInstance);
}
