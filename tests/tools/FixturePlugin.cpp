// A small VST 2.4 effect for testing the host against known behaviour: three
// parameters with an increasing, a decreasing and a worded display; program
// names only through effSetProgram + effGetProgramName; a parameter name far
// past the 8-character limit; two inputs and three outputs, the third carrying
// the first parameter's value while the transport it reads back from the host
// during processing is consistent.
//
// Built in variants: FIXTURE_NULL_EFFECT makes the entry return no record,
// FIXTURE_NO_ENTRY exports no entry at all.
//
// FIXTURE_VALIDATION builds a well-behaved effect for the validator instead:
// names within their limits, the third output a smoothed mix of the inputs
// scaled by the first parameter, non-finite input and parameters ignored.
// Each FIXTURE_FAULT_* then adds one known fault to it:
//   TEXT_OVERFLOW    a parameter label longer than the host's buffer
//   STICKY_NAN       non-finite input poisons the smoother for good
//   ALLOCATES        allocates memory in every processReplacing call
//   FORGETS_PROGRAM  selecting a program resets the parameters
//   SKIPS_FRAMES     leaves the last frames of blocks not a multiple of 4 unwritten
//   CRASHES_AT_HIGH_RATES  aborts when processing above 150 kHz
//   SUBNORMALS       lets the smoother decay through subnormal numbers
// FIXTURE_EDITOR adds an editor: a child window in the host's window, on a
// display connection of its own, that notices when the host destroyed its
// window first. With it:
//   EDITOR_GROWS     effEditGetRect answers a larger size after every open
//   EDITOR_IGNORES_DESTROYED_WINDOW  destroys its window again after the host did
#include "plugin/VstInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(FIXTURE_EDITOR)
#include <X11/Xlib.h>
#endif

#if defined(FIXTURE_NO_ENTRY)

extern "C" __attribute__((visibility("default"))) int fixtureNotAnEntry()
{
    return 0;
}

#else

