// Bounded text routines and the base class's number renderings always stay
// inside their limits and produce the documented texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "plugin/AudioEffectX.h"
#include "plugin/TextBounded.h"

namespace {

struct BareEffect : AudioEffectX
{
    BareEffect() : AudioEffectX(nullptr, 1, 1) {}
    void processReplacing(float**, float**, VstInt32) override {}
};

// A buffer with guard bytes after the n + 1 characters the routines may use.
template <std::size_t N>
struct Guarded
{
    char text[N + 1 + 8];
    Guarded() { std::memset(text, '#', sizeof(text)); }
    bool guardIntact() const
    {
        for (std::size_t i = N + 1; i < sizeof(text); ++i)
            if (text[i] != '#')
                return false;
        return true;
    }
};

TEST(TextBounded, FormatCutsAndTerminates)
{
    Guarded<8> b;
    EXPECT_EQ(formatBounded(b.text, 8, "%s", "abcdefghijkl"), 8);
    EXPECT_STREQ(b.text, "abcdefgh");
    EXPECT_TRUE(b.guardIntact());

    Guarded<8> s;
    EXPECT_EQ(formatBounded(s.text, 8, "%2.0f", 1.0), 2);
    EXPECT_STREQ(s.text, " 1");
    EXPECT_EQ(s.text[8], 0);

    formatBounded(nullptr, 8, "%d", 1); // ignored
    Guarded<4> n;
    formatBounded(n.text, 4, nullptr);
    EXPECT_STREQ(n.text, "");
}

TEST(TextBounded, CopyFillsWithZerosAndReadsNoFurtherThanN)
{
    Guarded<8> b;
    copyBounded(b.text, "abc", 8);
    EXPECT_STREQ(b.text, "abc");
    for (int i = 3; i <= 8; ++i)
        EXPECT_EQ(b.text[i], 0) << i;
    EXPECT_TRUE(b.guardIntact());

    // The source has no terminator within the first 8 characters.
    const char unterminated[8] = {'1', '2', '3', '4', '5', '6', '7', '8'};
    Guarded<8> c;
    copyBounded(c.text, unterminated, 8);
    EXPECT_STREQ(c.text, "12345678");

    Guarded<4> z;
    copyBounded(z.text, nullptr, 4);
    EXPECT_STREQ(z.text, "");
}

TEST(TextBounded, AppendKeepsTheWholeTextWithinN)
{
    Guarded<8> b;
    copyBounded(b.text, "Azi", 8);
    appendBounded(b.text, " L", 8);
    EXPECT_STREQ(b.text, "Azi L");
    appendBounded(b.text, " degrees", 8);
    EXPECT_STREQ(b.text, "Azi L de");
    appendBounded(b.text, "more", 8);
    EXPECT_STREQ(b.text, "Azi L de");
    EXPECT_TRUE(b.guardIntact());
}

TEST(TextBounded, OnlySingleFloatFormatsAreSafe)
{
    const struct
    {
        const char* format;
        bool safe;
    } cases[] = {
        {"%2.1f", true}, {"%3.2f", true}, {"%-+8.3e", true}, {"%g%%", true},   {"x%Ay", true},
        {"%s", false},   {"%n", false},   {"%*f", false},    {"%lf%f", false}, {"%d", false},
        {"abc", false},  {"%", false},    {"%.f%", false},   {nullptr, false}, {"%Lf", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isSingleFloatFormat(c.format), c.safe) << (c.format ? c.format : "(null)");
}

TEST(NumberText, Float2StringRendersEightCharacters)
{
    BareEffect effect;
    const struct
    {
        float value;
        const char* expected;
    } cases[] = {
        {123.25f, "123.2500"},
        {1.5f, "1.500000"},
        {-2.0f, "-2.00000"},
        {0.0f, "0.000000"},
        {-12345678.0f, "Huge!"},
        {123456789.0f, "Huge!"},
        {12345678.0f, "12345678"},
        {-1234567.0f, "-1234567"},
        {9999999.0f, "9999999."},
        {-0.5f, "-0.50000"},
        {std::numeric_limits<float>::infinity(), "Huge!"},
        {-std::numeric_limits<float>::infinity(), "Huge!"},
        {std::numeric_limits<float>::quiet_NaN(), "NaN"},
    };
    for (const auto& c : cases) {
        Guarded<8> b;
        effect.float2string(c.value, b.text, 8);
        EXPECT_STREQ(b.text, c.expected) << c.value;
        EXPECT_TRUE(b.guardIntact());
    }
    Guarded<3> shortBuffer;
    effect.float2string(1.5f, shortBuffer.text, 3);
    EXPECT_STREQ(shortBuffer.text, "1.5");
    EXPECT_TRUE(shortBuffer.guardIntact());
}

TEST(NumberText, Int2StringAndUnitConversions)
{
    BareEffect effect;
    const struct
    {
        VstInt32 value;
        const char* expected;
    } cases[] = {
        {-42, "-42"},
        {100000000, "Huge!"},
        {99999999, "99999999"},
        {0, "0"},
        {7, "7"},
        {std::numeric_limits<VstInt32>::min(), "Huge!"},
        {-99999999, "-99999999"},
    };
    for (const auto& c : cases) {
        char text[16];
        effect.int2string(c.value, text, 15);
        EXPECT_STREQ(text, c.expected) << c.value;
    }

    char text[16];
    effect.dB2string(0.0f, text, 8);
    EXPECT_STREQ(text, "-oo");
    effect.dB2string(1.0f, text, 8);
    EXPECT_STREQ(text, "0.000000");
    effect.Hz2string(0.0f, text, 8);
    EXPECT_STREQ(text, "0.000000");
    effect.Hz2string(441.0f, text, 8); // 44100 Hz / 441 samples
    EXPECT_STREQ(text, "100.0000");
    effect.ms2string(441.0f, text, 8);
    EXPECT_STREQ(text, "10.00000");

    effect.float2string(1.0f, nullptr, 8); // ignored
    effect.int2string(1, text, -1);        // ignored
}

} // namespace
