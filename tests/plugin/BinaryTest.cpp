// The built HF_Vantelor.so as a host sees it: loaded with dlopen and driven
// only through VSTPluginMain, the dispatcher and the record's entries.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "product/VantelorParameters.h"
#include "plugin/VstInterface.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/BuiltPlugin.h"

namespace {

using vantelor_test::RecordingHost;

using vantelor_test::BuiltPluginModule;
using EntryProc = vantelor_test::PluginEntry;

class Binary : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        module = new BuiltPluginModule;
        ASSERT_TRUE(module->loaded()) << module->error();
        entry = module->entry();
        ASSERT_NE(entry, nullptr);
    }
    static void TearDownTestSuite()
    {
        delete module;
        module = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(entry, nullptr);
        RecordingHost::reset();
        effect = entry(RecordingHost::callback);
        ASSERT_NE(effect, nullptr);
    }
    void TearDown() override
    {
        if (effect) {
            EXPECT_EQ(call(effClose), 1);
        }
        effect = nullptr;
    }

    VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0)
    {
        char buffer[256];
        std::memset(buffer, 0, sizeof(buffer));
        call(opcode, index, value, buffer);
        return buffer;
    }

    static inline BuiltPluginModule* module = nullptr;
    static inline EntryProc entry = nullptr;
    AEffect* effect = nullptr;
};

TEST_F(Binary, RecordCarriesTheProductIdentity)
{
    EXPECT_EQ(effect->magic, vstFourCC('V', 's', 't', 'P'));
    EXPECT_EQ(effect->uniqueID, vstFourCC('H', 'F', 'V', 'N'));
    EXPECT_EQ(effect->numPrograms, 32);
    EXPECT_EQ(effect->numParams, 8);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_NE(effect->object, nullptr);
    EXPECT_NE(effect->dispatcher, nullptr);
    EXPECT_NE(effect->process, nullptr);
    EXPECT_NE(effect->processReplacing, nullptr);
    EXPECT_NE(effect->processDoubleReplacing, nullptr);
    EXPECT_NE(effect->setParameter, nullptr);
    EXPECT_NE(effect->getParameter, nullptr);
    // Replacing processing only; the editor flag must agree with whether the
    // editor answers for its size.
    EXPECT_EQ(effect->flags, effFlagsHasEditor | effFlagsCanReplacing);
    EXPECT_EQ(effect->flags, 17);
    ERect* rect = nullptr;
    EXPECT_EQ(call(effEditGetRect, 0, 0, &rect), 1);

    // Construction asks the host for its version only (no MIDI request).
    const auto calls = RecordingHost::calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    EXPECT_EQ(calls[0].effect, nullptr);

    EXPECT_EQ(text(effGetEffectName), "HF_Vantelor");
    EXPECT_EQ(text(effGetProductString), "HF_Vantelor");
    EXPECT_EQ(text(effGetVendorString), "Harrowfields");
    EXPECT_EQ(call(effGetVendorVersion), 2910);
}

