#include "tools/commands/Commands.h"
#include "tools/commands/ParameterSettings.h"
#include "tools/commands/ParameterSweep.h"
#include "tools/host/AudioFiles.h"
#include "tools/host/DemoSignal.h"
#include "tools/host/HostError.h"
#include "tools/host/Progress.h"
#include "tools/host/formats/OpenPlugin.h"
#include "tools/host/ReportStream.h"

#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace vst2host {

namespace {

// Where the input comes from: a file or the demo signal. Delivers blocks as
// two channel buffers (a mono file fills both).
class Source
{
public:
    explicit Source(const std::string& path)
    {
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
    std::optional<int> fileFormat() const
    {
        return file_ ? std::optional<int>(file_->format().format) : std::nullopt;
    }

    // Reads up to `frames` frames into left and right; returns the frames read.
    int64_t read(float* left, float* right, int64_t frames)
    {
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
struct BlockBuffers
{
    BlockBuffers(int inputs, int outputs, int frames)
        : in(std::max(inputs, 2), std::vector<float>(frames)),
          out(std::max(outputs, 1), std::vector<float>(frames))
    {
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

double decibels(double amplitude)
{
    return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : -INFINITY;
}

// Peak and RMS of each written channel, reported in dBFS after the render,
// and the samples beyond full scale that an integer format clips.
class Levels
{
public:
    explicit Levels(int channels) : peak_(channels, 0.0), sumSquares_(channels, 0.0) {}

    void add(const float* interleaved, int64_t frames)
    {
        const auto channels = static_cast<int>(peak_.size());
        for (int64_t i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c) {
                const double v = interleaved[static_cast<size_t>(i) * channels + c];
                peak_[c] = std::max(peak_[c], std::fabs(v));
                sumSquares_[c] += v * v;
                overs_ += std::fabs(v) > 1.0 ? 1 : 0;
            }
        frames_ += frames;
    }

    double peak() const
    {
        return peak_.empty() ? 0.0 : *std::max_element(peak_.begin(), peak_.end());
    }
    int64_t overs() const { return overs_; }

    void print(FILE* out) const
    {
        for (size_t c = 0; c < peak_.size(); ++c) {
            const double rms =
                frames_ > 0 ? std::sqrt(sumSquares_[c] / static_cast<double>(frames_)) : 0.0;
            std::fprintf(out, "output %zu: peak %.2f dBFS, RMS %.2f dBFS\n", c + 1,
                         decibels(peak_[c]), decibels(rms));
        }
    }

private:
    std::vector<double> peak_;
    std::vector<double> sumSquares_;
    int64_t frames_ = 0;
    int64_t overs_ = 0;
};

// Between the plug-in and the file: applies the gain, or for normalisation
// holds the whole render in a temporary file until its peak is known.
class OutputStage
{
public:
    OutputStage(AudioWriter& writer, int channels, double gainDecibels, bool normalize)
        : writer_(writer),
          channels_(channels),
          gain_(static_cast<float>(std::pow(10.0, gainDecibels / 20.0))),
          normalize_(normalize),
          levels_(channels)
    {
        if (normalize_) {
            spool_ = std::tmpfile();
            if (spool_ == nullptr)
                throw HostError(std::string("cannot create a temporary file to normalise in: ") +
                                std::strerror(errno));
        }
    }

    ~OutputStage()
    {
        if (spool_ != nullptr)
            std::fclose(spool_);
    }

    void add(float* interleaved, int64_t frames)
    {
        const size_t count = static_cast<size_t>(frames) * channels_;
        if (normalize_) {
            for (size_t i = 0; i < count; ++i)
                renderedPeak_ =
                    std::max(renderedPeak_, static_cast<double>(std::fabs(interleaved[i])));
            if (std::fwrite(interleaved, sizeof(float), count, spool_) != count)
                throw HostError(std::string("cannot write the temporary file to normalise in: ") +
                                std::strerror(errno));
            return;
        }
        if (gain_ != 1.0f)
            for (size_t i = 0; i < count; ++i)
                interleaved[i] *= gain_;
        writer_.write(interleaved, frames);
        levels_.add(interleaved, frames);
    }

    // Writes what normalisation held back; returns the gain applied in dB.
    double finish()
    {
        if (!normalize_)
            return decibels(gain_);
        // The loudest sample at full scale; silence stays as it is.
        const double gain = renderedPeak_ > 0.0 ? 1.0 / renderedPeak_ : 1.0;
        std::rewind(spool_);
        std::vector<float> block(static_cast<size_t>(4096) * channels_);
        for (;;) {
            const size_t got = std::fread(block.data(), sizeof(float), block.size(), spool_);
            const int64_t frames = static_cast<int64_t>(got) / channels_;
            if (frames == 0)
                break;
            for (size_t i = 0; i < got; ++i)
                block[i] = static_cast<float>(std::clamp(block[i] * gain, -1.0, 1.0));
            writer_.write(block.data(), frames);
            levels_.add(block.data(), frames);
        }
        if (std::ferror(spool_))
            throw HostError(std::string("cannot read the temporary file to normalise in: ") +
                            std::strerror(errno));
        return decibels(gain);
    }

    const Levels& levels() const { return levels_; }

private:
    AudioWriter& writer_;
    int channels_;
    float gain_;
    bool normalize_;
    Levels levels_;
    std::FILE* spool_ = nullptr;
    double renderedPeak_ = 0.0;
};

} // namespace

int runRender(const RenderOptions& options)
{
    // An output name that chooses no format is refused before any work.
    containerForPath(options.output);
    Source source(options.input);
    const std::unique_ptr<HostedPlugin> instance = openPlugin(options.plugin);
    HostedPlugin& plugin = *instance;
    const int outputs = plugin.numOutputs();
    if (outputs < 1)
        throw HostError(options.plugin + " has no audio outputs");
    // One file channel per plug-in output, and always at least stereo: a mono
    // plug-in's output is written to both channels.
    const int channels = std::max(outputs, 2);

    const int subtype =
        options.sameFormat && source.fileFormat() ? (*source.fileFormat() & SF_FORMAT_SUBMASK) : 0;
    const int format = outputFormat(options.output, channels, source.sampleRate(), subtype);
    AudioWriter writer(options.output, channels, source.sampleRate(), format);
    OutputStage output(writer, channels, options.gain, options.normalize);

    const auto rate = static_cast<float>(source.sampleRate());
    plugin.prepare(rate, options.block);
    applyParameters(plugin, options.parameters, false);
    std::optional<ParameterSweep> sweep;
    if (!options.sweep.empty())
        sweep.emplace(plugin, options.sweep);
    plugin.setRealtime(false);
    plugin.start(rate, options.block);

    BlockBuffers buffers(plugin.numInputs(), outputs, options.block);
    std::vector<float> interleaved(static_cast<size_t>(options.block) * channels);
    const int64_t total = source.frames();
    Progress progress(total, stderr, isatty(STDERR_FILENO) != 0);
    const bool monoPlugin = plugin.numInputs() == 1;
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
        output.add(interleaved.data(), frames);
        done += frames;
        progress.update(done);
    }
    plugin.stop();
    const double gain = output.finish();
    writer.commit();
    std::fprintf(report(), "rendered %lld frames (%.2f s, %d channels, %d Hz) to %s (%s)\n",
                 static_cast<long long>(done), static_cast<double>(done) / source.sampleRate(),
                 channels, source.sampleRate(), options.output.c_str(), formatName(format).c_str());
    if (options.normalize || options.gain != 0.0)
        std::fprintf(report(), "gain %+.2f dB%s\n", gain, options.normalize ? " (normalised)" : "");
    output.levels().print(report());
    if (AudioWriter::clipsAtFullScale(format) && output.levels().overs() > 0) {
        const double peak = decibels(output.levels().peak());
        std::fprintf(stderr,
                     "%s: warning: %lld samples clipped at full scale in %s (peak %+.2f dBFS); "
                     "lower the level with --gain %.1f or use --normalize\n",
                     programName(), static_cast<long long>(output.levels().overs()),
                     options.output.c_str(), peak, options.gain - std::ceil(peak * 10.0) / 10.0);
    }
    return 0;
}

} // namespace vst2host
