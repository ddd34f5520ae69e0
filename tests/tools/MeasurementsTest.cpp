// vst2-host measure: what it measures of our plug-in holds the plug-in's
// known properties, it measures a peer's continuous pan law too, and a
// plug-in it cannot measure is refused with one line.
#include "tests/tools/HostRunner.h"
#include "tools/host/HostError.h"
#include "tools/host/Measurements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

namespace {

using namespace vst2host;

constexpr const char* kPeer = "/usr/lib/vst/ZamHeadX2-vst.so";

double gain(double db)
{
    return std::pow(10.0, db / 20.0);
}

// The largest change of either output's gain (as a factor, not in dB: a gain
// passing through zero is continuous though its level in dB is not) between
// neighbouring azimuths of one elevation.
double largestStep(const PanLaw& law, double elevation)
{
    double largest = 0.0;
    const PanLawPoint* previous = nullptr;
    for (const PanLawPoint& p : law.points) {
        if (p.elevation != elevation)
            continue;
        if (previous) {
            largest = std::max(largest, std::abs(gain(p.leftDb) - gain(previous->leftDb)));
            largest = std::max(largest, std::abs(gain(p.rightDb) - gain(previous->rightDb)));
        }
        previous = &p;
    }
    return largest;
}

// Mirror images within 0.01 dB. Where the far output nearly cancels (below
// -20 dB) its dB figure magnifies the last digits of the pan law's parabolic
// sine, so there the gains agree within 2e-4 as factors instead.
void expectMirrored(double a, double b, const std::string& where)
{
    if (a > -20.0 && b > -20.0)
        EXPECT_NEAR(a, b, 0.01) << where;
    else
        EXPECT_NEAR(gain(a), gain(b), 2e-4) << where;
}

class OurMeasurements : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { law_ = measurePanLaw(VANTELOR_PLUGIN, {0.0, -60.0, 60.0}); }
    static PanLaw law_;
};
PanLaw OurMeasurements::law_;

TEST_F(OurMeasurements, PanLawIsSymmetricContinuousAndCentred)
{
    ASSERT_TRUE(law_.skippedElevations.empty());
    ASSERT_EQ(law_.points.size(), 3u * 121u);
    std::map<std::pair<double, double>, PanLawPoint> at;
    for (const PanLawPoint& p : law_.points)
        at[{p.elevation, p.azimuth}] = p;
    for (const PanLawPoint& p : law_.points) {
        const PanLawPoint& mirror = at.at({p.elevation, -p.azimuth});
        expectMirrored(p.leftDb, mirror.rightDb,
                       "elevation " + std::to_string(p.elevation) + ", azimuth " +
                           std::to_string(p.azimuth));
        EXPECT_TRUE(std::isfinite(p.leftDb) && std::isfinite(p.rightDb));
    }
    const PanLawPoint& centre = at.at({0.0, 0.0});
    EXPECT_NEAR(centre.leftDb, centre.rightDb, 0.01);
    // A source far left is louder on the left: the tool reads the outputs the
    // right way round.
    EXPECT_GT(at.at({0.0, -60.0}).leftDb, at.at({0.0, -60.0}).rightDb + 6.0);
    for (double elevation : {0.0, -60.0, 60.0})
        EXPECT_LT(largestStep(law_, elevation), 0.05) << "elevation " << elevation;
}

TEST(OurElevationResponse, FlatAtZeroColouredAtTheExtremes)
{
    const ElevationResponse response =
        measureElevationResponse(VANTELOR_PLUGIN, {-60.0, 0.0, 60.0});
    ASSERT_EQ(response.elevations.size(), 3u);
    const auto spread = [](const std::vector<double>& levels) {
        const auto [low, high] = std::minmax_element(levels.begin(), levels.end());
        return *high - *low;
    };
    EXPECT_LT(spread(response.levelDb[1]), 0.01);
    EXPECT_GT(spread(response.levelDb[0]), 1.0);
    EXPECT_GT(spread(response.levelDb[2]), 1.0);
}

