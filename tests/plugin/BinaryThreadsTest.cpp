// Automation and program changes from one thread while another processes
// audio, and two instances rendering on two threads at once: no data race
// (run under ThreadSanitizer), finite output, identical renders.
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "tests/plugin/PluginHarness.h"

using harness::Stereo;
using vst2host::PluginInstance;

namespace {
class PluginThreads : public ::testing::Test
{};
} // namespace

TEST_F(PluginThreads, AutomationAndProgramsWhileAudioRuns)
{
    PluginInstance plugin(harness::pluginPath());
    plugin.start(44100.0f, 256);
    std::atomic<bool> stop{false};
    std::atomic<long> changes{0};

    std::thread automation([&] {
        for (long n = 0; !stop.load(std::memory_order_relaxed); ++n) {
            if (n % 97 == 0)
                plugin.setProgram(static_cast<int>(n / 97 % 8));
            else
                plugin.setParameter(static_cast<int>(n % 8), static_cast<float>(n % 101) / 100.0f);
            changes.fetch_add(1, std::memory_order_relaxed);
        }
    });

    const Stereo input = harness::testSignal(256, 17);
    Stereo in = input;
    Stereo out(256);
    float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    long blocks = 0;
    while (std::chrono::steady_clock::now() < end || changes.load() < 10000) {
        plugin.process(inputs, outputs, 256);
        ++blocks;
        // Not ASSERT: the automation thread must be stopped and joined.
        if (const long bad = harness::firstBadSample(out); bad != -1) {
            ADD_FAILURE() << "bad sample " << bad << " in block " << blocks;
            break;
        }
    }
    stop = true;
    automation.join();
    EXPECT_GT(blocks, 100);
}

// Renders on two threads at once equal a render made alone.
TEST_F(PluginThreads, ConcurrentInstancesRenderIdentically)
{
    const Stereo input = harness::testSignal(44100, 19);
    auto renderOnce = [&] {
        PluginInstance plugin(harness::pluginPath());
        plugin.start(44100.0f, 512);
        plugin.setProgram(5);
        return harness::render(plugin, input);
    };
    const Stereo alone = renderOnce();
    Stereo first;
    Stereo second;
    std::thread a([&] { first = renderOnce(); });
    std::thread b([&] { second = renderOnce(); });
    a.join();
    b.join();
    EXPECT_TRUE(first.left == alone.left && first.right == alone.right);
    EXPECT_TRUE(second.left == alone.left && second.right == alone.right);
}

// Hosts scan and load sessions on several threads: instances created,
// resumed, run and deleted on four threads at once share what they share
// without a race, and each renders what an instance renders alone.
TEST_F(PluginThreads, InstancesCreatedAndDeletedOnSeveralThreads)
{
    constexpr int kThreads = 4;
    constexpr int kInstancesPerThread = 12;
    const Stereo input = harness::testSignal(2048, 23);
    auto renderOnce = [&] {
        PluginInstance plugin(harness::pluginPath());
        plugin.start(48000.0f, 256);
        plugin.setProgram(4);
        return harness::render(plugin, input, 256);
    };
    std::vector<std::vector<Stereo>> renders(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kInstancesPerThread; ++i)
                renders[t].push_back(renderOnce());
        });
    for (std::thread& thread : threads)
        thread.join();
    const Stereo alone = renderOnce();
    for (int t = 0; t < kThreads; ++t)
        for (const Stereo& r : renders[t])
            EXPECT_TRUE(r.left == alone.left && r.right == alone.right) << "thread " << t;
}
