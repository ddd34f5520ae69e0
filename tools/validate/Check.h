#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace vst2host {
class HostedPlugin;
class PluginInstance;
} // namespace vst2host

namespace vst2host::validate {

enum class Severity
{
    Warning,
    Failure
};

struct Finding
{
    Severity severity;
    std::string text;
};

// What one check found: its problems, and notes on what it saw that are
// worth showing even when it passes (a count, a measured cost).
class Findings
{
public:
    explicit Findings(int strictness) : strictness_(strictness) {}

    void fail(const std::string& text) { add(Severity::Failure, text); }
    void warn(const std::string& text) { add(Severity::Warning, text); }
    // A failure from this strictness upwards, a warning below it: for what a
    // careful host survives but a strict one does not.
    void problem(int failFrom, const std::string& text)
    {
        add(strictness_ >= failFrom ? Severity::Failure : Severity::Warning, text);
    }
    void note(const std::string& text) { notes_.push_back(text); }
    // The check could not run here (no display, say): neither passed nor failed.
    void skip(const std::string& reason)
    {
        skipped_ = true;
        notes_.insert(notes_.begin(), reason);
    }
    bool skipped() const { return skipped_; }

    const std::vector<Finding>& kept() const { return kept_; }
    const std::vector<std::string>& notes() const { return notes_; }
    int failures() const { return failures_; }
    int warnings() const { return warnings_; }

    // Only the first few findings are kept; the counts cover all of them.
    static constexpr size_t kKept = 12;

    void add(Severity severity, const std::string& text)
    {
        (severity == Severity::Failure ? failures_ : warnings_)++;
        if (kept_.size() < kKept)
            kept_.push_back({severity, text});
    }

private:
    int strictness_;
    std::vector<Finding> kept_;
    std::vector<std::string> notes_;
    int failures_ = 0;
    int warnings_ = 0;
    bool skipped_ = false;
};

// Everything a check gets: the plug-in to load, the strictness, a random
// source seeded from --seed, and where to put what it finds.
struct CheckContext
{
    std::string pluginPath;
    int strictness = 5;
    uint32_t seed = 1;
    std::mt19937 random;
    Findings& findings;

    // A fresh instance: loaded, opened, at 44100 Hz and 512-frame blocks, not
    // yet resumed.
    std::unique_ptr<PluginInstance> load() const;
    // The same for a plug-in of any format, for the checks that apply to
    // every format.
    std::unique_ptr<HostedPlugin> loadAny() const;

    // A uniformly distributed value in [0, 1).
    float uniform() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(random); }
};

struct Check
{
    const char* name;
    int strictness; // the lowest strictness that runs it
    const char* description;
    void (*run)(CheckContext& context);
    // Whether it applies to every format the host loads; otherwise it
    // checks what only VST 2.4 has (opcodes, texts, chunks, the editor).
    bool anyFormat = false;
};

// The checks of each group, in the order they run.
void addIdentityChecks(std::vector<Check>& checks);
void addParameterChecks(std::vector<Check>& checks);
void addStateChecks(std::vector<Check>& checks);
void addProcessingChecks(std::vector<Check>& checks);
void addAutomationChecks(std::vector<Check>& checks);
void addRealTimeChecks(std::vector<Check>& checks);
void addEditorChecks(std::vector<Check>& checks);

// Every check in running order: by group, then as each group lists them.
const std::vector<Check>& allChecks();

} // namespace vst2host::validate
