#include "tools/host/ReportStream.h"

#include <unistd.h>

namespace vst2host {

namespace {
FILE* reportStream = nullptr;
}

FILE* report()
{
    return reportStream != nullptr ? reportStream : stdout;
}

void separateReport()
{
    if (reportStream != nullptr)
        return;
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    if (saved < 0)
        return;
    FILE* stream = fdopen(saved, "w");
    if (stream == nullptr) {
        close(saved);
        return;
    }
    if (dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        std::fclose(stream);
        return;
    }
    reportStream = stream;
}

namespace {
const char* currentName = "plugin-host";
} // namespace

const char* programName()
{
    return currentName;
}

void setProgramName(const char* name)
{
    currentName = name;
}

} // namespace vst2host
