// The built HF_Vantelor.clap through our CLAP host: what a host lists (entry,
// descriptor, ports, parameters, presets), the sound against the VST 2.4
// build bit for bit with changes and modulation at their frames, the starting
// state, the state's round trip and refusals, and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "product/VantelorDescription.h"
#include "tests/clap/ClapRender.h"
#include "tests/support/BuiltPlugin.h"
#include "tools/host/PluginInstance.h"

namespace {

using clap_host::ClapInstance;
using clap_host::ClapModule;
using clap_host::EventList;
using clap_test::StereoOut;
using namespace vantelor;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const ClapModule& module()
{
    static const ClapModule m(VANTELOR_CLAP_PLUGIN);
    return m;
}

// The scenario through the VST 2.4 build: the rate, the program and the
// first block's changes at frame 0 before the resume (a session's load), then
// each block split at its changes, each change's heard value set normalised.
StereoOut renderVst2(const clap_test::Scenario& s)
{
    vst2host::PluginInstance vst(vantelor_test::kBuiltPluginPath);
    const float rate = static_cast<float>(s.rate);
    vst.prepare(rate, 1024);
    vst.setProgram(s.program);
    std::size_t first = 0;
    const auto& opening = s.blocks.front().changes;
    for (; first < opening.size() && opening[first].frame == 0; ++first)
        vst.setParameter(opening[first].index,
                         toNormalised(opening[first].index, opening[first].heard));
    vst.start(rate, 1024);
    const std::size_t total = clap_test::totalFrames(s);
    std::vector<float> inL, inR;
    clap_test::testInput(inL, inR, total);
    StereoOut out{std::vector<float>(total), std::vector<float>(total)};
    std::size_t at = 0;
    for (std::size_t b = 0; b < s.blocks.size(); ++b) {
        const clap_test::Block& block = s.blocks[b];
        uint32_t done = 0;
        for (std::size_t c = b == 0 ? first : 0; c <= block.changes.size(); ++c) {
            const uint32_t end = c < block.changes.size() ? block.changes[c].frame : block.frames;
            if (end > done) {
                float* in[2] = {inL.data() + at + done, inR.data() + at + done};
                float* o[2] = {out.left.data() + at + done, out.right.data() + at + done};
                vst.process(in, o, static_cast<int32_t>(end - done));
                done = end;
            }
            if (c < block.changes.size())
                vst.setParameter(block.changes[c].index,
                                 toNormalised(block.changes[c].index, block.changes[c].heard));
        }
        at += block.frames;
    }
    return out;
}

void expectIdentical(const StereoOut& a, const StereoOut& b, const std::string& what)
{
    ASSERT_EQ(a.left.size(), b.left.size()) << what;
    for (std::size_t i = 0; i < a.left.size(); ++i) {
        ASSERT_EQ(a.left[i], b.left[i]) << what << ", left, frame " << i;
        ASSERT_EQ(a.right[i], b.right[i]) << what << ", right, frame " << i;
    }
}

class ClapPlugin : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(module().loaded()) << module().error(); }
};

TEST_F(ClapPlugin, ListsOneStereoEffectDescribedByTheProduct)
{
    const clap_plugin_factory_t* factory = module().pluginFactory();
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory->get_plugin_count(factory), 1u);
    EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
    const clap_plugin_descriptor_t* d = factory->get_plugin_descriptor(factory, 0);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->id, kClapId);
    EXPECT_STREQ(d->name, kProductName);
    EXPECT_STREQ(d->vendor, kVendorName);
    EXPECT_STREQ(d->url, kProductUrl);
    EXPECT_STREQ(d->version, kVersionText);
    std::vector<std::string> features;
    for (const char* const* f = d->features; f && *f; ++f) {
        EXPECT_EQ(std::count(features.begin(), features.end(), *f), 0) << "twice: " << *f;
        features.emplace_back(*f);
    }
    EXPECT_EQ(features.front(), "audio-effect");
    EXPECT_NE(std::find(features.begin(), features.end(), "stereo"), features.end());
    // Another id, or a host from before the first stable version, gets no
    // instance.
    const clap_host_t host{{0, 9, 0}, nullptr, "", "", "", "", nullptr, nullptr, nullptr, nullptr};
    EXPECT_EQ(factory->create_plugin(factory, &host, kClapId), nullptr);
    const std::string garbage = std::string(kClapId) + "x";
    EXPECT_EQ(factory->create_plugin(factory, &host, garbage.c_str()), nullptr);
    EXPECT_EQ(factory->create_plugin(factory, nullptr, kClapId), nullptr);
    // The instance's descriptor is the factory's.
    ClapInstance good(module());
    ASSERT_TRUE(good.valid());
    EXPECT_STREQ(good.get()->desc->id, d->id);
    EXPECT_STREQ(good.get()->desc->version, d->version);
    EXPECT_EQ(module().factory("clap.no-such-factory"), nullptr);
}

