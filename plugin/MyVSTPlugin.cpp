#include "plugin/MyVSTPlugin.h"

#include "plugin/TextBounded.h"
#include "product/VantelorDescription.h"

CMyVSTPlugin::CMyVSTPlugin(audioMasterCallback audioMaster)
    : CVSTPlugin(audioMaster, kNumChannels, kNumChannels),
      CVantelor(kNumChannels, kNumChannels),
      processor(*this)
{
    config->uniqueId = vantelor::kVst2UniqueId;
    copyBounded(config->effectName, vantelor::kProductName, CVSTConfig::kEffectNameLen);
    copyBounded(config->productName, vantelor::kProductName, CVSTConfig::kVendorLen);
    config->initialDelaySamples = 0;
    config->tailSize = 0;
    config->noTailFlag = false;

    // Parameters first: defining one resets it in every program.
    for (VstInt32 i = 0; i < kNumVantelorParameters; ++i) {
        const VantelorParameterDefinition& p = kVantelorParameters[i];
        config->defineParameter(i, p.name, p.label, p.min, p.max, p.defaultValue, p.format);
    }
    VstInt32 index = 0;
    for (const VantelorProgramDefinition& program : kVantelorFactoryPrograms)
        config->defineProgram(index++, program.name, program.values);

    config->vendorVersion = vantelor::kVendorVersion;

    applyConfig();
}

CMyVSTPlugin::~CMyVSTPlugin() = default;

void CMyVSTPlugin::suspend()
{
    processor.suspend();
}

void CMyVSTPlugin::resume()
{
    processor.applyPending();
    CVSTPlugin::resume();
    CVantelor::reset();
}

void CMyVSTPlugin::setSampleRate(float rate)
{
    const float clamped = clampSampleRate(rate);
    CVSTPlugin::setSampleRate(clamped);
    processor.setSampleRate(clamped);
}

void CMyVSTPlugin::setParameter(VstInt32 index, float value)
{
    if (!storeParameter(index, value))
        return;
    // Every change reaches the editor, including its own edits.
    if (editor)
        editor->setParameter(index, value);
    processor.setValue(index, value);
}

void CMyVSTPlugin::setProgram(VstInt32 program)
{
    // A program that does not exist changes nothing, so nothing is redrawn.
    if (!config->isProgram(program))
        return;
    CVSTPlugin::setProgram(program);
    if (editor)
        editor->redrawAll();
}

void CMyVSTPlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    processor.process(inputs, outputs, sampleFrames);
}

float CMyVSTPlugin::currentValue(int32_t index)
{
    return getParameter(index);
}

void CMyVSTPlugin::beginChange(int32_t index)
{
    beginEdit(index);
}

void CMyVSTPlugin::change(int32_t index, float normalised)
{
    setParameterAutomated(index, normalised);
}

void CMyVSTPlugin::endChange(int32_t index)
{
    endEdit(index);
}

bool CMyVSTPlugin::getVersionLabel(char* text)
{
    return vantelor::formatVersionLabel(text);
}
