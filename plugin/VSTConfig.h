// The framework's record of everything a plug-in shows the host: identity,
// capability answers, and the parameter and program tables. Values are kept
// normalised to 0..1 of each parameter's range and are never clamped.
#pragma once

#include <atomic>
#include <memory>

#include "plugin/VstInterface.h"

// Capability texts the framework answers, in table order.
constexpr int kNumCanDo = 22;
extern const char* const kCanDoTexts[kNumCanDo];

class CVSTConfig
{
public:
    static constexpr VstInt32 kNameLen = kVstMaxParamStrLen;         // names, labels, formats
    static constexpr VstInt32 kProgramNameLen = kVstMaxProgNameLen;  // program names
    static constexpr VstInt32 kEffectNameLen = kVstMaxEffectNameLen; // effect name
    static constexpr VstInt32 kVendorLen = kVstMaxVendorStrLen;      // vendor and product

    CVSTConfig(VstInt32 numInputs, VstInt32 numOutputs, VstInt32 numParams, VstInt32 numPrograms);
    virtual ~CVSTConfig() = default;

    CVSTConfig(const CVSTConfig&) = delete;
    CVSTConfig& operator=(const CVSTConfig&) = delete;

    // Defines parameter `index` with its range and default in units and its
    // display format (one floating conversion; anything else keeps "%3.2f").
    // Every program's value for it becomes the default, so define all
    // parameters before any program. Out-of-range indices are ignored.
    virtual void defineParameter(int index, const char* name, const char* label, float min,
                                 float max, float defaultValue, const char* format);
    // Defines program `index`: its name and numParams values in units.
    virtual void defineProgram(int index, const char* name, const float values[]);

    bool isParameter(VstInt32 index) const { return index >= 0 && index < numParams; }
    bool isProgram(VstInt32 index) const { return index >= 0 && index < numPrograms; }

    // Normalised value of a parameter in a program; indices must be valid.
    float value(VstInt32 program, VstInt32 param) const
    {
        return programValues[slot(program, param)].load(std::memory_order_relaxed);
    }
    void setValue(VstInt32 program, VstInt32 param, float v)
    {
        programValues[slot(program, param)].store(v, std::memory_order_relaxed);
    }

    // Units <-> normalised, in 32-bit float in this order.
    float toUnits(VstInt32 param, float normalised) const
    {
        return (paramMax[param] - paramMin[param]) * normalised + paramMin[param];
    }
    float toNormalised(VstInt32 param, float units) const
    {
        return (units - paramMin[param]) / (paramMax[param] - paramMin[param]);
    }

    using Name = char[kNameLen + 1];
    using ProgramName = char[kProgramNameLen + 1];

    char vendor[kVendorLen + 1];
    VstInt32 vendorVersion = 0;
    VstInt32 uniqueId = vstFourCC('H', 'F', 'V', 'P');
    char effectName[kEffectNameLen + 1];
    char productName[kVendorLen + 1];
    VstInt32 numInputs;
    VstInt32 numOutputs;
    bool doubleReplacing = false;
    bool noTailFlag = false;
    VstInt32 tailSize = 0;
    VstInt32 initialDelaySamples = 0;
    VstInt32 category = kPlugCategEffect;
    VstInt32 canDoAnswers[kNumCanDo];
    const VstInt32 numParams;
    const VstInt32 numPrograms;
    std::unique_ptr<ProgramName[]> programNames;
    std::unique_ptr<Name[]> paramNames;
    std::unique_ptr<Name[]> paramLabels;
    std::unique_ptr<float[]> paramMin;
    std::unique_ptr<float[]> paramMax;
    std::unique_ptr<float[]> paramDefault;
    std::unique_ptr<Name[]> paramFormats;

private:
    std::size_t slot(VstInt32 program, VstInt32 param) const
    {
        return static_cast<std::size_t>(program) * static_cast<std::size_t>(numParams) +
               static_cast<std::size_t>(param);
    }

    // One value per parameter per program. Written by parameter changes on any
    // thread and read by the audio thread, hence atomic.
    std::unique_ptr<std::atomic<float>[]> programValues;
};