TEST_F(ClapPlugin, HasOneStereoPairInPlaceNoLatencyNoTailAndNoNotePorts)
{
    ClapInstance plugin(module());
    ASSERT_TRUE(plugin.valid());
    const auto* ports = plugin.extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
    ASSERT_NE(ports, nullptr);
    for (bool input : {true, false}) {
        ASSERT_EQ(ports->count(plugin.get(), input), 1u);
        clap_audio_port_info_t info{};
        ASSERT_TRUE(ports->get(plugin.get(), 0, input, &info));
        EXPECT_EQ(info.channel_count, 2u);
        EXPECT_STREQ(info.port_type, CLAP_PORT_STEREO);
        EXPECT_EQ(info.flags & CLAP_AUDIO_PORT_IS_MAIN, CLAP_AUDIO_PORT_IS_MAIN);
        EXPECT_EQ(info.in_place_pair, info.id);
        EXPECT_FALSE(ports->get(plugin.get(), 1, input, &info));
    }
    const auto* latency = plugin.extension<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
    const auto* tail = plugin.extension<clap_plugin_tail_t>(CLAP_EXT_TAIL);
    ASSERT_TRUE(latency && tail);
    ASSERT_TRUE(plugin.activate(48000));
    EXPECT_EQ(latency->get(plugin.get()), 0u);
    EXPECT_EQ(tail->get(plugin.get()), 0u);
    EXPECT_EQ(plugin.extension<void>(CLAP_EXT_NOTE_PORTS), nullptr);
    EXPECT_EQ(plugin.extension<void>("clap.no-such-extension"), nullptr);
    EXPECT_EQ(plugin.extension<void>(nullptr), nullptr);
}

TEST_F(ClapPlugin, ParametersCarryTheDescriptionsIdsRangesModulesAndFlags)
{
    ClapInstance plugin(module());
    ASSERT_EQ(plugin.parameterCount(), static_cast<uint32_t>(kNumVantelorParameters));
    for (uint32_t i = 0; i < plugin.parameterCount(); ++i) {
        const ParameterDescription& p = kVantelorParameters[i];
        clap_param_info_t info{};
        ASSERT_TRUE(plugin.parameterInfo(i, &info));
        EXPECT_EQ(info.id, p.id);
        EXPECT_STREQ(info.name, p.name);
        EXPECT_STREQ(info.module, groupName(p.group));
        EXPECT_EQ(info.min_value, p.min);
        EXPECT_EQ(info.max_value, p.max);
        EXPECT_EQ(info.default_value, p.defaultValue);
        EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE) << p.name;
        const bool toggle = p.kind == Kind::toggle;
        EXPECT_EQ((info.flags & CLAP_PARAM_IS_STEPPED) != 0, toggle) << p.name;
        EXPECT_EQ((info.flags & CLAP_PARAM_IS_MODULATABLE) != 0, !toggle) << p.name;
        EXPECT_EQ(plugin.value(info.id), kVantelorFactoryPrograms[0].values[i]);
    }
    clap_param_info_t info{};
    EXPECT_FALSE(plugin.parameterInfo(kNumVantelorParameters, &info));
}

