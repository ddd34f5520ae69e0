#include "tools/host/PluginInstance.h"

#include "tools/host/HostError.h"

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace vst2host {

namespace {

// Buffers handed to plug-ins for text: far above every documented limit,
// because plug-ins write past them.
constexpr size_t kTextBuffer = 1024;

// The context of the plug-in being instantiated: during its entry call the
// plug-in may call back before the host has seen its record.
thread_local HostContext* loadingContext = nullptr;

HostContext* contextOf(AEffect* effect)
{
    if (effect != nullptr && effect->resvd1 != 0)
        return reinterpret_cast<HostContext*>(effect->resvd1);
    return loadingContext;
}

void copyText(void* destination, const char* text, size_t capacity)
{
    if (destination == nullptr)
        return;
    auto* out = static_cast<char*>(destination);
    const size_t length = std::min(std::strlen(text), capacity - 1);
    std::memcpy(out, text, length);
    out[length] = '\0';
}

int hostCanDo(const char* capability)
{
    if (capability == nullptr)
        return 0;
    static constexpr const char* kSupported[] = {"sendVstTimeInfo", "sizeWindow", "supplyIdle",
                                                 "startStopProcess"};
    for (const char* supported : kSupported)
        if (std::strcmp(capability, supported) == 0)
            return 1;
    return 0;
}

intptr_t VSTCALLBACK hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                  void* ptr, float /*opt*/)
{
    // The version question comes before any context may exist.
    if (opcode == audioMasterVersion)
        return kVstVersion;
    HostContext* host = contextOf(effect);
    switch (opcode) {
    case audioMasterAutomate:
        if (host != nullptr)
            ++host->automateCalls;
        return 0;
    case audioMasterCurrentId:
        return 0;
    case audioMasterIdle:
        if (host != nullptr)
            ++host->idleCalls;
        return 1;
    case audioMasterGetTime:
        return host != nullptr ? reinterpret_cast<intptr_t>(&host->timeInfo) : 0;
    case audioMasterSizeWindow:
        return host != nullptr && host->sizeWindow &&
                       host->sizeWindow(index, static_cast<int>(value))
                   ? 1
                   : 0;
    case audioMasterGetSampleRate:
        return host != nullptr ? static_cast<intptr_t>(host->sampleRate) : 44100;
    case audioMasterGetBlockSize:
        return host != nullptr ? host->blockSize : 512;
    case audioMasterGetVendorString:
    case audioMasterGetProductString:
        copyText(ptr, "vst2-host", kVstMaxVendorStrLen);
        return 1;
    case audioMasterGetVendorVersion:
        return 1000;
    case audioMasterCanDo:
        return hostCanDo(static_cast<const char*>(ptr));
    case audioMasterGetCurrentProcessLevel:
        if (host == nullptr)
            return kVstProcessLevelUnknown;
        return host->inProcess ? host->processingLevel : kVstProcessLevelUser;
    case audioMasterGetAutomationState:
        return 1; // automation off
    case audioMasterGetDirectory:
        return host != nullptr ? reinterpret_cast<intptr_t>(host->directory.c_str()) : 0;
    case audioMasterGetLanguage:
        return kVstLangEnglish;
    case audioMasterUpdateDisplay:
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
        return 1;
    default:
        if (host != nullptr)
            ++host->unknownCalls;
        return 0;
    }
}

} // namespace

std::string fourCharacterCode(int32_t code)
{
    const auto bits = static_cast<uint32_t>(code);
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>(bits >> shift);
        if (c < 0x20 || c > 0x7e) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X", bits);
            return hex;
        }
        text += static_cast<char>(c);
    }
    return text;
}

PluginInstance::PluginInstance(const std::string& path)
    : path_(path), host_(std::make_unique<HostContext>())
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        throw HostError("cannot load " + path + ": no such file");
    // dlopen searches the library path for names without a slash.
    const std::string absolute = std::filesystem::absolute(path, ec).string();
    host_->directory = std::filesystem::path(absolute).parent_path().string();
    library_ = dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        const char* reason = dlerror();
        throw HostError("cannot load " + path + ": " +
                        (reason != nullptr ? reason : "unknown error"));
    }
    using Entry = AEffect* (*)(audioMasterCallback);
    void* symbol = dlsym(library_, "VSTPluginMain");
    if (symbol == nullptr)
        symbol = dlsym(library_, "main");
    if (symbol == nullptr)
        throw HostError("cannot load " + path + ": no VSTPluginMain or main entry");

    host_->timeInfo.sampleRate = host_->sampleRate;
    host_->timeInfo.tempo = 120.0;
    host_->timeInfo.timeSigNumerator = 4;
    host_->timeInfo.timeSigDenominator = 4;
    host_->timeInfo.flags = kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid | kVstBarsValid;

    loadingContext = host_.get();
    AEffect* effect = nullptr;
    try {
        effect = reinterpret_cast<Entry>(symbol)(hostCallback);
    } catch (...) {
        effect = nullptr;
    }
    loadingContext = nullptr;
    if (effect == nullptr)
        throw HostError("cannot load " + path + ": the plug-in returned no effect");
    if (effect->magic != kEffectMagic)
        throw HostError("cannot load " + path + ": the effect record has the wrong magic number");
    effect_ = effect;
    effect_->resvd1 = reinterpret_cast<intptr_t>(host_.get());

    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, host_->sampleRate);
    dispatch(effSetBlockSize, 0, host_->blockSize);
}

