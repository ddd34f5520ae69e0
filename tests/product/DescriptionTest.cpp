// The product's description: the facts hosts store in their sessions never
// move, the texts a host's field gives read back as the values they name,
// and the version label is the framework's.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/TextBounded.h"
#include "plugin/VSTPlugin.h"
#include "product/VantelorDescription.h"

namespace {

// The VST 2.4 framework with the product's identity and nothing else.
class Framework final : public CVSTPlugin
{
public:
    Framework() : CVSTPlugin(nullptr, 2, 2)
    {
        copyBounded(config->effectName, vantelor::kProductName, CVSTConfig::kEffectNameLen);
        config->vendorVersion = vantelor::kVendorVersion;
    }
    void processReplacing(float**, float**, VstInt32) override {}
};

// Hosts file sessions and automation under these: once released, none moves.
TEST(ProductDescription, SessionFactsAreFixed)
{
    struct Fact
    {
        uint32_t id;
        const char* name;
        const char* symbol;
        const char* group;
    };
    const Fact facts[kNumVantelorParameters] = {
        {0, "Azi L", "azi_l", "Left source"},        {1, "Elev L", "elev_l", "Left source"},
        {2, "Active L", "active_l", "Left source"},  {3, "Width L", "width_l", "Left source"},
        {4, "Azi R", "azi_r", "Right source"},       {5, "Elev R", "elev_r", "Right source"},
        {6, "Active R", "active_r", "Right source"}, {7, "Width R", "width_r", "Right source"},
    };
    for (int i = 0; i < kNumVantelorParameters; ++i) {
        const VantelorParameterDefinition& p = kVantelorParameters[i];
        EXPECT_EQ(p.id, facts[i].id);
        EXPECT_STREQ(p.name, facts[i].name);
        EXPECT_STREQ(p.symbol, facts[i].symbol);
        EXPECT_STREQ(vantelor::groupName(p.group), facts[i].group);
        EXPECT_LE(std::strlen(p.name), 8u) << "a VST 2.4 name holds 8 characters";
        EXPECT_LE(p.min, p.defaultValue);
        EXPECT_LE(p.defaultValue, p.max);
    }
    EXPECT_EQ(vantelor::kVst2UniqueId, 0x4846564E); // 'HFVN'
    EXPECT_STREQ(vantelor::kLv2Uri, "https://www.harrowfields.example/hf-vantelor/lv2");
    EXPECT_STREQ(vantelor::kClapId, "example.harrowfields.hf-vantelor");
    EXPECT_EQ(vantelor::kVst3ProcessorId.words[0], 0x20B87AF5u);
    EXPECT_EQ(vantelor::kVst3ControllerId.words[3], 0x76445E22u);
    EXPECT_EQ(vantelor::kNumVantelorFactoryPrograms, 8);
    EXPECT_STREQ(kVantelorFactoryPrograms[7].name, "Mono far right");
}

TEST(ProductDescription, TextFromAHostFieldReadsAsTheValueItNames)
{
    struct Case
    {
        int index;
        const char* text;
        bool read;
        float units;
    };
    const Case cases[] = {
        {kAziL, "-45", true, -45.0f},
        {kAziL, "-45 deg", true, -45.0f},
        {kAziL, "  +12.5deg ", true, 12.5f},
        {kAziL, "-45 DEG", true, -45.0f},
        {kWidthR, "80 %", true, 80.0f},
        {kWidthR, "80", true, 80.0f},
        {kActiveL, "on", true, 1.0f},
        {kActiveR, "Off", true, 0.0f},
        {kActiveR, "1", true, 1.0f},
        // A value outside the range is still a value; the parameter clamps it.
        {kElevL, "75", true, 75.0f},
        {kAziL, "", false, 0},
        {kAziL, "left", false, 0},
        {kAziL, "-45 %", false, 0},
        {kWidthL, "80 deg", false, 0},
        {kWidthL, "nan", false, 0},
        {kWidthL, "inf", false, 0},
        {kAziL, "1e40", false, 0},
        {kAziL, "4 5", false, 0},
        {kAziL, "on", false, 0},
        {-1, "4", false, 0},
        {kNumVantelorParameters, "4", false, 0},
    };
    for (const Case& c : cases) {
        float units = 123.0f;
        EXPECT_EQ(vantelor::parseValue(c.index, c.text, &units), c.read) << c.text;
        EXPECT_EQ(units, c.read ? c.units : 123.0f) << c.text;
    }
    EXPECT_FALSE(vantelor::parseValue(kAziL, nullptr, nullptr));

    char text[9] = {};
    vantelor::formatValue(kAziL, -30.0f, text, 8);
    EXPECT_STREQ(text, "-30.0");
    vantelor::formatValue(kWidthR, 80.0f, text, 8);
    EXPECT_STREQ(text, "80");
}

// The label the window shows in every format is the one the VST 2.4
// framework reads back from the vendor version.
TEST(ProductDescription, VersionLabelIsTheFrameworks)
{
    char label[vantelor::kVersionLabelCapacity + 1] = {};
    ASSERT_TRUE(vantelor::formatVersionLabel(label));
    EXPECT_EQ(std::string(label), std::string("HF_Vantelor v") + vantelor::kVersionText);
    Framework framework;
    char framed[CVSTPlugin::kVersionLabelLen + 1] = {};
    ASSERT_TRUE(framework.getVersionLabel(framed));
    EXPECT_STREQ(label, framed);
    EXPECT_FALSE(vantelor::formatVersionLabel(nullptr));
    EXPECT_EQ(vantelor::kVendorVersion, kVantelorVersionMajor * 1000 + kVantelorVersionMinor * 100 +
                                            kVantelorVersionPatch * 10);
}

// The arithmetic every format shares maps each program's values to
// normalised values and back without a change.
TEST(ProductDescription, ProgramValuesSurviveNormalisation)
{
    for (const VantelorProgramDefinition& program : kVantelorFactoryPrograms)
        for (int i = 0; i < kNumVantelorParameters; ++i)
            EXPECT_EQ(vantelorToUnits(i, vantelorToNormalised(i, program.values[i])),
                      program.values[i])
                << program.name << " " << i;
}

} // namespace
