// Cost of the spatial engine per stereo frame, for typical placements, at
// the lowest common and the highest sample rate and two block sizes, on
// each renderer: the frame-by-frame definition beside the block renderers;
// on noise and on silence, which must cost the same.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchSignals.h"
#include "engine/Vantelor.h"

namespace {
struct Placement
{
    const char* name;
    float azimuth[2];
    float elevation[2];
    bool active[2];
    float width[2];
    // The left source glides across the range and back, moved before
    // every block as a host's automation moves it.
    bool gliding;
};

// The end of the angle range.
constexpr float kEnd = CCCPanner::kMaxAngle;

const Placement kPlacements[] = {
    {"Default", {-30.0f, 30.0f}, {0.0f, 0.0f}, {true, true}, {0.0f, 0.0f}, false},
    {"Wide sources", {-30.0f, 30.0f}, {0.0f, 0.0f}, {true, true}, {0.8f, 0.8f}, false},
    {"Mono far left", {-55.0f, 30.0f}, {0.0f, 0.0f}, {true, false}, {0.1f, 0.0f}, false},
    {"Both at -60", {-kEnd, -kEnd}, {0.0f, 0.0f}, {true, true}, {0.0f, 0.0f}, false},
    {"Default, left gliding", {-30.0f, 30.0f}, {0.0f, 0.0f}, {true, true}, {0.0f, 0.0f}, true},
};

void engineCost(benchmark::State& state)
{
    const Placement& p = kPlacements[state.range(0)];
    const float rate = static_cast<float>(state.range(1));
    const int frames = static_cast<int>(state.range(2));
    const auto renderer = static_cast<CVantelor::Renderer>(state.range(3));
    const bool silence = state.range(4) != 0;

    CVantelor engine(2, 2);
    engine.setRenderer(renderer);
    if (engine.getRenderer() != renderer) {
        state.SkipWithError("this processor cannot run this renderer");
        return;
    }
    const char* rendererNames[] = {"reference", "SSE2", "AVX2", "AVX-512"};
    state.SetLabel(std::string(p.name) + ", " + rendererNames[state.range(3)] +
                   (silence ? ", silence" : ""));
    engine.setSampleRate(rate);
    for (int8_t c = 0; c < 2; ++c) {
        engine.setAzimuth(p.azimuth[c], c);
        engine.setElevation(p.elevation[c], c);
        engine.setActive(p.active[c], c);
        engine.setWidth(p.width[c], c);
    }

    std::vector<float> in[2] = {std::vector<float>(frames), std::vector<float>(frames)};
    std::vector<float> out[2] = {std::vector<float>(frames), std::vector<float>(frames)};
    // Noise (two different stretches of it), or digital silence.
    const std::vector<float> noise = bench_signals::noiseBlock();
    for (int i = 0; i < frames && !silence; ++i) {
        in[0][i] = noise[static_cast<size_t>(i % bench_signals::kBlock)];
        in[1][i] =
            noise[static_cast<size_t>((i + bench_signals::kBlock / 2) % bench_signals::kBlock)];
    }
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};

    int block = 0;
    for (auto _ : state) {
        if (p.gliding) {
            // There and back in 2 seconds of audio.
            const int period = static_cast<int>(2.0f * rate) / frames;
            const float phase = static_cast<float>(block++ % period) / static_cast<float>(period);
            engine.setAzimuth(-kEnd + 4.0f * kEnd * (phase < 0.5f ? phase : 1.0f - phase), 0);
        }
        engine.process(inputs, outputs, frames);
        benchmark::DoNotOptimize(out[0].data());
        benchmark::DoNotOptimize(out[1].data());
        benchmark::ClobberMemory();
    }
    const double totalFrames = static_cast<double>(state.iterations()) * frames;
    state.SetItemsProcessed(static_cast<int64_t>(totalFrames));
    state.counters["ns_per_frame"] = benchmark::Counter(
        totalFrames * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
// The decorrelator's walk over a slice, as each instruction set's passes
// walk it, with the engine's lengths at 44.1 kHz.
void decorrelatorWalk(benchmark::State& state)
{
    const int set = static_cast<int>(state.range(0));
    if (!fast_path::processorRuns(set)) {
        state.SkipWithError("this processor cannot run this walk");
        return;
    }
    state.SetLabel(fast_path::kPasses[set].name);
    CDecorrelator decorrelator(2304, 1536, 3);
    decorrelator.setDelay(529);
    decorrelator.setAllpassTotal(352);
    decorrelator.setAllpassCoefficient(0.6f);
    std::vector<float> slice = bench_signals::noiseBlock();
    slice.resize(fast_path::kMaxFrames);
    for (auto _ : state) {
        ring_walk::Chain chain;
        decorrelator.beginChain(chain);
        fast_path::kPasses[set].walkChain(chain, slice.data(), fast_path::kMaxFrames);
        decorrelator.endChain(chain);
        benchmark::DoNotOptimize(slice.data());
        benchmark::ClobberMemory();
    }
    const double totalFrames = static_cast<double>(state.iterations()) * fast_path::kMaxFrames;
    state.counters["ns_per_frame"] = benchmark::Counter(
        totalFrames * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
} // namespace

BENCHMARK(decorrelatorWalk)->ArgName("set")->DenseRange(0, fast_path::kInstructionSets - 1);
BENCHMARK(engineCost)
    ->ArgNames({"placement", "rate", "block", "renderer", "silence"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {44100, 192000}, {32, 64, 512}, {0, 1, 2, 3}, {0, 1}});

BENCHMARK_MAIN();
