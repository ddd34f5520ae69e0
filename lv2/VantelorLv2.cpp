// The LV2 DSP binary: the product's processor over an engine of its own, as
// the VST plug-in hands values to its engine. Control ports are handed over
// at the start of each run, activate and deactivate become resume and
// suspend, run renders the block.
#include <lv2/core/lv2.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "lv2/VantelorPorts.h"
#include "product/VantelorProcessor.h"

namespace {

using namespace vantelor_lv2;

struct Instance
{
    explicit Instance(double rate) { dsp.processor.setSampleRate(static_cast<float>(rate)); }

    vantelor::CVantelorDsp dsp;
    const float* controls[kNumVantelorParameters] = {};
    const float* inputs[2] = {};
    float* outputs[2] = {};
    // The control values last handed to the plug-in, bit for bit, so that a
    // NaN the host keeps sending is handed over once, as any other value.
    uint32_t handedOver[kNumVantelorParameters] = {};
    // Set by activate: the first run hands over every control value and then
    // starts the engine from them, as a VST resume starts from the values
    // set before it.
    bool starting = true;
};

uint32_t bitsOf(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const*)
{
    // The engine clamps the rate to what it supports; a rate that is not a
    // number is its lowest.
    try {
        return new Instance(rate);
    } catch (...) {
        return nullptr;
    }
}

void connectPort(LV2_Handle handle, uint32_t port, void* data)
{
    auto* self = static_cast<Instance*>(handle);
    if (port < kNumVantelorParameters)
        self->controls[port] = static_cast<const float*>(data);
    else if (port == kInLeft || port == kInRight)
        self->inputs[port - kInLeft] = static_cast<const float*>(data);
    else if (port == kOutLeft || port == kOutRight)
        self->outputs[port - kOutLeft] = static_cast<float*>(data);
}

void activate(LV2_Handle handle)
{
    static_cast<Instance*>(handle)->starting = true;
}

// Hands each control value that changed since the last run to the processor
// as its normalised value (the store's own arithmetic, so a value in units
// reaches the engine exactly as the VST build's does). A port not connected
// keeps its last value.
void handOverControls(Instance& self, bool all)
{
    for (int i = 0; i < kNumVantelorParameters; ++i) {
        const float* port = self.controls[i];
        if (!port)
            continue;
        const float units = *port;
        const uint32_t bits = bitsOf(units);
        if (!all && bits == self.handedOver[i])
            continue;
        self.handedOver[i] = bits;
        self.dsp.processor.setValue(i, vantelorToNormalised(i, units));
    }
}

void run(LV2_Handle handle, uint32_t frames)
{
    auto& self = *static_cast<Instance*>(handle);
    handOverControls(self, self.starting);
    if (self.starting) {
        self.starting = false;
        self.dsp.processor.resume();
    }
    // Any length: the engine ignores empty blocks and missing buffers, and
    // renders in the same way whatever the length; a count beyond the
    // processor's signed range is handed over in pieces.
    if (!self.inputs[0] || !self.inputs[1] || !self.outputs[0] || !self.outputs[1])
        return;
    constexpr uint32_t kPiece = 1u << 30;
    for (uint32_t done = 0; done < frames;) {
        const uint32_t n = frames - done < kPiece ? frames - done : kPiece;
        float* inputs[2] = {const_cast<float*>(self.inputs[0]) + done,
                            const_cast<float*>(self.inputs[1]) + done};
        float* outputs[2] = {self.outputs[0] + done, self.outputs[1] + done};
        self.dsp.processor.process(inputs, outputs, static_cast<int32_t>(n));
        done += n;
    }
}

void deactivate(LV2_Handle handle)
{
    static_cast<Instance*>(handle)->dsp.processor.suspend();
}

void cleanup(LV2_Handle handle)
{
    delete static_cast<Instance*>(handle);
}

const void* extensionData(const char*)
{
    return nullptr;
}

const LV2_Descriptor kDescriptor = {kPluginUri, instantiate, connectPort, activate,
                                    run,        deactivate,  cleanup,     extensionData};

} // namespace

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor*
lv2_descriptor(uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
