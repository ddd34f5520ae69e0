// Setting a parameter by its displayed value: the bisection lands on the value
// the plug-in displays as asked, for increasing, decreasing and worded displays.
#include "tools/host/HostError.h"
#include "tools/host/ParameterSearch.h"
#include "tools/host/PluginInstance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace vst2host {
namespace {

TEST(LeadingNumber, ReadsTheNumberADisplayStartsWith)
{
    const struct
    {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"-45.0 deg", -45.0},  {"  3", 3.0},       {"+2.5dB", 2.5},       {"1e3 Hz", 1000.0},
        {"Off", std::nullopt}, {"", std::nullopt}, {"nan", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingNumber(c.text), c.expected) << c.text;
    EXPECT_EQ(leadingNumber("-inf dB"), -INFINITY);
}

TEST(ParameterSearch, HitsTheDisplayOfAMinimalPlugin)
{
    PluginInstance plugin(FIXTURE_PLUGIN);
    // Increasing, one decimal: the middle of the rounded range is the exact value.
    EXPECT_NEAR(normalizedForText(plugin, 0, "15"), 0.625f, 1e-6f);
    EXPECT_EQ(plugin.paramDisplay(0), "15.0");
    // The ends of the range are exact.
    EXPECT_EQ(normalizedForText(plugin, 0, "60"), 1.0f);
    // Decreasing, whole numbers.
    normalizedForText(plugin, 1, "25");
    EXPECT_EQ(plugin.paramDisplay(1), "25");
    // A word shown by the plug-in, in any case.
    normalizedForText(plugin, 2, "on");
    EXPECT_EQ(plugin.paramDisplay(2), "On");

    EXPECT_THROW(normalizedForText(plugin, 0, "60.5"), HostError);
    EXPECT_THROW(normalizedForText(plugin, 1, "-1"), HostError);
    EXPECT_THROW(normalizedForText(plugin, 2, "1"), HostError);
}

TEST(ParameterSearch, HitsTheDisplayOfAPluginWeDidNotWrite)
{
    const std::string path = "/usr/lib/vst/ZamEQ2-vst.so";
    ASSERT_TRUE(std::filesystem::exists(path)) << "zam-plugins is not installed";
    PluginInstance plugin(path);
    const struct
    {
        const char* name;
        double target;
        double tolerance;
    } cases[] = {
        {"Boost/Cut 1", -6.0, 1e-3}, {"Frequency 1", 1000.0, 0.5}, {"Master Gain", 3.5, 1e-3}};
    for (const auto& c : cases) {
        const int index = plugin.findParameter(c.name);
        ASSERT_GE(index, 0) << c.name;
        normalizedForDisplay(plugin, index, c.target);
        const auto shown = leadingNumber(plugin.paramDisplay(index));
        ASSERT_TRUE(shown.has_value()) << c.name;
        EXPECT_NEAR(*shown, c.target, c.tolerance) << c.name << ": " << plugin.paramDisplay(index);
    }
}

} // namespace
} // namespace vst2host
