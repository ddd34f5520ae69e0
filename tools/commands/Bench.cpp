#include "tools/commands/Commands.h"
#include "tools/commands/ParameterSettings.h"
#include "tools/commands/ParameterSweep.h"
#include "tools/host/DemoSignal.h"
#include "tools/host/formats/OpenPlugin.h"
#include "tools/host/ReportStream.h"
#include "tools/host/ResidentMemory.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace vst2host {

namespace {

constexpr int kSampleRate = 44100;
constexpr double kRoundSeconds = 0.1; // audio processed per timed round
constexpr int kWarmUpRounds = 3;

// One plug-in under measurement: `instances` instances of it processed in
// turn, as a session's tracks are, each on its own part of the input, with
// their own copy of it so that a plug-in writing into its inputs affects
// only itself.
struct Subject
{
    struct Instance
    {
        Instance(const std::string& path, const BenchOptions& options)
            : owned(openPlugin(path)), plugin(*owned)
        {
            plugin.prepare(kSampleRate, options.block);
            applyParameters(plugin, options.parameters, true);
        }
        std::unique_ptr<HostedPlugin> owned;
        HostedPlugin& plugin;
        std::optional<ParameterSweep> sweep;
        size_t offset = 0;
    };

    Subject(const std::string& path, const BenchOptions& options, const std::vector<float>& left,
            const std::vector<float>& right)
    {
        const int count = std::max(1, options.instances);
        for (int i = 0; i < count; ++i) {
            instances.push_back(std::make_unique<Instance>(path, options));
            Instance& one = *instances.back();
            HostedPlugin& plugin = one.plugin;
            if (!options.sweep.empty() &&
                plugin.findParameter(ParameterSweep::parameterName(options.sweep)) >= 0) {
                one.sweep.emplace(plugin, options.sweep);
                one.sweep->apply(plugin, 0.0);
                sweepFrames = std::max(2.0, options.sweepSeconds * kSampleRate);
            }
            plugin.setRealtime(true);
            plugin.start(kSampleRate, options.block);
            // Each instance on its own stretch of the material.
            one.offset = (left.size() / static_cast<size_t>(count)) * static_cast<size_t>(i);
        }
        HostedPlugin& first = instances.front()->plugin;
        const int inputs = std::max(first.numInputs(), 2);
        const int outputs = std::max(first.numOutputs(), 1);
        input.assign(inputs, std::vector<float>(left.size()));
        input[0] = left;
        input[1] = right;
        output.assign(outputs, std::vector<float>(options.block));
        for (auto& channel : output)
            outputPointers.push_back(channel.data());
        inputPointers.resize(inputs);
    }

    HostedPlugin& plugin() { return instances.front()->plugin; }
    bool swept() const { return instances.front()->sweep.has_value(); }

    // Processes `blocks` blocks of `block` frames in every instance; returns
    // nanoseconds per frame and instance. With a sweep, the parameter is set
    // before every block, as a host's automation sets it, and that call is
    // part of the cost.
    double round(int blocks, int block)
    {
        const auto begin = std::chrono::steady_clock::now();
        for (int b = 0; b < blocks; ++b) {
            double phase = 0.0;
            if (sweepFrames > 0.0) {
                // Up from FROM to TO in the first half of the period, back down in the second.
                phase = std::fmod(static_cast<double>(sweptFrames) / sweepFrames, 1.0);
                phase = phase < 0.5 ? 2.0 * phase : 2.0 - 2.0 * phase;
                sweptFrames += block;
            }
            for (auto& one : instances) {
                if (one->sweep)
                    one->sweep->apply(one->plugin, phase);
                if (one->offset + block > input[0].size())
                    one->offset = 0;
                for (size_t c = 0; c < input.size(); ++c)
                    inputPointers[c] = input[c].data() + one->offset;
                one->plugin.process(inputPointers.data(), outputPointers.data(), block);
                one->offset += block;
            }
        }
        const auto end = std::chrono::steady_clock::now();
        const double nanoseconds = std::chrono::duration<double, std::nano>(end - begin).count();
        return nanoseconds /
               (static_cast<double>(blocks) * block * static_cast<double>(instances.size()));
    }