TEST_F(ClapPlugin, ValuesToTextAndBack)
{
    ClapInstance plugin(module());
    const auto* params = plugin.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    ASSERT_NE(params, nullptr);
    const struct
    {
        clap_id id;
        double value;
        const char* text;
    } cases[] = {
        {kAziL, -45.0, "-45.0 deg"}, {kElevR, 12.5, "12.5 deg"}, {kWidthL, 80.0, "80 %"},
        {kActiveL, 1.0, "On"},       {kActiveR, 0.0, "Off"},     {kAziR, 500.0, "60.0 deg"},
    };
    for (const auto& c : cases) {
        char text[64];
        ASSERT_TRUE(params->value_to_text(plugin.get(), c.id, c.value, text, sizeof text));
        EXPECT_STREQ(text, c.text);
        double back = kNaN;
        ASSERT_TRUE(params->text_to_value(plugin.get(), c.id, text, &back)) << text;
        EXPECT_EQ(back, std::clamp(c.value, static_cast<double>(kVantelorParameters[c.id].min),
                                   static_cast<double>(kVantelorParameters[c.id].max)));
    }
    char small[4];
    ASSERT_TRUE(params->value_to_text(plugin.get(), kAziL, -45.0, small, sizeof small));
    EXPECT_EQ(std::strlen(small), 3u);
    double v = 0;
    EXPECT_TRUE(params->text_to_value(plugin.get(), kActiveL, "off", &v));
    EXPECT_EQ(v, 0.0);
    EXPECT_TRUE(params->text_to_value(plugin.get(), kAziL, "-30", &v));
    EXPECT_EQ(v, -30.0);
    for (const char* bad : {"", "left", "12 dB", "nan"})
        EXPECT_FALSE(params->text_to_value(plugin.get(), kAziL, bad, &v)) << bad;
    EXPECT_FALSE(params->text_to_value(plugin.get(), kAziL, nullptr, &v));
    EXPECT_FALSE(params->text_to_value(plugin.get(), 99, "1", &v));
    EXPECT_FALSE(params->value_to_text(plugin.get(), 99, 1.0, small, sizeof small));
    EXPECT_FALSE(params->value_to_text(plugin.get(), kAziL, kNaN, small, sizeof small));
    EXPECT_FALSE(params->value_to_text(plugin.get(), kAziL, 1.0, nullptr, 8));
}

// The whole point of the format: every factory program with value and
// modulation events at random frames sounds as the VST 2.4 build with the
// block split at each event and the summed, clamped value set there.
TEST_F(ClapPlugin, EveryProgramWithEventsAtTheirFramesMatchesTheVst2Render)
{
    for (double rate : {44100.0, 48000.0, 96000.0}) {
        for (int program = 0; program < kNumVantelorFactoryPrograms; ++program) {
            const clap_test::Scenario s =
                clap_test::makeScenario(program, rate, 1000u + static_cast<uint32_t>(program));
            StereoOut clap;
            ASSERT_TRUE(clap_test::renderClap(module(), s, clap));
            expectIdentical(clap, renderVst2(s),
                            "program " + std::to_string(program) + " at " +
                                std::to_string(static_cast<int>(rate)) + " Hz");
        }
    }
}

StereoOut renderSettings(const std::vector<std::pair<int, double>>& values,
                         const std::vector<std::pair<int, double>>& modulations)
{
    ClapInstance plugin(module());
    EXPECT_TRUE(plugin.activate(48000));
    EventList events;
    for (const auto& [i, v] : values)
        events.value(0, static_cast<clap_id>(i), v);
    for (const auto& [i, m] : modulations)
        events.modulation(0, static_cast<clap_id>(i), m);
    std::vector<float> inL, inR;
    clap_test::testInput(inL, inR, 4096);
    StereoOut out{std::vector<float>(4096), std::vector<float>(4096)};
    for (uint32_t at = 0; at < 4096; at += 512) {
        float* in[2] = {inL.data() + at, inR.data() + at};
        float* o[2] = {out.left.data() + at, out.right.data() + at};
        plugin.process(in, o, 512, at == 0 ? &events : nullptr);
    }
    return out;
}

