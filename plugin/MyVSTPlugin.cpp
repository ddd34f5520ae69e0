#include "plugin/MyVSTPlugin.h"

#include <cmath>
#include <cstring>

#include "editor/MyVSTEditor.h"
#include "plugin/TextBounded.h"

namespace {

struct ParameterDefinition
{
    const char* name;
    const char* label;
    float min;
    float max;
    float defaultValue;
    const char* format;
};

constexpr ParameterDefinition kParameters[kNumVantelorParameters] = {
    {"Azi L", "deg", -60.0f, 60.0f, -30.0f, "%2.1f"},  {"Elev L", "deg", -60.0f, 60.0f, 0.0f, "%2.1f"},
    {"Active L", "", 0.0f, 1.0f, 1.0f, "%2.0f"},       {"Width L", "%", 0.0f, 100.0f, 0.0f, "%2.0f"},
    {"Azi R", "deg", -60.0f, 60.0f, 30.0f, "%2.1f"},   {"Elev R", "deg", -60.0f, 60.0f, 0.0f, "%2.1f"},
    {"Active R", "", 0.0f, 1.0f, 1.0f, "%2.0f"},       {"Width R", "%", 0.0f, 100.0f, 0.0f, "%2.0f"},
};

struct ProgramDefinition
{
    const char* name;
    float values[kNumVantelorParameters];  // in units, parameter order
};

constexpr ProgramDefinition kFactoryPrograms[] = {
    {"Default", {-30, 0, 1, 0, 30, 0, 1, 0}},
    {"Elevated", {-30, 55, 1, 0, 30, 55, 1, 0}},
    {"Lowered", {-30, -55, 1, 0, 30, -55, 1, 0}},
    {"Wide base", {-55, 0, 1, 10, 55, 0, 1, 10}},
    {"Wide sources", {-30, 0, 1, 80, 30, 0, 1, 80}},
    {"Pseudo stereo", {0, 0, 1, 80, 0, 0, 1, 80}},
    {"Mono far left", {-55, 0, 1, 10, 30, 0, 0, 0}},
    {"Mono far right", {-30, 0, 0, 0, 55, 0, 1, 10}},
};

}  // namespace

CMyVSTPlugin::CMyVSTPlugin(audioMasterCallback audioMaster) : CVSTPlugin(audioMaster, kNumChannels, kNumChannels)
{
    config->uniqueId = vstFourCC('H', 'F', 'V', 'N');
    copyBounded(config->effectName, "HF_Vantelor", CVSTConfig::kEffectNameLen);
    copyBounded(config->productName, "HF_Vantelor", CVSTConfig::kVendorLen);
    config->initialDelaySamples = 0;
    config->tailSize = 0;
    config->noTailFlag = false;

    // Parameters first: defining one resets it in every program.
    for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
    {
        const ParameterDefinition& p = kParameters[i];
        config->defineParameter(i, p.name, p.label, p.min, p.max, p.defaultValue, p.format);
    }
    VstInt32 index = 0;
    for (const ProgramDefinition& program : kFactoryPrograms)
        config->defineProgram(index++, program.name, program.values);

    applyConfig();

    // The editor is owned by the effect from now on; it opens no window yet.
    setEditor(new CMyVSTEditor(this));
}

CMyVSTPlugin::~CMyVSTPlugin() = default;

void CMyVSTPlugin::suspend() {}

void CMyVSTPlugin::resume()
{
    CVSTPlugin::resume();
}

float CMyVSTPlugin::clampSampleRate(float rate)
{
    if (!(rate >= kMinSampleRate))  // also catches not-a-number
        return kMinSampleRate;
    return rate > kMaxSampleRate ? kMaxSampleRate : rate;
}

void CMyVSTPlugin::setSampleRate(float rate)
{
    CVSTPlugin::setSampleRate(clampSampleRate(rate));
}

void CMyVSTPlugin::setParameter(VstInt32 index, float value)
{
    if (!storeParameter(index, value))
        return;
    // Every change reaches the editor, including its own edits; the only
    // editor ever attached is ours.
    if (editor)
        static_cast<CMyVSTEditor*>(editor)->setParameter(index, value);
}

void CMyVSTPlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (!inputs || !outputs || sampleFrames <= 0)
        return;
    const std::size_t bytes = static_cast<std::size_t>(sampleFrames) * sizeof(float);
    for (VstInt32 c = 0; c < kNumChannels; ++c)
    {
        if (!outputs[c])
            continue;
        if (!inputs[c])
            std::memset(outputs[c], 0, bytes);  // a missing input is silence
        else if (inputs[c] != outputs[c])
            std::memmove(outputs[c], inputs[c], bytes);
    }
}
