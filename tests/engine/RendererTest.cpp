// The engine's block renderers (SSE2, AVX2 and AVX-512) give every output sample and
// leave every bit of state that the frame-by-frame definition gives, under
// whatever a host does between blocks, at every channel count, and a block
// renderer may take over from another at any block.
//
// The random run's length is a frame budget: VANTELOR_RENDERER_FRAMES from
// the build (smaller under the sanitizers), or --frames=N on the command
// line for a long manual run.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dsp/NoiseSigns.h"
#include "engine/FastPath.h"
#include "engine/Vantelor.h"

#ifndef VANTELOR_RENDERER_FRAMES
#define VANTELOR_RENDERER_FRAMES 4000000
#endif

namespace {
int64_t frameBudget = VANTELOR_RENDERER_FRAMES;

using Renderer = CVantelor::Renderer;

const char* nameOf(Renderer r)
{
    switch (r) {
    case Renderer::reference:
        return "reference";
    case Renderer::sse2:
        return "SSE2";
    case Renderer::avx2:
        return "AVX2";
    case Renderer::avx512:
        return "AVX-512";
    }
    return "?";
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The definition, each block renderer, and one engine that changes renderer
// at random from block to block; all driven alike.
class Engines
{
public:
    Engines(int channels, std::mt19937& random) : channels(channels), random(random)
    {
        add(Renderer::reference);
        add(Renderer::sse2);
        if (fast_path::hasAvx2())
            add(Renderer::avx2);
        if (fast_path::hasAvx512())
            add(Renderer::avx512);
        add(Renderer::sse2);
        alternating = engines.size() - 1;
    }

    int count() const { return static_cast<int>(engines.size()); }

    template <class F>
    void apply(F action)
    {
        for (auto& e : engines)
            action(*e);
    }

    // Renders one block from `input` (channels x frames) on every engine,
    // half of the blocks in place, and compares outputs and state with the
    // definition's.
    void render(const std::vector<std::vector<float>>& input, int frames, bool inPlace,
                const std::string& where)
    {
        if (engines.size() > 1) {
            const Renderer choices[] = {Renderer::reference, Renderer::sse2, Renderer::avx2,
                                        Renderer::avx512};
            engines[alternating]->setRenderer(choices[random() % 4]);
        }
        std::vector<std::vector<float>> expected;
        for (size_t e = 0; e < engines.size(); ++e) {
            std::vector<std::vector<float>> buffers = input;
            std::vector<std::vector<float>> outputs(
                2, std::vector<float>(static_cast<size_t>(frames), 0.0f));
            std::vector<float*> in;
            for (auto& b : buffers)
                in.push_back(b.data());
            float* out[2] = {outputs[0].data(), outputs[1].data()};
            if (inPlace) {
                // Hosts may hand the same buffers in and out; the engine
                // with fewer than two inputs writes into buffers of its own.
                for (int c = 0; c < 2 && c < channels; ++c)
                    out[c] = in[c];
            }
            engines[e]->process(in.data(), out, frames);
            std::vector<std::vector<float>> result = {std::vector<float>(out[0], out[0] + frames),
                                                      std::vector<float>(out[1], out[1] + frames)};
            if (e == 0) {
                expected = result;
                continue;
            }
            for (int side = 0; side < 2; ++side)
                for (int i = 0; i < frames; ++i)
                    ASSERT_EQ(std::bit_cast<uint32_t>(result[side][i]),
                              std::bit_cast<uint32_t>(expected[side][i]))
                        << where << ": " << nameOf(engines[e]->getRenderer()) << " engine " << e
                        << ", output " << side << ", frame " << i << " of " << frames << ": "
                        << result[side][i] << " instead of " << expected[side][i];
            ASSERT_EQ(engines[e]->stateDigest(false), engines[0]->stateDigest(false))
                << where << ": state after the block, " << nameOf(engines[e]->getRenderer())
                << " engine " << e;
        }
    }

    void compareWholeState(const std::string& where)
    {
        const uint64_t expected = engines[0]->stateDigest(true);
        for (size_t e = 1; e < engines.size(); ++e)
            EXPECT_EQ(engines[e]->stateDigest(true), expected) << where << ": engine " << e;
    }

private:
    void add(Renderer r)
    {
        engines.push_back(std::make_unique<CVantelor>(static_cast<int8_t>(channels), 2));
        engines.back()->setRenderer(r);
    }

    int channels;
    std::mt19937& random;
    std::vector<std::unique_ptr<CVantelor>> engines;
    size_t alternating = 0;
};

// Input for one block: music, silence, values around the guard's
// threshold, subnormals, loud and out-of-range values, and NaN or infinite
// bursts, in runs.
class Source
{
public:
    explicit Source(std::mt19937& random) : random(random) {}

    void fill(std::vector<std::vector<float>>& input, int frames)
    {
        for (auto& channel : input) {
            channel.resize(static_cast<size_t>(frames));
            const int kind = static_cast<int>(random() % 10);
            for (int i = 0; i < frames; ++i)
                channel[i] = sample(kind, phase++);
        }
    }

private:
    float sample(int kind, int64_t n)
    {
        std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
        switch (kind) {
        case 0:
            return 0.0f;
        case 1: {
            const float tiny[] = {1e-9f, -1e-9f, 1e-8f, -1e-8f, 1e-40f, -1e-40f, 2e-8f, -0.0f};
            return tiny[random() % std::size(tiny)];
        }
        case 2:
            return random() % 64 == 0 ? (random() % 2 ? kNaN : (random() % 2 ? kInf : -kInf))
                                      : 0.3f * unit(random);
        case 3:
            return random() % 256 == 0 ? (random() % 2 ? 3e12f : -1e30f) : 8.0f * unit(random);
        default:
            return 0.5f * static_cast<float>(std::sin(0.01 * static_cast<double>(n))) +
                   0.05f * unit(random);
        }
    }

    std::mt19937& random;
    int64_t phase = 0;
};

// Block sizes hosts use, and every other size now and then, up to 4096.
int blockSize(std::mt19937& random)
{
    const int common[] = {1, 2, 3, 32, 64, 127, 128, 129, 256, 441, 512, 1024, 4096};
    if (random() % 3 != 0)
        return common[random() % std::size(common)];
    return 1 + static_cast<int>(random() % 4096);
}

float angle(std::mt19937& random)
{
    constexpr float kEnd = CCCPanner::kMaxAngle;
    const float special[] = {-kEnd,  kEnd, -30.0f, 30.0f,       0.0f,      1e-8f,
                             -75.0f, kNaN, kInf,   -29.999998f, 30.000002f};
    if (random() % 4 == 0)
        return special[random() % std::size(special)];
    return std::uniform_real_distribution<float>(-kEnd, kEnd)(random);
}

// One host action between blocks, the same on every engine.
void hostAction(Engines& engines, int channels, std::mt19937& random)
{
    // Channel `channels` is out of range: every setter must ignore it.
    const auto channel = static_cast<int8_t>(random() % (channels + 1));
    switch (random() % 8) {
    case 0:
    case 1: {
        const float a = angle(random);
        engines.apply([&](CVantelor& e) { e.setAzimuth(a, channel); });
        break;
    }
    case 2: {
        const float a = angle(random);
        engines.apply([&](CVantelor& e) { e.setElevation(a, channel); });
        break;
    }
    case 3: {
        const float widths[] = {0.0f, 1.0f, 0.35f, kNaN, kInf, 2.0f, -1.0f, 1e12f};
        const float w = random() % 2 ? std::uniform_real_distribution<float>(0.0f, 1.0f)(random)
                                     : widths[random() % std::size(widths)];
        engines.apply([&](CVantelor& e) { e.setWidth(w, channel); });
        break;
    }
    case 4: {
        const bool on = random() % 3 != 0;
        engines.apply([&](CVantelor& e) { e.setActive(on, channel); });
        break;
    }
    case 5: {
        // A program change: every value of every channel at once.
        std::vector<float> values;
        for (int c = 0; c < channels; ++c) {
            values.push_back(angle(random));
            values.push_back(angle(random));
            values.push_back(std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
            values.push_back(random() % 4 != 0 ? 1.0f : 0.0f);
        }
        engines.apply([&](CVantelor& e) {
            for (int c = 0; c < channels; ++c) {
                const auto ch = static_cast<int8_t>(c);
                e.setAzimuth(values[4 * c], ch);
                e.setElevation(values[4 * c + 1], ch);
                e.setWidth(values[4 * c + 2], ch);
                e.setActive(values[4 * c + 3] > 0.5f, ch);
            }
        });
        break;
    }
    case 6: {
        const float rates[] = {44100.0f,  48000.0f, 22050.0f, 88200.0f, 96000.0f,
                               192000.0f, 37123.5f, 8000.0f,  1e6f,     kNaN};
        const float rate = rates[random() % std::size(rates)];
        engines.apply([&](CVantelor& e) { e.setSampleRate(rate); });
        break;
    }
    default:
        // Suspend and resume.
        engines.apply([](CVantelor& e) { e.reset(); });
        break;
    }
}
} // namespace

TEST(Renderer, EveryChannelCountAndActiveSetRendersAsTheDefinition)
{
    struct Case
    {
        int channels;
        bool active[4];
    };
    const Case cases[] = {
        {1, {true}},
        {1, {false}},
        {2, {true, true}},
        {2, {true, false}},
        {2, {false, true}},
        {2, {false, false}},
        {3, {true, true, true}},
        {3, {true, false, true}},
        {4, {true, true, true, true}},
        {4, {false, true, true, true}},
    };
    std::mt19937 random(7);
    for (const Case& tc : cases) {
        std::string where = std::to_string(tc.channels) + " channels, on:";
        for (int c = 0; c < tc.channels; ++c)
            where += tc.active[c] ? " 1" : " 0";
        Engines engines(tc.channels, random);
        Source source(random);
        for (int c = 0; c < tc.channels; ++c) {
            const auto ch = static_cast<int8_t>(c);
            engines.apply([&](CVantelor& e) {
                e.setAzimuth(-50.0f + 33.0f * static_cast<float>(c), ch);
                e.setElevation(10.0f * static_cast<float>(c) - 15.0f, ch);
                e.setWidth(0.2f * static_cast<float>(c + 1), ch);
                e.setActive(tc.active[c], ch);
            });
        }
        std::vector<std::vector<float>> input(static_cast<size_t>(tc.channels));
        // Half a second, with the first source gliding across the span and
        // back in the middle of it.
        for (int frame = 0; frame < 22050;) {
            if (frame >= 8000 && frame < 14000)
                engines.apply(
                    [&](CVantelor& e) { e.setAzimuth(frame < 11000 ? 55.0f : -40.0f, 0); });
            const int n = 1 + static_cast<int>(random() % 700);
            source.fill(input, n);
            engines.render(input, n, random() % 2 == 0, where + ", frame " + std::to_string(frame));
            if (HasFatalFailure())
                return;
            frame += n;
        }
        engines.compareWholeState(where);
    }
}

// Quiet inputs: silence on every input, one input silent while another
// plays, and signals that touch zero now and then. The guards then draw for
// the inputs and, depending on the widths and on the signs just drawn, for
// the side signal (always, never, or only when the signs differ or agree).
TEST(Renderer, QuietInputsRenderAsTheDefinitionAtEveryWidth)
{
    const float widths[][2] = {{0.8f, 0.8f}, {0.0f, 0.0f}, {1.0f, 0.0f},
                               {0.0f, 1.0f}, {0.3f, 0.9f}, {0.45f, 0.55f}};
    enum Kind
    {
        silent,
        playing,
        touchingZero,
    };
    const Kind mixes[][2] = {{silent, silent},       {silent, playing},
                             {playing, silent},      {touchingZero, playing},
                             {touchingZero, silent}, {touchingZero, touchingZero}};
    const int sizes[] = {1, 2, 3, 4, 5, 7, 63, 255, 256, 257, 511, 512};
    // Everything the guards replace: values nearer zero than the guard's
    // threshold, NaN and infinities.
    const float replaced[] = {0.0f, -0.0f, 1e-9f, -4e-9f, 1e-40f, kNaN, kInf, -kInf};
    std::mt19937 random(99);
    for (int channels = 1; channels <= 2; ++channels)
        for (const auto& w : widths)
            for (const auto& mix : mixes) {
                // One channel: its kind alone.
                if (channels == 1 && mix[1] != silent)
                    continue;
                const std::string where = std::to_string(channels) + " channels, widths " +
                                          std::to_string(w[0]) + " and " + std::to_string(w[1]) +
                                          ", kinds " + std::to_string(mix[0]) + " and " +
                                          std::to_string(mix[1]);
                Engines engines(channels, random);
                engines.apply([&](CVantelor& e) {
                    for (int8_t c = 0; c < channels; ++c) {
                        e.setAzimuth(c == 0 ? -30.0f : 30.0f, c);
                        e.setWidth(w[c], c);
                    }
                });
                std::vector<std::vector<float>> input(static_cast<size_t>(channels));
                int64_t phase = 0;
                for (int size : sizes) {
                    for (int c = 0; c < channels; ++c) {
                        std::vector<float>& channel = input[static_cast<size_t>(c)];
                        channel.resize(static_cast<size_t>(size));
                        for (int i = 0; i < size; ++i) {
                            const float music =
                                0.5f *
                                static_cast<float>(std::sin(0.01 * static_cast<double>(phase + i)));
                            const bool quiet =
                                mix[c] == silent || (mix[c] == touchingZero && random() % 40 == 0);
                            channel[static_cast<size_t>(i)] =
                                quiet ? (size % 2 == 1 ? replaced[random() % std::size(replaced)]
                                                       : 0.0f)
                                      : music;
                        }
                    }
                    phase += size;
                    engines.render(input, size, size % 3 == 0,
                                   where + ", block of " + std::to_string(size));
                    if (HasFatalFailure())
                        return;
                }
                engines.compareWholeState(where);
            }
}

// Two panners whose delay lines differ (one engine's never do) are rendered
// one after the other; silent inputs are then drawn once for both: by a
// walk (here one whose side signal never draws, so each frame takes two
// draws), or at a fixed stride of two or three draws a frame.
TEST(Renderer, PannersWithDifferentDelaysShareTheSilentInputs)
{
    constexpr int kFrames = 200;
    for (int set = 0; set < fast_path::kInstructionSets; ++set)
        for (int sideAlwaysDraws : {-1, 0, 1}) {
            if (!fast_path::processorRuns(set))
                continue;
            const fast_path::Passes& renderer = fast_path::kPasses[set];
            SCOPED_TRACE(std::string(renderer.name) + ", side always draws " +
                         std::to_string(sideAlwaysDraws));
            CNoiseGenerator definitionNoise;
            CNoiseGenerator blockNoise;
            CCCPanner definition[2];
            CCCPanner block[2];
            for (int k = 0; k < 2; ++k)
                for (auto* p : {&definition[k], &block[k]}) {
                    p->setSampleRate(k == 0 ? 44100.0f : 96000.0f);
                    p->setAzimuth(k == 0 ? -45.0f : 20.0f);
                    p->reset();
                    p->setNoiseGenerator(p == &definition[k] ? &definitionNoise : &blockNoise);
                }
            ASSERT_NE(definition[0].getFarDelay(), definition[1].getFarDelay());

            const uint32_t start = 0x9E3779B9u;
            uint8_t signs[fast_path::kSilentBytes] = {};
            const uint8_t noSideDraws[fast_path::kSilentBytes] = {};
            noiseSignsAfter(noisePeriodPlace(start), fast_path::kSilentBytes / 8, signs);
            fast_path::SilentInputs silent;
            silent.signs = signs;
            silent.sideDraws = noSideDraws;
            silent.sideAlwaysDraws = sideAlwaysDraws;
            const float kept[] = {-3e-8f, 5e-8f, -7e-8f, 11e-8f};
            std::copy(std::begin(kept), std::end(kept), silent.sideKept);
            std::vector<float> side(kFrames);
            silent.side = side.data();

            fast_path::PannerBlock blocks[2];
            for (int k = 0; k < 2; ++k)
                block[k].beginFastBlock(blocks[k], blockNoise.next());
            fast_path::PannerBlock* pair[2] = {&blocks[0], &blocks[1]};
            std::vector<float> sums(2 * kFrames, 0.0f);
            auto work = std::make_unique<fast_path::Work>();
            renderer.renderPair(pair, 2, nullptr, &silent, sums.data(), kFrames,
                                CNoiseJump::steps(2), *work);
            for (int k = 0; k < 2; ++k)
                block[k].endFastBlock(blocks[k]);
            blockNoise.setState(blocks[1].noiseState);

            EXPECT_EQ(silent.draws, (sideAlwaysDraws == 1 ? 3 : 2) * kFrames);
            CNoiseGenerator guard;
            guard.setState(start);
            for (int f = 0; f < kFrames; ++f) {
                const float a = denormalNoise(guard);
                const float b = denormalNoise(guard);
                const float expectedSide = sideAlwaysDraws == 1
                                               ? denormalNoise(guard) * 0.5f
                                               : kept[(a > 0.0f ? 1 : 0) | (b > 0.0f ? 2 : 0)];
                float left = 0.0f;
                float right = 0.0f;
                for (int k = 0; k < 2; ++k) {
                    float l;
                    float rr;
                    definition[k].processSample(k == 0 ? a : b, l, rr);
                    left += l;
                    right += rr;
                }
                ASSERT_EQ(std::bit_cast<uint32_t>(sums[2 * f]), std::bit_cast<uint32_t>(left))
                    << "frame " << f;
                ASSERT_EQ(std::bit_cast<uint32_t>(sums[2 * f + 1]), std::bit_cast<uint32_t>(right))
                    << "frame " << f;
                ASSERT_EQ(side[f], expectedSide) << "frame " << f;
            }
            for (int k = 0; k < 2; ++k)
                EXPECT_EQ(block[k].hashState(kHashStart), definition[k].hashState(kHashStart));
            EXPECT_EQ(blockNoise.getState(), definitionNoise.getState());
        }
}

TEST(Renderer, RandomHostActionsRenderAsTheDefinition)
{
    std::mt19937 random(20240611);
    int64_t frames = 0;
    int64_t blocks = 0;
    for (int episode = 0; frames < frameBudget; ++episode) {
        const int channels = 1 + episode % 4;
        Engines engines(channels, random);
        Source source(random);
        std::vector<std::vector<float>> input(static_cast<size_t>(channels));
        // Up to about a quarter of the budget per episode, so every channel
        // count is reached, and long enough for sources to come to rest.
        const int64_t episodeEnd = frames + std::max<int64_t>(frameBudget / 16, 20000);
        while (frames < episodeEnd && frames < frameBudget) {
            // Quiet stretches without actions let the smoothers settle.
            const int actions = random() % 4 == 0 ? static_cast<int>(random() % 4) : 0;
            for (int a = 0; a < actions; ++a)
                hostAction(engines, channels, random);
            const int n = blockSize(random);
            source.fill(input, n);
            engines.render(input, n, random() % 2 == 0,
                           "episode " + std::to_string(episode) + " (" + std::to_string(channels) +
                               " channels), block " + std::to_string(blocks));
            if (HasFatalFailure())
                return;
            frames += n;
            ++blocks;
        }
        engines.compareWholeState("end of episode " + std::to_string(episode));
    }
    std::printf("compared %lld frames in %lld blocks\n", static_cast<long long>(frames),
                static_cast<long long>(blocks));
    if (!fast_path::hasAvx2())
        GTEST_SKIP() << "this processor has no AVX2: only the SSE2 renderer was compared";
    if (!fast_path::hasAvx512())
        GTEST_SKIP() << "this processor has no AVX-512: its renderer was not compared";
}

// The decorrelator walked at each renderer's width gives the per-sample
// walk's output and rings, to the bit: blocks shorter and longer than its
// delay, across every ring's end, and sections that shrink mid-walk.
TEST(Renderer, DecorrelatorWalksAtEveryWidthAsSampleBySample)
{
    for (int set = 0; set < fast_path::kInstructionSets; ++set) {
        if (!fast_path::processorRuns(set))
            continue;
        const fast_path::Passes& walk = fast_path::kPasses[set];
        SCOPED_TRACE(walk.name);
        CDecorrelator bySample(100, 120, 3);
        CDecorrelator byBlock(100, 120, 3);
        for (CDecorrelator* d : {&bySample, &byBlock}) {
            d->setDelay(70);
            d->setAllpassTotal(120);
        }
        std::vector<float> signal;
        int n = 0;
        for (int b = 0; b < 60; ++b) {
            if (b == 30)
                for (CDecorrelator* d : {&bySample, &byBlock})
                    d->setAllpassTotal(41);
            const int frames = 1 + (b * 37) % 200;
            signal.resize(static_cast<size_t>(frames));
            for (float& v : signal)
                v = std::sin(0.37f * static_cast<float>(n++));
            std::vector<float> expected = signal;
            for (float& v : expected)
                bySample.process(&v);
            ring_walk::Chain chain;
            ASSERT_TRUE(byBlock.beginChain(chain));
            walk.walkChain(chain, signal.data(), frames);
            byBlock.endChain(chain);
            ASSERT_EQ(signal, expected) << "block " << b << " of " << frames << " frames";
        }
        EXPECT_EQ(byBlock.hashState(0), bySample.hashState(0));
    }
    if (!fast_path::hasAvx512())
        GTEST_SKIP() << "this processor has no AVX-512: its walk was not compared";
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--frames=", 9) == 0)
            frameBudget = std::strtoll(argv[i] + 9, nullptr, 10);
    return RUN_ALL_TESTS();
}
