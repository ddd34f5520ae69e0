#include "tools/commands/Commands.h"
#include "tools/commands/ParameterSettings.h"
#include "tools/commands/ParameterSweep.h"
#include "tools/host/AudioFiles.h"
#include "tools/host/DemoSignal.h"
#include "tools/host/HostError.h"
#include "tools/host/ParameterSearch.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/ReportStream.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace vst2host {

namespace {

// A progress bar on standard error, only when it is a terminal.
class Progress {
public:
    Progress(int64_t total, int sampleRate)
        : total_(total), enabled_(isatty(STDERR_FILENO) != 0 && total > sampleRate) {}

    void update(int64_t done) {
        if (!enabled_)
            return;
        const int percent = static_cast<int>(100 * done / std::max<int64_t>(total_, 1));
        if (percent == shown_)
            return;
        shown_ = percent;
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        std::fprintf(stderr, "\rrendering [%s%s] %3d%%", std::string(filled, '#').c_str(),
                     std::string(kWidth - filled, '.').c_str(), percent);
        std::fflush(stderr);
    }

    ~Progress() {
        if (enabled_ && shown_ >= 0)
            std::fprintf(stderr, "\n");
    }

private:
    int64_t total_;
    bool enabled_;
    int shown_ = -1;
};

// Where the input comes from: a file or the demo signal. Delivers blocks as
// two channel buffers (a mono file fills both).
class Source {
public:
    explicit Source(const std::string& path) {
        if (path.empty()) {
            demo_ = std::make_unique<DemoSignal>();
            return;
        }
        file_ = std::make_unique<AudioReader>(path);
        const AudioFormat& format = file_->format();
        if (format.channels > 2)
            throw HostError(path + " has " + std::to_string(format.channels) +
                            " channels; only mono and stereo files can be rendered");
        if (format.sampleRate <= 0)
            throw HostError(path + " has no valid sample rate");
    }

    int channels() const { return file_ ? file_->format().channels : 2; }
    int sampleRate() const { return file_ ? file_->format().sampleRate : DemoSignal::kSampleRate; }
    int64_t frames() const { return file_ ? file_->format().frames : DemoSignal::kFrames; }
    std::optional<int> fileFormat() const {
        return file_ ? std::optional<int>(file_->format().format) : std::nullopt;
    }

    // Reads up to `frames` frames into left and right; returns the frames read.
    int64_t read(float* left, float* right, int64_t frames) {
        if (demo_)
            return demo_->render(left, right, frames);
        interleaved_.resize(static_cast<size_t>(frames) * channels());
        const int64_t got = file_->read(interleaved_.data(), frames);
        for (int64_t i = 0; i < got; ++i) {
            left[i] = interleaved_[i * channels()];
            right[i] = interleaved_[i * channels() + channels() - 1];
        }
        return got;
    }

private:
    std::unique_ptr<AudioReader> file_;
    std::unique_ptr<DemoSignal> demo_;
    std::vector<float> interleaved_;
};

// Channel buffers for one block, with at least two inputs and one output so a
// plug-in never sees a missing array.
struct BlockBuffers {
    BlockBuffers(int inputs, int outputs, int frames)
        : in(std::max(inputs, 2), std::vector<float>(frames)),
          out(std::max(outputs, 1), std::vector<float>(frames)) {
        for (auto& channel : in)
            inPointers.push_back(channel.data());
        for (auto& channel : out)
            outPointers.push_back(channel.data());
    }

    std::vector<std::vector<float>> in;
    std::vector<std::vector<float>> out;
    std::vector<float*> inPointers;
    std::vector<float*> outPointers;
};

// Peak and RMS of each written channel, reported in dBFS after the render.
class Levels {
public:
    explicit Levels(int channels) : peak_(channels, 0.0), sumSquares_(channels, 0.0) {}

    void add(const float* interleaved, int32_t frames) {
        const auto channels = static_cast<int>(peak_.size());
        for (int32_t i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c) {
                const double v = interleaved[static_cast<size_t>(i) * channels + c];
                peak_[c] = std::max(peak_[c], std::fabs(v));
                sumSquares_[c] += v * v;
            }
        frames_ += frames;
    }

    void print(FILE* out) const {
        for (size_t c = 0; c < peak_.size(); ++c) {
            const double rms = frames_ > 0 ? std::sqrt(sumSquares_[c] / static_cast<double>(frames_)) : 0.0;
            std::fprintf(out, "output %zu: peak %.2f dBFS, RMS %.2f dBFS\n", c + 1, decibels(peak_[c]),
                         decibels(rms));
        }
    }

private:
    static double decibels(double amplitude) {
        return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : -INFINITY;
    }

    std::vector<double> peak_;
    std::vector<double> sumSquares_;
    int64_t frames_ = 0;
};

} // namespace

int runRender(const RenderOptions& options) {
    Source source(options.input);
    PluginInstance plugin(options.plugin);
    const int outputs = plugin.numOutputs();
    if (outputs < 1)
        throw HostError(options.plugin + " has no audio outputs");
    // One file channel per plug-in output, and always at least stereo: a mono
    // plug-in's output is written to both channels.
    const int channels = std::max(outputs, 2);

    const int format = options.sameFormat && source.fileFormat() ? *source.fileFormat()
                                                                  : AudioWriter::floatWav();
    AudioWriter writer(options.output, channels, source.sampleRate(), format);

    const auto rate = static_cast<float>(source.sampleRate());
    plugin.prepare(rate, options.block);
    applyParameters(plugin, options.parameters, false);
    std::optional<ParameterSweep> sweep;
    if (!options.sweep.empty())
        sweep.emplace(plugin, options.sweep);
    plugin.host().processingLevel = kVstProcessLevelOffline;
    plugin.start(rate, options.block);

    BlockBuffers buffers(plugin.numInputs(), outputs, options.block);
    std::vector<float> interleaved(static_cast<size_t>(options.block) * channels);
    const int64_t total = source.frames();
    Progress progress(total, source.sampleRate());
    const bool monoPlugin = plugin.numInputs() == 1;
    Levels levels(channels);
    int64_t done = 0;
    for (;;) {
        float* left = buffers.inPointers[0];
        float* right = buffers.inPointers[1];
        const int64_t got = source.read(left, right, options.block);
        if (got <= 0)
            break;
        const auto frames = static_cast<int32_t>(got);
        if (monoPlugin && source.channels() == 2)
            for (int32_t i = 0; i < frames; ++i)
                left[i] = 0.5f * (left[i] + right[i]);
        if (sweep)
            sweep->apply(plugin, (static_cast<double>(done) + 0.5 * frames) /
                                     static_cast<double>(std::max<int64_t>(total, 1)));
        plugin.process(buffers.inPointers.data(), buffers.outPointers.data(), frames);
        for (int c = 0; c < channels; ++c) {
            const std::vector<float>& out = buffers.out[std::min(c, outputs - 1)];
            for (int32_t i = 0; i < frames; ++i)
                interleaved[static_cast<size_t>(i) * channels + c] = out[i];
        }
        writer.write(interleaved.data(), frames);
        levels.add(interleaved.data(), frames);
        done += frames;
        progress.update(done);
    }
    plugin.stop();
    writer.commit();
    std::fprintf(report(), "rendered %lld frames (%.2f s, %d channels, %d Hz) to %s\n",
                static_cast<long long>(done), static_cast<double>(done) / source.sampleRate(),
                channels, source.sampleRate(), options.output.c_str());
    levels.print(report());
    return 0;
}

} // namespace vst2host