PluginInstance::~PluginInstance()
{
    if (effect_ == nullptr)
        return;
    stop();
    dispatch(effClose);
    // The library stays loaded: plug-ins often leave threads, atexit handlers or
    // toolkit registrations behind that refer to their code, and unloading it in
    // a short-lived host gains nothing.
}

intptr_t PluginInstance::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt)
{
    if (effect_->dispatcher == nullptr)
        return 0;
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(int32_t opcode, int32_t index, intptr_t value)
{
    std::array<char, kTextBuffer> buffer{};
    dispatch(opcode, index, value, buffer.data());
    buffer.back() = '\0';
    return trim(buffer.data());
}

float PluginInstance::getParameter(int index)
{
    if (effect_->getParameter == nullptr)
        return 0.0f;
    return effect_->getParameter(effect_, index);
}

void PluginInstance::setParameter(int index, float value)
{
    if (effect_->setParameter != nullptr)
        effect_->setParameter(effect_, index, value);
}

std::string PluginInstance::programName(int index)
{
    std::array<char, kTextBuffer> buffer{};
    const intptr_t answered = dispatch(effGetProgramNameIndexed, index, 0, buffer.data());
    buffer.back() = '\0';
    if (answered != 0 || buffer[0] != '\0')
        return trim(buffer.data());
    const int current = currentProgram();
    setProgram(index);
    std::string name = text(effGetProgramName);
    setProgram(current);
    return name;
}

void PluginInstance::setProgram(int index)
{
    dispatch(effBeginSetProgram);
    dispatch(effSetProgram, 0, index);
    dispatch(effEndSetProgram);
}

int PluginInstance::canDo(const std::string& capability)
{
    std::array<char, kTextBuffer> buffer{};
    std::memcpy(buffer.data(), capability.data(), std::min(capability.size(), buffer.size() - 1));
    const intptr_t answer = dispatch(effCanDo, 0, 0, buffer.data());
    return answer > 0 ? 1 : (answer < 0 ? -1 : 0);
}

void PluginInstance::prepare(float sampleRate, int32_t blockSize)
{
    stop();
    host_->sampleRate = sampleRate;
    host_->blockSize = blockSize;
    host_->timeInfo.sampleRate = sampleRate;
    host_->timeInfo.samplePos = 0.0;
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
}

void PluginInstance::start(float sampleRate, int32_t blockSize)
{
    prepare(sampleRate, blockSize);
    dispatch(effMainsChanged, 0, 1);
    dispatch(effStartProcess);
    host_->timeInfo.flags |= kVstTransportPlaying;
    running_ = true;
}

void PluginInstance::stop()
{
    if (!running_)
        return;
    host_->timeInfo.flags &= ~kVstTransportPlaying;
    dispatch(effStopProcess);
    dispatch(effMainsChanged, 0, 0);
    running_ = false;
}

void PluginInstance::process(float** inputs, float** outputs, int32_t frames)
{
    VstTimeInfo& time = host_->timeInfo;
    const double beats = time.samplePos / time.sampleRate * time.tempo / 60.0;
    time.ppqPos = beats;
    time.barStartPos = std::floor(beats / time.timeSigNumerator) * time.timeSigNumerator;
    host_->inProcess = true;
    if ((effect_->flags & effFlagsCanReplacing) != 0 && effect_->processReplacing != nullptr) {
        effect_->processReplacing(effect_, inputs, outputs, frames);
    } else if (effect_->process != nullptr) {
        // Plug-ins from before replacing processing add to their outputs.
        for (int c = 0; c < numOutputs(); ++c)
            std::fill(outputs[c], outputs[c] + frames, 0.0f);
        effect_->process(effect_, inputs, outputs, frames);
    }
    host_->inProcess = false;
    time.samplePos += frames;
}

} // namespace vst2host