TEST_F(ClapPlugin, ValueWithModulationSoundsAsTheClampedSumAndKeepsTheHostValue)
{
    const struct
    {
        int index;
        double value, modulation, sum;
    } cases[] = {
        {kAziL, -30.0, 12.5, -17.5},
        {kElevR, 40.0, 50.0, 60.0},  // clamped at the top
        {kWidthL, 20.0, -70.0, 0.0}, // clamped at the bottom
        {kWidthR, 50.0, 25.0, 75.0},
    };
    for (const auto& c : cases) {
        expectIdentical(renderSettings({{c.index, c.value}}, {{c.index, c.modulation}}),
                        renderSettings({{c.index, c.sum}}, {}),
                        std::string(kVantelorParameters[c.index].name));
        ClapInstance plugin(module());
        ASSERT_TRUE(plugin.activate(48000));
        EventList events;
        events.value(0, static_cast<clap_id>(c.index), c.value);
        events.modulation(3, static_cast<clap_id>(c.index), c.modulation);
        float l[8] = {}, r[8] = {};
        float* io[2] = {l, r};
        plugin.process(io, io, 8, &events);
        EXPECT_EQ(plugin.value(static_cast<clap_id>(c.index)), c.value);
    }
    // The switches take no modulation.
    expectIdentical(renderSettings({}, {{kActiveL, -1.0}}), renderSettings({}, {}), "Active L");
}

// Values given before processing starts (flush while inactive, a state, or
// the first block's frame 0) are the starting state: no glide from the
// defaults, as values set before a VST 2.4 resume.
TEST_F(ClapPlugin, ValuesBeforeProcessingStartAreTheStartingState)
{
    const std::vector<std::pair<int, double>> settings = {
        {kAziL, -50.0}, {kElevL, 35.0}, {kWidthR, 60.0}, {kAziR, 10.0}};
    const StereoOut atFrameZero = renderSettings(settings, {});

    ClapInstance flushed(module());
    EventList events;
    for (const auto& [i, v] : settings)
        events.value(0, static_cast<clap_id>(i), v);
    flushed.flush(&events);
    ASSERT_TRUE(flushed.activate(48000));
    std::vector<float> inL, inR;
    clap_test::testInput(inL, inR, 4096);
    StereoOut out{std::vector<float>(4096), std::vector<float>(4096)};
    for (uint32_t at = 0; at < 4096; at += 512) {
        float* in[2] = {inL.data() + at, inR.data() + at};
        float* o[2] = {out.left.data() + at, out.right.data() + at};
        flushed.process(in, o, 512);
    }
    expectIdentical(out, atFrameZero, "flushed before activation");

    // The VST 2.4 build given the rate, then the values, then resumed.
    vst2host::PluginInstance vst(vantelor_test::kBuiltPluginPath);
    vst.prepare(48000.0f, 512);
    for (const auto& [i, v] : settings)
        vst.setParameter(i, toNormalised(i, static_cast<float>(v)));
    vst.start(48000.0f, 512);
    StereoOut reference{std::vector<float>(4096), std::vector<float>(4096)};
    for (uint32_t at = 0; at < 4096; at += 512) {
        float* in[2] = {inL.data() + at, inR.data() + at};
        float* o[2] = {reference.left.data() + at, reference.right.data() + at};
        vst.process(in, o, 512);
    }
    expectIdentical(atFrameZero, reference, "against the VST 2.4 session load");
}

TEST_F(ClapPlugin, StateRoundTripsAndRefusedStatesChangeNothing)
{
    ClapInstance a(module());
    ASSERT_TRUE(a.loadPreset("4"));
    EventList events;
    events.value(0, kAziL, -12.5);
    events.value(0, kWidthR, 33.0);
    events.value(0, kActiveR, 0.0);
    events.modulation(0, kElevL, 7.0); // modulation is no part of the state
    a.flush(&events);
    const std::vector<uint8_t> saved = a.saveState();
    ASSERT_EQ(saved.size(), 88u);

    ClapInstance b(module());
    ASSERT_TRUE(b.loadState(saved));
    for (clap_id i = 0; i < kNumVantelorParameters; ++i)
        EXPECT_EQ(b.value(i), a.value(i)) << kVantelorParameters[i].name;
    EXPECT_EQ(b.saveState(), saved);

    std::vector<uint8_t> newer = saved;
    newer[4] = 2;
    std::vector<uint8_t> damaged = saved;
    damaged[30] ^= 0x40;
    std::vector<uint8_t> foreign = saved;
    foreign[0] = 'X';
    const std::vector<std::vector<uint8_t>> refused = {{},      {saved.begin(), saved.begin() + 40},
                                                       newer,   damaged,
                                                       foreign, std::vector<uint8_t>(200, 0xAB)};
    ClapInstance c(module());
    const std::vector<uint8_t> before = c.saveState();
    for (const auto& bytes : refused) {
        EXPECT_FALSE(c.loadState(bytes)) << bytes.size() << " bytes";
        EXPECT_EQ(c.saveState(), before);
    }
    const auto* state = c.extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    EXPECT_FALSE(state->load(c.get(), nullptr));
    EXPECT_FALSE(state->save(c.get(), nullptr));
}

