#pragma once

#include "plugin/VstInterface.h"
#include "tools/host/HostedPlugin.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vst2host {

// What the host tells a plug-in about itself, and what it records of the
// plug-in's calls back. One per loaded instance, reached from the host callback
// through the AEffect record, so several plug-ins can be loaded side by side.
struct HostContext
{
    float sampleRate = 44100.0f;
    int32_t blockSize = 512;

    // Transport information handed out for audioMasterGetTime; the host
    // advances samplePos after each processed block.
    VstTimeInfo timeInfo{};

    // What audioMasterGetCurrentProcessLevel answers while a block is being
    // processed: offline for file renders, real time for measurements.
    int32_t processingLevel = kVstProcessLevelOffline;
    std::atomic<bool> inProcess{false};

    // Answered for audioMasterGetDirectory: the folder of the plug-in file.
    std::string directory;

    // Set by the editor command: resizes the top-level window. Returns success.
    std::function<bool(int width, int height)> sizeWindow;

    // Counts of the plug-in's calls back, for diagnostics and tests.
    // Plug-ins may call from threads of their own, hence atomic.
    std::atomic<int64_t> automateCalls{0};
    std::atomic<int64_t> idleCalls{0};
    std::atomic<int64_t> unknownCalls{0};
};

// One loaded and instantiated VST 2.4 plug-in. Construction loads the shared
// object, calls its entry with the host callback and sends effOpen; destruction
// stops processing if needed and sends effClose. Every text read from the
// plug-in goes through a large zero-filled buffer and is terminated by the host,
// since plug-ins routinely write past the documented limits.
class PluginInstance final : public HostedPlugin
{
public:
    // Throws HostError when the file is missing, is not a loadable shared
    // object, has no VST entry, or the entry returns no valid record.
    explicit PluginInstance(const std::string& path);
    ~PluginInstance() override;
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    PluginFormat format() const override { return PluginFormat::vst2; }
    const std::string& path() const override { return path_; }
    AEffect* effect() const { return effect_; }
    HostContext& host() { return *host_; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Sends a text request and returns the terminated text with surrounding
    // white space removed.
    std::string text(int32_t opcode, int32_t index = 0, intptr_t value = 0);

    int numParams() const override { return effect_->numParams; }
    int numPrograms() const override { return effect_->numPrograms; }
    int numInputs() const override { return effect_->numInputs; }
    int numOutputs() const override { return effect_->numOutputs; }

    std::string effectName() { return text(effGetEffectName); }
    std::string vendorString() { return text(effGetVendorString); }
    std::string productString() { return text(effGetProductString); }
    int vendorVersion() { return static_cast<int>(dispatch(effGetVendorVersion)); }
    std::string pluginName() override { return effectName(); }
    std::string pluginVendor() override { return vendorString(); }
    // The vendor version number, as the format has no version text.
    std::string pluginVersion() override { return std::to_string(vendorVersion()); }

    std::string paramName(int index) override { return text(effGetParamName, index); }
    std::string paramDisplay(int index) override { return text(effGetParamDisplay, index); }
    std::string paramLabel(int index) override { return text(effGetParamLabel, index); }
    bool paramAutomatable(int index) { return dispatch(effCanBeAutomated, index) != 0; }
    float getParameter(int index) override;
    void setParameter(int index, float value) override;

    // The name of any program: effGetProgramNameIndexed, or, for plug-ins that
    // do not answer it, select the program, read its name and select the
    // current program again.
    std::string programName(int index) override;
    int currentProgram() override { return static_cast<int>(dispatch(effGetProgram)); }
    void setProgram(int index) override;

    // The plug-in's answer to a capability string: 1 yes, -1 no, 0 don't know.
    int canDo(const std::string& capability);

    // Tells a stopped plug-in the sample rate and the largest block size.
    void prepare(float sampleRate, int32_t blockSize) override;
    // Prepares, then resumes processing.
    void start(float sampleRate, int32_t blockSize) override;
    // Suspends processing (effMainsChanged 0); safe to call when not started.
    void stop() override;
    bool running() const override { return running_; }
    // What audioMasterGetCurrentProcessLevel answers while processing.
    void setRealtime(bool realtime) override
    {
        host_->processingLevel = realtime ? kVstProcessLevelRealtime : kVstProcessLevelOffline;
    }

    // Processes one block with processReplacing. `inputs` and `outputs` hold
    // numInputs() and numOutputs() channel buffers of at least `frames` samples.
    void process(float** inputs, float** outputs, int32_t frames) override;

private:
    std::string path_;
    void* library_ = nullptr;
    AEffect* effect_ = nullptr;
    std::unique_ptr<HostContext> host_;
    bool running_ = false;
};

// Text of a four-character code, first character in the most significant
// byte; codes with unprintable bytes are shown in hexadecimal.
std::string fourCharacterCode(int32_t code);

} // namespace vst2host
