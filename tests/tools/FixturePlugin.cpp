// A small VST 2.4 effect for testing the host against known behaviour: three
// parameters with an increasing, a decreasing and a worded display; program
// names only through effSetProgram + effGetProgramName; a parameter name far
// past the 8-character limit; two inputs and three outputs, the third carrying
// the first parameter's value while the transport it reads back from the host
// during processing is consistent.
//
// Built in variants: FIXTURE_NULL_EFFECT makes the entry return no record,
// FIXTURE_NO_ENTRY exports no entry at all.
#include "plugin/VstInterface.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#if defined(FIXTURE_NO_ENTRY)

extern "C" __attribute__((visibility("default"))) int fixtureNotAnEntry() { return 0; }

#else

namespace {

#if defined(FIXTURE_NULL_EFFECT)
constexpr bool kReturnNoEffect = true;
#else
constexpr bool kReturnNoEffect = false;
#endif

constexpr int kParams = 3;
constexpr int kPrograms = 3;
constexpr const char* kProgramNames[kPrograms] = {"Alpha", "Beta", "Gamma"};

struct Fixture {
    AEffect effect{};
    audioMasterCallback host = nullptr;
    float values[kParams] = {0.5f, 0.5f, 0.0f};
    int program = 1;
    double framesProcessed = 0.0;
    float sampleRate = 0.0f;
};

Fixture* self(AEffect* effect) { return static_cast<Fixture*>(effect->object); }

void display(const Fixture& f, int index, char* text) {
    switch (index) {
    case 0:  // "Pan": -60..60, one decimal, increasing
        std::sprintf(text, "%.1f", -60.0 + 120.0 * f.values[0]);
        break;
    case 1:  // "Depth": 100..0 percent, whole numbers, decreasing
        std::sprintf(text, "%.0f", 100.0 - 100.0 * f.values[1]);
        break;
    default:
        std::strcpy(text, f.values[2] >= 0.5f ? "On" : "Off");
        break;
    }
}

VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float opt) {
    Fixture& f = *self(effect);
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effClose:
        delete &f;
        return 1;
    case effSetProgram:
        if (value >= 0 && value < kPrograms)
            f.program = static_cast<int>(value);
        return 0;
    case effGetProgram:
        return f.program;
    case effGetProgramName:
        std::strcpy(text, kProgramNames[f.program]);
        return 0;
    case effGetParamName:
        if (index == 0)
            std::strcpy(text, "Pan");
        else if (index == 1)
            std::strcpy(text, "Depth of the modulation, much longer than allowed");
        else
            std::strcpy(text, "Mode");
        return 0;
    case effGetParamDisplay:
        if (index >= 0 && index < kParams)
            display(f, index, text);
        return 0;
    case effGetParamLabel:
        std::strcpy(text, index == 0 ? "deg" : index == 1 ? "%" : "");
        return 0;
    case effSetSampleRate:
        f.sampleRate = opt;
        return 0;
    case effMainsChanged:
        f.framesProcessed = 0.0;
        return 0;
    case effGetEffectName:
        std::strcpy(text, "Fixture");
        return 1;
    case effGetVendorString:
        std::strcpy(text, "Test vendor");
        return 1;
    case effCanBeAutomated:
        return index != 2;
    case effGetVstVersion:
        return kVstVersion;
    default:
        return 0;
    }
}

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value) {
    if (index >= 0 && index < kParams)
        self(effect)->values[index] = value;
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index) {
    return index >= 0 && index < kParams ? self(effect)->values[index] : 0.0f;
}

void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    Fixture& f = *self(effect);
    // Calls back into the host from the audio thread, as many plug-ins do.
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        f.host(effect, audioMasterGetTime, 0, 0, nullptr, 0.0f));
    const bool consistent = time != nullptr && time->samplePos == f.framesProcessed &&
                            time->sampleRate == f.sampleRate;
    for (VstInt32 i = 0; i < frames; ++i) {
        outputs[0][i] = inputs[0][i];
        outputs[1][i] = inputs[1][i];
        outputs[2][i] = consistent ? f.values[0] : std::numeric_limits<float>::quiet_NaN();
    }
    f.framesProcessed += frames;
}

} // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    if (kReturnNoEffect)
        return nullptr;
    auto* f = new Fixture;
    f->host = host;
    AEffect& e = f->effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatch;
    e.setParameter = setParameter;
    e.getParameter = getParameter;
    e.processReplacing = processReplacing;
    e.numPrograms = kPrograms;
    e.numParams = kParams;
    e.numInputs = 2;
    e.numOutputs = 3;
    e.flags = effFlagsCanReplacing;
    e.uniqueID = vstFourCC('F', 'i', 'x', 't');
    e.version = 1;
    e.object = f;
    return &e;
}

#endif
