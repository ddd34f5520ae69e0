#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace vst2host {

// A progress bar for long work, on a stream that is a terminal. It appears
// only once the work has taken `delay`, so a quick job prints nothing, and a
// stream that is not a terminal (a log, a pipe) never gets one.
class Progress
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kDelay{1500};

    Progress(int64_t total, std::FILE* stream, bool terminal, Clock::duration delay = kDelay);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Reports `done` of the total.
    void update(int64_t done);

private:
    int64_t total_;
    std::FILE* stream_;
    bool enabled_;
    Clock::time_point showFrom_;
    int shown_ = -1;
};

} // namespace vst2host
