// A VST3 bundle as the commands use a plug-in: the controller answers for
// parameters, texts and programs; every change the commands make is given
// to the controller and, as a point at the first frame of the next block, to
// the audio module, as a host's automation hands it over.
#include "tools/host/formats/OpenPlugin.h"

#include "tools/host/HostError.h"
#include "tools/host/vst3/Vst3Host.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace vst2host {

namespace {

class Vst3Plugin final : public HostedPlugin
{
public:
    explicit Vst3Plugin(const std::string& path) : path_(path), module_(path)
    {
        if (!module_.loaded())
            throw HostError(module_.error());
        if (!module_.firstAudioModule(&class_))
            throw HostError(path + " has no audio module class");
        instance_ = std::make_unique<vst3_host::Vst3Instance>(module_, class_.id);
        if (!instance_->valid())
            throw HostError(path + ": " + instance_->error());
        vst3::IEditController& controller = *instance_->controller;
        for (vst3::int32 i = 0; i < controller.getParameterCount(); ++i) {
            vst3::ParameterInfo info{};
            if (controller.getParameterInfo(i, info) != vst3::kResultOk)
                continue;
            if ((info.flags & vst3::ParameterInfo::kIsProgramChange) != 0 && programParameter_ < 0)
                programParameter_ = static_cast<int>(parameters_.size());
            parameters_.push_back(info);
        }
        readProgramNames();
    }

    ~Vst3Plugin() override
    {
        // The instance before the module that holds its code.
        instance_.reset();
    }

    PluginFormat format() const override { return PluginFormat::vst3; }
    const std::string& path() const override { return path_; }

    std::string pluginName() override { return class_.name; }
    std::string pluginVendor() override { return class_.vendor; }
    std::string pluginVersion() override { return class_.version; }

    int numInputs() const override { return instance_->inputChannels(); }
    int numOutputs() const override { return instance_->outputChannels(); }

    int numParams() const override { return static_cast<int>(parameters_.size()); }
    std::string paramName(int index) override
    {
        return valid(index) ? vst3_host::utf8(parameters_[index].title) : std::string();
    }
    std::string paramDisplay(int index) override
    {
        if (!valid(index))
            return {};
        vst3::String128 text{};
        const vst3::ParamID id = parameters_[index].id;
        if (instance_->controller->getParamStringByValue(
                id, instance_->controller->getParamNormalized(id), text) != vst3::kResultOk)
            return {};
        return trim(vst3_host::utf8(text));
    }
    std::string paramLabel(int index) override
    {
        return valid(index) ? vst3_host::utf8(parameters_[index].units) : std::string();
    }
    float getParameter(int index) override
    {
        return valid(index) ? static_cast<float>(
                                  instance_->controller->getParamNormalized(parameters_[index].id))
                            : 0.0f;
    }
    void setParameter(int index, float value) override { set(index, value); }

    std::optional<ParameterRange> paramRange(int index) override
    {
        if (!valid(index))
            return std::nullopt;
        const vst3::ParameterInfo& info = parameters_[index];
        vst3::IEditController& controller = *instance_->controller;
        ParameterRange range;
        range.min = controller.normalizedParamToPlain(info.id, 0.0);
        range.max = controller.normalizedParamToPlain(info.id, 1.0);
        range.defaultValue =
            controller.normalizedParamToPlain(info.id, info.defaultNormalizedValue);
        range.stepped = info.stepCount > 0;
        return range;
    }

    // The controller reads the text as its display writes it, so a value in
    // units reaches the audio module as the exact normalised value the
    // plug-in itself gives for it.
    bool setParameterText(int index, const std::string& text) override
    {
        if (!valid(index))
            return false;
        // A number beyond the range is refused here, as plug-ins may clamp it.
        char* end = nullptr;
        const std::string typed = trim(text);
        const double number = std::strtod(typed.c_str(), &end);
        if (const auto range = paramRange(index); range && end != typed.c_str() &&
                                                  (number < std::min(range->min, range->max) ||
                                                   number > std::max(range->min, range->max)))
            return false;
        vst3::String128 wide{};
        vst3_host::toUtf16(typed, wide);
        vst3::ParamValue normalised = 0.0;
        if (instance_->controller->getParamValueByString(parameters_[index].id, wide, normalised) !=
                vst3::kResultOk ||
            !(normalised >= 0.0 && normalised <= 1.0))
            return false;
        set(index, normalised);
        return true;
    }

