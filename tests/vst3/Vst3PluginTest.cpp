// The VST3 bundle as a host loads it: what its factory, buses and parameters
// say, and that it renders exactly what the VST 2.4 build renders, changes
// at their frames included, with the starting state, the state, the programs
// and the bypass behaving as hosts expect.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "product/VantelorDescription.h"
#include "product/VantelorState.h"
#include "tests/support/BuiltPlugin.h"
#include "tests/vst3/Vst3Host.h"

#ifndef VANTELOR_VST3_BINARY
#error "VANTELOR_VST3_BINARY must name the bundle's binary (a compile definition)"
#endif

namespace {

using namespace vantelor_vst3_test;
using vantelor_test::BuiltPlugin;

constexpr vst3::ParamID kBypassId = 100;
constexpr vst3::ParamID kProgramId = 101;

struct Loaded
{
    Loaded() : module(VANTELOR_VST3_BINARY), instance(module.factory) {}
    Vst3Module module;
    Vst3Instance instance;
};

VstIntPtr referenceHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

// ---- Factory, classes, buses

TEST(Vst3Factory, VendorClassesAndVersionsComeFromTheDescription)
{
    Vst3Module module(VANTELOR_VST3_BINARY);
    ASSERT_NE(module.factory, nullptr) << module.error();
    vst3::PFactoryInfo info{};
    ASSERT_EQ(module.factory->getFactoryInfo(&info), vst3::kResultOk);
    EXPECT_STREQ(info.vendor, vantelor::kVendorName);
    EXPECT_STREQ(info.url, vantelor::kVendorUrl);
    EXPECT_EQ(info.flags & vst3::PFactoryInfo::kUnicode, vst3::PFactoryInfo::kUnicode);

    auto* factory3 = queryOf<vst3::IPluginFactory3>(module.factory, vst3::kIPluginFactory3Iid);
    ASSERT_NE(factory3, nullptr);
    ASSERT_EQ(module.factory->countClasses(), 2);
    const struct
    {
        vantelor::ClassId id;
        const char* category;
        const char* subCategories;
    } expected[] = {
        {vantelor::kVst3ProcessorId, vst3::kVstAudioEffectClass, "Fx|Spatial"},
        {vantelor::kVst3ControllerId, vst3::kVstComponentControllerClass, ""},
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(expected[i].category);
        const auto& w = expected[i].id.words;
        const vst3::TUID cid = vst3::makeTuid(w[0], w[1], w[2], w[3]);
        vst3::PClassInfo2 info2{};
        ASSERT_EQ(factory3->getClassInfo2(i, &info2), vst3::kResultOk);
        EXPECT_EQ(std::memcmp(info2.cid.bytes, cid.bytes, 16), 0);
        EXPECT_STREQ(info2.category, expected[i].category);
        EXPECT_STREQ(info2.subCategories, expected[i].subCategories);
        EXPECT_STREQ(info2.name, "HF_Vantelor");
        EXPECT_STREQ(info2.version, vantelor::kVersionText);
        EXPECT_EQ(std::string(info2.sdkVersion).rfind("VST 3.7.", 0), 0u) << info2.sdkVersion;
        vst3::PClassInfoW infoW{};
        ASSERT_EQ(factory3->getClassInfoUnicode(i, &infoW), vst3::kResultOk);
        EXPECT_EQ(ascii(infoW.name), "HF_Vantelor");
        EXPECT_EQ(ascii(infoW.vendor), vantelor::kVendorName);
    }
    vst3::PClassInfo2 none{};
    EXPECT_NE(factory3->getClassInfo2(2, &none), vst3::kResultOk);
    factory3->release();

    // An unknown class or interface is refused and gives nothing.
    void* object = &info;
    const vst3::TUID unknown = vst3::makeTuid(1, 2, 3, 4);
    EXPECT_NE(module.factory->createInstance(unknown.bytes, vst3::kIComponentIid.bytes, &object),
              vst3::kResultOk);
    EXPECT_EQ(object, nullptr);
}

TEST(Vst3Factory, ModuleInfoNamesTheClassesTheFactoryMakes)
{
    std::ifstream file(VANTELOR_VST3_MODULEINFO);
    ASSERT_TRUE(file) << VANTELOR_VST3_MODULEINFO;
    std::stringstream text;
    text << file.rdbuf();
    const std::string json = text.str();
    for (const char* expected :
         {"\"CID\": \"20B87AF5A6304DCAAB0DFAE9E3C5224B\"",
          "\"CID\": \"6F92A9E62A72495DA8F3BCA276445E22\"",
          "\"Sub Categories\": [\"Fx\", \"Spatial\"]", "\"Version\": \"2.9.1\"",
          "\"Vendor\": \"Harrowfields\"", "\"Category\": \"Audio Module Class\""})
        EXPECT_NE(json.find(expected), std::string::npos) << expected;
}

TEST(Vst3Buses, StereoInAndOutOnly32BitNoLatencyNoTail)
{
    Loaded p;
    ASSERT_TRUE(p.instance.ok());
    vst3::IComponent* c = p.instance.component;
    vst3::IAudioProcessor* a = p.instance.processor;
    EXPECT_EQ(c->getBusCount(vst3::kAudio, vst3::kInput), 1);
    EXPECT_EQ(c->getBusCount(vst3::kAudio, vst3::kOutput), 1);
    EXPECT_EQ(c->getBusCount(vst3::kEvent, vst3::kInput), 0);
    EXPECT_EQ(c->getBusCount(vst3::kEvent, vst3::kOutput), 0);
    for (vst3::BusDirection dir : {vst3::kInput, vst3::kOutput}) {
        vst3::BusInfo bus{};
        ASSERT_EQ(c->getBusInfo(vst3::kAudio, dir, 0, bus), vst3::kResultOk);
        EXPECT_EQ(bus.channelCount, 2);
        EXPECT_EQ(bus.busType, vst3::kMain);
        EXPECT_TRUE(bus.flags & vst3::BusInfo::kDefaultActive);
        EXPECT_NE(c->getBusInfo(vst3::kAudio, dir, 1, bus), vst3::kResultOk);
    }

    const struct
    {
        std::vector<vst3::SpeakerArrangement> ins, outs;
        bool accepted;
    } requests[] = {
        {{vst3::kStereo}, {vst3::kStereo}, true},
        {{vst3::kSpeakerL}, {vst3::kSpeakerL}, false},
        {{vst3::kSpeakerL}, {vst3::kStereo}, false},
        {{vst3::kStereo, vst3::kStereo}, {vst3::kStereo}, false},
        {{}, {vst3::kStereo}, false},
    };
    for (const auto& r : requests) {
        auto ins = r.ins;
        auto outs = r.outs;
        EXPECT_EQ(a->setBusArrangements(ins.data(), static_cast<int32_t>(ins.size()), outs.data(),
                                        static_cast<int32_t>(outs.size())) == vst3::kResultOk,
                  r.accepted);
        vst3::SpeakerArrangement arrangement = 0;
        ASSERT_EQ(a->getBusArrangement(vst3::kOutput, 0, arrangement), vst3::kResultOk);
        EXPECT_EQ(arrangement, vst3::kStereo) << "stereo is kept";
    }
    EXPECT_EQ(a->canProcessSampleSize(vst3::kSample32), vst3::kResultOk);
    EXPECT_NE(a->canProcessSampleSize(vst3::kSample64), vst3::kResultOk);
    vst3::ProcessSetup doubles{vst3::kRealtime, vst3::kSample64, 512, 48000};
    EXPECT_NE(a->setupProcessing(doubles), vst3::kResultOk);
    EXPECT_EQ(a->getLatencySamples(), 0u);
    EXPECT_EQ(a->getTailSamples(), 0u);
}

// ---- Parameters

TEST(Vst3Parameters, TheEightWithIdsTitlesUnitsAndGroupsThenBypassAndProgram)
{
    Loaded p;
    ASSERT_TRUE(p.instance.ok());
    vst3::IEditController* e = p.instance.controller;
    ASSERT_EQ(e->getParameterCount(), kNumVantelorParameters + 2);
    for (int i = 0; i < kNumVantelorParameters; ++i) {
        const vantelor::ParameterDescription& d = vantelor::kVantelorParameters[i];
        SCOPED_TRACE(d.name);
        vst3::ParameterInfo info{};
        ASSERT_EQ(e->getParameterInfo(i, info), vst3::kResultOk);
        EXPECT_EQ(info.id, d.id);
        EXPECT_EQ(ascii(info.title), d.name);
        EXPECT_EQ(ascii(info.shortTitle), d.shortName);
        EXPECT_EQ(ascii(info.units), d.label);
        EXPECT_EQ(info.stepCount, d.kind == vantelor::Kind::toggle ? 1 : 0);
        EXPECT_EQ(info.defaultNormalizedValue, vantelor::toNormalised(i, d.defaultValue));
        EXPECT_EQ(info.unitId, d.group == vantelor::Group::leftSource ? 1 : 2);
        EXPECT_TRUE(info.flags & vst3::ParameterInfo::kCanAutomate);
        EXPECT_FALSE(info.flags &
                     (vst3::ParameterInfo::kIsBypass | vst3::ParameterInfo::kIsProgramChange));
    }
    vst3::ParameterInfo bypass{}, program{};
    ASSERT_EQ(e->getParameterInfo(kNumVantelorParameters, bypass), vst3::kResultOk);
    ASSERT_EQ(e->getParameterInfo(kNumVantelorParameters + 1, program), vst3::kResultOk);
    EXPECT_EQ(bypass.id, kBypassId);
    EXPECT_EQ(bypass.stepCount, 1);
    EXPECT_TRUE(bypass.flags & vst3::ParameterInfo::kIsBypass);
    EXPECT_EQ(program.id, kProgramId);
    EXPECT_EQ(program.stepCount, kNumVantelorFactoryPrograms - 1);
    EXPECT_TRUE(program.flags & vst3::ParameterInfo::kIsProgramChange);

    auto* units = queryOf<vst3::IUnitInfo>(e, vst3::kIUnitInfoIid);
    ASSERT_NE(units, nullptr);
    ASSERT_EQ(units->getUnitCount(), 3);
    const char* unitNames[] = {"Root", "Left source", "Right source"};
    for (int u = 0; u < 3; ++u) {
        vst3::UnitInfo info{};
        ASSERT_EQ(units->getUnitInfo(u, info), vst3::kResultOk);
        EXPECT_EQ(info.id, u);
        EXPECT_EQ(info.parentUnitId, u == 0 ? vst3::kNoParentUnitId : vst3::kRootUnitId);
        EXPECT_EQ(ascii(info.name), unitNames[u]);
    }
    ASSERT_EQ(units->getProgramListCount(), 1);
    vst3::ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), vst3::kResultOk);
    ASSERT_EQ(list.programCount, kNumVantelorFactoryPrograms);
    for (int i = 0; i < kNumVantelorFactoryPrograms; ++i) {
        vst3::String128 name{};
        ASSERT_EQ(units->getProgramName(list.id, i, name), vst3::kResultOk);
        EXPECT_EQ(ascii(name), kVantelorFactoryPrograms[i].name);
    }
    units->release();
}

