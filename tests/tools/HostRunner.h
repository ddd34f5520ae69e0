#pragma once

#include <string>
#include <vector>

namespace vst2host::testing {

// The result of one run of the built vst2-host executable.
struct HostRun
{
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs vst2-host with these arguments (no shell involved) and collects its
// standard output and error.
HostRun runHost(const std::vector<std::string>& arguments);

// A fresh empty directory for one test's files, removed with its contents.
class ScratchDirectory
{
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string path(const std::string& name) const { return directory_ + "/" + name; }
    // Names of the files in the directory.
    std::vector<std::string> files() const;

private:
    std::string directory_;
};

// Number of lines in a text (a trailing newline ends the last line).
int lineCount(const std::string& text);

} // namespace vst2host::testing
