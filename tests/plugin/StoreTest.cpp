// The parameter and program store: normalisation, display, program selection,
// names, bounds, and the framework's host queries and automation call.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/MyVSTPlugin.h"
#include "plugin/VSTPlugin.h"
#include "tests/support/RecordingHost.h"

namespace {

using vantelor_test::RecordingHost;

// The framework before any product definitions.
struct FreshPlugin : CVSTPlugin
{
    explicit FreshPlugin(audioMasterCallback host = nullptr) : CVSTPlugin(host, 2, 2) {}
    void processReplacing(float**, float**, VstInt32) override {}
    CVSTConfig& store() { return *config; }
};

std::string display(CVSTPlugin& p, VstInt32 index)
{
    char text[32] = "untouched";
    p.getParameterDisplay(index, text);
    return text;
}

TEST(Store, FreshStoreHasFrameworkDefaults)
{
    FreshPlugin p;
    char text[64];
    EXPECT_TRUE(p.getProgramNameIndexed(0, 5, text));
    EXPECT_STREQ(text, "Program 05");
    EXPECT_TRUE(p.getProgramNameIndexed(0, 12, text));
    EXPECT_STREQ(text, "Program 12");
    p.getParameterName(3, text);
    EXPECT_STREQ(text, "Par 3");
    p.getParameterLabel(3, text);
    EXPECT_STREQ(text, "Lab 3");
    EXPECT_EQ(display(p, 3), "0.50");
    EXPECT_FLOAT_EQ(p.getParameter(7), 0.5f);
    p.getEffectName(text);
    EXPECT_STREQ(text, "VSTPlugin");
    EXPECT_EQ(p.store().uniqueId, vstFourCC('H', 'F', 'V', 'P'));
}

TEST(Store, DefineParameterNormalisesIntoEveryProgram)
{
    FreshPlugin p;
    p.store().defineParameter(0, "Azi L", "deg", -60, 60, -30, "%2.1f");
    for (VstInt32 program = 0; program < CVSTPlugin::kNumPrograms; ++program)
        EXPECT_EQ(p.store().value(program, 0), 0.25f) << program;
    EXPECT_EQ(display(p, 0), "-30.0");
    EXPECT_EQ(p.getParameterDefault(0), 0.25f);

    // Out-of-range definitions are ignored.
    p.store().defineParameter(8, "x", "y", 0, 1, 1, "%f");
    p.store().defineParameter(-1, "x", "y", 0, 1, 1, "%f");
    const float values[8] = {};
    p.store().defineProgram(32, "x", values);
    p.store().defineProgram(-1, "x", values);
    char text[32];
    p.getProgramNameIndexed(0, 31, text);
    EXPECT_STREQ(text, "Program 31");
}

TEST(Store, DisplayFormatThatWouldReadMissingArgumentsFallsBack)
{
    FreshPlugin p;
    const char* unsafe[] = {"%s", "%n", "%*f", "%f%f", "%d"};
    for (const char* format : unsafe) {
        p.store().defineParameter(1, "P", "", 0, 1, 0.5f, format);
        EXPECT_EQ(display(p, 1), "0.50") << format;
    }
}

class ProductStore : public ::testing::Test
{
protected:
    CMyVSTPlugin plugin{nullptr};
};

TEST_F(ProductStore, SetAndGetHonourBoundsAndNeverClamp)
{
    plugin.setParameter(kWidthL, 1.7f);
    EXPECT_EQ(plugin.getParameter(kWidthL), 1.7f);
    EXPECT_GT(plugin.getParameterScaled(kWidthL), 100.0f);

    for (VstInt32 bad : {static_cast<VstInt32>(kNumVantelorParameters), -1, 1000}) {
        plugin.setParameter(bad, 0.3f);
        EXPECT_EQ(plugin.getParameter(bad), 0.0f);
        EXPECT_EQ(plugin.getParameterValue(bad), 0.0f);
        EXPECT_EQ(plugin.getParameterScaled(bad), 0.0f);
        EXPECT_EQ(plugin.getParameterDefault(bad), 0.0f);
        EXPECT_EQ(display(plugin, bad), "untouched");
    }
    for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
        EXPECT_NE(plugin.getParameter(i), 0.3f) << i;
}

TEST_F(ProductStore, ProgramsSelectTheirValuesAndIgnoreBadIndices)
{
    plugin.setProgram(3);
    EXPECT_EQ(plugin.getProgram(), 3);
    EXPECT_EQ(plugin.getParameterScaled(kAziL), -55.0f);
    EXPECT_EQ(plugin.getParameter(kWidthR), 0.1f);

    for (VstInt32 bad : {32, -1}) {
        plugin.setProgram(bad);
        EXPECT_EQ(plugin.getProgram(), 3);
    }

    // Edits belong to the program they were made in.
    plugin.setParameter(kAziL, 0.9f);
    plugin.setProgram(0);
    EXPECT_EQ(plugin.getParameter(kAziL), 0.25f);
    plugin.setProgram(3);
    EXPECT_EQ(plugin.getParameter(kAziL), 0.9f);
}

TEST_F(ProductStore, ProgramNamesAreCutTo24Characters)
{
    char longName[] = "abcdefghijklmnopqrstuvwxyz0123"; // 30 characters
    plugin.setProgramName(longName);
    char text[64];
    std::memset(text, '#', sizeof(text));
    plugin.getProgramName(text);
    EXPECT_STREQ(text, "abcdefghijklmnopqrstuvwx");
    EXPECT_EQ(text[25], '#');
    // A short name writes only itself and its terminator into the host's buffer.
    char shortName[] = "Mine";
    plugin.setProgramName(shortName);
    std::memset(text, '#', sizeof(text));
    plugin.getProgramName(text);
    EXPECT_STREQ(text, "Mine");
    EXPECT_EQ(text[5], '#');

    plugin.setProgramName(nullptr);
    plugin.getProgramName(nullptr);
    std::strcpy(text, "untouched");
    EXPECT_FALSE(plugin.getProgramNameIndexed(0, 40, text));
    EXPECT_FALSE(plugin.getProgramNameIndexed(0, -1, text));
    EXPECT_STREQ(text, "untouched");
}

TEST_F(ProductStore, HostTextBuffersReceiveOnlyTheTextAndItsTerminator)
{
    plugin.setParameter(kWidthL, 0.8f);
    const struct
    {
        void (CVSTPlugin::*get)(VstInt32, char*);
        const char* text;
    } cases[] = {
        {&CVSTPlugin::getParameterDisplay, "80"},
        {&CVSTPlugin::getParameterLabel, "%"},
        {&CVSTPlugin::getParameterName, "Width L"},
    };
    for (const auto& c : cases) {
        char text[16];
        std::memset(text, '#', sizeof(text));
        (plugin.*c.get)(kWidthL, text);
        EXPECT_STREQ(text, c.text);
        for (std::size_t i = std::strlen(c.text) + 1; i < sizeof(text); ++i)
            EXPECT_EQ(text[i], '#') << c.text << " wrote byte " << i;
    }
}

TEST_F(ProductStore, ParameterTextJoinsDisplayAndLabelWithinEightCharacters)
{
    const struct
    {
        VstInt32 index;
        float value;
        const char* text;
    } cases[] = {
        {kWidthL, 0.8f, "80%"},
        {kAziL, 0.25f, "-30.0deg"},
        {kElevR, 0.0f, "-60.0deg"},
        {kActiveL, 1.0f, " 1"},
    };
    for (const auto& c : cases) {
        plugin.setParameter(c.index, c.value);
        char text[16];
        std::memset(text, '#', sizeof(text));
        plugin.getParameterText(c.index, text);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(text[9], '#');
    }
}

TEST_F(ProductStore, VersionLabelAndCapabilities)
{
    char text[64];
    EXPECT_TRUE(plugin.getVersionLabel(text));
    EXPECT_STREQ(text, "HF_Vantelor v2.9.1");
    EXPECT_TRUE(plugin.getVersionString(text));
    EXPECT_STREQ(text, "v2.9.1");
    EXPECT_FALSE(plugin.getVersionLabel(nullptr));
    EXPECT_FALSE(plugin.getVersionString(nullptr));
    EXPECT_EQ(plugin.canDo(nullptr), -1);
}

TEST(Automation, ReachesTheStoreAndThenTheHost)
{
    RecordingHost::reset();
    FreshPlugin p(RecordingHost::callback);
    p.setParameterAutomated(2, 0.75f);
    EXPECT_EQ(p.getParameter(2), 0.75f);
    auto automate = RecordingHost::callsWith(audioMasterAutomate);
    ASSERT_EQ(automate.size(), 1u);
    EXPECT_EQ(automate[0].index, 2);
    EXPECT_EQ(automate[0].opt, 0.75f);
    EXPECT_EQ(automate[0].effect, p.getAeffect());

    // An invalid index reaches neither.
    p.setParameterAutomated(8, 0.1f);
    p.setParameterAutomated(-1, 0.1f);
    EXPECT_EQ(RecordingHost::callsWith(audioMasterAutomate).size(), 1u);

    // Edit gestures and the host's capability answers pass straight through.
    RecordingHost::reset();
    EXPECT_TRUE(p.beginEdit(4));
    EXPECT_TRUE(p.endEdit(4));
    char sizeWindow[] = "sizeWindow";
    EXPECT_TRUE(p.canHostDo(sizeWindow));
    EXPECT_TRUE(p.sizeWindow(414, 289));
    p.masterIdle();
    const auto calls = RecordingHost::calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(calls[0].index, 4);
    EXPECT_EQ(calls[1].opcode, audioMasterEndEdit);
    EXPECT_EQ(calls[2].text, "sizeWindow");
    EXPECT_EQ(calls[3].index, 414);
    EXPECT_EQ(calls[3].value, 289);
    EXPECT_EQ(calls[4].opcode, audioMasterIdle);

    // A host that cannot size its window says so, and the request fails.
    RecordingHost::reset(kVstVersion, false);
    EXPECT_FALSE(p.canHostDo(sizeWindow));
    EXPECT_FALSE(p.sizeWindow(414, 289));
}

TEST(Automation, WithoutAHostEveryCallFallsBack)
{
    FreshPlugin p(nullptr);
    p.setParameterAutomated(1, 0.2f);
    EXPECT_EQ(p.getParameter(1), 0.2f);
    EXPECT_FALSE(p.beginEdit(1));
    EXPECT_FALSE(p.canHostDo(nullptr));
    EXPECT_EQ(p.getMasterVersion(), 1);
    EXPECT_EQ(p.getCurrentUniqueId(), 0);
    EXPECT_TRUE(p.isInputConnected(0));
    EXPECT_EQ(p.updateSampleRate(), 44100.0);
    EXPECT_EQ(p.updateBlockSize(), 1024);
}

TEST(SpeakerArrangement, AllocateMatchAndFree)
{
    FreshPlugin p;
    VstSpeakerArrangement* source = nullptr;
    ASSERT_TRUE(p.allocateArrangement(&source, 12));
    source->type = 42;
    VstSpeakerProperties* speakers = source->speakers;
    std::memset(speakers[11].name, 'x', sizeof(speakers[11].name)); // no terminator
    speakers[11].azimuth = 0.5f;

    VstSpeakerArrangement* target = nullptr;
    ASSERT_TRUE(p.allocateArrangement(&target, 1));
    ASSERT_TRUE(p.matchArrangement(&target, source));
    EXPECT_EQ(target->numChannels, 12);
    EXPECT_EQ(target->type, 42);
    VstSpeakerProperties* copied = target->speakers;
    EXPECT_EQ(copied[11].azimuth, 0.5f);
    EXPECT_EQ(std::strlen(copied[11].name), 63u);

    EXPECT_FALSE(p.allocateArrangement(nullptr, 2));
    EXPECT_FALSE(p.allocateArrangement(&target, -1));
    EXPECT_FALSE(p.matchArrangement(nullptr, source));
    EXPECT_FALSE(p.matchArrangement(&target, nullptr));
    EXPECT_FALSE(p.copySpeaker(nullptr, copied));
    EXPECT_TRUE(p.deallocateArrangement(&source));
    EXPECT_EQ(source, nullptr);
    EXPECT_TRUE(p.deallocateArrangement(&target));
    EXPECT_FALSE(p.deallocateArrangement(nullptr));
}

} // namespace
