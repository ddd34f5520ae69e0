// A stand-in for the system's opener (xdg-open) that records the address it
// was asked to open, and a host callback that records edit gestures.
#pragma once

#include "plugin/VstInterface.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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

// Host callback state shared by the tests of one process.
struct HostRecord
{
    std::atomic<bool> canSizeWindow{true};
    // The next automation call closes the editor from inside the callback,
    // as hosts may.
    std::atomic<bool> closeEditorOnAutomate{false};
    std::mutex mutex;
    std::vector<std::string> calls;

    void add(std::string s)
    {
        std::lock_guard<std::mutex> lock(mutex);
        calls.push_back(std::move(s));
    }
    std::vector<std::string> take()
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<std::string> out;
        out.swap(calls);
        return out;
    }
};

inline HostRecord gHost;

inline VstIntPtr VSTCALLBACK recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt)
{
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterAutomate: {
        std::ostringstream s;
        s << "automate" << index << "=" << opt;
        gHost.add(s.str());
        if (effect && gHost.closeEditorOnAutomate.exchange(false)) {
            gHost.add("close");
            effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0);
        }
        return 1;
    }
    case audioMasterBeginEdit:
        gHost.add("begin" + std::to_string(index));
        return 1;
    case audioMasterEndEdit:
        gHost.add("end" + std::to_string(index));
        return 1;
    case audioMasterCanDo:
        return ptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0 &&
                       gHost.canSizeWindow
                   ? 1
                   : 0;
    case audioMasterSizeWindow:
        gHost.add("size" + std::to_string(index) + "x" + std::to_string(value));
        return 1;
    default:
        return 0;
    }
}

} // namespace vantelor_test
