// vst2-host validate through its executable: each known fault of the fixture
// is caught by the check meant for it and by no other, strictness decides what
// fails, a crash fails only its own check, and the plug-ins of other makers
// that the tests install are validated to the end.
#include "HostRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace vst2host::testing {
namespace {

struct Validation
{
    HostRun run;
    nlohmann::json results;

    std::set<std::string> withOutcome(const std::string& outcome) const
    {
        std::set<std::string> names;
        for (const auto& check : results["checks"])
            if (check["outcome"] == outcome)
                names.insert(check["name"].get<std::string>());
        return names;
    }
};

Validation validate(const std::string& plugin, std::vector<std::string> extra = {})
{
    ScratchDirectory dir;
    const std::string json = dir.path("results.json");
    std::vector<std::string> arguments = {"validate", plugin, "--json", json};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    Validation validation{runHost(arguments), {}};
    std::ifstream in(json);
    if (in)
        validation.results = nlohmann::json::parse(in);
    return validation;
}

TEST(Validate, EachFaultIsCaughtByItsCheckAlone)
{
    struct Case
    {
        const char* plugin;
        std::set<std::string> failing;
        std::set<std::string> warning;
    };
    const std::vector<Case> cases = {
        {FIXTURE_VALIDATION, {}, {}},
        {FIXTURE_FAULT_TEXT_OVERFLOW, {"texts"}, {}},
        {FIXTURE_FAULT_STICKY_NAN, {"processing.bad-input"}, {}},
        {FIXTURE_FAULT_ALLOCATES, {"realtime.allocation"}, {}},
        {FIXTURE_FAULT_FORGETS_PROGRAM, {"parameters.program-switch"}, {}},
        {FIXTURE_FAULT_SKIPS_FRAMES, {"processing.matrix"}, {}},
        {FIXTURE_FAULT_CRASHES_AT_HIGH_RATES, {"processing.matrix"}, {}},
        {FIXTURE_FAULT_SUBNORMALS, {}, {"processing.matrix"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::filesystem::path(c.plugin).filename().string());
        const Validation v = validate(c.plugin, {"--strictness", "10"});
        ASSERT_FALSE(v.results.is_null()) << v.run.err;
        EXPECT_EQ(v.run.status, c.failing.empty() ? 0 : 1) << v.run.out << v.run.err;
        EXPECT_EQ(v.withOutcome("fail"), c.failing) << v.run.out;
        EXPECT_EQ(v.withOutcome("warning"), c.warning) << v.run.out;
        EXPECT_EQ(v.results["failed"], c.failing.size());
        // The run goes on past a failing check: every check has a result.
        EXPECT_EQ(v.results["checks"].size(),
                  v.withOutcome("pass").size() + c.warning.size() + c.failing.size());
    }
}

TEST(Validate, FailuresSayWhatWasSeen)
{
    struct Case
    {
        const char* plugin;
        const char* check;
        const char* seen;
    };
    const std::vector<Case> cases = {
        {FIXTURE_FAULT_TEXT_OVERFLOW, "texts", "effGetParamLabel of parameter 0"},
        {FIXTURE_FAULT_STICKY_NAN, "processing.bad-input", "non-finite output samples"},
        {FIXTURE_FAULT_ALLOCATES, "realtime.allocation", "allocations inside processReplacing"},
        {FIXTURE_FAULT_FORGETS_PROGRAM, "parameters.program-switch", "after switching to program"},
        {FIXTURE_FAULT_SKIPS_FRAMES, "processing.matrix", "output samples not written"},
        {FIXTURE_FAULT_CRASHES_AT_HIGH_RATES, "processing.matrix", "crashed (SIGABRT)"},
    };
    // A warning fails nothing.
    const HostRun subnormals =
        runHost({"validate", FIXTURE_FAULT_SUBNORMALS, "--only", "processing.matrix"});
    EXPECT_EQ(subnormals.status, 0) << subnormals.err;
    EXPECT_NE(subnormals.out.find("warn  processing.matrix  "), std::string::npos)
        << subnormals.out;
    EXPECT_NE(subnormals.out.find("subnormal output samples"), std::string::npos) << subnormals.out;
    EXPECT_NE(subnormals.out.find("1 passed, 0 failed, 1 warning\n"), std::string::npos)
        << subnormals.out;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        const HostRun run =
            runHost({"validate", c.plugin, "--strictness", "10", "--only", c.check});
        EXPECT_EQ(run.status, 1) << run.err;
        std::istringstream lines(run.out);
        std::string header, result, summary, rest;
        std::getline(lines, header);
        std::getline(lines, result);
        std::getline(lines, summary);
        EXPECT_FALSE(std::getline(lines, rest)) << run.out;
        EXPECT_EQ(result.rfind("FAIL  " + std::string(c.check), 0), 0u) << result;
        EXPECT_NE(result.find(c.seen), std::string::npos) << result;
        EXPECT_EQ(summary, "0 passed, 1 failed, 0 warnings");
    }
}

TEST(Validate, StrictnessDecidesWhatFailsAndWhatRuns)
{
    // Allocating while processing is a warning at the default strictness.
    const Validation lenient = validate(FIXTURE_FAULT_ALLOCATES);
    EXPECT_EQ(lenient.run.status, 0) << lenient.run.out;
    EXPECT_EQ(lenient.withOutcome("warning"), std::set<std::string>{"realtime.allocation"});
    EXPECT_EQ(lenient.results["strictness"], 5);

    // At the lowest level, fewer checks run; the forgotten program goes unseen.
    const Validation basic = validate(FIXTURE_FAULT_FORGETS_PROGRAM, {"--strictness", "1"});
    EXPECT_EQ(basic.run.status, 0) << basic.run.out;
    for (const auto& check : basic.results["checks"])
        EXPECT_EQ(check["strictness"], 1) << check["name"];
    EXPECT_LT(basic.results["checks"].size(), lenient.results["checks"].size());
}

TEST(Validate, RequestErrorsAreOneLine)
{
    const std::vector<std::pair<std::vector<std::string>, const char*>> cases = {
        {{"validate", FIXTURE_NULL_EFFECT}, "plug-in that does not load"},
        {{"validate", FIXTURE_VALIDATION, "--only", "no-such-check"}, "unknown check"},
        {{"validate", FIXTURE_VALIDATION, "--strictness", "11"}, "strictness out of range"},
    };
    for (const auto& [arguments, what] : cases) {
        const HostRun run = runHost(arguments);
        EXPECT_EQ(run.status, 2) << what;
        EXPECT_EQ(lineCount(run.err), 1) << what << "\n" << run.err;
        EXPECT_TRUE(run.out.empty()) << what << "\n" << run.out;
    }
}

TEST(ValidateOnTheXServer, EditorFaultsAreCaughtByTheEditorCheck)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs an X display for the editor checks";
    struct Case
    {
        const char* plugin;
        const char* outcome;
        const char* seen;
    };
    const std::vector<Case> cases = {
        {FIXTURE_EDITOR_NONE, "pass",
         "20 times opened, idled and closed at 200x100, 10 of them after"},
        {FIXTURE_EDITOR_EDITOR_GROWS, "fail",
         "effEditGetRect gives 202x102, 201x101 when first opened (cycle 2)"},
        {FIXTURE_EDITOR_EDITOR_IGNORES_DESTROYED_WINDOW, "warn",
         "10 X errors reached the host's error handler"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plugin);
        const HostRun run =
            runHost({"validate", c.plugin, "--strictness", "10", "--only", "editor"});
        EXPECT_EQ(run.status, std::string(c.outcome) == "fail" ? 1 : 0) << run.err;
        EXPECT_NE(run.out.find(std::string(c.outcome == std::string("fail") ? "FAIL" : c.outcome) +
                               "  editor  " + c.seen),
                  std::string::npos)
            << run.out;
    }
    // Apart from the editor, the fixture with an editor passes everything.
    const Validation all = validate(FIXTURE_EDITOR_NONE, {"--strictness", "10"});
    EXPECT_EQ(all.run.status, 0) << all.run.out;
    EXPECT_EQ(all.results["passed"], all.results["checks"].size()) << all.run.out;
    EXPECT_EQ(all.results["warnings"], 0) << all.run.out;
}

