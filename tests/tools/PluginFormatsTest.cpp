// plugin-host loads every format: our VST3 and CLAP builds described, rendered
// bit for bit as the VST 2.4 build renders, given typed values exactly,
// validated by the checks that apply to them, and bad paths refused.
#include "HostRunner.h"
#include "TestAudio.h"

#include "tools/host/DemoSignal.h"
#include "tools/host/clap/ClapHost.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <set>

namespace vst2host::testing {
namespace {

const std::string kVst2 = VANTELOR_PLUGIN;
const std::string kVst3 = VANTELOR_VST3_BUNDLE;
const std::string kClap = VANTELOR_CLAP_PLUGIN;

struct Format
{
    const char* name;
    std::string path;
};

const Format kOtherFormats[] = {{"VST3", kVst3}, {"CLAP", kClap}};

void expectOneLineFailure(const HostRun& run, const std::string& what)
{
    EXPECT_EQ(run.status, 2) << what << "\n" << run.err;
    EXPECT_EQ(lineCount(run.err), 1) << what << "\n" << run.err;
    EXPECT_EQ(run.err.rfind("plugin-host: ", 0), 0u) << what << "\n" << run.err;
    EXPECT_TRUE(run.out.empty()) << what << "\n" << run.out;
}

// Renders the demo signal through `plugin` with these options; the samples.
std::vector<float> render(const ScratchDirectory& scratch, const std::string& plugin,
                          const std::vector<std::string>& options)
{
    const std::string out = scratch.path("render.au");
    std::vector<std::string> arguments{"render", plugin, "-o", out};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const HostRun run = runHost(arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.status == 0 ? readAudio(out).samples : std::vector<float>();
}

TEST(PluginFormats, InfoDescribesEachFormat)
{
    for (const Format& format : kOtherFormats) {
        SCOPED_TRACE(format.name);
        const HostRun run = runHost({"info", format.path, "--json"});
        ASSERT_EQ(run.status, 0) << run.err;
        const auto info = nlohmann::json::parse(run.out);
        EXPECT_EQ(info["format"], format.name);
        EXPECT_EQ(info["name"], "HF_Vantelor");
        EXPECT_EQ(info["vendor"], "Harrowfields");
        EXPECT_EQ(info["version"], "2.9.1");
        EXPECT_EQ(info["inputs"], 2);
        EXPECT_EQ(info["outputs"], 2);
        ASSERT_GE(info["parameters"].size(), 8u);
        const auto& width = info["parameters"][7];
        EXPECT_EQ(width["name"], "Width R");
        EXPECT_EQ(width["range"]["min"], 0.0);
        EXPECT_EQ(width["range"]["max"], 100.0);
        ASSERT_EQ(info["programs"].size(), 8u);
        EXPECT_EQ(info["programs"][3]["name"], "Wide base");
        EXPECT_EQ(info["currentProgram"], 0);
    }
    // The text form names the format too.
    const HostRun text = runHost({"info", kClap});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Format:         CLAP"), std::string::npos) << text.out;
}

// Factory programs, an odd block size, and typed values that the VST 2.4
// build's displays reach exactly: the formats are one product, so they
// render the same samples.
TEST(PluginFormats, RendersEqualTheVst2Render)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--program", "Wide base"},
        {"--program", "Pseudo stereo", "--block", "100"},
        {"--program", "7"},
        {"--set", "Azi L=-45", "--set", "Elev R=30", "--set", "Active L=0"},
    };
    ScratchDirectory scratch;
    for (const auto& options : cases) {
        const std::vector<float> expected = render(scratch, kVst2, options);
        ASSERT_FALSE(expected.empty());
        for (const Format& format : kOtherFormats) {
            SCOPED_TRACE(std::string(format.name) + " " + options[0] + " " + options[1]);
            EXPECT_TRUE(render(scratch, format.path, options) == expected);
        }
    }
}

// The VST3 render of a sweep follows the same values as the VST 2.4 one:
// both search the display for the sweep's ends.
TEST(PluginFormats, Vst3SweepEqualsTheVst2Sweep)
{
    ScratchDirectory scratch;
    const std::vector<std::string> options{"--program",    "2",       "--sweep",
                                           "Azi R:-60:60", "--block", "100"};
    EXPECT_TRUE(render(scratch, kVst3, options) == render(scratch, kVst2, options));
}

// The demo signal through the CLAP module given `units` for parameter `id`
// directly, before activation, as plugin-host renders (512-frame blocks).
std::vector<float> clapDirect(clap_id id, double units)
{
    clap_host::ClapModule module(kClap);
    EXPECT_TRUE(module.loaded()) << module.error();
    clap_host::ClapInstance plugin(module);
    clap_host::EventList events(1);
    events.value(0, id, units);
    plugin.flush(&events);
    EXPECT_TRUE(plugin.activate(DemoSignal::kSampleRate, 1, 512) && plugin.startProcessing());
    DemoSignal demo;
    std::vector<float> l(512), r(512), ol(512), orr(512), interleaved;
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    for (;;) {
        const int64_t got = demo.render(l.data(), r.data(), 512);
        if (got <= 0)
            break;
        plugin.process(in, out, static_cast<uint32_t>(got));
        for (int64_t i = 0; i < got; ++i) {
            interleaved.push_back(ol[i]);
            interleaved.push_back(orr[i]);
        }
    }
    return interleaved;
}

TEST(PluginFormats, ValuesInUnitsArriveExactly)
{
    ScratchDirectory scratch;
    // The value 12.5 itself, as the CLAP module takes it.
    const std::vector<float> direct = clapDirect(7, 12.5);
    ASSERT_FALSE(direct.empty());
    EXPECT_TRUE(render(scratch, kClap, {"--set", "Width R=12.5"}) == direct);
    // A value no float fraction of the range reaches exactly, likewise.
    EXPECT_TRUE(render(scratch, kClap, {"--set", "Width R=33.3"}) == clapDirect(7, 33.3));
    // 0.125 is exactly 12.5 % in every format's arithmetic; typed in units,
    // VST3 reaches it through the plug-in's own reading of the text.
    EXPECT_TRUE(render(scratch, kVst3, {"--set", "Width R=12.5"}) == direct);
    EXPECT_TRUE(render(scratch, kVst2, {"--set-normalized", "Width R=0.125"}) == direct);
    // Out of range is refused, not clamped.
    for (const Format& format : kOtherFormats)
        expectOneLineFailure(
            runHost({"render", format.path, "-o", scratch.path("x.au"), "--set", "Width R=140"}),
            format.name);
}

TEST(PluginFormats, ValidateRunsTheApplicableChecks)
{
    for (const Format& format : kOtherFormats) {
        SCOPED_TRACE(format.name);
        ScratchDirectory scratch;
        const std::string json = scratch.path("results.json");
        const HostRun run =
            runHost({"validate", format.path, "--strictness", "10", "--json", json});
        EXPECT_EQ(run.status, 0) << run.out << run.err;
        std::ifstream in(json);
        const auto results = nlohmann::json::parse(in);
        std::set<std::string> names;
        for (const auto& check : results["checks"]) {
            names.insert(check["name"].get<std::string>());
            EXPECT_EQ(check["outcome"], "pass") << check.dump();
        }
        for (const char* check :
             {"identity", "programs", "processing.matrix", "processing.determinism",
              "automation.sub-blocks", "realtime.allocation"})
            EXPECT_EQ(names.count(check), 1u) << check;
        // What only VST 2.4 has is not checked.
        EXPECT_EQ(names.count("texts"), 0u);
        expectOneLineFailure(runHost({"validate", format.path, "--only", "texts"}),
                             "a VST 2.4 check by name");
    }
}

TEST(PluginFormats, BadPathsAreRefused)
{
    ScratchDirectory scratch;
    const std::string text = scratch.path("notes.clap");
    std::ofstream(text) << "not a plug-in\n";
    const std::string emptyBundle = scratch.path("Empty.vst3");
    std::filesystem::create_directories(emptyBundle + "/Contents/x86_64-linux");
    // A VST 2.4 module named as a CLAP plug-in has no CLAP entry.
    const std::string renamed = scratch.path("Renamed.clap");
    std::filesystem::copy_file(kVst2, renamed);
    for (const std::string& path :
         {scratch.path("missing.vst3"), scratch.path("missing.clap"), text, emptyBundle, renamed}) {
        expectOneLineFailure(runHost({"info", path}), "info " + path);
        expectOneLineFailure(runHost({"bench", path, "--seconds", "0.01"}), "bench " + path);
    }
    // The VST 2.4-only commands say so.
    expectOneLineFailure(runHost({"measure", kClap, "--out", scratch.path("m")}), "measure");
    expectOneLineFailure(runHost({"editor", kVst3, "--seconds", "0"}), "editor");
}

} // namespace
} // namespace vst2host::testing
