#include "plugin/VSTConfig.h"

#include "plugin/TextBounded.h"
#include "product/VantelorDescription.h"

const char* const kCanDoTexts[kNumCanDo] = {
    "plugAsChannelInsert",
    "plugAsSend",
    "mixDryWet",
    "1in1out",
    "1in2out",
    "2in1out",
    "2in2out",
    "2in4out",
    "4in2out",
    "4in4out",
    "4in8out",
    "8in4out",
    "8in8out",
    "sendVstEvents",
    "sendVstMidiEvent",
    "receiveVstEvents",
    "receiveVstMidiEvent",
    "receiveVstTimeInfo",
    "offline",
    "noRealTime",
    "midiProgramNames",
    "bypass",
};

namespace {

// Insert and send use, mono and stereo up to two channels: yes; everything else: no.
constexpr VstInt32 kCanDoDefaults[kNumCanDo] = {1,  1,  1,  1,  1,  1,  1,  -1, -1, -1, -1,
                                                -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

constexpr const char* kDefaultFormat = "%3.2f";

} // namespace

CVSTConfig::CVSTConfig(VstInt32 numInputs, VstInt32 numOutputs, VstInt32 numParams,
                       VstInt32 numPrograms)
    : numInputs(numInputs),
      numOutputs(numOutputs),
      numParams(numParams > 0 ? numParams : 0),
      numPrograms(numPrograms > 0 ? numPrograms : 0),
      programNames(new ProgramName[static_cast<std::size_t>(this->numPrograms)]),
      paramNames(new Name[static_cast<std::size_t>(this->numParams)]),
      paramLabels(new Name[static_cast<std::size_t>(this->numParams)]),
      paramMin(new float[static_cast<std::size_t>(this->numParams)]),
      paramMax(new float[static_cast<std::size_t>(this->numParams)]),
      paramDefault(new float[static_cast<std::size_t>(this->numParams)]),
      paramFormats(new Name[static_cast<std::size_t>(this->numParams)]),
      programValues(new std::atomic<float>[static_cast<std::size_t>(this->numParams) *
                                           static_cast<std::size_t>(this->numPrograms)])
{
    copyBounded(vendor, vantelor::kVendorName, kVendorLen);
    copyBounded(effectName, "VSTPlugin", kEffectNameLen);
    copyBounded(productName, "VSTPlugin", kVendorLen);
    for (int i = 0; i < kNumCanDo; ++i)
        canDoAnswers[i] = kCanDoDefaults[i];

    for (VstInt32 p = 0; p < this->numPrograms; ++p) {
        if (p < 10)
            formatBounded(programNames[p], kProgramNameLen, "Program 0%1d", p);
        else
            formatBounded(programNames[p], kProgramNameLen, "Program %1d", p);
        for (VstInt32 i = 0; i < this->numParams; ++i)
            setValue(p, i, 0.5f);
    }
    for (VstInt32 i = 0; i < this->numParams; ++i) {
        formatBounded(paramNames[i], kNameLen, "Par %1d", i);
        formatBounded(paramLabels[i], kNameLen, "Lab %1d", i);
        paramMin[i] = 0.0f;
        paramMax[i] = 1.0f;
        paramDefault[i] = 0.5f;
        copyBounded(paramFormats[i], kDefaultFormat, kNameLen);
    }
}

void CVSTConfig::defineParameter(int index, const char* name, const char* label, float min,
                                 float max, float defaultValue, const char* format)
{
    if (!isParameter(index))
        return;
    copyBounded(paramNames[index], name, kNameLen);
    copyBounded(paramLabels[index], label, kNameLen);
    // The format is handed to printf with one double: anything that would
    // read other arguments is replaced by the framework's default format.
    copyBounded(paramFormats[index], format, kNameLen);
    if (!isSingleFloatFormat(paramFormats[index]))
        copyBounded(paramFormats[index], kDefaultFormat, kNameLen);
    paramMin[index] = min;
    paramMax[index] = max;
    const float normalised = toNormalised(index, defaultValue);
    paramDefault[index] = normalised;
    for (VstInt32 p = 0; p < numPrograms; ++p)
        setValue(p, index, normalised);
}

void CVSTConfig::defineProgram(int index, const char* name, const float values[])
{
    if (!isProgram(index))
        return;
    copyBounded(programNames[index], name, kProgramNameLen);
    if (!values)
        return;
    for (VstInt32 i = 0; i < numParams; ++i)
        setValue(index, i, toNormalised(i, values[i]));
}
