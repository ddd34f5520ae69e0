#include "plugin/AudioEffect.h"

#include <cmath>
#include <cstring>

namespace {

AudioEffect* objectOf(AEffect* e)
{
    return e ? static_cast<AudioEffect*>(e->object) : nullptr;
}

// Writes `s` into text: at most maxLen characters, terminator at text[maxLen]
// (or earlier, right after the copied characters).
void putText(char* text, VstInt32 maxLen, const char* s)
{
    if (!text || maxLen < 0)
        return;
    VstInt32 i = 0;
    for (; i < maxLen && s[i]; ++i)
        text[i] = s[i];
    text[i] = 0;
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams)
{
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = vstFourCC('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect()
{
    delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor)
{
    if (editor != newEditor)
        delete editor;
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state)
{
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt, VstIntPtr fallback)
{
    if (!audioMaster)
        return fallback;
    return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt)
{
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        // Checked in full width: a 64-bit value must not wrap into a valid index.
        if (value >= 0 && value < numPrograms)
            setProgram(static_cast<VstInt32>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        // The editor writes its rectangle's address through ptr.
        return editor && ptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        // Without a parent window there is nothing to show the editor in.
        return editor && ptr && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor)
            editor->close();
        return 0;
    case effEditIdle:
        if (editor)
            editor->idle();
        return 0;
    case effIdentify:
        return vstFourCC('N', 'v', 'E', 'f');
    case effGetChunk:
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        return 0;
    }
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value)
{
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstInt32 AudioEffect::getMasterVersion()
{
    const VstIntPtr version = callHost(audioMasterVersion);
    return version ? static_cast<VstInt32>(version) : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId()
{
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle()
{
    callHost(audioMasterIdle);
}

bool AudioEffect::isInputConnected(VstInt32 input)
{
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output)
{
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen)
{
    if (value > 0)
        float2string(20.0f * std::log10(value), text, maxLen);
    else
        putText(text, maxLen, "-oo");
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen)
{
    const float rate = getSampleRate();
    float2string(samples == 0 ? 0.0f : rate / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen)
{
    float2string(samples * 1000.0f / getSampleRate(), text, maxLen);
}

// Eight characters: the integer digits, a point and as many fraction digits as
// fit (1.5 -> "1.500000", -2 -> "-2.00000"). An integer part that leaves no
// room for the point is written in full without it (12345678 -> "12345678").
void AudioEffect::float2string(float value, char* text, VstInt32 maxLen)
{
    if (!text || maxLen < 0)
        return;
    double v = value;
    if (std::isnan(v)) {
        putText(text, maxLen, "NaN");
        return;
    }
    const bool negative = v < 0;
    if (negative)
        v = -v;
    if ((negative && v > 9999999.0) || (!negative && v > 99999999.0)) {
        putText(text, maxLen, "Huge!");
        return;
    }

    constexpr int kWidth = 8;
    char digits[kWidth + 1];
    int numDigits = 0;
    double integer = std::floor(v);
    do {
        digits[numDigits++] = static_cast<char>('0' + static_cast<int>(std::fmod(integer, 10.0)));
        integer = std::floor(integer / 10.0);
    } while (integer >= 1.0);

    char out[kWidth + 2];
    int len = 0;
    if (negative)
        out[len++] = '-';
    for (int i = numDigits - 1; i >= 0; --i)
        out[len++] = digits[i];
    if (len < kWidth) {
        out[len++] = '.';
        const int k = kWidth - len;
        double m = (v - std::floor(v)) * std::pow(10.0, k);
        for (int i = k - 1; i >= 0; --i) {
            int digit = 0;
            if (m > 0) {
                digit = static_cast<int>(std::fmod(std::floor(m), 10.0));
                m /= 10.0;
            }
            out[len + i] = static_cast<char>('0' + digit);
        }
        len += k;
    }
    out[len] = 0;
    putText(text, maxLen, out);
}

// Decimal digits without leading zeros; magnitudes of 100000000 or more give
// "Huge!" (for negative values too, whose digits would not fit either).
void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen)
{
    if (!text || maxLen < 0)
        return;
    const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    if (magnitude >= 100000000) {
        putText(text, maxLen, "Huge!");
        return;
    }
    char out[16];
    int len = 0;
    if (value < 0)
        out[len++] = '-';
    bool started = false;
    for (long long divisor = 100000000; divisor >= 1; divisor /= 10) {
        const int digit = static_cast<int>((magnitude / divisor) % 10);
        if (digit != 0 || started || divisor == 1) {
            out[len++] = static_cast<char>('0' + digit);
            started = true;
        }
    }
    out[len] = 0;
    putText(text, maxLen, out);
}

VstIntPtr VSTCALLBACK AudioEffect::dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                                       VstIntPtr value, void* ptr, float opt)
{
    AudioEffect* object = objectOf(e);
    if (!object)
        return 0;
    if (opcode == effClose) {
        object->dispatcher(opcode, index, value, ptr, opt);
        delete object;
        return 1;
    }
    return object->dispatcher(opcode, index, value, ptr, opt);
}

float VSTCALLBACK AudioEffect::getParameterClass(AEffect* e, VstInt32 index)
{
    AudioEffect* object = objectOf(e);
    return object ? object->getParameter(index) : 0.0f;
}

void VSTCALLBACK AudioEffect::setParameterClass(AEffect* e, VstInt32 index, float value)
{
    if (AudioEffect* object = objectOf(e))
        object->setParameter(index, value);
}

void VSTCALLBACK AudioEffect::processClass(AEffect* e, float** inputs, float** outputs,
                                           VstInt32 sampleFrames)
{
    if (AudioEffect* object = objectOf(e))
        object->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                                    VstInt32 sampleFrames)
{
    if (AudioEffect* object = objectOf(e))
        object->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::processClassDoubleReplacing(AEffect* e, double** inputs,
                                                          double** outputs, VstInt32 sampleFrames)
{
    if (AudioEffect* object = objectOf(e))
        object->processDoubleReplacing(inputs, outputs, sampleFrames);
}