namespace {

#if defined(FIXTURE_NULL_EFFECT)
constexpr bool kReturnNoEffect = true;
#else
constexpr bool kReturnNoEffect = false;
#endif

#if defined(FIXTURE_VALIDATION)
constexpr bool kValidation = true;
#else
constexpr bool kValidation = false;
#endif

#if defined(FIXTURE_FAULT_TEXT_OVERFLOW)
constexpr const char* kPanLabel = "degrees of arc";
#else
constexpr const char* kPanLabel = "deg";
#endif

constexpr float kDefaults[] = {0.5f, 0.5f, 0.0f};
constexpr int kParams = 3;
constexpr int kPrograms = 3;
constexpr const char* kProgramNames[kPrograms] = {"Alpha", "Beta", "Gamma"};

struct Fixture
{
    AEffect effect{};
    audioMasterCallback host = nullptr;
    float values[kParams] = {kDefaults[0], kDefaults[1], kDefaults[2]};
    float smoothed = 0.0f;
#if defined(FIXTURE_EDITOR)
    Display* display = nullptr;
    Window window = 0;
    int opens = 0;
    ERect rect{};
#endif
    int program = 1;
    double framesProcessed = 0.0;
    float sampleRate = 0.0f;
};

Fixture* self(AEffect* effect)
{
    return static_cast<Fixture*>(effect->object);
}

void display(const Fixture& f, int index, char* text)
{
    constexpr size_t kSize = kVstMaxParamStrLen + 1;
    switch (index) {
    case 0: // "Pan": -60..60, one decimal, increasing
        std::snprintf(text, kSize, "%.1f", -60.0 + 120.0 * f.values[0]);
        break;
    case 1: // "Depth": 100..0 percent, whole numbers, decreasing
        std::snprintf(text, kSize, "%.0f", 100.0 - 100.0 * f.values[1]);
        break;
    default:
        std::strcpy(text, f.values[2] >= 0.5f ? "On" : "Off");
        break;
    }
}

#if defined(FIXTURE_EDITOR)
// Reads the editor's events; forgets its window when the host destroyed it.
void readEditorEvents(Fixture& f)
{
    while (f.display != nullptr && XPending(f.display) > 0) {
        XEvent event{};
        XNextEvent(f.display, &event);
#if !defined(FIXTURE_FAULT_EDITOR_IGNORES_DESTROYED_WINDOW)
        if (event.type == DestroyNotify && event.xdestroywindow.window == f.window)
            f.window = 0;
#endif
    }
}

VstIntPtr editor(Fixture& f, VstInt32 opcode, void* ptr)
{
    switch (opcode) {
    case effEditGetRect: {
        int grow = 0;
#if defined(FIXTURE_FAULT_EDITOR_GROWS)
        grow = f.opens;
#endif
        f.rect = ERect{0, 0, static_cast<VstInt16>(100 + grow), static_cast<VstInt16>(200 + grow)};
        *static_cast<ERect**>(ptr) = &f.rect;
        return 1;
    }
    case effEditOpen:
        if (f.display == nullptr)
            f.display = XOpenDisplay(nullptr);
        if (f.display == nullptr || ptr == nullptr || f.window != 0)
            return 0;
        f.window =
            XCreateSimpleWindow(f.display, reinterpret_cast<Window>(ptr), 0, 0, 200, 100, 0, 0, 0);
        XSelectInput(f.display, f.window, StructureNotifyMask);
        XMapWindow(f.display, f.window);
        XSync(f.display, False);
        ++f.opens;
        return 1;
    case effEditIdle:
        readEditorEvents(f);
        return 1;
    case effEditClose:
        if (f.window == 0)
            return 0;
        // The host may have destroyed its window, and ours with it, just now.
        XSync(f.display, False);
        readEditorEvents(f);
        if (f.window != 0)
            XDestroyWindow(f.display, f.window);
        XSync(f.display, False);
        f.window = 0;
        return 0;
    default:
        return 0;
    }
}
#endif

VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float opt)
{
    Fixture& f = *self(effect);
    char* text = static_cast<char*>(ptr);
#if defined(FIXTURE_EDITOR)
    if (opcode == effEditGetRect || opcode == effEditOpen || opcode == effEditIdle ||
        opcode == effEditClose)
        return editor(f, opcode, ptr);
#endif
    switch (opcode) {
    case effClose:
#if defined(FIXTURE_EDITOR)
        if (f.display != nullptr)
            XCloseDisplay(f.display);
#endif
        delete &f;
        return 1;
    case effSetProgram:
        if (value >= 0 && value < kPrograms)
            f.program = static_cast<int>(value);
#if defined(FIXTURE_FAULT_FORGETS_PROGRAM)
        std::copy(kDefaults, kDefaults + kParams, f.values);
#endif
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
            std::strcpy(text, kValidation ? "Depth"
                                          : "Depth of the modulation, much longer than allowed");
        else
            std::strcpy(text, "Mode");
        return 0;
    case effGetParamDisplay:
        if (index >= 0 && index < kParams)
            display(f, index, text);
        return 0;
    case effGetParamLabel:
        std::strcpy(text, index == 0 ? kPanLabel : index == 1 ? "%" : "");
        return 0;
    case effSetSampleRate:
        f.sampleRate = opt;
        return 0;
    case effMainsChanged:
        f.framesProcessed = 0.0;
        f.smoothed = 0.0f;
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

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value)
{
    if (index >= 0 && index < kParams)
        self(effect)->values[index] = value;
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index)
{
    return index >= 0 && index < kParams ? self(effect)->values[index] : 0.0f;
}

float finiteOrZero(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    Fixture& f = *self(effect);
    if (kValidation) {
#if defined(FIXTURE_FAULT_ALLOCATES)
        // Through a volatile pointer, so that the compiler cannot drop the pair.
        static void* (*volatile allocate)(size_t) = std::malloc;
        std::free(allocate(64));
#endif
#if defined(FIXTURE_FAULT_CRASHES_AT_HIGH_RATES)
        if (f.sampleRate > 150000.0f)
            std::abort();
#endif
#if defined(FIXTURE_FAULT_SKIPS_FRAMES)
        frames &= ~3;
#endif
        const float gain = std::clamp(finiteOrZero(f.values[0]), 0.0f, 1.0f);
        for (VstInt32 i = 0; i < frames; ++i) {
            outputs[0][i] = inputs[0][i];
            outputs[1][i] = inputs[1][i];
#if defined(FIXTURE_FAULT_STICKY_NAN)
            const float mix = inputs[0][i] + inputs[1][i];
#else
            const float mix = finiteOrZero(inputs[0][i]) + finiteOrZero(inputs[1][i]);
#endif
            f.smoothed = 0.5f * f.smoothed + 0.25f * std::clamp(mix, -4.0f, 4.0f);
#if !defined(FIXTURE_FAULT_SUBNORMALS)
            // Decay stops short of subnormal numbers.
            if (std::fabs(f.smoothed) < 1e-20f)
                f.smoothed = 0.0f;
#endif
            outputs[2][i] = gain * f.smoothed;
        }
        return;
    }
    // Calls back into the host from the audio thread, as many plug-ins do.
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        f.host(effect, audioMasterGetTime, 0, 0, nullptr, 0.0f));
    const bool consistent =
        time != nullptr && time->samplePos == f.framesProcessed && time->sampleRate == f.sampleRate;
    for (VstInt32 i = 0; i < frames; ++i) {
        outputs[0][i] = inputs[0][i];
        outputs[1][i] = inputs[1][i];
        outputs[2][i] = consistent ? f.values[0] : std::numeric_limits<float>::quiet_NaN();
    }
    f.framesProcessed += frames;
}

} // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host)
{
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
#if defined(FIXTURE_EDITOR)
    e.flags |= effFlagsHasEditor;
#endif
    e.uniqueID = vstFourCC('F', 'i', 'x', 't');
    e.version = 1;
    e.object = f;
    return &e;
}

#endif
