// Renders a fixed matrix through the built plug-in and prints one hash of
// the output bits per case: the eight programs at rates from 22050 to
// 192000 Hz (odd ones among them), blocks of 1 to 4096 frames, parameter
// and program changes and Active toggles between blocks, NaN and infinite
// input. The Linux and Windows builds must print the same lines.
//
// vantelor_render_matrix PLUGIN
#include "dsp/NumericHelpers.h"
#include "product/VantelorParameters.h"
#include "tests/support/PluginModule.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

// Integer-only generator, so the input is the same bits on every build.
struct Lcg
{
    uint32_t state;
    uint32_t next() { return state = state * 1664525u + 1013904223u; }
    // -1..1
    float sample()
    {
        return static_cast<float>(static_cast<int32_t>(next())) * (1.0f / 2147483648.0f);
    }
    float unit() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }
};

struct Hash
{
    uint64_t value = kHashStart;
    void add(const float* data, int32_t n)
    {
        for (int32_t i = 0; i < n; ++i)
            value = hashWord(value, data[i]);
    }
};

constexpr int32_t kBlockPattern[] = {1, 17, 64, 333, 4096, 2, 512, 3, 1000, 128};

// One case: returns the hash of both outputs, block by block.
uint64_t renderCase(vantelor_test::PluginEntry entry, int program, float rate,
                    const int32_t* blocks, int blockCount, int frames, bool events, uint32_t seed)
{
    AEffect* effect = entry(host);
    if (!effect)
        return 0;
    auto call = [&](VstInt32 opcode, VstIntPtr value = 0, float opt = 0) {
        return effect->dispatcher(effect, opcode, 0, value, nullptr, opt);
    };
    call(effSetSampleRate, 0, rate);
    call(effSetBlockSize, 4096);
    call(effSetProgram, program);
    call(effMainsChanged, 1);

    Lcg noise{seed};
    std::vector<float> inL(4096), inR(4096), outL(4096), outR(4096);
    Hash hash;
    int position = 0;
    for (int k = 0; position < frames; ++k) {
        const int32_t n = blocks[k % blockCount];
        for (int32_t i = 0; i < n; ++i) {
            const int t = position + i;
            // A saw on the left, noise bursts on the right, and now and then
            // a value no signal should carry.
            inL[i] = 0.5f * static_cast<float>(t % 200 - 100) * 0.01f;
            inR[i] = (t / 3000) % 2 == 0 ? 0.7f * noise.sample() : 0.0f;
            if (t % 4999 == 17)
                inL[i] = NAN;
            if (t % 7919 == 5)
                inR[i] = INFINITY;
        }
        if (events) {
            if (k % 5 == 2) {
                const VstInt32 index = static_cast<VstInt32>(noise.next() % 8);
                effect->setParameter(effect, index, noise.unit());
            }
            if (k % 11 == 7) {
                const VstInt32 active = (k / 11) % 2 == 0 ? 2 : 6;
                effect->setParameter(effect, active,
                                     effect->getParameter(effect, active) > 0.5f ? 0.0f : 1.0f);
            }
            if (k % 13 == 5)
                call(effSetProgram, (program + k) % 8);
            if (k % 17 == 9) {
                // Two moves of one parameter between blocks.
                effect->setParameter(effect, kElevL, 0.1f);
                effect->setParameter(effect, kElevL, 0.9f);
            }
        }
        float* inputs[2] = {inL.data(), inR.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        effect->processReplacing(effect, inputs, outputs, n);
        hash.add(outL.data(), n);
        hash.add(outR.data(), n);
        position += n;
    }
    call(effMainsChanged, 0);
    call(effClose);
    return hash.value;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantelor_render_matrix PLUGIN\n");
        return 2;
    }
    const vantelor_test::PluginModule library(argv[1]);
    if (!library.entry()) {
        std::fprintf(stderr, "error: cannot load %s\n", argv[1]);
        return 2;
    }
    const float rates[] = {22050, 22051, 32000,  44100,  47999,  48000,
                           88200, 96000, 133333, 176400, 191999, 192000};
    int cases = 0;
    for (int program = 0; program < 8; ++program) {
        for (float rate : rates) {
            const uint64_t h =
                renderCase(library.entry(), program, rate, kBlockPattern,
                           sizeof(kBlockPattern) / sizeof(kBlockPattern[0]), 24000, true,
                           static_cast<uint32_t>(program * 1000 + static_cast<int>(rate)));
            std::printf("program %d rate %.0f events %016" PRIx64 "\n", program, rate, h);
            ++cases;
        }
    }
    // Each block size on its own, without events.
    for (int32_t block : {1, 2, 3, 5, 31, 64, 256, 1000, 2048, 4096}) {
        const uint64_t h = renderCase(library.entry(), 3, 44100, &block, 1, 12288, false, 7);
        std::printf("program 3 rate 44100 block %d %016" PRIx64 "\n", block, h);
        ++cases;
    }
    std::printf("cases %d\n", cases);
    return 0;
}
