// Renders every factory program at several rates and block patterns, with
// parameter changes at random frames inside the blocks, through a built
// plug-in of either format, and prints one hash of the output per case:
//
//   vantelor_vst3_render_matrix vst2 PLUGIN   (the block split at each change)
//   vantelor_vst3_render_matrix vst3 BINARY   (the changes as queue points)
//
// The two formats, and the Linux and Windows builds, must print the same
// lines: the Windows build's VST3 module under Wine against the Linux build's
// VST 2.4 plug-in is the cross-build test.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "plugin/VstInterface.h"
#include "product/VantelorDescription.h"
#include "tests/support/PluginModule.h"
#include "tests/vst3/Vst3Host.h"

namespace {

using namespace vantelor_vst3_test;

struct Change
{
    int32_t frame;
    int32_t index;
    float normalised;
};

struct Block
{
    std::vector<float> in[2];
    std::vector<Change> changes;
};

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

uint64_t fnv(uint64_t hash, const float* data, size_t count)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (size_t i = 0; i < count * sizeof(float); ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// The input and the changes of each block, the same for both formats.
std::vector<Block> blocksOf(uint32_t seed, const std::vector<int32_t>& pattern, int32_t frames)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> sample(-0.7f, 0.7f);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    std::vector<Block> blocks;
    for (int32_t done = 0; done < frames;) {
        Block b;
        const int32_t n = pattern[blocks.size() % pattern.size()];
        for (auto& channel : b.in) {
            channel.resize(static_cast<size_t>(n));
            for (float& s : channel)
                s = sample(random);
        }
        if (!blocks.empty() && n > 0) {
            std::vector<int> used;
            const int count = static_cast<int>(random() % 4);
            for (int k = 0; k < count; ++k) {
                const int index = static_cast<int>(random() % kNumVantelorParameters);
                bool seen = false;
                for (int u : used)
                    seen = seen || u == index;
                if (seen)
                    continue;
                used.push_back(index);
                b.changes.push_back({static_cast<int32_t>(random() % static_cast<uint32_t>(n)),
                                     index, value(random)});
            }
            for (size_t i = 1; i < b.changes.size(); ++i)
                for (size_t j = i; j > 0 && b.changes[j].frame < b.changes[j - 1].frame; --j)
                    std::swap(b.changes[j], b.changes[j - 1]);
        }
        done += n;
        blocks.push_back(std::move(b));
    }
    return blocks;
}

bool renderVst2(const char* path, int program, float rate, const std::vector<Block>& blocks,
                uint64_t* hash)
{
    vantelor_test::PluginModule module(path);
    auto entry = module.entry();
    AEffect* effect = entry ? entry(host) : nullptr;
    if (!effect)
        return false;
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, rate);
    effect->dispatcher(effect, effSetBlockSize, 0, 8192, nullptr, 0);
    effect->dispatcher(effect, effSetProgram, 0, program, nullptr, 0);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0);
    std::vector<float> out[2] = {std::vector<float>(8192), std::vector<float>(8192)};
    for (const Block& b : blocks) {
        const auto n = static_cast<int32_t>(b.in[0].size());
        int32_t at = 0;
        for (size_t k = 0; k <= b.changes.size(); ++k) {
            const int32_t end = k < b.changes.size() ? b.changes[k].frame : n;
            if (end > at) {
                float* in[2] = {const_cast<float*>(b.in[0].data()) + at,
                                const_cast<float*>(b.in[1].data()) + at};
                float* o[2] = {out[0].data() + at, out[1].data() + at};
                effect->processReplacing(effect, in, o, end - at);
                at = end;
            }
            if (k < b.changes.size())
                effect->setParameter(effect, b.changes[k].index, b.changes[k].normalised);
        }
        for (const auto& channel : out)
            *hash = fnv(*hash, channel.data(), static_cast<size_t>(n));
    }
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0);
    return true;
}

bool renderVst3(const char* path, int program, float rate, const std::vector<Block>& blocks,
                uint64_t* hash)
{
    Vst3Module module(path);
    Vst3Instance instance(module.factory);
    if (!instance.ok())
        return false;
    ParamChanges changes;
    for (int i = 0; i < kNumVantelorParameters; ++i)
        changes.add(static_cast<vst3::ParamID>(i), 0,
                    vantelor::toNormalised(i, kVantelorFactoryPrograms[program].values[i]));
    if (!instance.start(rate))
        return false;
    std::vector<float> out[2] = {std::vector<float>(8192), std::vector<float>(8192)};
    for (const Block& b : blocks) {
        const auto n = static_cast<int32_t>(b.in[0].size());
        for (const Change& c : b.changes)
            changes.add(static_cast<vst3::ParamID>(c.index), c.frame, c.normalised);
        float* in[2] = {const_cast<float*>(b.in[0].data()), const_cast<float*>(b.in[1].data())};
        float* o[2] = {out[0].data(), out[1].data()};
        if (instance.process(in, o, n, &changes) != vst3::kResultOk)
            return false;
        changes.clear();
        for (const auto& channel : out)
            *hash = fnv(*hash, channel.data(), static_cast<size_t>(n));
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "vst2") != 0 && std::strcmp(argv[1], "vst3") != 0)) {
        std::fprintf(stderr, "usage: vantelor_vst3_render_matrix vst2|vst3 PLUGIN\n");
        return 2;
    }
    const bool vst3Format = std::strcmp(argv[1], "vst3") == 0;
    const struct
    {
        float rate;
        std::vector<int32_t> blocks;
    } cases[] = {
        {44100.0f, {512}},
        {48000.0f, {1, 64, 0, 333, 8192}},
        {96000.0f, {4096, 17}},
        {22050.0f, {128, 7}},
    };
    for (int program = 0; program < kNumVantelorFactoryPrograms; ++program)
        for (const auto& c : cases) {
            const std::vector<Block> blocks =
                blocksOf(1000u + static_cast<uint32_t>(program), c.blocks, 12000);
            uint64_t hash = 0xcbf29ce484222325ull;
            const bool ok = vst3Format ? renderVst3(argv[2], program, c.rate, blocks, &hash)
                                       : renderVst2(argv[2], program, c.rate, blocks, &hash);
            if (!ok) {
                std::fprintf(stderr, "error: cannot load %s\n", argv[2]);
                return 2;
            }
            std::printf("%-16s %6.0f Hz  %016llx\n", kVantelorFactoryPrograms[program].name,
                        static_cast<double>(c.rate), static_cast<unsigned long long>(hash));
        }
    return 0;
}