    std::vector<std::unique_ptr<Instance>> instances;
    double sweepFrames = 0.0;
    int64_t sweptFrames = 0;
    std::vector<std::vector<float>> input;
    std::vector<std::vector<float>> output;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
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

constexpr int kStartupRepeats = 200;
constexpr int kMemoryInstances = 100;
constexpr int kMaxChannels = 128;

// Create, resume, one block, delete: milliseconds.
double startOnce(const std::string& path, int block, std::vector<std::vector<float>>& buffers)
{
    const auto begin = std::chrono::steady_clock::now();
    {
        const std::unique_ptr<HostedPlugin> owned = openPlugin(path);
        HostedPlugin& plugin = *owned;
        plugin.start(kSampleRate, block);
        // Inputs and outputs apart, as a host that does not process in place.
        float* inputs[kMaxChannels];
        float* outputs[kMaxChannels];
        const int half = kMaxChannels / 2;
        for (int c = 0; c < kMaxChannels; ++c) {
            inputs[c] = buffers[static_cast<size_t>(c % half)].data();
            outputs[c] = buffers[static_cast<size_t>(half + c % half)].data();
        }
        if (plugin.numInputs() <= kMaxChannels && plugin.numOutputs() <= kMaxChannels)
            plugin.process(inputs, outputs, block);
    }
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - begin).count();
}

// In a process of its own, so that no other plug-in's memory counts: the
// resident memory that kMemoryInstances instances, each having processed a
// second of noise, added to the process, per instance and in bytes (the
// module's code and shared data divided among them); -1 on failure.
long residentPerInstance(const std::string& path, int block)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = fork();
    if (child < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return -1;
    }
    if (child == 0) {
        close(pipeEnds[0]);
        long result = -1;
        try {
            std::vector<float> left(static_cast<size_t>(block));
            std::vector<float> right(left.size());
            std::minstd_rand generator(1);
            std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
            const long before = residentBytes();
            std::vector<std::unique_ptr<HostedPlugin>> session;
            for (int i = 0; i < kMemoryInstances; ++i) {
                session.push_back(openPlugin(path));
                HostedPlugin& plugin = *session.back();
                plugin.start(kSampleRate, block);
                std::vector<std::vector<float>> channels(
                    static_cast<size_t>(std::max({plugin.numInputs(), plugin.numOutputs(), 2})),
                    std::vector<float>(static_cast<size_t>(block)));
                std::vector<float*> inputs;
                std::vector<float*> outputs;
                for (auto& c : channels)
                    inputs.push_back(c.data());
                std::vector<std::vector<float>> out(channels.size(), left);
                for (auto& c : out)
                    outputs.push_back(c.data());
                for (int done = 0; done < kSampleRate; done += block) {
                    for (auto& c : channels)
                        for (float& v : c)
                            v = uniform(generator);
                    plugin.process(inputs.data(), outputs.data(), block);
                }
            }
            const long after = residentBytes();
            if (before >= 0 && after >= 0)
                result = (after - before) / kMemoryInstances;
        } catch (...) {
            result = -1;
        }
        const ssize_t written = write(pipeEnds[1], &result, sizeof result);
        _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
    }
    close(pipeEnds[1]);
    long result = -1;
    if (read(pipeEnds[0], &result, sizeof result) != static_cast<ssize_t>(sizeof result))
        result = -1;
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return result;
}

int runStartup(const BenchOptions& options)
{
    std::vector<std::vector<float>> buffers(kMaxChannels, std::vector<float>(options.block));
    std::vector<std::vector<double>> samples(options.plugins.size());
    // Memory first, each in a child process forked before this one has
    // loaded any plug-in (a plug-in's threads would not survive the fork).
    std::vector<long> resident;
    for (const std::string& path : options.plugins)
        resident.push_back(residentPerInstance(path, options.block));
    // One start each first, so that loading the module is not counted.
    for (const std::string& path : options.plugins)
        startOnce(path, options.block, buffers);
    for (int r = 0; r < kStartupRepeats; ++r)
        for (size_t p = 0; p < options.plugins.size(); ++p)
            samples[p].push_back(startOnce(options.plugins[p], options.block, buffers));

    std::fprintf(report(),
                 "%d Hz, block %d: create + resume + one block + delete, %d times per plug-in, "
                 "alternating; resident memory per instance of %d, each after a second of noise\n",
                 kSampleRate, options.block, kStartupRepeats, kMemoryInstances);
    std::fprintf(report(), "%-28s %12s %21s %16s\n", "plug-in", "start ms", "interquartile",
                 "resident KB");
    for (size_t p = 0; p < options.plugins.size(); ++p) {
        std::vector<double> sorted = samples[p];
        std::sort(sorted.begin(), sorted.end());
        char iqr[64];
        std::snprintf(iqr, sizeof iqr, "%.3f..%.3f", quantile(sorted, 0.25),
                      quantile(sorted, 0.75));
        char memory[32];
        if (resident[p] >= 0)
            std::snprintf(memory, sizeof memory, "%.0f", static_cast<double>(resident[p]) / 1024.0);
        else
            std::snprintf(memory, sizeof memory, "-");
        const std::string name = std::filesystem::path(options.plugins[p]).filename().string();
        std::fprintf(report(), "%-28s %12.3f %21s %16s\n", name.c_str(), quantile(sorted, 0.5), iqr,
                     memory);
    }
    return 0;
}

} // namespace

int runBench(const BenchOptions& options)
{
    if (options.startup)
        return runStartup(options);

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

    if (!options.sweep.empty() &&
        std::none_of(subjects.begin(), subjects.end(), [](const auto& s) { return s->swept(); }))
        requireParameter(subjects.front()->plugin(), ParameterSweep::parameterName(options.sweep));

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

    const std::string instanceNote =
        options.instances > 1
            ? ", " + std::to_string(options.instances) + " instances each, in turn, per instance"
            : std::string();
    std::fprintf(report(),
                 "%d Hz, block %d, input %s, %d rounds of %.3f s per plug-in, alternating%s\n",
                 kSampleRate, options.block, options.input.c_str(), rounds, roundSeconds,
                 instanceNote.c_str());
    if (!options.sweep.empty()) {
        std::fprintf(report(),
                     "automating %s before every block, there and back every %.2f s of audio\n",
                     options.sweep.c_str(), options.sweepSeconds);
        for (auto& subject : subjects)
            if (!subject->swept())
                std::fprintf(
                    report(), "  (%s has no such parameter: not automated)\n",
                    std::filesystem::path(subject->plugin().path()).filename().string().c_str());
    }
    std::fprintf(report(), "%-28s %12s %21s %21s %12s\n", "plug-in",
                 options.instances > 1 ? "ns/frame/in" : "ns/frame", "interquartile", "min..max",
                 "real-time");
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
        const std::string name =
            std::filesystem::path(subject->plugin().path()).filename().string();
        std::fprintf(report(), "%-28s %12.1f %21s %21s %11.1fx\n", name.c_str(), median, iqr, range,
                     framePeriod / median);
    }
    return 0;
}

} // namespace vst2host