    int numPrograms() const override { return static_cast<int>(programNames_.size()); }
    std::string programName(int index) override
    {
        return index >= 0 && index < numPrograms() ? programNames_[index] : std::string();
    }
    int currentProgram() override
    {
        if (programParameter_ < 0)
            return 0;
        const int steps = std::max(parameters_[programParameter_].stepCount, 1);
        const double value =
            instance_->controller->getParamNormalized(parameters_[programParameter_].id);
        return static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * steps));
    }
    void setProgram(int index) override
    {
        if (programParameter_ < 0 || index < 0 || index >= numPrograms())
            return;
        const int steps = std::max(parameters_[programParameter_].stepCount, 1);
        set(programParameter_, static_cast<double>(index) / steps);
    }

    void prepare(float sampleRate, int32_t blockSize) override
    {
        sampleRate_ = sampleRate;
        blockSize_ = blockSize;
    }
    void start(float sampleRate, int32_t blockSize) override
    {
        prepare(sampleRate, blockSize);
        if (!instance_->start(sampleRate, blockSize, realtime_))
            throw HostError(path_ + ": the audio module did not start at " +
                            std::to_string(static_cast<int>(sampleRate)) + " Hz");
    }
    void stop() override { instance_->stop(); }
    bool running() const override { return instance_->isActive(); }
    void setRealtime(bool realtime) override { realtime_ = realtime; }

    void process(float** inputs, float** outputs, int32_t frames) override
    {
        instance_->process(inputs, outputs, frames, pending_.empty() ? nullptr : &pending_);
        pending_.clear();
    }

private:
    bool valid(int index) const { return index >= 0 && index < numParams(); }

    void set(int index, double value)
    {
        if (!valid(index))
            return;
        const vst3::ParamID id = parameters_[index].id;
        // A program replaces every value set before it in this block.
        if (index == programParameter_)
            pending_.clear();
        instance_->controller->setParamNormalized(id, value);
        pending_.add(id, 0, value);
    }

    // The program names: the program list of the unit that holds the
    // program change, else the program change's own texts.
    void readProgramNames()
    {
        if (programParameter_ < 0)
            return;
        const vst3::ParameterInfo& program = parameters_[programParameter_];
        const int count = program.stepCount + 1;
        vst3::IEditController& controller = *instance_->controller;
        void* found = nullptr;
        vst3::IUnitInfo* units = nullptr;
        if (controller.queryInterface(vst3::kIUnitInfoIid, &found) == vst3::kResultOk)
            units = static_cast<vst3::IUnitInfo*>(found);
        vst3::ProgramListID list = vst3::kNoProgramListId;
        if (units)
            for (vst3::int32 u = 0; u < units->getUnitCount(); ++u) {
                vst3::UnitInfo unit{};
                if (units->getUnitInfo(u, unit) == vst3::kResultOk && unit.id == program.unitId)
                    list = unit.programListId;
            }
        for (int p = 0; p < count; ++p) {
            vst3::String128 name{};
            if (units && list != vst3::kNoProgramListId &&
                units->getProgramName(list, p, name) == vst3::kResultOk) {
                programNames_.push_back(vst3_host::utf8(name));
                continue;
            }
            name[0] = 0;
            controller.getParamStringByValue(program.id,
                                             static_cast<double>(p) / std::max(count - 1, 1), name);
            programNames_.push_back(vst3_host::utf8(name));
        }
        if (units)
            units->release();
    }

    std::string path_;
    vst3_host::Vst3Module module_;
    vst3_host::Vst3Module::ClassInfo class_;
    std::unique_ptr<vst3_host::Vst3Instance> instance_;
    std::vector<vst3::ParameterInfo> parameters_;
    int programParameter_ = -1;
    std::vector<std::string> programNames_;
    // Changes made since the last block, handed over at its first frame.
    vst3_host::ParamChanges pending_;
    float sampleRate_ = 44100.0f;
    int32_t blockSize_ = 512;
    bool realtime_ = false;
};

} // namespace

std::unique_ptr<HostedPlugin> openVst3Plugin(const std::string& path)
{
    return std::make_unique<Vst3Plugin>(path);
}

} // namespace vst2host