TEST_F(Binary, OpcodeAnswers)
{
    const struct
    {
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        VstIntPtr expected;
    } cases[] = {
        {effIdentify, 0, 0, vstFourCC('N', 'v', 'E', 'f')},
        {effGetVstVersion, 0, 0, 2400},
        {effCanBeAutomated, 0, 0, 1},
        {effCanBeAutomated, 7, 0, 1},
        {effCanBeAutomated, 8, 0, 0},
        {effCanBeAutomated, -1, 0, 0},
        {effCanBeAutomated, INT32_MAX, 0, 0},
        {effGetCurrentMidiProgram, 0, 0, -1},
        {effSetTotalSampleToProcess, 0, 4096, 4096},
        {effGetPlugCategory, 0, 0, kPlugCategEffect},
        {effGetTailSize, 0, 0, 0},
        {effGetProgram, 0, 0, 0},
        {effSetBypass, 0, 1, 0},
        {effSetProcessPrecision, 0, kVstProcessPrecision64, 0},
        {effGetNumMidiInputChannels, 0, 0, 0},
        {effGetNumMidiOutputChannels, 0, 0, 0},
        {effEditOpen, 0, 0, 0}, // no parent window: nothing to open in
        {effEditKeyDown, 'a', 0, 0},
        {effEditKeyUp, 'a', 0, 0},
        {effString2Parameter, 0, 0, 0},
        {effStartProcess, 0, 0, 0},
        {effGetVu, 0, 0, 0},
        {80, 0, 0, 0},
        {-1, 0, 0, 0},
        {1 << 20, 0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(call(c.opcode, c.index, c.value), c.expected) << "opcode " << c.opcode;

    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* in = &dummy;
    VstSpeakerArrangement* out = &dummy;
    EXPECT_EQ(call(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(call(effGetSpeakerArrangement), 0); // null pointers are skipped
}

// The answers that hosts act on when the plug-in leaves a request to the
// defaults: nothing is claimed, and the host's structures are left as they
// were (a host fills in its own defaults when the answer is 0).
TEST_F(Binary, DefaultAnswersLeaveTheHostsStructuresAlone)
{
    const struct
    {
        const char* what;
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        bool withBuffer;
        VstIntPtr expected;
    } cases[] = {
        {"parameter properties", effGetParameterProperties, 0, 0, true, 0},
        {"parameter properties of a parameter that does not exist", effGetParameterProperties, 99,
         0, true, 0},
        {"input pin properties", effGetInputProperties, 0, 0, true, 0},
        {"output pin properties", effGetOutputProperties, 1, 0, true, 0},
        {"begin set program", effBeginSetProgram, 0, 0, false, 0},
        {"end set program", effEndSetProgram, 0, 0, false, 0},
        {"knob mode (the editor keeps it)", effSetEditKnobMode, 0, 2, false, 1},
        {"vendor specific", effVendorSpecific, 0x4d4d4d4d, 0, true, 0},
        {"next shell plug-in", effShellGetNextPlugin, 0, 0, true, 0},
        {"stop process", effStopProcess, 0, 0, false, 0},
    };
    for (const auto& c : cases) {
        unsigned char buffer[512];
        std::memset(buffer, 0xA5, sizeof(buffer));
        EXPECT_EQ(call(c.opcode, c.index, c.value, c.withBuffer ? buffer : nullptr), c.expected)
            << c.what;
        for (unsigned char b : buffer)
            ASSERT_EQ(b, 0xA5) << c.what << ": the host's buffer was written";
    }

    // A stereo arrangement on both sides is what the plug-in has; it is not
    // claimed as accepted, and neither arrangement is changed.
    VstSpeakerArrangement in{};
    VstSpeakerArrangement out{};
    in.type = out.type = kSpeakerArrStereo;
    in.numChannels = out.numChannels = 2;
    const VstSpeakerArrangement before = in;
    EXPECT_EQ(call(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
    EXPECT_EQ(std::memcmp(&in, &before, sizeof(in)), 0);
    EXPECT_EQ(call(effSetSpeakerArrangement), 0); // null arrangements
}

TEST_F(Binary, NoChunksSoStateIsProgramsAndParameters)
{
    void* data = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(call(effGetChunk, 0, 0, &data), 0);
    EXPECT_EQ(call(effGetChunk, 1, 0, &data), 0);
    EXPECT_EQ(data, reinterpret_cast<void*>(0x1234));
    char bytes[16] = {};
    EXPECT_EQ(call(effSetChunk, 0, sizeof(bytes), bytes), 0);
    EXPECT_EQ(effect->flags & effFlagsProgramChunks, 0);

    // What a host stores is restored through programs and parameters.
    call(effSetProgram, 0, 4);
    effect->setParameter(effect, kElevL, 0.125f);
    std::vector<float> saved;
    for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
        saved.push_back(effect->getParameter(effect, i));
    const VstIntPtr savedProgram = call(effGetProgram);

    AEffect* second = entry(RecordingHost::callback);
    ASSERT_NE(second, nullptr);
    second->dispatcher(second, effSetProgram, 0, savedProgram, nullptr, 0);
    for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
        second->setParameter(second, i, saved[static_cast<std::size_t>(i)]);
    for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
        EXPECT_EQ(second->getParameter(second, i), saved[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0), 1);
}

// A host saving the whole bank (every program's name and eight values, and
// the current program) and restoring it into a fresh instance gets back
// exactly what it saved.
TEST_F(Binary, WholeBankSavedAndRestoredIntoAFreshInstance)
{
    struct Bank
    {
        std::string names[32];
        float values[32][kNumVantelorParameters];
        VstIntPtr current;
    };
    const auto save = [](AEffect* e) {
        Bank bank{};
        const VstIntPtr current = e->dispatcher(e, effGetProgram, 0, 0, nullptr, 0);
        for (VstInt32 p = 0; p < 32; ++p) {
            e->dispatcher(e, effSetProgram, 0, p, nullptr, 0);
            char name[kVstMaxProgNameLen + 1] = {};
            e->dispatcher(e, effGetProgramName, 0, 0, name, 0);
            bank.names[p] = name;
            for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
                bank.values[p][i] = e->getParameter(e, i);
        }
        e->dispatcher(e, effSetProgram, 0, current, nullptr, 0);
        bank.current = current;
        return bank;
    };

    // Every program made distinct: its own name and values.
    for (VstInt32 p = 0; p < 32; ++p) {
        call(effSetProgram, 0, p);
        char name[kVstMaxProgNameLen + 1] = {};
        std::snprintf(name, sizeof(name), "Bank entry %d", static_cast<int>(p));
        call(effSetProgramName, 0, 0, name);
        for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
            effect->setParameter(effect, i, static_cast<float>(p * 8 + i + 1) / 257.0f);
    }
    call(effSetProgram, 0, 13);
    const Bank saved = save(effect);
    EXPECT_EQ(saved.current, 13);
    EXPECT_EQ(saved.names[31], "Bank entry 31");

    AEffect* fresh = entry(RecordingHost::callback);
    ASSERT_NE(fresh, nullptr);
    for (VstInt32 p = 0; p < 32; ++p) {
        fresh->dispatcher(fresh, effSetProgram, 0, p, nullptr, 0);
        std::string name = saved.names[p];
        fresh->dispatcher(fresh, effSetProgramName, 0, 0, name.data(), 0);
        for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
            fresh->setParameter(fresh, i, saved.values[p][i]);
    }
    fresh->dispatcher(fresh, effSetProgram, 0, saved.current, nullptr, 0);

    const Bank restored = save(fresh);
    EXPECT_EQ(restored.current, saved.current);
    for (VstInt32 p = 0; p < 32; ++p) {
        EXPECT_EQ(restored.names[p], saved.names[p]) << "program " << p;
        for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
            EXPECT_EQ(restored.values[p][i], saved.values[p][i])
                << "program " << p << ", parameter " << i;
    }
    EXPECT_EQ(fresh->dispatcher(fresh, effClose, 0, 0, nullptr, 0), 1);
}

TEST_F(Binary, ParameterNamesLabelsAndDefaultDisplays)
{
    const struct
    {
        const char* name;
        const char* label;
        float value;
        const char* display;
    } rows[kNumVantelorParameters] = {
        {"Azi L", "deg", 0.25f, "-30.0"}, {"Elev L", "deg", 0.5f, "0.0"},
        {"Active L", "", 1.0f, " 1"},     {"Width L", "%", 0.0f, " 0"},
        {"Azi R", "deg", 0.75f, "30.0"},  {"Elev R", "deg", 0.5f, "0.0"},
        {"Active R", "", 1.0f, " 1"},     {"Width R", "%", 0.0f, " 0"},
    };
    for (VstInt32 i = 0; i < kNumVantelorParameters; ++i) {
        EXPECT_EQ(text(effGetParamName, i), rows[i].name);
        EXPECT_EQ(text(effGetParamLabel, i), rows[i].label);
        EXPECT_EQ(text(effGetParamDisplay, i), rows[i].display) << i;
        EXPECT_EQ(effect->getParameter(effect, i), rows[i].value) << i;
    }
    // Out-of-range indices leave the buffer alone.
    for (VstInt32 bad : {8, -1, 1 << 30}) {
        for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
            char buffer[16] = "untouched";
            call(opcode, bad, 0, buffer);
            EXPECT_STREQ(buffer, "untouched");
        }
    }
}

TEST_F(Binary, ParameterEntriesStoreExactlyAndShowUnits)
{
    effect->setParameter(effect, kActiveL, 0.5f);
    EXPECT_EQ(effect->getParameter(effect, kActiveL), 0.5f);
    effect->setParameter(effect, kWidthL, 0.8f);
    EXPECT_EQ(text(effGetParamDisplay, kWidthL), "80");
    EXPECT_EQ(text(effGetParamLabel, kWidthL), "%");
    effect->setParameter(effect, 9, 0.3f);
    effect->setParameter(effect, -1, 0.3f);
    EXPECT_EQ(effect->getParameter(effect, 9), 0.0f);
    EXPECT_EQ(effect->getParameter(effect, -1), 0.0f);

    // A second instance keeps its own values.
    AEffect* other = entry(RecordingHost::callback);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->getParameter(other, kWidthL), 0.0f);
    EXPECT_EQ(other->dispatcher(other, effClose, 0, 0, nullptr, 0), 1);
}

TEST_F(Binary, ProgramsAndTheirNames)
{
    const char* factory[8] = {"Default",      "Elevated",      "Lowered",       "Wide base",
                              "Wide sources", "Pseudo stereo", "Mono far left", "Mono far right"};
    for (VstInt32 p = 0; p < 32; ++p) {
        char expected[32];
        if (p < 8)
            std::strcpy(expected, factory[p]);
        else
            std::snprintf(expected, sizeof(expected), "Program %02d", p);
        EXPECT_EQ(text(effGetProgramNameIndexed, p), expected);
        EXPECT_EQ(call(effGetProgramNameIndexed, p, 0, nullptr), 0);
        call(effSetProgram, 0, p);
        EXPECT_EQ(call(effGetProgram), p);
        EXPECT_EQ(text(effGetProgramName), expected);
    }
    EXPECT_EQ(call(effGetProgramNameIndexed, 32, 0, nullptr), 0);

    call(effSetProgram, 0, 6); // "Mono far left"
    EXPECT_EQ(effect->getParameter(effect, kActiveR), 0.0f);
    EXPECT_EQ(text(effGetParamDisplay, kAziL), "-55.0");
    EXPECT_EQ(effect->getParameter(effect, kWidthL), 0.1f);
    call(effSetProgram, 0, 5); // "Pseudo stereo"
    EXPECT_EQ(text(effGetParamDisplay, kAziL), "0.0");
    EXPECT_EQ(text(effGetParamDisplay, kAziR), "0.0");
    EXPECT_EQ(effect->getParameter(effect, kWidthR), 0.8f);

    // Indices outside the programs, including ones that would wrap to a valid
    // 32-bit index, are ignored.
    for (VstIntPtr bad :
         {VstIntPtr{32}, VstIntPtr{-1}, (VstIntPtr{1} << 32) + 2, VstIntPtr{INTPTR_MIN}}) {
        call(effSetProgram, 0, bad);
        EXPECT_EQ(call(effGetProgram), 5);
    }

    char renamed[] = "My placement";
    call(effSetProgramName, 0, 0, renamed);
    EXPECT_EQ(text(effGetProgramName), "My placement");
    EXPECT_EQ(text(effGetProgramNameIndexed, 5), "My placement");
    call(effSetProgramName, 0, 0, nullptr);
    call(effGetProgramName, 0, 0, nullptr);
}

TEST_F(Binary, CapabilityTable)
{
    const struct
    {
        const char* text;
        VstIntPtr answer;
    } rows[] = {
        {"plugAsChannelInsert", 1},
        {"plugAsSend", 1},
        {"mixDryWet", 1},
        {"1in1out", 1},
        {"1in2out", 1},
        {"2in1out", 1},
        {"2in2out", 1},
        {"2in4out", -1},
        {"4in2out", -1},
        {"4in4out", -1},
        {"4in8out", -1},
        {"8in4out", -1},
        {"8in8out", -1},
        {"sendVstEvents", -1},
        {"sendVstMidiEvent", -1},
        {"receiveVstEvents", -1},
        {"receiveVstMidiEvent", -1},
        {"receiveVstTimeInfo", -1},
        {"offline", -1},
        {"noRealTime", -1},
        {"midiProgramNames", -1},
        {"bypass", -1},
        {"sizeWindow", -1},
        {"2in2out ", -1},
        {"2in2", -1},
        {"2IN2OUT", -1},
        {"", -1},
    };
    for (const auto& row : rows) {
        std::string copy = row.text;
        EXPECT_EQ(call(effCanDo, 0, 0, copy.data()), row.answer) << '"' << row.text << '"';
    }
    EXPECT_EQ(call(effCanDo, 0, 0, nullptr), -1);
}

TEST_F(Binary, HostRequestsOfTheRunningPlugin)
{
    const float before = effect->getParameter(effect, kAziL);
    for (float rate : {8000.0f, 384000.0f, 48000.0f, NAN, -1.0f, INFINITY})
        call(effSetSampleRate, 0, 0, nullptr, rate);
    call(effSetBlockSize, 0, 512);
    call(effMainsChanged, 0, 0);
    call(effMainsChanged, 0, 1);
    call(effMainsChanged, 0, 7);
    EXPECT_EQ(effect->getParameter(effect, kAziL), before);
    EXPECT_TRUE(RecordingHost::callsWith(audioMasterWantMidi).empty());

    // Audio: bad frame counts and missing buffers are ignored.
    std::vector<float> inL(64, 0.5f), inR(64, -0.25f), outL(64, 9.0f), outR(64, 9.0f);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    effect->processReplacing(effect, in, out, 0);
    effect->processReplacing(effect, in, out, -64);
    EXPECT_EQ(outL[0], 9.0f);
    effect->processReplacing(effect, nullptr, out, 64);
    effect->processReplacing(effect, in, nullptr, 64);
    effect->processReplacing(effect, in, out, 64);
    for (std::size_t i = 0; i < 64; ++i) {
        ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << i;
        ASSERT_NE(outL[i], 9.0f) << i;
    }
    double* dIn[2] = {nullptr, nullptr};
    effect->processDoubleReplacing(effect, dIn, dIn, 64);
}

TEST(BinaryEntry, HostsThatCannotOrNeedNotAnswer)
{
    BuiltPluginModule module;
    ASSERT_TRUE(module.loaded()) << module.error();
    auto entry = module.entry();
    auto legacy = module.entry("main");
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(legacy, nullptr);

    // A host that answers the version query with 0 gets nothing.
    RecordingHost::reset(0);
    EXPECT_EQ(entry(RecordingHost::callback), nullptr);
    EXPECT_EQ(legacy(RecordingHost::callback), nullptr);
    EXPECT_EQ(RecordingHost::calls().size(), 2u);

    // Without a callback the plug-in still works; host calls are skipped.
    AEffect* effect = legacy(nullptr);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->uniqueID, vstFourCC('H', 'F', 'V', 'N'));
    effect->setParameter(effect, kAziL, 0.5f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0), 1);

    // Only the two entry points are visible from outside.
    for (const char* internal :
         {"kCanDoTexts", "_Z13formatBoundedPcmPKcz", "_ZTV12CMyVSTPlugin", "_ZTV10CVSTPlugin",
          "_ZN11AudioEffect19dispatchEffectClassEP7AEffectiilPvf"})
        EXPECT_EQ(module.symbol(internal), nullptr) << internal;
}

} // namespace