// Plug-ins of other makers, installed with the tests: the validator runs every
// check to the end on each and reports (exit status 0 or 1); what a plug-in
// does wrong, even crashing in a check, is a finding, not the end of the run.
TEST(ValidateOnTheXServer, CompletesOnPluginsOfOtherMakers)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs an X display for the editor checks";
    const std::vector<std::string> peers = {
        "/usr/lib/vst/ZamHeadX2-vst.so",
        "/usr/lib/vst/ZamEQ2-vst.so",
        "/usr/lib/x86_64-linux-gnu/iem-plugin-suite/vst/libStereoEncoder.so",
        "/usr/lib/vst/3BandEQ-vst.so",
    };
    for (const std::string& peer : peers) {
        SCOPED_TRACE(peer);
        ASSERT_TRUE(std::filesystem::exists(peer)) << "the test packages are not installed";
        const Validation v = validate(peer);
        EXPECT_TRUE(v.run.status == 0 || v.run.status == 1) << v.run.status << "\n" << v.run.err;
        ASSERT_FALSE(v.results.is_null()) << v.run.err;
        EXPECT_EQ(v.results["passed"].get<int>() + v.results["failed"].get<int>(),
                  static_cast<int>(v.results["checks"].size()));
        EXPECT_EQ(v.results["skipped"], 0);
        EXPECT_NE(v.run.out.find(" passed, "), std::string::npos) << v.run.out;
    }
}

} // namespace
} // namespace vst2host::testing
