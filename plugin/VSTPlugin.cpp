#include "plugin/VSTPlugin.h"

#include <cstring>

#include "plugin/TextBounded.h"

namespace {

// major.minor.patch from a version number such as 2910 ("2.9.1"); the last
// digit is not shown.
void formatVersion(char* text, std::size_t n, VstInt32 version)
{
    const double v = version;
    const int major = static_cast<int>(v * 0.001);
    const int minor = static_cast<int>((v - 1000.0 * major) * 0.01);
    const int patch = static_cast<int>((v - 1000.0 * major - 100.0 * minor) * 0.1);
    formatBounded(text, n, "%d.%d.%d", major, minor, patch);
}

} // namespace

CVSTPlugin::CVSTPlugin(audioMasterCallback audioMaster, VstInt32 numInputs, VstInt32 numOutputs)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams),
      config(std::make_unique<CVSTConfig>(numInputs, numOutputs, kNumParams, kNumPrograms))
{}

CVSTPlugin::~CVSTPlugin() = default;

bool CVSTPlugin::storeParameter(VstInt32 index, float value)
{
    if (!config->isParameter(index))
        return false;
    config->setValue(curProgram, index, value);
    return true;
}

void CVSTPlugin::setParameter(VstInt32 index, float value)
{
    storeParameter(index, value);
}

float CVSTPlugin::getParameter(VstInt32 index)
{
    return config->isParameter(index) ? config->value(curProgram, index) : 0.0f;
}

void CVSTPlugin::setParameterAutomated(VstInt32 index, float value)
{
    if (!config->isParameter(index))
        return;
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void CVSTPlugin::setProgram(VstInt32 program)
{
    if (!config->isProgram(program))
        return;
    curProgram = program;
    for (VstInt32 i = 0; i < config->numParams; ++i)
        setParameter(i, config->value(program, i));
}

void CVSTPlugin::setProgramName(char* name)
{
    if (name)
        copyBounded(config->programNames[curProgram], name, CVSTConfig::kProgramNameLen);
}

void CVSTPlugin::getProgramName(char* name)
{
    if (name)
        putBounded(name, config->programNames[curProgram], CVSTConfig::kProgramNameLen);
}

void CVSTPlugin::getParameterLabel(VstInt32 index, char* label)
{
    if (label && config->isParameter(index))
        putBounded(label, config->paramLabels[index], CVSTConfig::kNameLen);
}

void CVSTPlugin::getParameterDisplay(VstInt32 index, char* text)
{
    if (!text || !config->isParameter(index))
        return;
    // Formatted aside first: the host's buffer receives only the text and its
    // terminator, like every other text handed to the host.
    char display[CVSTConfig::kNameLen + 1];
    formatBounded(display, CVSTConfig::kNameLen, config->paramFormats[index],
                  static_cast<double>(getParameterScaled(index)));
    putBounded(text, display, CVSTConfig::kNameLen);
}

void CVSTPlugin::getParameterName(VstInt32 index, char* text)
{
    if (text && config->isParameter(index))
        putBounded(text, config->paramNames[index], CVSTConfig::kNameLen);
}

bool CVSTPlugin::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text)
{
    if (!text || !config->isProgram(index))
        return false;
    putBounded(text, config->programNames[index], CVSTConfig::kProgramNameLen);
    return true;
}

VstInt32 CVSTPlugin::getGetTailSize()
{
    return config->tailSize;
}

VstInt32 CVSTPlugin::getTailSize()
{
    return config->tailSize;
}

bool CVSTPlugin::getEffectName(char* name)
{
    if (!name)
        return false;
    putBounded(name, config->effectName, CVSTConfig::kEffectNameLen);
    return true;
}

bool CVSTPlugin::getVendorString(char* text)
{
    if (!text)
        return false;
    putBounded(text, config->vendor, CVSTConfig::kVendorLen);
    return true;
}

bool CVSTPlugin::getProductString(char* text)
{
    if (!text)
        return false;
    putBounded(text, config->productName, CVSTConfig::kVendorLen);
    return true;
}

VstInt32 CVSTPlugin::getVendorVersion()
{
    return config->vendorVersion;
}

VstInt32 CVSTPlugin::canDo(char* text)
{
    if (!text)
        return -1;
    for (int i = 0; i < kNumCanDo; ++i) {
        // Whole-string match that reads the host's text no further than the
        // candidate's own terminator.
        if (std::strncmp(text, kCanDoTexts[i], std::strlen(kCanDoTexts[i]) + 1) == 0)
            return config->canDoAnswers[i];
    }
    return -1;
}

VstPlugCategory CVSTPlugin::getPlugCategory()
{
    return static_cast<VstPlugCategory>(config->category);
}

void CVSTPlugin::applyConfig()
{
    canProcessReplacing(true);
    setNumInputs(config->numInputs);
    setNumOutputs(config->numOutputs);
    setInitialDelay(config->initialDelaySamples);
    canDoubleReplacing(config->doubleReplacing);
    noTail(config->noTailFlag);
    setUniqueID(config->uniqueId);
    setSampleRate(getSampleRate());
    setProgram(0);
    resume();
}

float CVSTPlugin::getParameterValue(VstInt32 index)
{
    return config->isParameter(index) ? config->value(curProgram, index) : 0.0f;
}

float CVSTPlugin::getParameterScaled(VstInt32 index)
{
    return config->isParameter(index) ? config->toUnits(index, config->value(curProgram, index))
                                      : 0.0f;
}

void CVSTPlugin::getParameterText(VstInt32 index, char* text)
{
    if (!text || !config->isParameter(index))
        return;
    getParameterDisplay(index, text);
    appendBounded(text, config->paramLabels[index], CVSTConfig::kNameLen);
}

float CVSTPlugin::getParameterDefault(VstInt32 index)
{
    return config->isParameter(index) ? config->paramDefault[index] : 0.0f;
}

bool CVSTPlugin::getVersionLabel(char* text)
{
    if (!text)
        return false;
    char name[CVSTConfig::kEffectNameLen + 1];
    getEffectName(name);
    putBounded(text, name, kVersionLabelLen);
    appendBounded(text, " v", kVersionLabelLen);
    char version[kVersionLabelLen + 1];
    formatVersion(version, kVersionLabelLen, config->vendorVersion);
    appendBounded(text, version, kVersionLabelLen);
    return true;
}

bool CVSTPlugin::getVersionString(char* text)
{
    if (!text)
        return false;
    putBounded(text, "v", kVersionLabelLen);
    char version[kVersionLabelLen + 1];
    formatVersion(version, kVersionLabelLen, config->vendorVersion);
    appendBounded(text, version, kVersionLabelLen);
    return true;
}
