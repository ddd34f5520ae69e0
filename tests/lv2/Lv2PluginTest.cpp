// The LV2 bundle as lilv loads it: its descriptions say what the parameter
// table and the factory programs say, and it renders exactly what the VST
// build renders, program by program, at several rates and block patterns
// with changes between blocks.
#include <gtest/gtest.h>

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/presets/presets.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "product/VantelorDescription.h"
#include "tests/lv2/Lv2Host.h"
#include "tests/support/BuiltPlugin.h"

namespace {

using namespace vantelor_test;
using namespace vantelor_lv2;

constexpr const char* kLv2 = "http://lv2plug.in/ns/lv2core#";

std::string lv2(const char* name)
{
    return std::string(kLv2) + name;
}

// The control ports as lilv reads them from the generated description.
TEST(Lv2Description, PortsFollowTheParameterTable)
{
    Lv2World w;
    ASSERT_NE(w.plugin, nullptr) << "no plug-in " << kPluginUri << " in " << VANTELOR_LV2_BUNDLE;
    EXPECT_STREQ(lilv_node_as_string(lilv_plugin_get_name(w.plugin)), "HF_Vantelor");
    ASSERT_EQ(lilv_plugin_get_num_ports(w.plugin), static_cast<uint32_t>(kNumPorts));
    EXPECT_FALSE(lilv_plugin_has_latency(w.plugin));
    LilvNodes* required = lilv_plugin_get_required_features(w.plugin);
    EXPECT_EQ(lilv_nodes_size(required), 0u) << "lv2apply and lv2bench offer no features";
    lilv_nodes_free(required);
    EXPECT_TRUE(lilv_plugin_has_feature(w.plugin, w.node(lv2("hardRTCapable").c_str())));

    std::vector<float> mins(kNumPorts), maxs(kNumPorts), defs(kNumPorts);
    lilv_plugin_get_port_ranges_float(w.plugin, mins.data(), maxs.data(), defs.data());
    const LilvNode* control = w.node(lv2("ControlPort").c_str());
    const LilvNode* input = w.node(lv2("InputPort").c_str());
    const LilvNode* toggled = w.node(lv2("toggled").c_str());
    const LilvNode* unitPredicate = w.node("http://lv2plug.in/ns/extensions/units#unit");
    for (uint32_t i = 0; i < kNumVantelorParameters; ++i) {
        SCOPED_TRACE(kVantelorParameters[i].name);
        const VantelorParameterDefinition& p = kVantelorParameters[i];
        const LilvPort* port = lilv_plugin_get_port_by_index(w.plugin, i);
        ASSERT_NE(port, nullptr);
        EXPECT_TRUE(lilv_port_is_a(w.plugin, port, control));
        EXPECT_TRUE(lilv_port_is_a(w.plugin, port, input));
        EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(w.plugin, port)), kControlSymbols[i]);
        LilvNode* name = lilv_port_get_name(w.plugin, port);
        EXPECT_STREQ(lilv_node_as_string(name), p.name);
        lilv_node_free(name);
        EXPECT_EQ(mins[i], p.min);
        EXPECT_EQ(maxs[i], p.max);
        EXPECT_EQ(defs[i], p.defaultValue);
        EXPECT_EQ(lilv_port_has_property(w.plugin, port, toggled),
                  std::string(p.name).find("Active") == 0);
        LilvNodes* units = lilv_port_get_value(w.plugin, port, unitPredicate);
        const std::string unit =
            units && lilv_nodes_size(units) ? lilv_node_as_uri(lilv_nodes_get_first(units)) : "";
        lilv_nodes_free(units);
        const std::string label = p.label;
        const std::string expected = label == "deg" ? "units#degree"
                                     : label == "%" ? "units#pc"
                                                    : "";
        EXPECT_EQ(unit.empty(), expected.empty()) << unit;
        EXPECT_NE(unit.find(expected), std::string::npos) << unit;
    }
    const LilvNode* audio = w.node(lv2("AudioPort").c_str());
    for (const AudioPortName& a : kAudioPorts) {
        const LilvPort* port = lilv_plugin_get_port_by_index(w.plugin, a.index);
        ASSERT_NE(port, nullptr);
        EXPECT_TRUE(lilv_port_is_a(w.plugin, port, audio));
        EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(w.plugin, port)), a.symbol);
        EXPECT_EQ(lilv_port_is_a(w.plugin, port, w.node(lv2("OutputPort").c_str())), a.output);
    }
}

// A preset's values, restored the way a host restores them.
struct PresetValues
{
    std::string label;
    float values[kNumVantelorParameters];
    bool seen[kNumVantelorParameters] = {};
};

std::vector<PresetValues> loadPresets(Lv2World& w)
{
    std::vector<PresetValues> found;
    LilvNodes* presets = lilv_plugin_get_related(w.plugin, w.node(LV2_PRESETS__Preset));
    LILV_FOREACH(nodes, it, presets)
    {
        const LilvNode* preset = lilv_nodes_get(presets, it);
        lilv_world_load_resource(w.world, preset);
        PresetValues p;
        p.label = w.get(preset, "http://www.w3.org/2000/01/rdf-schema#label");
        LilvState* state = lilv_state_new_from_world(w.world, &w.urid, preset);
        if (!state)
            continue;
        const LV2_URID floatType = w.urid.map(w.urid.handle, LV2_ATOM__Float);
        struct Restore
        {
            PresetValues* p;
            LV2_URID floatType;
        } restore{&p, floatType};
        lilv_state_restore(
            state, nullptr,
            [](const char* symbol, void* user, const void* value, uint32_t size, uint32_t type) {
                auto* r = static_cast<Restore*>(user);
                for (int i = 0; i < kNumVantelorParameters; ++i)
                    if (std::strcmp(symbol, kControlSymbols[i]) == 0 && type == r->floatType &&
                        size == sizeof(float)) {
                        std::memcpy(&r->p->values[i], value, sizeof(float));
                        r->p->seen[i] = true;
                    }
            },
            &restore, 0, nullptr);
        lilv_state_free(state);
        found.push_back(p);
    }
    lilv_nodes_free(presets);
    return found;
}

