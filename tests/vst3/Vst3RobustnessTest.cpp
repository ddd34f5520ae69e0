// The VST3 module under what hosts send: empty and missing buffers,
// non-finite samples and values, extreme rates, odd blocks, activation
// cycles, ends without deactivation, many instances on two threads; and no
// allocation in process.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "tests/vst3/Vst3Host.h"
#include "tools/host/AllocationCounter.h"

namespace {

using namespace vantelor_vst3_test;

constexpr vst3::ParamID kBypassId = 100;
constexpr vst3::ParamID kProgramId = 101;
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct Loaded
{
    Loaded() : module(VANTELOR_VST3_BINARY), instance(module.factory) {}
    Vst3Module module;
    Vst3Instance instance;
};

struct Buffers
{
    explicit Buffers(size_t frames)
    {
        for (int ch = 0; ch < 2; ++ch) {
            in[ch].assign(frames, 0.0f);
            out[ch].assign(frames, 0.0f);
            for (size_t k = 0; k < frames; ++k)
                in[ch][k] = 0.4f * std::sin(0.03f * static_cast<float>(k) + ch);
        }
    }
    float** ins() { return insPtr = {in[0].data(), in[1].data()}, insPtr.data(); }
    float** outs() { return outsPtr = {out[0].data(), out[1].data()}, outsPtr.data(); }
    bool finite(size_t frames) const
    {
        for (const auto& channel : out)
            for (size_t k = 0; k < frames; ++k)
                if (!std::isfinite(channel[k]))
                    return false;
        return true;
    }
    std::vector<float> in[2], out[2];
    std::array<float*, 2> insPtr{}, outsPtr{};
};

TEST(Vst3Robustness, BadSamplesValuesAndBuffersKeepTheOutputFinite)
{
    Loaded p;
    ASSERT_TRUE(p.instance.ok());
    ASSERT_TRUE(p.instance.start(44100));
    Buffers b(1024);
    for (float bad : {kNaN, kInf, -kInf, 1e30f})
        for (size_t k = 0; k < 1024; k += 7)
            b.in[k % 2][k] = bad;
    const double values[] = {-1.0, 2.0, std::nan(""), 1e300, -0.0, 0.5};
    for (int round = 0; round < 12; ++round) {
        ParamChanges changes;
        for (vst3::ParamID id : {0u, 1u, 2u, 3u, 5u, 7u, kBypassId, kProgramId, 12345u})
            changes.add(id, round * 37 % 1024 - 3, values[round % 6]);
        changes.add(1, 2000, values[(round + 1) % 6]); // past the end
        ASSERT_EQ(p.instance.process(b.ins(), b.outs(), 1024, &changes), vst3::kResultOk);
        ASSERT_TRUE(b.finite(1024)) << "round " << round;
    }
    // Missing and empty buffers: nothing crashes, changes still land.
    ParamChanges changes;
    changes.add(kAziL, 0, 1.0);
    EXPECT_EQ(p.instance.process(nullptr, nullptr, 512, &changes), vst3::kResultOk);
    EXPECT_EQ(p.instance.process(b.ins(), nullptr, 512, &changes), vst3::kResultOk);
    EXPECT_EQ(p.instance.process(nullptr, b.outs(), 512, &changes), vst3::kResultOk);
    EXPECT_TRUE(b.finite(512));
    EXPECT_EQ(p.instance.process(b.ins(), b.outs(), 0, &changes), vst3::kResultOk);
    EXPECT_EQ(p.instance.process(b.ins(), b.outs(), -5, nullptr), vst3::kResultOk);
    float* halfNull[2] = {b.in[0].data(), nullptr};
    EXPECT_EQ(p.instance.process(halfNull, b.outs(), 256), vst3::kResultOk);
    vst3::String128 text{};
    toUtf16("60", text);
    EXPECT_EQ(p.instance.controller->getParamNormalized(kAziL), vantelor::toNormalised(kAziL, -30))
        << "the controller hears the host, not the processor";
    EXPECT_NE(p.instance.controller->setParamNormalized(kAziL, std::nan("")), vst3::kResultOk);
    EXPECT_EQ(p.instance.controller->setParamNormalized(kAziL, 7.0), vst3::kResultOk);
    EXPECT_EQ(p.instance.controller->getParamNormalized(kAziL), 1.0);
}

TEST(Vst3Robustness, ExtremeRatesOddBlocksAndActivationCycles)
{
    const double rates[] = {1.0, 8000.0, 44100.0, 192000.0, 1.0e7, std::nan("")};
    const int32_t blocks[] = {1, 3, 17, 333, 4095, 8192};
    Buffers b(8192);
    for (double rate : rates) {
        SCOPED_TRACE(rate);
        Loaded p;
        ASSERT_TRUE(p.instance.ok());
        for (int cycle = 0; cycle < 3; ++cycle) {
            ASSERT_TRUE(p.instance.start(rate));
            for (int32_t n : blocks) {
                ParamChanges changes;
                changes.add(kElevL, n / 2, 0.9);
                changes.add(kWidthR, n - 1, 0.7);
                ASSERT_EQ(p.instance.process(b.ins(), b.outs(), n, &changes), vst3::kResultOk);
                ASSERT_TRUE(b.finite(static_cast<size_t>(n)));
            }
            p.instance.stop();
        }
        // Active at the end: the instance is terminated without deactivation.
        ASSERT_TRUE(p.instance.start(rate));
        ASSERT_EQ(p.instance.process(b.ins(), b.outs(), 64), vst3::kResultOk);
        p.instance.active = false;
    }
}

TEST(Vst3Robustness, InPlaceBuffersGiveTheSameOutput)
{
    Loaded a, c;
    ASSERT_TRUE(a.instance.ok() && c.instance.ok());
    ASSERT_TRUE(a.instance.start(48000));
    ASSERT_TRUE(c.instance.start(48000));
    Buffers separate(600), inPlace(600);
    for (int round = 0; round < 4; ++round) {
        ParamChanges changes;
        changes.add(kAziR, 100 * round, 0.1 * round);
        changes.add(kBypassId, 50, round == 1 ? 1.0 : 0.0);
        inPlace.in[0] = separate.in[0];
        inPlace.in[1] = separate.in[1];
        ASSERT_EQ(a.instance.process(separate.ins(), separate.outs(), 600, &changes),
                  vst3::kResultOk);
        ASSERT_EQ(c.instance.process(inPlace.ins(), inPlace.ins(), 600, &changes), vst3::kResultOk);
        for (int ch = 0; ch < 2; ++ch)
            ASSERT_EQ(separate.out[ch], inPlace.in[ch]) << "round " << round;
    }
}

TEST(Vst3Robustness, ManyInstancesOnTwoThreads)
{
    Vst3Module module(VANTELOR_VST3_BINARY);
    ASSERT_NE(module.factory, nullptr);
    auto work = [&module](int seed, bool* ok) {
        *ok = true;
        Buffers b(512);
        for (int i = 0; i < 12; ++i) {
            Vst3Instance instance(module.factory);
            if (!instance.ok() || !instance.start(44100.0 + 100 * seed)) {
                *ok = false;
                return;
            }
            for (int block = 0; block < 4; ++block) {
                ParamChanges changes;
                changes.add(static_cast<vst3::ParamID>((i + block) % 8), block * 60, 0.1 * block);
                instance.process(b.ins(), b.outs(), 512, &changes);
                *ok = *ok && b.finite(512);
            }
            const std::vector<uint8_t> state = instance.state();
            *ok = *ok && instance.setState(state) == vst3::kResultOk;
        }
    };
    bool ok[2] = {};
    std::thread first(work, 1, &ok[0]);
    std::thread second(work, 2, &ok[1]);
    first.join();
    second.join();
    EXPECT_TRUE(ok[0]);
    EXPECT_TRUE(ok[1]);
}

// The audio thread's calls, from the first after activation on (the start
// of the engine included), with changes, bypass fades and program changes.
TEST(Vst3Robustness, ProcessNeverAllocates)
{
    Loaded p;
    ASSERT_TRUE(p.instance.ok());
    Buffers b(4096);
    std::vector<ParamChanges> blocks(16);
    for (size_t i = 0; i < blocks.size(); ++i) {
        for (int k = 0; k < 20; ++k)
            blocks[i].add(static_cast<vst3::ParamID>(k % 8), k * 50, 0.05 * k);
        blocks[i].add(kBypassId, 7, i % 4 == 1 ? 1.0 : 0.0);
        blocks[i].add(kProgramId, 1000, 0.125 * static_cast<double>(i % 8));
    }
    for (int cycle = 0; cycle < 2; ++cycle) {
        ASSERT_TRUE(p.instance.start(48000));
        for (size_t i = 0; i < blocks.size(); ++i) {
            vst2host::AllocationScope scope;
            p.instance.process(b.ins(), b.outs(), static_cast<int32_t>(1000 + 199 * i), &blocks[i]);
            p.instance.process(nullptr, nullptr, 0, &blocks[i]);
            ASSERT_EQ(scope.count(), 0) << "block " << i;
        }
        p.instance.stop();
    }
}

} // namespace
