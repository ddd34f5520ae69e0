// Cost per sample of the DSP blocks that run once per sample per source in
// the audio callback, each in the configuration the engine uses.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/BiQuad.h"
#include "dsp/Decorrelator.h"
#include "dsp/Delay.h"
#include "bench/BenchSignals.h"

namespace {
using bench_signals::kBlock;
using bench_signals::noiseBlock;

// Runs `step` over a block per iteration and reports samples per second.
template <typename Step>
void perSample(benchmark::State& state, Step step)
{
    std::vector<float> block = noiseBlock();
    for (auto _ : state) {
        for (float& v : block)
            step(&v);
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void biQuadProcess(benchmark::State& state)
{
    CBiQuad filter;
    filter.setHighShelf(2000.0f / 48000.0f, -11.0f, 0.4f, -2.5f, false);
    perSample(state, [&](float* s) { filter.process(s); });
}
BENCHMARK(biQuadProcess);

void delayProcess(benchmark::State& state)
{
    CDelay line(120);
    line.setDelay(30);
    perSample(state, [&](float* s) { line.process(s); });
}
BENCHMARK(delayProcess);

void allpassDelayProcess(benchmark::State& state)
{
    CAPDelay section(28040);
    section.setDelay(164);
    section.setCoefficient(0.6f);
    perSample(state, [&](float* s) { section.process(s); });
}
BENCHMARK(allpassDelayProcess);

void decorrelatorProcess(benchmark::State& state)
{
    CDecorrelator decorrelator(192000, 65536, 3);
    decorrelator.setDelay(static_cast<int32_t>(48000.0f * 0.012f));
    decorrelator.setAllpassTotal(static_cast<int32_t>(48000.0f * 0.008f));
    decorrelator.setAllpassCoefficient(0.6f);
    perSample(state, [&](float* s) { decorrelator.process(s); });
}
BENCHMARK(decorrelatorProcess);

void fourTimesDelayProcessFractional(benchmark::State& state)
{
    C4Delay line(120);
    perSample(state, [&](float* s) { line.processFractional(s, 12.37f); });
}
BENCHMARK(fourTimesDelayProcessFractional);
} // namespace

BENCHMARK_MAIN();
