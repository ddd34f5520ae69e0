// The cost per frame of the built plug-in in each format at 512-frame
// blocks, in one run: the VST 2.4 module through its interface and the CLAP
// module through our CLAP host, both at the Default program with a gliding
// azimuth (one value event per block in CLAP, one setParameter in VST 2.4).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "product/VantelorDescription.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/clap/ClapHost.h"

namespace {

constexpr int kBlock = 512;

void input(std::vector<float>& l, std::vector<float>& r)
{
    l.resize(kBlock);
    r.resize(kBlock);
    for (int i = 0; i < kBlock; ++i) {
        l[i] = 0.3f * std::sin(0.05f * static_cast<float>(i));
        r[i] = 0.2f * std::sin(0.031f * static_cast<float>(i));
    }
}

void vst2(benchmark::State& state)
{
    vst2host::PluginInstance plugin(VANTELOR_VST2_PLUGIN);
    plugin.start(48000.0f, kBlock);
    std::vector<float> l, r, ol(kBlock), orr(kBlock);
    input(l, r);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    int n = 0;
    for (auto _ : state) {
        plugin.setParameter(kAziL, static_cast<float>(n++ % 100) / 100.0f);
        plugin.process(in, out, kBlock);
        benchmark::DoNotOptimize(ol.data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void clap(benchmark::State& state)
{
    clap_host::ClapModule module(VANTELOR_CLAP_PLUGIN);
    clap_host::ClapInstance plugin(module);
    if (!plugin.valid() || !plugin.activate(48000.0, 1, kBlock) || !plugin.startProcessing()) {
        state.SkipWithError("the CLAP plug-in did not start");
        return;
    }
    std::vector<float> l, r, ol(kBlock), orr(kBlock);
    input(l, r);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    clap_host::EventList events(4);
    int n = 0;
    for (auto _ : state) {
        events.clear();
        events.value(0, kAziL, vantelor::toUnits(kAziL, static_cast<float>(n++ % 100) / 100.0f));
        plugin.process(in, out, kBlock, &events);
        benchmark::DoNotOptimize(ol.data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

} // namespace

BENCHMARK(vst2)->Name("VST 2.4, 512 frames")->MinTime(2.0);
BENCHMARK(clap)->Name("CLAP, 512 frames")->MinTime(2.0);
BENCHMARK(vst2)->Name("VST 2.4 again, 512 frames")->MinTime(2.0);
BENCHMARK(clap)->Name("CLAP again, 512 frames")->MinTime(2.0);

BENCHMARK_MAIN();
