#include "tools/host/Measurements.h"

#include "tools/host/DemoSignal.h"
#include "tools/host/HostError.h"
#include "tools/host/ParameterSearch.h"
#include "tools/host/PluginInstance.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <optional>
#include <set>
#include <tuple>

namespace vst2host {

namespace {

constexpr int32_t kBlock = 256;
// Long enough for a 25 ms parameter smoother, a decorrelator and short delay
// networks to settle, and for noise levels to be stable to a hundredth of a dB.
constexpr int64_t kSettleFrames = static_cast<int64_t>(kMeasureSampleRate * 0.3);
constexpr int64_t kMeasureFrames = static_cast<int64_t>(kMeasureSampleRate * 0.5);
constexpr int64_t kImpulseFrames = 16384;

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct Sums
{
    double left = 0.0;  // sum of squares
    double right = 0.0; // sum of squares
    double cross = 0.0; // sum of left * right
    double side = 0.0;  // sum of squares of (left - right) / 2
    double mid = 0.0;   // sum of squares of (left + right) / 2
    double input = 0.0; // sum of squares
};

// One plug-in instance running at the measuring rate, with its own noise.
class Rig
{
public:
    explicit Rig(const std::string& path) : plugin_(path)
    {
        if (plugin_.numInputs() != 2 || plugin_.numOutputs() != 2)
            throw HostError(path + " has " + std::to_string(plugin_.numInputs()) + " inputs and " +
                            std::to_string(plugin_.numOutputs()) +
                            " outputs; only stereo effects can be measured");
        sources_ = findSources(plugin_);
        if (sources_.empty())
            throw HostError(path + " has no parameter named like an azimuth (\"Azi...\")");
        for (auto& buffer : in_)
            buffer.assign(kBlock, 0.0f);
        for (auto& buffer : out_)
            buffer.assign(kBlock, 0.0f);
        plugin_.start(kMeasureSampleRate, kBlock);
    }

    PluginInstance& plugin() { return plugin_; }
    const std::vector<SourceParameters>& sources() const { return sources_; }
    const SourceParameters& first() const { return sources_.front(); }

    // Source 0 alone, at its lowest width; the other sources off.
    void soloFirstSource()
    {
        for (size_t s = 0; s < sources_.size(); ++s)
            if (sources_[s].active >= 0)
                plugin_.setParameter(sources_[s].active, s == 0 ? 1.0f : 0.0f);
        if (first().width >= 0)
            plugin_.setParameter(first().width, 0.0f);
    }

    // Sets a parameter to the value the plug-in displays as `target`. A
    // linear parameter gets the exact value, which a search on the rounded
    // display text would only find to within its last digit: near a steep
    // slope of the level (a gain passing through zero) that alone moves the
    // measured level by hundredths of a dB.
    void setDisplayed(int index, double target)
    {
        const auto displayedAt = [&](float value) {
            plugin_.setParameter(index, value);
            return leadingNumber(plugin_.paramDisplay(index));
        };
        const std::optional<double> low = displayedAt(0.0f);
        const std::optional<double> high = displayedAt(1.0f);
        if (low && high && *high != *low) {
            const double linear = (target - *low) / (*high - *low);
            if (linear >= 0.0 && linear <= 1.0) {
                const std::optional<double> shown = displayedAt(static_cast<float>(linear));
                if (shown && std::abs(*shown - target) <= 1e-3 * std::abs(*high - *low))
                    return;
            }
        }
        normalizedForDisplay(plugin_, index, target);
    }

    // Processes steady noise on both inputs; sums the last `measured` frames.
    // Every call plays the same noise, so two settings are compared on the
    // same signal and differ only by what the plug-in does.
    Sums noise(int64_t settle, int64_t measured)
    {
        noise_ = kNoiseSeed;
        Sums sums;
        for (int64_t done = 0; done < settle + measured;) {
            const int32_t frames =
                static_cast<int32_t>(std::min<int64_t>(kBlock, settle + measured - done));
            for (int32_t i = 0; i < frames; ++i)
                in_[0][i] = in_[1][i] = nextNoise();
            run(frames);
            for (int32_t i = 0; i < frames; ++i) {
                if (done + i < settle)
                    continue;
                const double l = out_[0][i];
                const double r = out_[1][i];
                sums.left += l * l;
                sums.right += r * r;
                sums.cross += l * r;
                sums.side += 0.25 * (l - r) * (l - r);
                sums.mid += 0.25 * (l + r) * (l + r);
                sums.input += double(in_[0][i]) * in_[0][i];
            }
            done += frames;
        }
        return sums;
    }

