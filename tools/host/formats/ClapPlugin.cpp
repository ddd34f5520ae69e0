// A CLAP plug-in as the commands use a plug-in: values in the parameters'
// own units (the normalised scale is the range between their ends), presets
// as programs, stereo in and out. A change made while the plug-in is inactive
// reaches it through a flush, so that activation starts from it; one made
// while it processes is an event at the first frame of the next block.
#include "tools/host/formats/OpenPlugin.h"

#include "tools/host/HostError.h"
#include "tools/host/clap/ClapHost.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vst2host {

namespace {

// The CLAP host's process call is stereo in, stereo out.
constexpr int kChannels = 2;

class ClapPlugin final : public HostedPlugin
{
public:
    explicit ClapPlugin(const std::string& path) : path_(path), module_(path)
    {
        if (!module_.loaded())
            throw HostError(module_.error());
        descriptor_ = module_.firstDescriptor();
        if (!descriptor_)
            throw HostError(path + " has no plug-in");
        instance_ = std::make_unique<clap_host::ClapInstance>(module_, descriptor_->id);
        if (!instance_->valid())
            throw HostError(path + ": the plug-in could not be made");
        params_ = instance_->extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
        for (uint32_t i = 0; i < instance_->parameterCount(); ++i) {
            clap_param_info_t info{};
            if (instance_->parameterInfo(i, &info))
                parameters_.push_back(info);
        }
        presets_ = clap_host::ClapInstance::listPresets(module_);
    }

    ~ClapPlugin() override
    {
        // The instance before the module that holds its code.
        instance_.reset();
    }

    PluginFormat format() const override { return PluginFormat::clap; }
    const std::string& path() const override { return path_; }

    std::string pluginName() override { return text(descriptor_->name); }
    std::string pluginVendor() override { return text(descriptor_->vendor); }
    std::string pluginVersion() override { return text(descriptor_->version); }

    int numInputs() const override { return kChannels; }
    int numOutputs() const override { return kChannels; }

    int numParams() const override { return static_cast<int>(parameters_.size()); }
    std::string paramName(int index) override
    {
        return valid(index) ? std::string(parameters_[index].name) : std::string();
    }
    std::string paramDisplay(int index) override
    {
        if (!valid(index))
            return {};
        const clap_param_info_t& info = parameters_[index];
        const double value = instance_->value(info.id);
        char buffer[256] = {};
        if (params_ && params_->value_to_text &&
            params_->value_to_text(instance_->get(), info.id, value, buffer, sizeof buffer - 1))
            return trim(buffer);
        char number[64];
        std::snprintf(number, sizeof number, "%g", value);
        return number;
    }
    // The format's display texts carry their units.
    std::string paramLabel(int) override { return {}; }
    float getParameter(int index) override
    {
        if (!valid(index))
            return 0.0f;
        const clap_param_info_t& info = parameters_[index];
        const double span = info.max_value - info.min_value;
        if (!(span > 0.0))
            return 0.0f;
        return static_cast<float>(
            std::clamp((instance_->value(info.id) - info.min_value) / span, 0.0, 1.0));
    }
    void setParameter(int index, float value) override
    {
        if (!valid(index))
            return;
        const clap_param_info_t& info = parameters_[index];
        const double normalised = std::clamp(static_cast<double>(value), 0.0, 1.0);
        double units = info.min_value + normalised * (info.max_value - info.min_value);
        if ((info.flags & CLAP_PARAM_IS_STEPPED) != 0)
            units = std::round(units);
        set(info.id, units);
    }

    std::optional<ParameterRange> paramRange(int index) override
    {
        if (!valid(index))
            return std::nullopt;
        const clap_param_info_t& info = parameters_[index];
        return ParameterRange{info.min_value, info.max_value, info.default_value,
                              (info.flags & CLAP_PARAM_IS_STEPPED) != 0};
    }

    // A number is a value in the parameter's units, given as it is; a word
    // ("on") is read by the plug-in.
    bool setParameterText(int index, const std::string& typed) override
    {
        if (!valid(index))
            return false;
        const clap_param_info_t& info = parameters_[index];
        const std::string value = trim(typed);
        char* end = nullptr;
        const double number = std::strtod(value.c_str(), &end);
        if (end != value.c_str() && std::isfinite(number)) {
            if (number < info.min_value || number > info.max_value)
                return false;
            set(info.id, number);
            return true;
        }
        double read = 0.0;
        if (!params_ || !params_->text_to_value ||
            !params_->text_to_value(instance_->get(), info.id, value.c_str(), &read) ||
            !(read >= info.min_value && read <= info.max_value))
            return false;
        set(info.id, read);
        return true;
    }

    int numPrograms() const override { return static_cast<int>(presets_.size()); }
    std::string programName(int index) override
    {
        return index >= 0 && index < numPrograms() ? presets_[index].name : std::string();
    }
    int currentProgram() override { return program_; }
    void setProgram(int index) override
    {
        if (index < 0 || index >= numPrograms())
            return;
        // Earlier changes would land after the preset's values.
        pending_.clear();
        if (instance_->loadPreset(presets_[index].key))
            program_ = index;
    }

    void prepare(float sampleRate, int32_t blockSize) override
    {
        sampleRate_ = sampleRate;
        blockSize_ = blockSize;
    }
    void start(float sampleRate, int32_t blockSize) override
    {
        stop();
        prepare(sampleRate, blockSize);
        if (!instance_->activate(sampleRate, 1, static_cast<uint32_t>(std::max(blockSize, 1))) ||
            !instance_->startProcessing())
            throw HostError(path_ + ": the plug-in did not start at " +
                            std::to_string(static_cast<int>(sampleRate)) + " Hz");
    }
    void stop() override { instance_->deactivate(); }
    bool running() const override { return instance_->isActive(); }
    // The format leaves the processing level to the host's own timing.
    void setRealtime(bool) override {}

    void process(float** inputs, float** outputs, int32_t frames) override
    {
        instance_->process(inputs, outputs, static_cast<uint32_t>(std::max(frames, 0)), &pending_);
        pending_.clear();
    }

private:
    static std::string text(const char* value) { return value ? value : ""; }
    bool valid(int index) const { return index >= 0 && index < numParams(); }

    void set(clap_id id, double units)
    {
        if (instance_->isActive()) {
            pending_.value(0, id, units);
            return;
        }
        clap_host::EventList one(1);
        one.value(0, id, units);
        instance_->flush(&one);
    }

    std::string path_;
    clap_host::ClapModule module_;
    const clap_plugin_descriptor_t* descriptor_ = nullptr;
    std::unique_ptr<clap_host::ClapInstance> instance_;
    const clap_plugin_params_t* params_ = nullptr;
    std::vector<clap_param_info_t> parameters_;
    std::vector<clap_host::ClapInstance::Preset> presets_;
    int program_ = 0;
    // Changes made while processing, handed over at the next block's start.
    clap_host::EventList pending_;
    float sampleRate_ = 44100.0f;
    int32_t blockSize_ = 512;
};

} // namespace

std::unique_ptr<HostedPlugin> openClapPlugin(const std::string& path)
{
    return std::make_unique<ClapPlugin>(path);
}

} // namespace vst2host
