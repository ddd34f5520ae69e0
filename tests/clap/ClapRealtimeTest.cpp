// The audio thread's rules through the module: process allocates nothing
// (events, modulation, the window's edits and the first block after
// activation included), and many instances run on two threads at once while
// the main thread sets values, saves state and loads presets.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "product/VantelorDescription.h"
#include "tests/clap/ClapScenario.h"
#include "tools/host/clap/ClapHost.h"

#if defined(VANTELOR_COUNT_ALLOCATIONS)
#include "tools/host/AllocationCounter.h"
#endif

namespace {

using clap_host::ClapInstance;
using clap_host::ClapModule;
using clap_host::EventList;

const ClapModule& module()
{
    static const ClapModule m(VANTELOR_CLAP_PLUGIN);
    return m;
}

#if defined(VANTELOR_COUNT_ALLOCATIONS)
TEST(ClapRealtime, ProcessAllocatesNothing)
{
    ASSERT_TRUE(module().loaded()) << module().error();
    ClapInstance plugin(module());
    ASSERT_TRUE(plugin.loadPreset("3"));
    ASSERT_TRUE(plugin.activate(48000, 1, 1024));
    ASSERT_TRUE(plugin.startProcessing());
    std::vector<float> l(1024, 0.1f), r(1024, -0.1f);
    float* io[2] = {l.data(), r.data()};
    clap_host::OutputList out(4096);
    const clap_test::Scenario s = clap_test::makeScenario(3, 48000, 7, 64);
    std::vector<EventList> lists;
    for (const clap_test::Block& b : s.blocks) {
        lists.emplace_back(64);
        for (const clap_test::Change& c : b.changes) {
            if (c.modulation)
                lists.back().modulation(c.frame, static_cast<clap_id>(c.index), c.amount);
            else
                lists.back().value(c.frame, static_cast<clap_id>(c.index), c.amount);
        }
    }
    // A crowd of events past the plug-in's room for one piece.
    EventList crowd(2000);
    for (uint32_t i = 0; i < 2000; ++i)
        crowd.value(i / 2, i % kNumVantelorParameters, (i % 5) * 0.25);
    int64_t allocations = 0;
    {
        vst2host::AllocationScope scope;
        for (std::size_t b = 0; b < s.blocks.size(); ++b)
            plugin.process(io, io, s.blocks[b].frames, &lists[b], &out);
        plugin.process(io, io, 1024, &crowd, &out);
        allocations = scope.count();
    }
    EXPECT_EQ(allocations, 0);
}
#endif

TEST(ClapRealtime, ManyInstancesOnTwoThreadsWhileTheMainThreadWorks)
{
    ASSERT_TRUE(module().loaded()) << module().error();
    constexpr int kPerThread = 4;
    std::vector<std::unique_ptr<ClapInstance>> instances;
    for (int i = 0; i < 2 * kPerThread; ++i) {
        instances.push_back(std::make_unique<ClapInstance>(module()));
        ASSERT_TRUE(instances.back()->activate(i % 2 ? 44100 : 96000, 1, 512));
        ASSERT_TRUE(instances.back()->startProcessing());
    }
    std::atomic<bool> finite{true};
    auto audio = [&](int first) {
        std::vector<float> l(512), r(512);
        float* io[2] = {l.data(), r.data()};
        EventList events(16);
        for (int block = 0; block < 200; ++block) {
            for (int k = 0; k < kPerThread; ++k) {
                std::fill(l.begin(), l.end(), 0.3f);
                std::fill(r.begin(), r.end(), -0.2f);
                events.clear();
                events.value(static_cast<uint32_t>(block % 512), kAziL, (block % 120) - 60.0);
                events.modulation(static_cast<uint32_t>((block * 7) % 512), kElevR, block % 30);
                instances[first + k]->process(io, io, 512, &events);
                for (float v : l)
                    if (!std::isfinite(v))
                        finite = false;
            }
        }
    };
    std::thread a(audio, 0);
    std::thread b(audio, kPerThread);
    for (int round = 0; round < 50; ++round) {
        for (auto& instance : instances) {
            const std::vector<uint8_t> state = instance->saveState();
            instance->loadState(state);
            instance->loadPreset(std::to_string(round % 8));
            instance->value(kWidthL);
        }
    }
    a.join();
    b.join();
    EXPECT_TRUE(finite);
}

} // namespace