    // Silence to settle, then a unit impulse on both inputs; returns the mean
    // of both outputs from the impulse on.
    std::vector<double> impulse(int64_t settle, int64_t length)
    {
        std::vector<double> response;
        response.reserve(static_cast<size_t>(length));
        for (int64_t done = 0; done < settle + length;) {
            const int32_t frames =
                static_cast<int32_t>(std::min<int64_t>(kBlock, settle + length - done));
            for (int32_t i = 0; i < frames; ++i)
                in_[0][i] = in_[1][i] = (done + i == settle) ? 1.0f : 0.0f;
            run(frames);
            for (int32_t i = 0; i < frames; ++i)
                if (done + i >= settle)
                    response.push_back(0.5 * (double(out_[0][i]) + out_[1][i]));
            done += frames;
        }
        return response;
    }

    // The demo material from its start through a freshly resumed plug-in at
    // the material's own rate; returns the output levels in dB full scale.
    std::pair<double, double> demo()
    {
        plugin_.stop();
        plugin_.start(static_cast<float>(DemoSignal::kSampleRate), kBlock);
        DemoSignal signal;
        double left = 0.0;
        double right = 0.0;
        for (int64_t done = 0; done < DemoSignal::kFrames; done += kBlock) {
            const int32_t frames =
                static_cast<int32_t>(std::min<int64_t>(kBlock, DemoSignal::kFrames - done));
            signal.render(in_[0].data(), in_[1].data(), frames);
            run(frames);
            for (int32_t i = 0; i < frames; ++i) {
                left += double(out_[0][i]) * out_[0][i];
                right += double(out_[1][i]) * out_[1][i];
            }
        }
        const double n = static_cast<double>(DemoSignal::kFrames);
        return {levelDb(std::sqrt(left / n)), levelDb(std::sqrt(right / n))};
    }

private:
    void run(int32_t frames)
    {
        float* inputs[2] = {in_[0].data(), in_[1].data()};
        float* outputs[2] = {out_[0].data(), out_[1].data()};
        plugin_.process(inputs, outputs, frames);
    }

    // Uniform noise in [-0.5, 0.5) from a fixed seed: every run alike.
    float nextNoise()
    {
        noise_ ^= noise_ << 13;
        noise_ ^= noise_ >> 17;
        noise_ ^= noise_ << 5;
        return static_cast<float>(noise_ / 4294967296.0 - 0.5);
    }

