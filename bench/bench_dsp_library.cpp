// Cost per sample of the library's heavier blocks: the reverb (plain and
// with modulation) and the true-peak detector at each oversampling factor.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/ISPDetector.h"
#include "bench/BenchSignals.h"
#include "dsp/Reverb.h"

namespace {
using bench_signals::kBlock;
using bench_signals::noiseBlock;

void reverbProcess(benchmark::State& state)
{
    CUFNReverb reverb;
    reverb.setSampleRate(static_cast<float>(state.range(0)));
    reverb.setModulation(state.range(1) != 0);
    const std::vector<float> input = noiseBlock();
    std::vector<float> left(kBlock);
    std::vector<float> right(kBlock);
    for (auto _ : state) {
        for (int n = 0; n < kBlock; ++n)
            reverb.process(&input[n], &left[n], &right[n]);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(reverbProcess)
    ->ArgNames({"rate", "modulation"})
    ->Args({44100, 0})
    ->Args({44100, 1})
    ->Args({192000, 0});

void ispDetectorProcess(benchmark::State& state)
{
    CISPDetector detector;
    detector.setSampleRate(static_cast<float>(state.range(0)));
    const std::vector<float> input = noiseBlock();
    for (auto _ : state) {
        for (const float& x : input)
            detector.process(&x);
        benchmark::DoNotOptimize(detector.readPeak());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(ispDetectorProcess)->ArgName("rate")->Arg(44100)->Arg(96000)->Arg(192000);
} // namespace

BENCHMARK_MAIN();