TEST(Vst3Parameters, TextsBothWays)
{
    Loaded p;
    ASSERT_TRUE(p.instance.ok());
    vst3::IEditController* e = p.instance.controller;
    const struct
    {
        vst3::ParamID id;
        const char* text;
        bool accepted;
        double units; // the plain value the text gives
    } cases[] = {
        {kAziL, "-45", true, -45},
        {kAziL, "-45 deg", true, -45},
        {kAziL, "  +12.5  ", true, 12.5},
        {kElevR, "55 DEG", true, 55},
        {kWidthR, "12.5", true, 12.5},
        {kWidthR, "80 %", true, 80},
        {kActiveL, "off", true, 0},
        {kActiveL, "On", true, 1},
        {kAziL, "left", false, 0},
        {kAziL, "-45 %", false, 0},
        {kAziL, "", false, 0},
        {kAziL, "nan", false, 0},
        {kAziL, "1e999", false, 0},
        {kBypassId, "on", true, 1},
        {kProgramId, "Wide sources", true, 4},
        {kProgramId, "nothing", false, 0},
        {999, "1", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " \"" + c.text + "\"");
        vst3::String128 text{};
        toUtf16(c.text, text);
        vst3::ParamValue normalised = -1;
        const bool accepted = e->getParamValueByString(c.id, text, normalised) == vst3::kResultOk;
        ASSERT_EQ(accepted, c.accepted);
        if (accepted) {
            EXPECT_EQ(e->normalizedParamToPlain(c.id, normalised), c.units);
        }
    }
    // A value typed out of range is held at the range's end.
    vst3::String128 outOfRange{};
    toUtf16("500", outOfRange);
    vst3::ParamValue normalised = 0;
    ASSERT_EQ(e->getParamValueByString(kAziL, outOfRange, normalised), vst3::kResultOk);
    EXPECT_EQ(normalised, 1.0);

    // Value to text: the product's display, the bypass's state, the
    // program's name.
    const struct
    {
        vst3::ParamID id;
        double normalised;
        const char* text;
    } shown[] = {
        {kAziL, 0.25, "-30.0"},
        {kWidthL, 0.8, "80"},
        {kBypassId, 1, "On"},
        {kProgramId, 1, "Mono far right"},
    };
    for (const auto& s : shown) {
        vst3::String128 text{};
        ASSERT_EQ(e->getParamStringByValue(s.id, s.normalised, text), vst3::kResultOk);
        EXPECT_EQ(ascii(text), s.text);
    }
}

