// vst2-host render's output file: the name's extension chooses the format,
// an unknown one is refused with nothing written, --same-format keeps the
// input's sample format in any container, and levels beyond full scale are
// reported when an integer format clips them, or avoided with --gain or
// --normalize.
#include "HostRunner.h"
#include "TestAudio.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

namespace vst2host::testing {
namespace {

const std::string kFixture = FIXTURE_PLUGIN;

// The fixture passes its two inputs to its first two outputs; its third
// output holds 0.5 (its first parameter) while the host is consistent.
HostRun render(ScratchDirectory& dir, const std::string& input, const std::string& output,
               std::vector<std::string> extra = {})
{
    std::vector<std::string> arguments = {"render",        kFixture, "-i",
                                          dir.path(input), "-o",     dir.path(output)};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return runHost(arguments);
}

void writeConstant(const std::string& path, int format, float value, int64_t frames = 1000)
{
    writeAudio(path, 2, 44100, format, frames, [=](int64_t, int) { return value; });
}

TEST(RenderOutput, ExtensionChoosesTheFormat)
{
    struct Case
    {
        const char* name;
        int format;
        bool lossless;
    };
    const std::vector<Case> cases = {
        {"out.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, true},
        {"OUT.AIFF", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, true},
        {"out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, true},
        {"out.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, false},
        {"out.caf", SF_FORMAT_CAF | SF_FORMAT_FLOAT, true},
        {"out.w64", SF_FORMAT_W64 | SF_FORMAT_FLOAT, true},
    };
    ScratchDirectory dir;
    writeConstant(dir.path("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.25f, 20000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HostRun run = render(dir, "in.wav", c.name);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(run.err.empty()) << run.err;
        const Audio audio = readAudio(dir.path(c.name));
        EXPECT_EQ(audio.format.format & (SF_FORMAT_TYPEMASK | SF_FORMAT_SUBMASK), c.format);
        EXPECT_EQ(audio.format.channels, 3);
        EXPECT_EQ(audio.format.frames, 20000);
        if (c.lossless) {
            EXPECT_EQ(audio.at(500, 0), 0.25f);
        }
    }
}

TEST(RenderOutput, UnknownOrMissingExtensionIsRefusedAndNothingWritten)
{
    for (const char* name : {"out.xyz", "out", "out."}) {
        SCOPED_TRACE(name);
        ScratchDirectory dir;
        writeConstant(dir.path("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.25f);
        const HostRun run = render(dir, "in.wav", name);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
        for (const char* listed : {"supported: ", "flac", "wav", "aiff", "ogg"})
            EXPECT_NE(run.err.find(listed), std::string::npos) << listed << "\n" << run.err;
        EXPECT_EQ(dir.files(), std::vector<std::string>{"in.wav"});
    }
}

TEST(RenderOutput, SameFormatKeepsTheInputSampleFormatInAnyContainer)
{
    ScratchDirectory dir;
    writeConstant(dir.path("in.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 0.25f);
    const std::vector<std::pair<const char*, int>> cases = {
        {"out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"out.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
    };
    for (const auto& [name, format] : cases) {
        SCOPED_TRACE(name);
        const HostRun run = render(dir, "in.flac", name, {"--same-format"});
        ASSERT_EQ(run.status, 0) << run.err;
        const Audio audio = readAudio(dir.path(name));
        EXPECT_EQ(audio.format.format & (SF_FORMAT_TYPEMASK | SF_FORMAT_SUBMASK), format);
        EXPECT_EQ(audio.at(10, 1), 0.25f);
    }
    // A container that cannot hold the input's sample format says so.
    writeConstant(dir.path("in24.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, 0.25f);
    const HostRun refused = render(dir, "in24.wav", "out.ogg", {"--same-format"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(lineCount(refused.err), 1) << refused.err;
    EXPECT_NE(refused.err.find("cannot hold"), std::string::npos) << refused.err;
}

TEST(RenderOutput, ClippingIsReportedAndAvoidable)
{
    ScratchDirectory dir;
    constexpr int64_t kFrames = 1000;
    // 8-bit WAV: each of the two inputs at 0.9, raised by 6 dB past full scale.
    writeConstant(dir.path("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 0.9f, kFrames);
    const float input = readAudio(dir.path("in.wav")).at(0, 0);

    const HostRun clipped = render(dir, "in.wav", "clipped.wav", {"--same-format", "--gain", "6"});
    ASSERT_EQ(clipped.status, 0) << clipped.err;
    EXPECT_NE(clipped.err.find("warning: " + std::to_string(2 * kFrames) + " samples clipped"),
              std::string::npos)
        << clipped.err;
    EXPECT_NE(clipped.err.find("--normalize"), std::string::npos) << clipped.err;
    const Audio loud = readAudio(dir.path("clipped.wav"));
    EXPECT_EQ(loud.format.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_U8);
    // Held at full scale, not wrapped around to the other sign.
    EXPECT_GT(loud.at(100, 0), 0.98f);

    // FLAC too: its encoder refuses samples beyond full scale unless clipped.
    writeConstant(dir.path("in.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 0.9f, kFrames);
    const HostRun flac = render(dir, "in.flac", "clipped.flac", {"--same-format", "--gain", "6"});
    ASSERT_EQ(flac.status, 0) << flac.err;
    EXPECT_NE(flac.err.find("samples clipped"), std::string::npos) << flac.err;
    EXPECT_GT(readAudio(dir.path("clipped.flac")).at(100, 0), 0.99f);

    // The same gain into floating point clips nothing and warns of nothing.
    const HostRun floating = render(dir, "in.wav", "float.wav", {"--gain", "6"});
    ASSERT_EQ(floating.status, 0) << floating.err;
    EXPECT_TRUE(floating.err.empty()) << floating.err;
    EXPECT_NEAR(readAudio(dir.path("float.wav")).at(100, 0), input * std::pow(10.0, 6.0 / 20.0),
                1e-5);

    const HostRun normalized =
        render(dir, "in.wav", "normalized.wav", {"--same-format", "--normalize"});
    ASSERT_EQ(normalized.status, 0) << normalized.err;
    EXPECT_TRUE(normalized.err.empty()) << normalized.err;
    EXPECT_NE(normalized.out.find("(normalised)"), std::string::npos) << normalized.out;
    const Audio level = readAudio(dir.path("normalized.wav"));
    EXPECT_GT(level.at(100, 0), 0.98f);
    EXPECT_NEAR(level.at(100, 2), 0.5f / input, 1.0 / 64);

    const HostRun both = render(dir, "in.wav", "both.wav", {"--normalize", "--gain", "3"});
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(lineCount(both.err), 1) << both.err;
}

TEST(RenderOutput, NoProgressWhenStandardErrorIsNotATerminal)
{
    ScratchDirectory dir;
    // Long enough in audio, with a tiny block, to be slow to render.
    writeConstant(dir.path("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.25f, 44100 * 20);
    const HostRun run = render(dir, "in.wav", "out.wav", {"--block", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("rendering"), std::string::npos) << run.err;
}

} // namespace
} // namespace vst2host::testing
