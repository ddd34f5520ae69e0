// The render progress bar: only on a terminal, only once the work has taken
// a while, and ending its line when done.
#include "tools/host/Progress.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace vst2host {
namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string contents(std::FILE* file)
{
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

TEST(Progress, ShownOnATerminalOnceTheWorkTakesAWhile)
{
    using std::chrono::hours;
    using std::chrono::milliseconds;
    struct Case
    {
        const char* what;
        bool terminal;
        Progress::Clock::duration delay;
        bool shown;
    };
    const Case cases[] = {
        {"terminal, slow work", true, milliseconds(0), true},
        {"terminal, quick work", true, hours(1), false},
        {"not a terminal", false, milliseconds(0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<std::FILE, FileCloser> stream(std::tmpfile());
        ASSERT_NE(stream, nullptr);
        {
            Progress progress(200, stream.get(), c.terminal, c.delay);
            progress.update(100);
            progress.update(101); // the same percentage is not drawn again
            progress.update(200);
        }
        const std::string text = contents(stream.get());
        if (!c.shown) {
            EXPECT_EQ(text, "");
            continue;
        }
        EXPECT_EQ(text, "\rrendering [####################....................]  50%"
                        "\rrendering [########################################] 100%\n");
    }
}

} // namespace
} // namespace vst2host