// ---- Rendering against the VST 2.4 build

struct Change
{
    int32_t frame;
    int32_t index;
    float normalised;
};

struct RenderCase
{
    float rate;
    std::vector<int32_t> blocks; // cycled
};

// Renders through both builds: the VST3 one with its changes as queue points
// inside each block, the VST 2.4 one with the block split at those frames and
// the same normalised values set between the pieces. Every sample must agree.
void expectSameRender(int program, const RenderCase& c, int32_t frames, uint32_t seed)
{
    BuiltPlugin vst(referenceHost);
    ASSERT_NE(vst.effect, nullptr);
    vst.call(effSetSampleRate, 0, 0, nullptr, c.rate);
    vst.call(effSetBlockSize, 0, 8192);
    vst.call(effSetProgram, 0, program);
    vst.call(effMainsChanged, 0, 1);

    Loaded p;
    ASSERT_TRUE(p.instance.ok());
    ParamChanges changes;
    // The program's values at the first frame, as a host that loads a
    // preset sends them.
    for (int i = 0; i < kNumVantelorParameters; ++i)
        changes.add(static_cast<vst3::ParamID>(i), 0,
                    vantelor::toNormalised(i, kVantelorFactoryPrograms[program].values[i]));
    ASSERT_TRUE(p.instance.start(c.rate));

    std::mt19937 random(seed);
    std::uniform_real_distribution<float> sample(-0.7f, 0.7f);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    std::vector<float> in[2], vstOut[2], out[2];
    for (int ch = 0; ch < 2; ++ch) {
        in[ch].resize(8192);
        vstOut[ch].resize(8192);
        out[ch].resize(8192);
    }
    int32_t done = 0;
    for (size_t block = 0; done < frames; ++block) {
        const int32_t n = c.blocks[block % c.blocks.size()];
        for (int32_t k = 0; k < n; ++k)
            for (int ch = 0; ch < 2; ++ch)
                in[ch][static_cast<size_t>(k)] = sample(random);
        // Up to three changes at random frames; a parameter changes at most
        // once a block, so that the VST 2.4 split sees the same values.
        std::vector<Change> points;
        if (block > 0) {
            const int count = static_cast<int>(random() % 4);
            std::vector<int> used;
            for (int k = 0; k < count && n > 0; ++k) {
                const int index = static_cast<int>(random() % kNumVantelorParameters);
                if (std::find(used.begin(), used.end(), index) != used.end())
                    continue;
                used.push_back(index);
                points.push_back({static_cast<int32_t>(random() % static_cast<uint32_t>(n)), index,
                                  value(random)});
            }
            std::sort(points.begin(), points.end(),
                      [](const Change& a, const Change& b) { return a.frame < b.frame; });
            for (const Change& point : points)
                changes.add(static_cast<vst3::ParamID>(point.index), point.frame, point.normalised);
        }

        float* ins[2] = {in[0].data(), in[1].data()};
        float* outs[2] = {out[0].data(), out[1].data()};
        ASSERT_EQ(p.instance.process(ins, outs, n, &changes), vst3::kResultOk);
        changes.clear();

        int32_t at = 0;
        for (size_t k = 0; k <= points.size(); ++k) {
            const int32_t end = k < points.size() ? points[k].frame : n;
            if (end > at) {
                float* vi[2] = {in[0].data() + at, in[1].data() + at};
                float* vo[2] = {vstOut[0].data() + at, vstOut[1].data() + at};
                vst.effect->processReplacing(vst.effect, vi, vo, end - at);
                at = end;
            }
            if (k < points.size())
                vst.effect->setParameter(vst.effect, points[k].index, points[k].normalised);
        }
        for (int ch = 0; ch < 2; ++ch)
            ASSERT_EQ(std::memcmp(vstOut[ch].data(), out[ch].data(), static_cast<size_t>(n) * 4), 0)
                << "channel " << ch << ", block " << block << " at frame " << done;
        done += n;
    }
}