TEST(Lv2Description, TheEightFactoryProgramsArePresetsWithTheirNamesAndValues)
{
    Lv2World w;
    ASSERT_NE(w.plugin, nullptr);
    const std::vector<PresetValues> presets = loadPresets(w);
    ASSERT_EQ(presets.size(), static_cast<size_t>(kNumVantelorFactoryPrograms));
    for (const VantelorProgramDefinition& program : kVantelorFactoryPrograms) {
        SCOPED_TRACE(program.name);
        const PresetValues* p = nullptr;
        for (const PresetValues& candidate : presets)
            if (candidate.label == program.name)
                p = &candidate;
        ASSERT_NE(p, nullptr);
        for (int i = 0; i < kNumVantelorParameters; ++i) {
            EXPECT_TRUE(p->seen[i]) << kControlSymbols[i];
            EXPECT_EQ(p->values[i], program.values[i]) << kControlSymbols[i];
        }
    }
}

// The VST build, loaded from its binary, as the reference.
VstIntPtr referenceHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

struct RenderCase
{
    float rate;
    std::vector<uint32_t> blocks; // cycled
};

// Renders `frames` of a fixed signal through both builds with the same
// program, changing two values every few blocks; every sample must agree.
void expectSameRender(Lv2World& w, int program, const RenderCase& c, size_t frames)
{
    BuiltPlugin vst(referenceHost);
    ASSERT_NE(vst.effect, nullptr);
    vst.call(effSetSampleRate, 0, 0, nullptr, c.rate);
    vst.call(effSetBlockSize, 0, 8192);
    vst.call(effSetProgram, 0, program);

    Lv2Instance lv2(w.plugin, c.rate);
    ASSERT_NE(lv2.instance, nullptr);
    for (int i = 0; i < kNumVantelorParameters; ++i)
        lv2.controls[i] = kVantelorFactoryPrograms[program].values[i];

    vst.call(effMainsChanged, 0, 1);
    lilv_instance_activate(lv2.instance);

    std::mt19937 random(1234 + program);
    std::uniform_real_distribution<float> sample(-0.7f, 0.7f);
    std::vector<float> vstIn[2], vstOut[2];
    for (auto& v : vstIn)
        v.resize(8192);
    for (auto& v : vstOut)
        v.resize(8192);
    size_t done = 0;
    for (size_t block = 0; done < frames; ++block) {
        const uint32_t n = c.blocks[block % c.blocks.size()];
        for (uint32_t k = 0; k < n; ++k)
            for (int ch = 0; ch < 2; ++ch)
                lv2.in[ch][k] = vstIn[ch][k] = sample(random);
        if (block % 3 == 2) {
            // Azimuth and width sweep in units, as an automating host sends
            // them: normalised to the VST build, in units to the LV2 one.
            const int index[2] = {static_cast<int>(block / 3 % 2 == 0 ? kAziL : kElevR),
                                  static_cast<int>(kWidthR)};
            for (int which : index) {
                const float units =
                    std::sin(0.37f * static_cast<float>(block)) *
                        (kVantelorParameters[which].max - kVantelorParameters[which].min) * 0.5f +
                    0.5f * (kVantelorParameters[which].max + kVantelorParameters[which].min);
                lv2.controls[which] = units;
                vst.effect->setParameter(vst.effect, which, vantelorToNormalised(which, units));
            }
        }
        float* ins[2] = {vstIn[0].data(), vstIn[1].data()};
        float* outs[2] = {vstOut[0].data(), vstOut[1].data()};
        vst.effect->processReplacing(vst.effect, ins, outs, static_cast<VstInt32>(n));
        lv2.run(n);
        for (int ch = 0; ch < 2; ++ch)
            ASSERT_EQ(std::memcmp(vstOut[ch].data(), lv2.out[ch].data(), n * sizeof(float)), 0)
                << "channel " << ch << ", block " << block << " at frame " << done;
        done += n;
    }
    lilv_instance_deactivate(lv2.instance);
}

TEST(Lv2Render, EveryFactoryProgramEqualsTheVstBuildBitForBit)
{
    Lv2World w;
    ASSERT_NE(w.plugin, nullptr);
    const RenderCase cases[] = {
        {44100.0f, {512}},
        {48000.0f, {1, 64, 0, 333, 8192}},
        {96000.0f, {4096, 17}},
    };
    for (int program = 0; program < kNumVantelorFactoryPrograms; ++program)
        for (const RenderCase& c : cases) {
            SCOPED_TRACE(std::string(kVantelorFactoryPrograms[program].name) + " at " +
                         std::to_string(c.rate));
            expectSameRender(w, program, c, 20000);
        }
}

} // namespace
