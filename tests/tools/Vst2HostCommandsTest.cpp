// vst2-host through its executable: what each command writes, and that every
// failure is one line on standard error, exit status 2 and no file left behind.
#include "HostRunner.h"
#include "TestAudio.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vst2host::testing {
namespace {

const std::string kZamEq = "/usr/lib/vst/ZamEQ2-vst.so";
const std::string kZamHead = "/usr/lib/vst/ZamHeadX2-vst.so";
const std::string kFixture = FIXTURE_PLUGIN;

// The peers are installed with the test packages: missing, they fail the test.
#define REQUIRE_ZAM()                                                                              \
    ASSERT_TRUE(std::filesystem::exists(kZamEq) && std::filesystem::exists(kZamHead))              \
        << "zam-plugins is not installed"

void expectOneLineFailure(const HostRun& run, const std::string& what)
{
    EXPECT_EQ(run.status, 2) << what << "\n" << run.err;
    EXPECT_EQ(lineCount(run.err), 1) << what << "\n" << run.err;
    EXPECT_EQ(run.err.rfind("vst2-host: ", 0), 0u) << what << "\n" << run.err;
    EXPECT_TRUE(run.out.empty()) << what << "\n" << run.out;
}

TEST(Info, DescribesAPluginWeDidNotWrite)
{
    REQUIRE_ZAM();
    const HostRun run = runHost({"info", kZamEq});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected : {"ZamEQ2", "Boost/Cut 1", "Frequency H", "CanReplacing", "2in2out"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected;
}

TEST(Info, JsonStaysParsableWhenThePluginPrints)
{
    REQUIRE_ZAM();
    // ZamHeadX2 prints diagnostics to standard output while it loads.
    const HostRun run = runHost({"info", kZamHead, "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto info = nlohmann::json::parse(run.out);
    for (const char* key : {"name", "vendor", "product", "vendorVersion", "uniqueId", "category",
                            "inputs", "outputs", "flags", "parameters", "programs", "canDo"})
        EXPECT_TRUE(info.contains(key)) << key;
    EXPECT_EQ(info["name"], "ZamHeadX2");
    EXPECT_EQ(info["inputs"], 2);
    ASSERT_FALSE(info["parameters"].empty());
    for (const char* key : {"index", "name", "display", "label", "automatable"})
        EXPECT_TRUE(info["parameters"][0].contains(key)) << key;
}

TEST(Info, ReadsProgramNamesAndOverlongTextsFromAMinimalPlugin)
{
    const HostRun run = runHost({"info", kFixture, "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto info = nlohmann::json::parse(run.out);
    EXPECT_EQ(info["uniqueId"], "Fixt");
    // The fixture names programs only through effSetProgram + effGetProgramName;
    // its own program (1) must be selected again afterwards.
    ASSERT_EQ(info["programs"].size(), 3u);
    EXPECT_EQ(info["programs"][0]["name"], "Alpha");
    EXPECT_EQ(info["programs"][2]["name"], "Gamma");
    EXPECT_EQ(info["currentProgram"], 1);
    EXPECT_EQ(info["parameters"][1]["name"], "Depth of the modulation, much longer than allowed");
    EXPECT_EQ(info["parameters"][2]["automatable"], false);
}

TEST(Info, LoadFailuresAreReportedInOneLine)
{
    ScratchDirectory dir;
    const std::string text = dir.path("notes.so");
    std::ofstream(text) << "not a shared object\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {dir.path("missing.so"), "missing file"},
        {text, "not a shared object"},
        {FIXTURE_NO_ENTRY, "shared object without entry"},
        {FIXTURE_NULL_EFFECT, "entry returning no effect"},
    };
    for (const auto& [path, what] : cases)
        expectOneLineFailure(runHost({"info", path}), what);
    expectOneLineFailure(runHost({"info"}), "missing argument");
    expectOneLineFailure(runHost({"frobnicate", kFixture}), "unknown command");
}

TEST(Render, DemoSignalThroughAPluginWeDidNotWrite)
{
    REQUIRE_ZAM();
    ScratchDirectory dir;
    const std::string out = dir.path("demo.wav");
    const HostRun run = runHost({"render", kZamHead, "-o", out});
    ASSERT_EQ(run.status, 0) << run.err;
    const Audio audio = readAudio(out);
    EXPECT_EQ(audio.format.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(audio.format.channels, 2);
    EXPECT_EQ(audio.format.sampleRate, 44100);
    EXPECT_EQ(audio.format.frames, 4 * 44100);
    double energy[2] = {};
    for (int64_t i = 0; i < audio.format.frames; ++i)
        for (int c = 0; c < 2; ++c) {
            ASSERT_TRUE(std::isfinite(audio.at(i, c)));
            energy[c] += audio.at(i, c) * audio.at(i, c);
        }
    EXPECT_GT(std::sqrt(energy[0] / audio.format.frames), 1e-3);
    EXPECT_GT(std::sqrt(energy[1] / audio.format.frames), 1e-3);
}

TEST(Render, MonoFeedsBothInputsAndStereoOneEach)
{
    // The fixture passes its inputs to outputs 0 and 1; its third output shows
    // that the transport it reads back during processing was consistent.
    for (const int channels : {1, 2}) {
        SCOPED_TRACE(channels);
        ScratchDirectory dir;
        const std::string in = dir.path("in.wav");
        const std::string out = dir.path("out.wav");
        const auto value = [](int64_t i, int c) { return (c == 0 ? 0.001f : -0.002f) * (i % 500); };
        writeAudio(in, channels, 48000, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1000, value);
        // A block size that does not divide the length leaves a short last block.
        const HostRun run = runHost({"render", kFixture, "-i", in, "-o", out, "--block", "300"});
        ASSERT_EQ(run.status, 0) << run.err;
        const Audio audio = readAudio(out);
        ASSERT_EQ(audio.format.channels, 3);
        EXPECT_EQ(audio.format.sampleRate, 48000);
        ASSERT_EQ(audio.format.frames, 1000);
        for (int64_t i = 0; i < 1000; ++i) {
            ASSERT_EQ(audio.at(i, 0), value(i, 0)) << i;
            ASSERT_EQ(audio.at(i, 1), value(i, channels - 1)) << i;
            ASSERT_TRUE(std::isfinite(audio.at(i, 2))) << i;
        }
    }
}

TEST(Render, RejectedRequestsLeaveNoFileBehind)
{
    struct Case
    {
        const char* what;
        int inputChannels;
        std::vector<std::string> extra;
    };
    const std::vector<Case> cases = {
        {"three-channel input", 3, {}},
        {"unknown parameter", 2, {"--set", "Volume=3"}},
        {"value outside the displayed range", 2, {"--set", "Pan=75"}},
        {"word the display never shows", 2, {"--set", "Mode=Maybe"}},
        {"normalised value above 1", 2, {"--set-normalized", "Pan=1.5"}},
        {"unknown program", 2, {"--program", "Delta"}},
        {"malformed sweep", 2, {"--sweep", "Pan:-30"}},
        {"missing input file", 0, {}},
    };
    for (const Case& c : cases) {
        ScratchDirectory dir;
        const std::string in = dir.path("in.wav");
        if (c.inputChannels > 0)
            writeAudio(in, c.inputChannels, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 100,
                       [](int64_t, int) { return 0.25f; });
        std::vector<std::string> arguments = {"render", kFixture, "-i",
                                              in,       "-o",     dir.path("out.wav")};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        expectOneLineFailure(runHost(arguments), c.what);
        const std::vector<std::string> left =
            c.inputChannels > 0 ? std::vector<std::string>{"in.wav"} : std::vector<std::string>{};
        EXPECT_EQ(dir.files(), left) << c.what;
    }
}

// The fixture's third output carries the normalised value of "Pan", whose
// display runs from -60.0 to 60.0.
TEST(Render, ParameterValuesReachThePlugin)
{
    ScratchDirectory dir;
    const std::string out = dir.path("out.wav");
    const auto panOf = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments = {"render", kFixture, "-o", out, "--program", "Gamma"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const HostRun run = runHost(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        return readAudio(out);
    };
    EXPECT_NEAR(panOf({"--set", "Pan=15"}).at(1000, 2), 0.625f, 1e-6);
    EXPECT_EQ(panOf({"--set", "pan=-60"}).at(1000, 2), 0.0f);
    EXPECT_EQ(panOf({"--set-normalized", "Pan=0.125"}).at(1000, 2), 0.125f);

    const Audio swept = panOf({"--sweep", "Pan:-30:30", "--block", "441"});
    const int64_t frames = swept.format.frames;
    EXPECT_NEAR(swept.at(0, 2), 0.25, 0.005);
    EXPECT_NEAR(swept.at(frames / 2, 2), 0.5, 0.005);
    EXPECT_NEAR(swept.at(frames - 1, 2), 0.75, 0.005);
    for (int64_t i = 1; i < frames; ++i)
        ASSERT_GE(swept.at(i, 2), swept.at(i - 1, 2)) << i;
}

TEST(Render, SameFormatKeepsTheInputEncoding)
{
    ScratchDirectory dir;
    const std::string in = dir.path("in.aiff");
    writeAudio(in, 2, 22050, SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 500,
               [](int64_t i, int c) { return c == 0 ? 0.5f : -0.25f * (i % 2); });
    for (const bool same : {false, true}) {
        const std::string out = dir.path(same ? "same.aiff" : "float.wav");
        std::vector<std::string> arguments = {"render", kFixture, "-i", in, "-o", out};
        if (same)
            arguments.push_back("--same-format");
        const HostRun run = runHost(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        const Audio audio = readAudio(out);
        EXPECT_EQ(audio.format.format,
                  same ? SF_FORMAT_AIFF | SF_FORMAT_PCM_24 : SF_FORMAT_WAV | SF_FORMAT_FLOAT);
        EXPECT_EQ(audio.format.sampleRate, 22050);
        EXPECT_EQ(audio.format.frames, 500);
        EXPECT_EQ(audio.at(7, 0), 0.5f);
    }
}

TEST(Bench, MeasuresSeveralPluginsInOneRun)
{
    REQUIRE_ZAM();
    const HostRun run =
        runHost({"bench", kZamEq, kZamHead, "--seconds", "0.3", "--set", "Width=1.5"});
    ASSERT_EQ(run.status, 0) << run.err;
    int rows = 0;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("ZamEQ2-vst.so ", 0) == 0 || line.rfind("ZamHeadX2-vst.so ", 0) == 0) {
            ++rows;
            EXPECT_NE(line.find('x'), std::string::npos) << line;
        }
    EXPECT_EQ(rows, 2) << run.out;
}

TEST(Bench, ProcessesTheInputAsked)
{
    REQUIRE_ZAM();
    for (const char* input : {"noise", "silence"}) {
        const HostRun run = runHost({"bench", kZamEq, "--seconds", "0.1", "--input", input});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find(std::string("input ") + input + ","), std::string::npos) << run.out;
    }
    expectOneLineFailure(runHost({"bench", kZamEq, "--seconds", "0.1", "--input", "hum"}),
                         "an unknown input");
}

TEST(Bench, AutomatesAParameterOfThePluginsThatHaveIt)
{
    REQUIRE_ZAM();
    const HostRun run = runHost({"bench", kFixture, kZamEq, "--seconds", "0.1", "--sweep",
                                 "Pan:-60:60", "--sweep-seconds", "0.05"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("automating Pan:-60:60 before every block"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("ZamEQ2-vst.so has no such parameter"), std::string::npos) << run.out;

    expectOneLineFailure(
        runHost({"bench", kFixture, kZamEq, "--seconds", "0.1", "--sweep", "Nowhere:0:1"}),
        "a sweep of a parameter no plug-in has");
    expectOneLineFailure(runHost({"bench", kFixture, "--seconds", "0.1", "--sweep", "Pan:-90:0"}),
                         "a sweep beyond the displayed range");
}

TEST(Editor, PluginWithoutEditorIsRefused)
{
    expectOneLineFailure(runHost({"editor", kFixture, "--seconds", "1"}), "no editor");
}

#if defined(VANTELOR_PLUGIN)
TEST(OurPlugin, InfoAndRender)
{
    const HostRun info = runHost({"info", VANTELOR_PLUGIN, "--json"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(nlohmann::json::parse(info.out)["uniqueId"], "HFVN");

    ScratchDirectory dir;
    const std::string out = dir.path("out.wav");
    const HostRun render = runHost({"render", VANTELOR_PLUGIN, "-o", out});
    ASSERT_EQ(render.status, 0) << render.err;
    const Audio audio = readAudio(out);
    EXPECT_EQ(audio.format.channels, 2);
    EXPECT_EQ(audio.format.frames, 4 * 44100);
    for (float sample : audio.samples)
        ASSERT_TRUE(std::isfinite(sample));
}
#endif

} // namespace
} // namespace vst2host::testing