TEST(Vst3Render, EveryFactoryProgramWithChangesAtTheirFramesEqualsTheVst2Build)
{
    const RenderCase cases[] = {
        {44100.0f, {512}},
        {48000.0f, {1, 64, 0, 333, 8192}},
        {96000.0f, {4096, 17}},
        {22050.0f, {128, 7}},
    };
    for (int program = 0; program < kNumVantelorFactoryPrograms; ++program)
        for (const RenderCase& c : cases) {
            SCOPED_TRACE(std::string(kVantelorFactoryPrograms[program].name) + " at " +
                         std::to_string(c.rate));
            expectSameRender(program, c, 12000, 77 + static_cast<uint32_t>(program));
        }
}

// Values set before processing starts, in each way a host sets them, are
// the starting state: the render equals a VST 2.4 session load (rate first,
// then the values, then resume) from the first frame, elevation included at
// rates other than 44100 Hz.
TEST(Vst3Render, ValuesSetBeforeProcessingAreTheStartingState)
{
    const float values[kNumVantelorParameters] = {-40, 50, 1, 30, 20, -35, 1, 70};
    enum class Way
    {
        changesAtFirstFrame,
        flushBeforeFirstBlock,
        state,
    };
    for (float rate : {48000.0f, 96000.0f})
        for (Way way : {Way::changesAtFirstFrame, Way::flushBeforeFirstBlock, Way::state}) {
            SCOPED_TRACE(std::to_string(rate) + " way " + std::to_string(static_cast<int>(way)));
            BuiltPlugin vst(referenceHost);
            vst.call(effSetSampleRate, 0, 0, nullptr, rate);
            for (int i = 0; i < kNumVantelorParameters; ++i)
                vst.effect->setParameter(vst.effect, i, vantelor::toNormalised(i, values[i]));
            vst.call(effMainsChanged, 0, 1);

            Loaded p;
            ASSERT_TRUE(p.instance.ok());
            ParamChanges changes;
            if (way == Way::state) {
                vantelor::ProductState s;
                for (int i = 0; i < kNumVantelorParameters; ++i)
                    s.values[i] = values[i];
                std::vector<uint8_t> bytes(vantelor::kStateSize);
                vantelor::writeState(s, bytes.data());
                ASSERT_EQ(p.instance.setState(bytes), vst3::kResultOk);
            } else {
                for (int i = 0; i < kNumVantelorParameters; ++i)
                    changes.add(static_cast<vst3::ParamID>(i), 0,
                                vantelor::toNormalised(i, values[i]));
            }
            ASSERT_TRUE(p.instance.start(rate));
            if (way == Way::flushBeforeFirstBlock) {
                ASSERT_EQ(p.instance.process(nullptr, nullptr, 0, &changes), vst3::kResultOk);
                changes.clear();
            }
            std::vector<float> in[2], a[2], b[2];
            for (int ch = 0; ch < 2; ++ch) {
                in[ch].assign(4096, 0.0f);
                a[ch].assign(4096, 0.0f);
                b[ch].assign(4096, 0.0f);
                for (size_t k = 0; k < 4096; ++k)
                    in[ch][k] = 0.5f * std::sin(0.01f * static_cast<float>(k) * (1 + ch));
            }
            float* ins[2] = {in[0].data(), in[1].data()};
            float* as[2] = {a[0].data(), a[1].data()};
            float* bs[2] = {b[0].data(), b[1].data()};
            vst.effect->processReplacing(vst.effect, ins, as, 4096);
            ASSERT_EQ(p.instance.process(ins, bs, 4096, &changes), vst3::kResultOk);
            for (int ch = 0; ch < 2; ++ch)
                EXPECT_EQ(std::memcmp(a[ch].data(), b[ch].data(), 4096 * 4), 0) << "channel " << ch;
        }
}

