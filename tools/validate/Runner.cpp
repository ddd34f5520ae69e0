#include "tools/validate/Runner.h"

#include "tools/host/HostError.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace vst2host::validate {

namespace {

// The child reports through a pipe, one record per line: a letter for the
// kind, then the text. "F" failure, "W" warning, "N" note, "S" skipped, "C"
// the counts of failures and warnings, "E" the end of a complete report.
void writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

[[noreturn]] void runChild(const Check& check, const std::string& pluginPath, int strictness,
                           uint32_t seed, int fd)
{
    Findings findings(strictness);
    try {
        CheckContext context{pluginPath, strictness, seed, std::mt19937(seed), findings};
        check.run(context);
    } catch (const HostError& e) {
        findings.fail(e.what());
    } catch (const std::exception& e) {
        findings.fail(std::string("exception: ") + e.what());
    } catch (...) {
        findings.fail("an exception of unknown type");
    }
    std::string report;
    // Appended piece by piece: g++ 12 at -O3 warns (falsely) about the
    // copies of "literal" + std::string.
    for (const Finding& finding : findings.kept()) {
        report += finding.severity == Severity::Failure ? 'F' : 'W';
        report += oneLine(finding.text);
        report += '\n';
    }
    for (const std::string& note : findings.notes()) {
        report += 'N';
        report += oneLine(note);
        report += '\n';
    }
    if (findings.skipped())
        report += "S\n";
    report += 'C';
    report += std::to_string(findings.failures());
    report += ' ';
    report += std::to_string(findings.warnings());
    report += '\n';
    report += "E\n";
    writeAll(fd, report);
    ::close(fd);
    std::fflush(nullptr);
    // Plug-ins leave threads and exit handlers behind; the report is complete,
    // so the child ends without running them.
    _exit(0);
}

void parse(const std::string& text, Result& result, bool& complete, bool& skipped)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break;
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        const std::string body = line.substr(1);
        switch (line[0]) {
        case 'F':
            result.findings.push_back({Severity::Failure, body});
            break;
        case 'W':
            result.findings.push_back({Severity::Warning, body});
            break;
        case 'N':
            result.notes.push_back(body);
            break;
        case 'C':
            std::sscanf(body.c_str(), "%d %d", &result.failures, &result.warnings);
            break;
        case 'E':
            complete = true;
            break;
        case 'S':
            skipped = true;
            break;
        default:
            break;
        }
    }
}

std::string signalName(int signal)
{
    const char* name = sigabbrev_np(signal);
    return name != nullptr ? std::string("SIG") + name : "signal " + std::to_string(signal);
}

} // namespace

Result runIsolated(const Check& check, const std::string& pluginPath, int strictness, uint32_t seed,
                   double timeoutSeconds)
{
    using Clock = std::chrono::steady_clock;
    Result result;
    result.check = &check;
    const auto begin = Clock::now();

    int fds[2];
    if (::pipe(fds) != 0)
        throw HostError(std::string("cannot create a pipe: ") + std::strerror(errno));
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        throw HostError(std::string("cannot start a process for a check: ") + std::strerror(errno));
    if (child == 0) {
        ::close(fds[0]);
        runChild(check, pluginPath, strictness, seed, fds[1]);
    }
    ::close(fds[1]);

    std::string received;
    bool timedOut = false;
    const auto deadline = begin + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd poll{fds[0], POLLIN, 0};
        const int ready = ::poll(&poll, 1, static_cast<int>(std::min<long long>(left, 1000)));
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        received.append(buffer, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    if (timedOut)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - begin).count();

    bool complete = false;
    bool skipped = false;
    parse(received, result, complete, skipped);
    if (timedOut) {
        result.findings.insert(
            result.findings.begin(),
            {Severity::Failure,
             "did not finish within " + std::to_string(static_cast<int>(timeoutSeconds)) + " s"});
        ++result.failures;
    } else if (WIFSIGNALED(status)) {
        result.findings.insert(
            result.findings.begin(),
            {Severity::Failure, "the plug-in crashed (" + signalName(WTERMSIG(status)) + ")"});
        ++result.failures;
    } else if (!complete) {
        result.findings.insert(
            result.findings.begin(),
            {Severity::Failure, "the process ended before the check finished (exit status " +
                                    std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) +
                                    ")"});
        ++result.failures;
    }
    result.outcome = result.failures > 0   ? Outcome::Fail
                     : skipped             ? Outcome::Skip
                     : result.warnings > 0 ? Outcome::Warning
                                           : Outcome::Pass;
    return result;
}

} // namespace vst2host::validate
