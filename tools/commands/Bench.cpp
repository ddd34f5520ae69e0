#include "tools/commands/Commands.h"
#include "tools/commands/ParameterSettings.h"
#include "tools/commands/ParameterSweep.h"
#include "tools/host/DemoSignal.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/ReportStream.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace vst2host {

namespace {

constexpr int kSampleRate = 44100;
constexpr double kRoundSeconds = 0.1; // audio processed per timed round
constexpr int kWarmUpRounds = 3;

// One plug-in under measurement, with its own copy of the input so that a
// plug-in writing into its inputs affects only itself.
struct Subject
{
    Subject(const std::string& path, const BenchOptions& options, const std::vector<float>& left,
            const std::vector<float>& right)
        : plugin(path)
    {
        plugin.prepare(kSampleRate, options.block);
        applyParameters(plugin, options.parameters, true);
        if (!options.sweep.empty() &&
            plugin.findParameter(ParameterSweep::parameterName(options.sweep)) >= 0) {
            sweep.emplace(plugin, options.sweep);
            sweep->apply(plugin, 0.0);
            sweepFrames = std::max(2.0, options.sweepSeconds * kSampleRate);
        }
        plugin.host().processingLevel = kVstProcessLevelRealtime;
        plugin.start(kSampleRate, options.block);
        const int inputs = std::max(plugin.numInputs(), 2);
        const int outputs = std::max(plugin.numOutputs(), 1);
        input.assign(inputs, std::vector<float>(left.size()));
        input[0] = left;
        input[1] = right;
        output.assign(outputs, std::vector<float>(options.block));
        for (auto& channel : output)
            outputPointers.push_back(channel.data());
        inputPointers.resize(inputs);
    }

    // Processes `blocks` blocks of `block` frames; returns nanoseconds per
    // frame. With a sweep, the parameter is set before every block, as a
    // host's automation sets it, and that call is part of the cost.
    double round(int blocks, int block)
    {
        const auto begin = std::chrono::steady_clock::now();
        for (int b = 0; b < blocks; ++b) {
            if (sweep) {
                // Up from FROM to TO in the first half of the period, back down in the second.
                const double phase = std::fmod(static_cast<double>(sweptFrames) / sweepFrames, 1.0);
                sweep->apply(plugin, phase < 0.5 ? 2.0 * phase : 2.0 - 2.0 * phase);
                sweptFrames += block;
            }
            if (offset + block > input[0].size())
                offset = 0;
            for (size_t c = 0; c < input.size(); ++c)
                inputPointers[c] = input[c].data() + offset;
            plugin.process(inputPointers.data(), outputPointers.data(), block);
            offset += block;
        }
        const auto end = std::chrono::steady_clock::now();
        const double nanoseconds = std::chrono::duration<double, std::nano>(end - begin).count();
        return nanoseconds / (static_cast<double>(blocks) * block);
    }

    PluginInstance plugin;
    std::optional<ParameterSweep> sweep;
    double sweepFrames = 0.0;
    int64_t sweptFrames = 0;
    std::vector<std::vector<float>> input;
    std::vector<std::vector<float>> output;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
    size_t offset = 0;
    std::vector<double> samples;
};

double quantile(const std::vector<double>& sorted, double q)
{
    const double position = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<size_t>(position);
    const size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] +
           (sorted[above] - sorted[below]) * (position - static_cast<double>(below));
}

} // namespace

int runBench(const BenchOptions& options)
{
    // One second of input, plus a block so any offset fits: the demo
    // material, white noise (its own on each channel) or silence.
    std::vector<float> left(kSampleRate + options.block);
    std::vector<float> right(left.size());
    if (options.input == "demo") {
        DemoSignal demo;
        demo.render(left.data(), right.data(), static_cast<int64_t>(left.size()));
    } else if (options.input == "noise") {
        std::minstd_rand generator(1);
        std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
        for (size_t i = 0; i < left.size(); ++i) {
            left[i] = uniform(generator);
            right[i] = uniform(generator);
        }
    }

    std::vector<std::unique_ptr<Subject>> subjects;
    for (const std::string& path : options.plugins)
        subjects.push_back(std::make_unique<Subject>(path, options, left, right));

    if (!options.sweep.empty() && std::none_of(subjects.begin(), subjects.end(),
                                               [](const auto& s) { return s->sweep.has_value(); }))
        requireParameter(subjects.front()->plugin, ParameterSweep::parameterName(options.sweep));

    const int blocksPerRound =
        std::max(1, static_cast<int>(std::lround(kRoundSeconds * kSampleRate / options.block)));
    const double roundSeconds = static_cast<double>(blocksPerRound) * options.block / kSampleRate;
    const int rounds = std::max(5, static_cast<int>(std::ceil(options.seconds / roundSeconds)));

    // Alternating rounds (A B A B ...) spread slow phases of the machine over
    // every plug-in alike.
    for (int r = 0; r < kWarmUpRounds; ++r)
        for (auto& subject : subjects)
            subject->round(blocksPerRound, options.block);
    for (int r = 0; r < rounds; ++r)
        for (auto& subject : subjects)
            subject->samples.push_back(subject->round(blocksPerRound, options.block));

    std::fprintf(report(),
                 "%d Hz, block %d, input %s, %d rounds of %.3f s per plug-in, alternating\n",
                 kSampleRate, options.block, options.input.c_str(), rounds, roundSeconds);
    if (!options.sweep.empty()) {
        std::fprintf(report(),
                     "automating %s before every block, there and back every %.2f s of audio\n",
                     options.sweep.c_str(), options.sweepSeconds);
        for (auto& subject : subjects)
            if (!subject->sweep)
                std::fprintf(
                    report(), "  (%s has no such parameter: not automated)\n",
                    std::filesystem::path(subject->plugin.path()).filename().string().c_str());
    }
    std::fprintf(report(), "%-28s %12s %21s %21s %12s\n", "plug-in", "ns/frame", "interquartile",
                 "min..max", "real-time");
    for (auto& subject : subjects) {
        std::vector<double> sorted = subject->samples;
        std::sort(sorted.begin(), sorted.end());
        const double median = quantile(sorted, 0.5);
        const double framePeriod = 1e9 / kSampleRate;
        char iqr[64];
        char range[64];
        std::snprintf(iqr, sizeof iqr, "%.1f..%.1f", quantile(sorted, 0.25),
                      quantile(sorted, 0.75));
        std::snprintf(range, sizeof range, "%.1f..%.1f", sorted.front(), sorted.back());
        const std::string name = std::filesystem::path(subject->plugin.path()).filename().string();
        std::fprintf(report(), "%-28s %12.1f %21s %21s %11.1fx\n", name.c_str(), median, iqr, range,
                     framePeriod / median);
    }
    return 0;
}

} // namespace vst2host