// A program chosen through the program-change parameter sounds as the VST
// 2.4 build's program, and the controller shows its values.
TEST(Vst3Programs, TheProgramChangeParameterSelectsAFactoryProgram)
{
    for (int program : {1, 5, 7}) {
        SCOPED_TRACE(kVantelorFactoryPrograms[program].name);
        BuiltPlugin vst(referenceHost);
        vst.call(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        vst.call(effMainsChanged, 0, 1);
        Loaded p;
        ASSERT_TRUE(p.instance.ok());
        ASSERT_TRUE(p.instance.start(48000));

        std::vector<float> in[2], a[2], b[2];
        for (int ch = 0; ch < 2; ++ch) {
            in[ch].assign(2048, 0.25f);
            a[ch].assign(2048, 0.0f);
            b[ch].assign(2048, 0.0f);
        }
        ParamChanges changes;
        const double normalised = static_cast<double>(program) / (kNumVantelorFactoryPrograms - 1);
        changes.add(kProgramId, 700, normalised);
        float* ins[2] = {in[0].data(), in[1].data()};
        float* as[2] = {a[0].data(), a[1].data()};
        float* as2[2] = {a[0].data() + 700, a[1].data() + 700};
        float* ins2[2] = {in[0].data() + 700, in[1].data() + 700};
        float* bs[2] = {b[0].data(), b[1].data()};
        vst.effect->processReplacing(vst.effect, ins, as, 700);
        vst.call(effSetProgram, 0, program);
        vst.effect->processReplacing(vst.effect, ins2, as2, 2048 - 700);
        ASSERT_EQ(p.instance.process(ins, bs, 2048, &changes), vst3::kResultOk);
        for (int ch = 0; ch < 2; ++ch)
            EXPECT_EQ(std::memcmp(a[ch].data(), b[ch].data(), 2048 * 4), 0);

        vst3::IEditController* e = p.instance.controller;
        ASSERT_EQ(e->setParamNormalized(kProgramId, normalised), vst3::kResultOk);
        for (int i = 0; i < kNumVantelorParameters; ++i)
            EXPECT_EQ(e->getParamNormalized(static_cast<vst3::ParamID>(i)),
                      vantelor::toNormalised(i, kVantelorFactoryPrograms[program].values[i]));
        ASSERT_FALSE(p.instance.handler.calls.empty());
        EXPECT_EQ(p.instance.handler.calls.back(),
                  "restart" + std::to_string(vst3::kParamValuesChanged));
        // The state remembers the program.
        vantelor::ProductState s;
        const std::vector<uint8_t> bytes = p.instance.state();
        ASSERT_GE(bytes.size(), vantelor::kStateSize);
        ASSERT_EQ(vantelor::readState(bytes.data(), vantelor::kStateSize, &s),
                  vantelor::StateResult::ok);
        EXPECT_EQ(s.program, program);
    }
}

// ---- State

TEST(Vst3State, ARoundTripRestoresTheSoundAndTheControllerExactly)
{
    Loaded a;
    ASSERT_TRUE(a.instance.ok());
    ParamChanges changes;
    // Values whose normalised form is not exact in float, a width among them.
    const double set[kNumVantelorParameters] = {0.123456789, 0.9,  0, 0.3333333,
                                                0.77,        0.01, 1, 0.125};
    for (int i = 0; i < kNumVantelorParameters; ++i)
        changes.add(static_cast<vst3::ParamID>(i), 0, set[i]);
    ASSERT_TRUE(a.instance.start(48000));
    ASSERT_EQ(a.instance.process(nullptr, nullptr, 0, &changes), vst3::kResultOk);
    const std::vector<uint8_t> saved = a.instance.state();
    // The product's state, then the format's block with the bypass.
    ASSERT_EQ(saved.size(), vantelor::kStateSize + 8);
    vantelor::ProductState product;
    ASSERT_EQ(vantelor::readState(saved.data(), vantelor::kStateSize, &product),
              vantelor::StateResult::ok);
    EXPECT_EQ(
        std::string(saved.begin() + vantelor::kStateSize, saved.begin() + vantelor::kStateSize + 4),
        "HFV3");

    Loaded b;
    ASSERT_TRUE(b.instance.ok());
    ASSERT_EQ(b.instance.setState(saved), vst3::kResultOk);
    MemoryStream forController(saved);
    ASSERT_EQ(b.instance.controller->setComponentState(&forController), vst3::kResultOk);
    EXPECT_EQ(b.instance.state(), saved);
    // The controller's values, handed back by a host, reach the engine as
    // the ones saved.
    Loaded c;
    ASSERT_TRUE(c.instance.ok());
    ParamChanges fromController;
    for (int i = 0; i < kNumVantelorParameters; ++i)
        fromController.add(
            static_cast<vst3::ParamID>(i), 0,
            b.instance.controller->getParamNormalized(static_cast<vst3::ParamID>(i)));
    ASSERT_EQ(c.instance.process(nullptr, nullptr, 0, &fromController), vst3::kResultOk);
    EXPECT_EQ(c.instance.state(), saved);
    ASSERT_TRUE(b.instance.start(48000));

    std::vector<float> in[2], oa[2], ob[2];
    for (int ch = 0; ch < 2; ++ch) {
        in[ch].assign(3000, 0.0f);
        oa[ch].assign(3000, 0.0f);
        ob[ch].assign(3000, 0.0f);
        for (size_t k = 0; k < 3000; ++k)
            in[ch][k] = 0.3f * std::sin(0.02f * static_cast<float>(k) + ch);
    }
    float* ins[2] = {in[0].data(), in[1].data()};
    float* as[2] = {oa[0].data(), oa[1].data()};
    float* bs[2] = {ob[0].data(), ob[1].data()};
    // The reference: a fresh instance given the same values at its first
    // frame.
    Loaded reference;
    ASSERT_TRUE(reference.instance.ok());
    ASSERT_TRUE(reference.instance.start(48000));
    reference.instance.process(ins, as, 3000, &changes);
    b.instance.process(ins, bs, 3000);
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ(std::memcmp(oa[ch].data(), ob[ch].data(), 3000 * 4), 0);
}

TEST(Vst3State, GarbageTruncatedAndNewerStatesAreRefusedAndChangeNothing)
{
    Loaded p;
    ASSERT_TRUE(p.instance.ok());
    const std::vector<uint8_t> before = p.instance.state();
    std::vector<uint8_t> newer = before;
    newer[4] = 2; // format version 2
    std::vector<uint8_t> damaged = before;
    damaged[30] ^= 0x40;
    std::vector<uint8_t> foreignBlock = before;
    foreignBlock[vantelor::kStateSize] = 'X';
    std::vector<uint8_t> extraBytes = before;
    extraBytes.push_back(0);
    const std::vector<std::vector<uint8_t>> refused = {
        {},
        std::vector<uint8_t>(before.begin(), before.begin() + 40),
        std::vector<uint8_t>(96, 0xAB),
        newer,
        damaged,
        foreignBlock,
        extraBytes,
        std::vector<uint8_t>(before.begin(), before.begin() + 92),
    };
    for (const auto& bytes : refused) {
        EXPECT_NE(p.instance.setState(bytes), vst3::kResultOk);
        MemoryStream stream(bytes);
        EXPECT_NE(p.instance.controller->setComponentState(&stream), vst3::kResultOk);
        EXPECT_EQ(p.instance.state(), before);
        EXPECT_EQ(p.instance.controller->getParamNormalized(kAziL),
                  vantelor::toNormalised(kAziL, -30));
    }
    EXPECT_NE(p.instance.component->setState(nullptr), vst3::kResultOk);
}

// A state written by the other formats (the product's alone) reads with
// the bypass off; one with the bypass on brings it back on both sides.
TEST(Vst3State, TheBypassTravelsWithTheStateAndTheProductsStateReadsAlone)
{
    Loaded a;
    ASSERT_TRUE(a.instance.ok());
    ParamChanges bypass;
    bypass.add(kBypassId, 0, 1.0);
    ASSERT_EQ(a.instance.process(nullptr, nullptr, 0, &bypass), vst3::kResultOk);
    const std::vector<uint8_t> saved = a.instance.state();

    Loaded b;
    ASSERT_TRUE(b.instance.ok());
    ASSERT_EQ(b.instance.setState(saved), vst3::kResultOk);
    MemoryStream forController(saved);
    ASSERT_EQ(b.instance.controller->setComponentState(&forController), vst3::kResultOk);
    EXPECT_EQ(b.instance.controller->getParamNormalized(kBypassId), 1.0);
    ASSERT_TRUE(b.instance.start(44100));
    std::vector<float> in[2], out[2];
    for (int ch = 0; ch < 2; ++ch) {
        in[ch].assign(256, 0.0f);
        out[ch].assign(256, 0.0f);
        for (size_t k = 0; k < 256; ++k)
            in[ch][k] = 0.1f * static_cast<float>(k % 7) - 0.3f;
    }
    float* ins[2] = {in[0].data(), in[1].data()};
    float* outs[2] = {out[0].data(), out[1].data()};
    ASSERT_EQ(b.instance.process(ins, outs, 256), vst3::kResultOk);
    EXPECT_EQ(out[0], in[0]) << "bypassed from the first frame";

    const std::vector<uint8_t> productOnly(saved.begin(), saved.begin() + vantelor::kStateSize);
    ASSERT_EQ(b.instance.setState(productOnly), vst3::kResultOk);
    MemoryStream plain(productOnly);
    ASSERT_EQ(b.instance.controller->setComponentState(&plain), vst3::kResultOk);
    EXPECT_EQ(b.instance.controller->getParamNormalized(kBypassId), 0.0);
}

// ---- Bypass

// The bypass fades to the input and back without a step; once settled the
// output is the input exactly, and after coming back the output is what it
// would have been without the bypass.
TEST(Vst3Bypass, FadesWithoutAClickGivesTheInputAndComesBackExactly)
{
    Loaded plain, bypassed;
    ASSERT_TRUE(plain.instance.ok() && bypassed.instance.ok());
    ASSERT_TRUE(plain.instance.start(48000));
    ASSERT_TRUE(bypassed.instance.start(48000));
    const int32_t n = 512;
    std::vector<float> in[2], a[2], b[2];
    for (int ch = 0; ch < 2; ++ch) {
        in[ch].assign(n, 0.0f);
        a[ch].assign(n, 0.0f);
        b[ch].assign(n, 0.0f);
    }
    float* ins[2] = {in[0].data(), in[1].data()};
    float* as[2] = {a[0].data(), a[1].data()};
    float* bs[2] = {b[0].data(), b[1].data()};
    float last[2] = {0, 0};
    float largestStep = 0;
    int64_t frame = 0;
    for (int block = 0; block < 20; ++block) {
        for (int32_t k = 0; k < n; ++k, ++frame)
            for (int ch = 0; ch < 2; ++ch)
                in[ch][static_cast<size_t>(k)] =
                    0.5f * std::sin(0.005f * static_cast<float>(frame));
        ParamChanges changes;
        if (block == 3)
            changes.add(kBypassId, 100, 1.0);
        if (block == 10)
            changes.add(kBypassId, 300, 0.0);
        plain.instance.process(ins, as, n);
        bypassed.instance.process(ins, bs, n, &changes);
        for (int ch = 0; ch < 2; ++ch)
            for (int32_t k = 0; k < n; ++k) {
                const float s = b[ch][static_cast<size_t>(k)];
                ASSERT_TRUE(std::isfinite(s));
                largestStep = std::max(largestStep, std::fabs(s - last[ch]));
                last[ch] = s;
            }
        if (block >= 5 && block <= 9) {
            for (int ch = 0; ch < 2; ++ch)
                EXPECT_EQ(std::memcmp(in[ch].data(), b[ch].data(), n * 4), 0) << "block " << block;
        }
        if (block >= 12 || block < 3) {
            for (int ch = 0; ch < 2; ++ch)
                EXPECT_EQ(std::memcmp(a[ch].data(), b[ch].data(), n * 4), 0) << "block " << block;
        }
    }
    // The slow sine moves 0.0025 a frame; the plug-in's own output moves a
    // little more. A hard switch between input and output would jump by
    // the difference of the two, far more.
    EXPECT_LT(largestStep, 0.02f);
}

} // namespace
