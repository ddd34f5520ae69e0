// The LV2 plug-in under what hosts send: values outside their ranges or not
// numbers, extreme rates, empty runs, ports connected late or moved,
// in-place buffers, instances made and freed in a loop or run on two threads.
// The output stays finite, nothing crashes, and run allocates nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "product/VantelorDescription.h"
#include "tests/lv2/Lv2Host.h"
#include "tools/host/AllocationCounter.h"

namespace {

using namespace vantelor_test;
using namespace vantelor_lv2;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

void fillInput(Lv2Instance& p, uint32_t frames, uint32_t seed)
{
    for (uint32_t k = 0; k < frames; ++k) {
        p.in[0][k] = std::sin(0.01f * static_cast<float>(k + seed)) * 0.8f;
        p.in[1][k] = (static_cast<float>((k * 7919u + seed) % 200u) - 100.0f) * 0.007f;
    }
}

void expectFinite(const std::vector<float>& v, uint32_t frames, const char* what)
{
    for (uint32_t k = 0; k < frames; ++k)
        ASSERT_TRUE(std::isfinite(v[k])) << what << " at frame " << k << ": " << v[k];
}

void useDefaults(Lv2Instance& p)
{
    for (int i = 0; i < kNumVantelorParameters; ++i)
        p.controls[i] = kVantelorParameters[i].defaultValue;
}

TEST(Lv2Robustness, ControlValuesOutsideTheirRangesKeepTheOutputFinite)
{
    Lv2World w;
    ASSERT_NE(w.plugin, nullptr);
    const float values[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 1e-42f, 250.0f, -250.0f};
    Lv2Instance p(w.plugin, 48000.0);
    ASSERT_NE(p.instance, nullptr);
    useDefaults(p);
    lilv_instance_activate(p.instance);
    uint32_t block = 0;
    for (const float value : values)
        for (int i = 0; i < kNumVantelorParameters; ++i, ++block) {
            SCOPED_TRACE(std::string(kControlSymbols[i]) + " = " + std::to_string(value));
            p.controls[i] = value;
            fillInput(p, 256, block);
            p.run(256);
            expectFinite(p.out[0], 256, "left");
            expectFinite(p.out[1], 256, "right");
            p.controls[i] = kVantelorParameters[i].defaultValue;
        }
    // Every port out of range at once, then back: still finite.
    for (const float value : values) {
        for (float& c : p.controls)
            c = value;
        fillInput(p, 512, block++);
        p.run(512);
        expectFinite(p.out[0], 512, "left");
        expectFinite(p.out[1], 512, "right");
    }
    lilv_instance_deactivate(p.instance);
}

TEST(Lv2Robustness, ExtremeRatesAndBlockLengthsRender)
{
    Lv2World w;
    ASSERT_NE(w.plugin, nullptr);
    for (const double rate : {1.0, 10e6, 22050.0, 192000.0}) {
        SCOPED_TRACE(rate);
        Lv2Instance p(w.plugin, rate, 40000);
        ASSERT_NE(p.instance, nullptr);
        useDefaults(p);
        p.controls[kWidthL] = 60.0f;
        lilv_instance_activate(p.instance);
        for (const uint32_t frames : {0u, 1u, 40000u, 3u}) {
            fillInput(p, frames, frames);
            p.run(frames);
            expectFinite(p.out[0], frames, "left");
            expectFinite(p.out[1], frames, "right");
        }
        lilv_instance_deactivate(p.instance);
    }
}

// A block longer than any the engine prepares for gives the same output as
// the same frames in ordinary blocks.
TEST(Lv2Robustness, ALongBlockEqualsTheSameFramesInShortBlocks)
{
    Lv2World w;
    ASSERT_NE(w.plugin, nullptr);
    constexpr uint32_t kFrames = 40000;
    Lv2Instance whole(w.plugin, 44100.0, kFrames), pieces(w.plugin, 44100.0, kFrames);
    for (Lv2Instance* p : {&whole, &pieces}) {
        useDefaults(*p);
        p->controls[kElevL] = 40.0f;
        p->controls[kWidthR] = 70.0f;
        fillInput(*p, kFrames, 5);
        lilv_instance_activate(p->instance);
    }
    whole.run(kFrames);
    std::vector<float> left(kFrames), right(kFrames);
    for (uint32_t done = 0; done < kFrames; done += 250) {
        lilv_instance_connect_port(pieces.instance, kInLeft, pieces.in[0].data() + done);
        lilv_instance_connect_port(pieces.instance, kInRight, pieces.in[1].data() + done);
        lilv_instance_connect_port(pieces.instance, kOutLeft, left.data() + done);
        lilv_instance_connect_port(pieces.instance, kOutRight, right.data() + done);
        pieces.run(250);
    }
    EXPECT_EQ(std::memcmp(left.data(), whole.out[0].data(), kFrames * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(right.data(), whole.out[1].data(), kFrames * sizeof(float)), 0);
}

// Ports not yet connected are skipped; a host that connects them late, moves
// them between runs or hands the same memory for input and output gets the
// output of ordinary separate buffers.
TEST(Lv2Robustness, LateReconnectedAndInPlaceBuffersGiveTheSameOutput)
{
    Lv2World w;
    ASSERT_NE(w.plugin, nullptr);
    constexpr uint32_t kFrames = 512;

    LilvInstance* late = lilv_plugin_instantiate(w.plugin, 48000.0, nullptr);
    ASSERT_NE(late, nullptr);
    lilv_instance_activate(late);
    lilv_instance_run(late, kFrames); // nothing connected: nothing to do
    float controls[kNumVantelorParameters];
    for (int i = 0; i < kNumVantelorParameters; ++i) {
        controls[i] = kVantelorFactoryPrograms[4].values[i];
        lilv_instance_connect_port(late, static_cast<uint32_t>(i), &controls[i]);
    }
    lilv_instance_run(late, kFrames); // audio still missing

    Lv2Instance reference(w.plugin, 48000.0);
    std::memcpy(reference.controls, controls, sizeof controls);
    lilv_instance_activate(reference.instance);

    // In place: each channel's input and output share one buffer, and the
    // buffers move to new memory between runs.
    std::vector<float> buffers[2][2];
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        fillInput(reference, kFrames, static_cast<uint32_t>(round));
        reference.run(kFrames);
        auto& shared = buffers[round % 2];
        for (int ch = 0; ch < 2; ++ch)
            shared[ch].assign(reference.in[ch].begin(), reference.in[ch].begin() + kFrames);
        lilv_instance_connect_port(late, kInLeft, shared[0].data());
        lilv_instance_connect_port(late, kOutLeft, shared[0].data());
        lilv_instance_connect_port(late, kInRight, shared[1].data());
        lilv_instance_connect_port(late, kOutRight, shared[1].data());
        lilv_instance_run(late, kFrames);
        for (int ch = 0; ch < 2; ++ch)
            ASSERT_EQ(
                std::memcmp(shared[ch].data(), reference.out[ch].data(), kFrames * sizeof(float)),
                0)
                << "channel " << ch;
    }
    lilv_instance_deactivate(late);
    lilv_instance_free(late);
}

TEST(Lv2Robustness, InstancesMadeAndFreedInALoopAndOnTwoThreads)
{
    Lv2World w;
    ASSERT_NE(w.plugin, nullptr);
    for (int i = 0; i < 50; ++i) {
        Lv2Instance p(w.plugin, 44100.0 + i);
        ASSERT_NE(p.instance, nullptr);
        if (i % 2 == 0) {
            useDefaults(p);
            lilv_instance_activate(p.instance);
            p.run(64);
            lilv_instance_deactivate(p.instance);
        }
    }
    // Two instances on two threads at once, each with its own values; each
    // gives what it gives alone.
    auto render = [&](int program, std::vector<float>* result) {
        Lv2Instance p(w.plugin, 48000.0);
        for (int i = 0; i < kNumVantelorParameters; ++i)
            p.controls[i] = kVantelorFactoryPrograms[program].values[i];
        lilv_instance_activate(p.instance);
        for (uint32_t block = 0; block < 200; ++block) {
            fillInput(p, 256, block);
            p.run(256);
            result->insert(result->end(), p.out[0].begin(), p.out[0].begin() + 256);
        }
        lilv_instance_deactivate(p.instance);
    };
    std::vector<float> alone[2], together[2];
    render(1, &alone[0]);
    render(4, &alone[1]);
    std::thread a(render, 1, &together[0]), b(render, 4, &together[1]);
    a.join();
    b.join();
    EXPECT_EQ(alone[0], together[0]);
    EXPECT_EQ(alone[1], together[1]);
}

// No allocation in run, including the first run after activate (which
// starts the engine from the host's values) and runs that hand over changes.
TEST(Lv2Robustness, RunNeverAllocates)
{
    Lv2World w;
    ASSERT_NE(w.plugin, nullptr);
    Lv2Instance p(w.plugin, 48000.0);
    ASSERT_NE(p.instance, nullptr);
    useDefaults(p);
    fillInput(p, 1024, 0);
    for (int cycle = 0; cycle < 2; ++cycle) {
        lilv_instance_activate(p.instance);
        for (int block = 0; block < 64; ++block) {
            p.controls[block % kNumVantelorParameters] = vantelorToUnits(
                block % kNumVantelorParameters, static_cast<float>(block % 10) / 9.0f);
            const uint32_t frames = block % 3 == 0 ? 1024 : static_cast<uint32_t>(block);
            vst2host::AllocationScope scope;
            p.run(frames);
            ASSERT_EQ(scope.count(), 0) << "cycle " << cycle << ", block " << block;
        }
        lilv_instance_deactivate(p.instance);
    }
}

} // namespace
