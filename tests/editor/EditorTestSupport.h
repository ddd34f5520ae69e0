// A stand-in for the system's opener (xdg-open) that records the address it
// was asked to open, and the host callback that records edit gestures.
#pragma once

#include "tests/support/RecordingHost.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace vantelor_test {

class StandInOpener
{
public:
    StandInOpener()
    {
        dir_ =
            std::filesystem::temp_directory_path() /
            ("vantelor-opener-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
        std::filesystem::create_directories(dir_);
        log_ = dir_ / "opened.txt";
        const auto script = dir_ / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << (dir_ / "tmp").string()
                              << "\"\nmv \"" << (dir_ / "tmp").string() << "\" \"" << log_.string()
                              << "\"\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        ::setenv("PATH", (dir_.string() + ":" + oldPath_).c_str(), 1);
    }
    ~StandInOpener()
    {
        ::setenv("PATH", oldPath_.c_str(), 1);
        std::error_code error;
        std::filesystem::remove_all(dir_, error);
    }
    StandInOpener(const StandInOpener&) = delete;
    StandInOpener& operator=(const StandInOpener&) = delete;

    // The address the opener received, or empty when it was not run within
    // the time given.
    std::string opened(int waitMs = 3000) const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        do {
            if (std::filesystem::exists(log_)) {
                std::ifstream in(log_);
                std::string line;
                std::getline(in, line);
                return line;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        } while (std::chrono::steady_clock::now() < end);
        return {};
    }

private:
    static int& counter()
    {
        static int n = 0;
        return n;
    }
    std::filesystem::path dir_;
    std::filesystem::path log_;
    std::string oldPath_;
};

} // namespace vantelor_test