TEST(OurWidth, CorrelationFallsFromOneAsTheSideSignalRises)
{
    const std::vector<WidthPoint> points = measureWidth(VANTELOR_PLUGIN, 10);
    ASSERT_EQ(points.size(), 11u);
    EXPECT_NEAR(points.front().correlation, 1.0, 1e-4);
    EXPECT_LT(points.front().sideDb, -80.0);
    for (size_t k = 1; k < points.size(); ++k) {
        EXPECT_LT(points[k].correlation, points[k - 1].correlation)
            << "width " << points[k].display;
        EXPECT_GT(points[k].sideDb, points[k - 1].sideDb) << "width " << points[k].display;
    }
    EXPECT_NEAR(points.back().display, 100.0, 1e-6);
}

TEST(OurPrograms, TheEightFactoryProgramsWithTheirSettings)
{
    const std::vector<ProgramMeasurement> programs = measurePrograms(VANTELOR_PLUGIN);
    ASSERT_EQ(programs.size(), 8u);
    EXPECT_EQ(programs[0].name, "Default");
    const ProgramMeasurement& farLeft = programs[6];
    EXPECT_EQ(farLeft.name, "Mono far left");
    ASSERT_EQ(farLeft.sources.size(), 2u);
    EXPECT_TRUE(farLeft.sources[0].active);
    EXPECT_FALSE(farLeft.sources[1].active);
    EXPECT_NEAR(farLeft.sources[0].azimuth, -55.0, 0.05);
    EXPECT_GT(farLeft.leftDb, farLeft.rightDb);
    for (const ProgramMeasurement& p : programs)
        EXPECT_GT(p.leftDb, -60.0) << p.name;
}

TEST(PeerMeasurements, APeerHasAContinuousPanLaw)
{
    if (!std::filesystem::exists(kPeer))
        GTEST_SKIP() << kPeer << " is not installed (Debian package zam-plugins)";
    const PanLaw law = measurePanLaw(kPeer, {0.0});
    ASSERT_EQ(law.points.size(), 121u);
    // Its gains reach about 2.7 and ripple by up to 0.4 from one degree to the
    // next where its head responses change; a jump across the stereo image
    // would be of the order of its largest gain.
    double largestGain = 0.0;
    for (const PanLawPoint& p : law.points)
        largestGain = std::max({largestGain, gain(p.leftDb), gain(p.rightDb)});
    EXPECT_LT(largestStep(law, 0.0), 0.2 * largestGain);
    // The measurement sees the peer pan too: far left is louder on the left.
    EXPECT_GT(law.points.front().leftDb, law.points.front().rightDb);
}

TEST(MeasureCommand, WritesEveryFileForAPeerAndRefusesAnEffectThatIsNotStereo)
{
    if (!std::filesystem::exists(kPeer))
        GTEST_SKIP() << kPeer << " is not installed (Debian package zam-plugins)";
    vst2host::testing::ScratchDirectory scratch;
    const vst2host::testing::HostRun peer =
        vst2host::testing::runHost({"measure", kPeer, "--out", scratch.path("peer")});
    EXPECT_EQ(peer.status, 0) << peer.err;
    EXPECT_TRUE(std::filesystem::exists(scratch.path("peer/pan-law.csv")));
    EXPECT_TRUE(std::filesystem::exists(scratch.path("peer/programs.csv")));

    const vst2host::testing::HostRun fixture =
        vst2host::testing::runHost({"measure", FIXTURE_PLUGIN, "--out", scratch.path("fixture")});
    EXPECT_EQ(fixture.status, 2);
    EXPECT_NE(fixture.err.find("only stereo effects can be measured"), std::string::npos)
        << fixture.err;
    EXPECT_EQ(vst2host::testing::lineCount(fixture.err), 1);
}

} // namespace