    PluginInstance plugin_;
    std::vector<SourceParameters> sources_;
    std::vector<float> in_[2];
    std::vector<float> out_[2];
    static constexpr uint32_t kNoiseSeed = 0x9E3779B9u;
    uint32_t noise_ = kNoiseSeed;
};

double ratioDb(double output, double input)
{
    return levelDb(std::sqrt(output / input));
}

} // namespace

double levelDb(double rms, double floorDb)
{
    if (!(rms > 0.0))
        return floorDb;
    return std::max(floorDb, 20.0 * std::log10(rms));
}

std::vector<SourceParameters> findSources(PluginInstance& plugin)
{
    std::vector<int> azimuths, elevations, widths, actives;
    for (int i = 0; i < plugin.numParams(); ++i) {
        const std::string name = lower(plugin.paramName(i));
        if (name.starts_with("azi"))
            azimuths.push_back(i);
        else if (name.starts_with("elev"))
            elevations.push_back(i);
        else if (name.starts_with("width"))
            widths.push_back(i);
        else if (name.starts_with("active"))
            actives.push_back(i);
    }
    std::vector<SourceParameters> sources(azimuths.size());
    for (size_t s = 0; s < sources.size(); ++s) {
        sources[s].azimuth = azimuths[s];
        sources[s].elevation = s < elevations.size() ? elevations[s] : -1;
        sources[s].width = s < widths.size() ? widths[s] : -1;
        sources[s].active = s < actives.size() ? actives[s] : -1;
    }
    return sources;
}

PanLaw measurePanLaw(const std::string& pluginPath, const std::vector<double>& elevations,
                     double from, double to, double step)
{
    Rig rig(pluginPath);
    rig.soloFirstSource();
    PanLaw law;
    const int steps = static_cast<int>(std::lround((to - from) / step));
    for (size_t e = 0; e < elevations.size(); ++e) {
        const double elevation = elevations[e];
        if (rig.first().elevation >= 0) {
            try {
                rig.setDisplayed(rig.first().elevation, elevation);
            } catch (const HostError&) {
                law.skippedElevations.push_back(elevation);
                continue;
            }
        } else if (e > 0) {
            law.skippedElevations.push_back(elevation);
            continue;
        }
        for (int k = 0; k <= steps; ++k) {
            const double azimuth = from + k * step;
            rig.setDisplayed(rig.first().azimuth, azimuth);
            const Sums sums = rig.noise(kSettleFrames, kMeasureFrames);
            law.points.push_back({elevation, azimuth, ratioDb(sums.left, sums.input),
                                  ratioDb(sums.right, sums.input)});
        }
    }
    return law;
}

ElevationResponse measureElevationResponse(const std::string& pluginPath,
                                           const std::vector<double>& elevations)
{
    Rig rig(pluginPath);
    if (rig.first().elevation < 0)
        throw HostError(pluginPath + " has no parameter named like an elevation (\"Elev...\")");
    rig.soloFirstSource();
    rig.setDisplayed(rig.first().azimuth, 0.0);

    ElevationResponse result;
    // 1/24 octave from 20 Hz to 20 kHz.
    const int points = 240;
    for (int k = 0; k <= points; ++k)
        result.frequencies.push_back(20.0 * std::pow(1000.0, double(k) / points));

    for (double elevation : elevations) {
        try {
            rig.setDisplayed(rig.first().elevation, elevation);
        } catch (const HostError&) {
            continue;
        }
        const std::vector<double> h = rig.impulse(kSettleFrames, kImpulseFrames);
        std::vector<double> levels;
        for (double f : result.frequencies) {
            const double w = 2.0 * std::numbers::pi * f / kMeasureSampleRate;
            std::complex<double> sum = 0.0;
            for (size_t n = 0; n < h.size(); ++n)
                sum += h[n] * std::polar(1.0, -w * static_cast<double>(n));
            levels.push_back(levelDb(std::abs(sum)));
        }
        result.elevations.push_back(elevation);
        result.levelDb.push_back(std::move(levels));
    }
    return result;
}

std::vector<WidthPoint> measureWidth(const std::string& pluginPath, int steps)
{
    Rig rig(pluginPath);
    if (rig.first().width < 0)
        throw HostError(pluginPath + " has no parameter named like a width (\"Width...\")");
    rig.soloFirstSource();
    rig.setDisplayed(rig.first().azimuth, 0.0);
    if (rig.first().elevation >= 0)
        rig.setDisplayed(rig.first().elevation, 0.0);

    std::vector<WidthPoint> result;
    for (int k = 0; k <= steps; ++k) {
        WidthPoint point;
        point.normalized = double(k) / steps;
        rig.plugin().setParameter(rig.first().width, static_cast<float>(point.normalized));
        point.display =
            leadingNumber(rig.plugin().paramDisplay(rig.first().width)).value_or(point.normalized);
        const Sums sums = rig.noise(kSettleFrames, kMeasureFrames);
        const double power = std::sqrt(sums.left * sums.right);
        point.correlation = power > 0.0 ? sums.cross / power : 0.0;
        point.sideDb = ratioDb(sums.side, sums.input);
        point.midDb = ratioDb(sums.mid, sums.input);
        result.push_back(point);
    }
    return result;
}

std::vector<ProgramMeasurement> measurePrograms(const std::string& pluginPath)
{
    Rig rig(pluginPath);
    PluginInstance& plugin = rig.plugin();
    std::set<std::vector<float>> seen;
    std::vector<ProgramMeasurement> result;
    for (int p = 0; p < plugin.numPrograms(); ++p) {
        plugin.stop();
        plugin.setProgram(p);
        ProgramMeasurement program;
        program.index = p;
        program.name = plugin.programName(p);
        std::vector<float> values;
        for (int i = 0; i < plugin.numParams(); ++i)
            values.push_back(plugin.getParameter(i));
        if (!seen.insert(values).second)
            continue;
        const auto displayed = [&](int index) {
            return index < 0 ? 0.0 : leadingNumber(plugin.paramDisplay(index)).value_or(0.0);
        };
        for (const SourceParameters& parameters : rig.sources()) {
            ProgramSource source;
            source.azimuth = displayed(parameters.azimuth);
            source.elevation = displayed(parameters.elevation);
            source.width = displayed(parameters.width);
            source.active = parameters.active < 0 || plugin.getParameter(parameters.active) > 0.5f;
            program.sources.push_back(source);
        }
        std::tie(program.leftDb, program.rightDb) = rig.demo();
        result.push_back(std::move(program));
    }
    return result;
}

} // namespace vst2host