TEST_F(ClapPlugin, PresetDiscoveryListsTheFactoryProgramsAndTheyLoad)
{
    const auto presets = ClapInstance::listPresets(module());
    ASSERT_EQ(presets.size(), static_cast<std::size_t>(kNumVantelorFactoryPrograms));
    for (int p = 0; p < kNumVantelorFactoryPrograms; ++p) {
        EXPECT_EQ(presets[p].name, kVantelorFactoryPrograms[p].name);
        EXPECT_EQ(presets[p].pluginIds, std::vector<std::string>{std::string("clap:") + kClapId});
        EXPECT_EQ(presets[p].flags,
                  static_cast<uint32_t>(CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT));
        ClapInstance plugin(module());
        ASSERT_TRUE(plugin.loadPreset(presets[p].key));
        for (clap_id i = 0; i < kNumVantelorParameters; ++i)
            EXPECT_EQ(plugin.value(i), kVantelorFactoryPrograms[p].values[i]);
        EXPECT_EQ(plugin.record.presetsLoaded, 1);
        EXPECT_EQ(plugin.record.rescans, 1);
    }
    ClapInstance plugin(module());
    for (const char* key : {"8", "-1", "", "Default"})
        EXPECT_FALSE(plugin.loadPreset(key)) << key;
    EXPECT_EQ(plugin.record.presetErrors, 4);
    const auto* load = plugin.extension<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
    EXPECT_FALSE(
        load->from_location(plugin.get(), CLAP_PRESET_DISCOVERY_LOCATION_FILE, "/tmp/x", "1"));
    EXPECT_FALSE(
        load->from_location(plugin.get(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, nullptr));
    // The earlier name of the interface answers too.
    EXPECT_EQ(plugin.extension<void>(CLAP_EXT_PRESET_LOAD_COMPAT), load);
    EXPECT_EQ(module().factory(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT),
              module().factory(CLAP_PRESET_DISCOVERY_FACTORY_ID));
}

bool finite(const float* v, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (!std::isfinite(v[i]))
            return false;
    return true;
}

// Bad input from a host: nothing crashes, the output stays finite, and the
// values stay inside their ranges.
TEST_F(ClapPlugin, BadInputNeverCrashesAndTheOutputStaysFinite)
{
    std::vector<float> l(1024, 0.25f), r(1024, -0.25f), ol(1024), orr(1024);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    struct Case
    {
        const char* what;
        void (*events)(EventList&);
    };
    const Case cases[] = {
        {"out of order",
         [](EventList& e) {
             e.value(900, kAziL, 10);
             e.value(100, kAziL, -10);
             e.modulation(50, kElevL, 5);
         }},
        {"past the end", [](EventList& e) { e.value(5000, kWidthL, 90); }},
        {"at the largest frame", [](EventList& e) { e.value(UINT32_MAX, kAziR, 45); }},
        {"outside the range",
         [](EventList& e) {
             e.value(0, kAziL, 1e9);
             e.value(1, kWidthR, -1e9);
             e.modulation(2, kElevR, std::numeric_limits<double>::infinity());
         }},
        {"not numbers",
         [](EventList& e) {
             e.value(0, kElevL, kNaN);
             e.modulation(1, kAziR, kNaN);
             e.value(2, kWidthL, kNaN);
         }},
        {"unknown parameters", [](EventList& e) { e.value(0, 99, 1); }},
        {"unknown types and spaces",
         [](EventList& e) {
             clap_event_header_t h{sizeof(clap_event_param_value_t), 3, 0, 77, 0};
             e.raw(h);
             h = {sizeof(clap_event_param_value_t), 4, 9, CLAP_EVENT_PARAM_VALUE, 0};
             e.raw(h);
             h = {8, 5, 0, CLAP_EVENT_PARAM_VALUE, 0}; // shorter than its type
             e.raw(h);
         }},
        {"many events at one frame",
         [](EventList& e) {
             for (int i = 0; i < 900; ++i)
                 e.value(10 + static_cast<uint32_t>(i) / 4, static_cast<clap_id>(i % 8),
                         (i % 3) * 10.0);
         }},
    };
    for (const Case& c : cases) {
        ClapInstance plugin(module());
        ASSERT_TRUE(plugin.activate(44100));
        ASSERT_TRUE(plugin.startProcessing());
        EventList events(1024);
        c.events(events);
        EXPECT_EQ(plugin.process(in, out, 1024, &events), CLAP_PROCESS_CONTINUE) << c.what;
        EXPECT_TRUE(finite(ol.data(), 1024) && finite(orr.data(), 1024)) << c.what;
        for (clap_id i = 0; i < kNumVantelorParameters; ++i) {
            const double v = plugin.value(i);
            EXPECT_TRUE(v >= kVantelorParameters[i].min && v <= kVantelorParameters[i].max)
                << c.what << ": " << kVantelorParameters[i].name << " " << v;
        }
    }

    // No frames, null buffers, null event lists, one channel.
    ClapInstance plugin(module());
    ASSERT_TRUE(plugin.activate(44100));
    EventList events;
    events.value(0, kAziL, 20);
    EXPECT_EQ(plugin.process(in, out, 0, &events), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(plugin.value(kAziL), 20.0);
    EXPECT_EQ(plugin.process(nullptr, nullptr, 512, &events), CLAP_PROCESS_CONTINUE);
    float* halfNull[2] = {l.data(), nullptr};
    EXPECT_EQ(plugin.process(halfNull, out, 512), CLAP_PROCESS_CONTINUE);
    std::fill(ol.begin(), ol.end(), 1.0f);
    EXPECT_EQ(plugin.process(nullptr, out, 512), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(ol[0], 0.0f); // no input is silence
    clap_process_t bare{};
    bare.frames_count = 256;
    EXPECT_EQ(plugin.get()->process(plugin.get(), &bare), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(plugin.get()->process(plugin.get(), nullptr), CLAP_PROCESS_ERROR);

    // Inputs not finite are silence at the engine's input; subnormal inputs
    // leave no subnormal output.
    std::vector<float> bad(1024, std::numeric_limits<float>::infinity());
    float* badIn[2] = {bad.data(), bad.data()};
    plugin.process(badIn, out, 1024);
    EXPECT_TRUE(finite(ol.data(), 1024) && finite(orr.data(), 1024));
    std::fill(bad.begin(), bad.end(), std::numeric_limits<float>::denorm_min() * 3);
    for (int block = 0; block < 8; ++block) {
        plugin.process(badIn, out, 1024);
        for (std::size_t i = 0; i < 1024; ++i)
            ASSERT_NE(std::fpclassify(ol[i]), FP_SUBNORMAL) << "frame " << i;
    }
}

TEST_F(ClapPlugin, OddRatesAndActivationCyclesKeepTheOutputFinite)
{
    ClapInstance plugin(module());
    std::vector<float> l(512, 0.5f), r(512, -0.5f);
    float* io[2] = {l.data(), r.data()};
    const double rates[] = {1.0,     8000.0,   22050.0,
                            44100.0, 192000.0, 384000.0,
                            kNaN,    -48000.0, std::numeric_limits<double>::infinity()};
    for (int cycle = 0; cycle < 3; ++cycle) {
        for (double rate : rates) {
            ASSERT_TRUE(plugin.activate(rate)) << rate;
            EXPECT_FALSE(plugin.get()->activate(plugin.get(), rate, 1, 512)); // already active
            plugin.startProcessing();
            EventList events;
            events.value(17, kElevL, 45.0);
            plugin.process(io, io, 512, &events); // in place
            plugin.get()->reset(plugin.get());
            plugin.process(io, io, 512);
            EXPECT_TRUE(finite(l.data(), 512) && finite(r.data(), 512)) << rate;
            plugin.deactivate();
        }
    }
}

TEST_F(ClapPlugin, ExportsClapEntryAlone)
{
    vantelor_test::PluginModule raw(VANTELOR_CLAP_PLUGIN);
    ASSERT_TRUE(raw.loaded()) << raw.error();
    EXPECT_NE(raw.symbol("clap_entry"), nullptr);
    for (const char* other : {"VSTPluginMain", "main", "lv2_descriptor", "GetPluginFactory"})
        EXPECT_EQ(raw.symbol(other), nullptr) << other;
}

} // namespace
