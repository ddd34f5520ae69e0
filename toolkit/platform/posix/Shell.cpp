#include "toolkit/platform/Shell.h"

#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>

#include <array>
#include <filesystem>
#include <atomic>

extern char** environ;

namespace VSTGUI {

namespace {

// Openers started and not yet collected. A slot holds 0 when free.
std::array<std::atomic<pid_t>, 16> gOpeners{};

void remember(pid_t pid)
{
    for (auto& slot : gOpeners) {
        pid_t expected = 0;
        if (slot.compare_exchange_strong(expected, pid))
            return;
    }
    // Every slot busy: the child is left to be collected by the process.
}

} // namespace

bool openURL(const char* url)
{
    if (!url || !*url)
        return false;
    reapFinishedOpeners();
    char program[] = "xdg-open";
    char* argv[] = {program, const_cast<char*>(url), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return false;
    remember(pid);
    return true;
}

void reapFinishedOpeners()
{
    for (auto& slot : gOpeners) {
        const pid_t pid = slot.load();
        if (pid == 0)
            continue;
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || done < 0) {
            pid_t expected = pid;
            slot.compare_exchange_strong(expected, 0);
        }
    }
}

std::string getModuleDirectory()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&getModuleDirectory), &info) || !info.dli_fname)
        return {};
    // The main program may be named relative to the starting directory.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::weakly_canonical(info.dli_fname, error);
    if (error)
        return {};
    std::string path = absolute.string();
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return path.substr(0, slash + 1);
}

} // namespace VSTGUI
