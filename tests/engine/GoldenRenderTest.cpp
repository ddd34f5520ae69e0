// The engine's output is fixed to the bit: each factory voicing, rendered at
// two rates through silence, near-zero input, music, transients, bad samples
// and parameter moves, hashes to the value recorded when the sound was
// signed off. Any change to the arithmetic, its order or the noise draws
// changes a hash; neither the block size nor the renderer ever does.
#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "dsp/NumericHelpers.h"
#include "engine/Vantelor.h"

namespace {
// Azimuth, elevation, on/off and width (percent) per channel, as the factory
// programs store them.
struct Voicing
{
    const char* name;
    float azimuth[2];
    float elevation[2];
    bool active[2];
    float widthPercent[2];
};

const Voicing kVoicings[] = {
    {"Default", {-30, 30}, {0, 0}, {true, true}, {0, 0}},
    {"Elevated", {-30, 30}, {55, 55}, {true, true}, {0, 0}},
    {"Lowered", {-30, 30}, {-55, -55}, {true, true}, {0, 0}},
    {"Wide base", {-55, 55}, {0, 0}, {true, true}, {10, 10}},
    {"Wide sources", {-30, 30}, {0, 0}, {true, true}, {80, 80}},
    {"Pseudo stereo", {0, 0}, {0, 0}, {true, true}, {80, 80}},
    {"Mono far left", {-55, 30}, {0, 0}, {true, false}, {10, 0}},
    {"Mono far right", {-30, 55}, {0, 0}, {false, true}, {0, 10}},
};

constexpr int kRates[] = {44100, 96000};
constexpr int kBlockSizes[] = {1, 37, 512};
// Parameter moves happen on these boundaries, so every block size applies
// them at the same frames.
constexpr int kMoveGrid = 512;

// Recorded per voicing, for 44100 and 96000 Hz.
constexpr uint64_t kGolden[8][2] = {
    {0xdd8adbc6615c2084ull, 0x604b2067c09b0519ull}, {0x7fb785e4bae71a3eull, 0xb65cb2d3c5b3bb5bull},
    {0xa24fee0e5a59bbabull, 0x4414e9e655c7ddf1ull}, {0x637febc6842ed6a5ull, 0xbc8bf4f89facdf7ull},
    {0x9aaee1b5bf486038ull, 0xc344c7156769647full}, {0xf35cfce11a3692e2ull, 0xc09362b1992aedffull},
    {0xb1e552d897ab7eb5ull, 0x969c051251675d62ull}, {0x7677807e36968c8ull, 0xa3514258d754118dull},
};

int atSeconds(double seconds, int rate)
{
    return static_cast<int>(seconds * rate) / kMoveGrid * kMoveGrid;
}

// A tone from the parabolic sine on an exactly computed phase: the test
// input must not depend on a platform's math library.
float tone(float freq, int frame, int rate)
{
    const double turns = static_cast<double>(frame) * freq / rate;
    return fastSin(static_cast<float>(6.283185307179586 * (turns - std::floor(turns))));
}

// Three seconds: silence, near-zero values around the guard threshold,
// two tones with noise and loud single-sample transients (one beyond the
// input limit), a block of NaN and infinities, then silence for the tails.
std::vector<float> makeInput(int channel, int rate)
{
    const int frames = 3 * rate;
    std::vector<float> in(static_cast<size_t>(frames), 0.0f);
    CNoiseGenerator random;
    random.setState(channel == 0 ? 12345u : 54321u);
    const float tiny[] = {1e-9f, -1e-9f, 1e-8f, -1e-8f, 1e-40f, -1e-40f, 2e-8f, 0.0f, -0.0f};
    const float freq = channel == 0 ? 220.0f : 331.0f;
    const int nearZeroStart = atSeconds(0.25, rate);
    const int musicStart = atSeconds(0.5, rate);
    const int musicEnd = atSeconds(2.5, rate);
    for (int i = nearZeroStart; i < musicStart; ++i)
        in[i] = tiny[static_cast<size_t>(i) % std::size(tiny)];
    for (int i = musicStart; i < musicEnd; ++i) {
        const float noise = static_cast<float>(randomInt(random) - 16384) * (0.05f / 16384.0f);
        in[i] = 0.4f * tone(freq, i, rate) + 0.2f * tone(3.1f * freq, i, rate) + noise;
        if ((i - musicStart) % (rate / 3) == 0)
            in[i] = channel == 0 ? 8.0f : -6.0f;
    }
    in[static_cast<size_t>(atSeconds(1.2, rate)) + 7] = channel == 0 ? 1e12f : -3e20f;
    const int badStart = atSeconds(1.4, rate) + 100;
    for (int i = badStart; i < badStart + 512; ++i)
        in[i] = channel == 0 ? std::numeric_limits<float>::quiet_NaN()
                             : ((i & 1) != 0 ? std::numeric_limits<float>::infinity()
                                             : -std::numeric_limits<float>::infinity());
    return in;
}

// Applies the moves scheduled at `frame`: an azimuth sweep across the whole
// range in opposite directions, then an elevation change, a width change and
// the second channel switched off and on again.
void applyMoves(CVantelor& engine, int frame, int rate)
{
    const int sweepStart = atSeconds(0.75, rate);
    const int sweepEnd = atSeconds(1.5, rate);
    if (frame >= sweepStart && frame <= sweepEnd) {
        const float p =
            static_cast<float>(frame - sweepStart) / static_cast<float>(sweepEnd - sweepStart);
        constexpr float kEnd = CCCPanner::kMaxAngle;
        engine.setAzimuth(-kEnd + 2.0f * kEnd * p, 0);
        engine.setAzimuth(kEnd - 2.0f * kEnd * p, 1);
    }
    if (frame == atSeconds(1.6, rate)) {
        engine.setElevation(30.0f, 0);
        engine.setElevation(-20.0f, 1);
    }
    if (frame == atSeconds(1.8, rate)) {
        engine.setWidth(0.5f, 0);
        engine.setWidth(0.25f, 1);
    }
    if (frame == atSeconds(2.0, rate))
        engine.setActive(!engine.isActive(1), 1);
    if (frame == atSeconds(2.2, rate))
        engine.setActive(!engine.isActive(1), 1);
}

uint64_t fnv1a(uint64_t hash, float v)
{
    const uint32_t bits = std::bit_cast<uint32_t>(v);
    for (int b = 0; b < 4; ++b) {
        hash ^= (bits >> (8 * b)) & 0xFFu;
        hash *= 0x100000001B3ull;
    }
    return hash;
}

uint64_t render(const Voicing& voicing, int rate, int blockSize, CVantelor::Renderer renderer)
{
    CVantelor engine(2, 2);
    engine.setRenderer(renderer);
    engine.setSampleRate(static_cast<float>(rate));
    for (int8_t c = 0; c < 2; ++c) {
        engine.setAzimuth(voicing.azimuth[c], c);
        engine.setElevation(voicing.elevation[c], c);
        engine.setActive(voicing.active[c], c);
        engine.setWidth(voicing.widthPercent[c] / 100.0f, c);
    }
    // Rendered in place, as hosts may.
    std::vector<float> buffers[2] = {makeInput(0, rate), makeInput(1, rate)};
    const int frames = static_cast<int>(buffers[0].size());
    uint64_t hash = 0xCBF29CE484222325ull;
    int frame = 0;
    while (frame < frames) {
        if (frame % kMoveGrid == 0)
            applyMoves(engine, frame, rate);
        const int nextMove = (frame / kMoveGrid + 1) * kMoveGrid;
        int n = blockSize;
        if (frame + n > nextMove)
            n = nextMove - frame;
        if (frame + n > frames)
            n = frames - frame;
        float* io[2] = {buffers[0].data() + frame, buffers[1].data() + frame};
        engine.process(io, io, n);
        for (int i = 0; i < n; ++i) {
            hash = fnv1a(hash, io[0][i]);
            hash = fnv1a(hash, io[1][i]);
        }
        frame += n;
    }
    return hash;
}

struct RendererName
{
    CVantelor::Renderer renderer;
    const char* name;
};

const RendererName kRenderers[] = {{CVantelor::Renderer::reference, "Reference"},
                                   {CVantelor::Renderer::sse2, "SSE2"},
                                   {CVantelor::Renderer::avx2, "AVX2"},
                                   {CVantelor::Renderer::avx512, "AVX512"}};

// One recorded render: a voicing at a rate, through one renderer in blocks
// of one size.
struct GoldenCase
{
    size_t voicing;
    size_t rate;
    RendererName renderer;
    int blockSize;
};

// The renderer a new engine picks goes through every block size; the others
// (compared with it at every block size by the renderer test) through
// host-sized blocks.
std::vector<GoldenCase> goldenCases()
{
    const CVantelor::Renderer chosen = CVantelor(2, 2).getRenderer();
    std::vector<GoldenCase> cases;
    for (const RendererName& r : kRenderers)
        for (size_t v = 0; v < std::size(kVoicings); ++v)
            for (size_t rate = 0; rate < std::size(kRates); ++rate)
                for (int blockSize : kBlockSizes)
                    if (r.renderer == chosen || blockSize == 512)
                        cases.push_back({v, rate, r, blockSize});
    return cases;
}

// "WideSources_96000Hz_SSE2_Blocks512": the voicing's name without spaces,
// as a test's name and in its messages.
std::string describe(const GoldenCase& c)
{
    std::string name;
    bool upper = true;
    for (const char* p = kVoicings[c.voicing].name; *p; ++p) {
        if (*p == ' ') {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(*p))) : *p;
        upper = false;
    }
    return name + "_" + std::to_string(kRates[c.rate]) + "Hz_" + c.renderer.name + "_Blocks" +
           std::to_string(c.blockSize);
}

void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << describe(c);
}

std::string caseName(const ::testing::TestParamInfo<GoldenCase>& info)
{
    return describe(info.param);
}

class GoldenRender : public ::testing::TestWithParam<GoldenCase>
{};
} // namespace

TEST_P(GoldenRender, MatchesTheRecordedSound)
{
    const GoldenCase& c = GetParam();
    const uint64_t hash =
        render(kVoicings[c.voicing], kRates[c.rate], c.blockSize, c.renderer.renderer);
    EXPECT_EQ(hash, kGolden[c.voicing][c.rate]) << "0x" << std::hex << hash;
}

INSTANTIATE_TEST_SUITE_P(EveryVoicingRateRendererAndBlockSize, GoldenRender,
                         ::testing::ValuesIn(goldenCases()), caseName);
