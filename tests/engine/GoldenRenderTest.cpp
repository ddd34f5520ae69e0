// The engine's output is fixed to the bit: each factory voicing, rendered at
// two rates through silence, near-zero input, music, transients, bad samples
// and parameter moves, hashes to the value recorded when the sound was
// signed off. Any change to the arithmetic, its order or the noise draws
// changes a hash; the block size never does. For other channel counts the
// block renderer matches the engine's frame-by-frame definition built from
// the panners' own per-sample process.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "dsp/Decorrelator.h"
#include "dsp/NumericHelpers.h"
#include "engine/Vantelor.h"

namespace
{
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
    {0xdd8adbc6615c2084ull, 0x604b2067c09b0519ull},
    {0x7fb785e4bae71a3eull, 0xb65cb2d3c5b3bb5bull},
    {0xa24fee0e5a59bbabull, 0x4414e9e655c7ddf1ull},
    {0x637febc6842ed6a5ull, 0xbc8bf4f89facdf7ull},
    {0x9aaee1b5bf486038ull, 0xc344c7156769647full},
    {0xf35cfce11a3692e2ull, 0xc09362b1992aedffull},
    {0xb1e552d897ab7eb5ull, 0x969c051251675d62ull},
    {0x7677807e36968c8ull, 0xa3514258d754118dull},
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
    for (int i = musicStart; i < musicEnd; ++i)
    {
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
    if (frame >= sweepStart && frame <= sweepEnd)
    {
        const float p = static_cast<float>(frame - sweepStart) / static_cast<float>(sweepEnd - sweepStart);
        engine.setAzimuth(-60.0f + 120.0f * p, 0);
        engine.setAzimuth(60.0f - 120.0f * p, 1);
    }
    if (frame == atSeconds(1.6, rate))
    {
        engine.setElevation(30.0f, 0);
        engine.setElevation(-20.0f, 1);
    }
    if (frame == atSeconds(1.8, rate))
    {
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
    for (int b = 0; b < 4; ++b)
    {
        hash ^= (bits >> (8 * b)) & 0xFFu;
        hash *= 0x100000001B3ull;
    }
    return hash;
}

uint64_t render(const Voicing& voicing, int rate, int blockSize)
{
    CVantelor engine(2, 2);
    engine.setSampleRate(static_cast<float>(rate));
    for (int8_t c = 0; c < 2; ++c)
    {
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
    while (frame < frames)
    {
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
        for (int i = 0; i < n; ++i)
        {
            hash = fnv1a(hash, io[0][i]);
            hash = fnv1a(hash, io[1][i]);
        }
        frame += n;
    }
    return hash;
}
// The engine as a frame loop over the panners' per-sample process: each
// active input is sanitised and guarded, panned and summed in channel order,
// the width-weighted side signal guarded, halved and decorrelated.
class ReferenceEngine
{
public:
    ReferenceEngine(int channels, float rate) : decorrelator(192000, 65536, 3)
    {
        for (int c = 0; c < channels; ++c)
        {
            panners.push_back(std::make_unique<CCCPanner>());
            panners.back()->setNoiseGenerator(&pannerNoise);
            panners.back()->setSampleRate(rate);
        }
        active.assign(static_cast<size_t>(channels), true);
        width.assign(static_cast<size_t>(channels), 0.0f);
        decorrelator.setDelay(static_cast<int32_t>(rate * 0.012f));
        decorrelator.setAllpassTotal(static_cast<int32_t>(rate * 0.008f));
        decorrelator.setAllpassCoefficient(0.6f);
    }

    void setActive(bool on, int c)
    {
        if (on != active[c])
            panners[c]->reset();
        active[c] = on;
    }

    void frame(const float* in, float& left, float& right)
    {
        float sumL = 0.0f;
        float sumR = 0.0f;
        float side = 0.0f;
        for (size_t c = 0; c < panners.size(); ++c)
        {
            if (!active[c])
                continue;
            float v = in[c];
            if (!(std::fabs(v) <= CVantelor::kInputLimit))
                v = std::isnan(v) || std::isinf(v) ? 0.0f : (v > 0.0f ? CVantelor::kInputLimit : -CVantelor::kInputLimit);
            v = denormalGuard(v, noise);
            float l;
            float r;
            panners[c]->process(&v, &l, &r);
            sumL += l;
            sumR += r;
            side += v * width[c];
        }
        side = denormalGuard(side, noise) * 0.5f;
        decorrelator.process(&side);
        left = side + sumL;
        right = sumR - side;
    }

    std::vector<std::unique_ptr<CCCPanner>> panners;
    std::vector<bool> active;
    std::vector<float> width;

private:
    CNoiseGenerator noise;
    CNoiseGenerator pannerNoise;
    CDecorrelator decorrelator;
};
} // namespace

TEST(GoldenRender, AnyChannelCountRendersAsTheFrameByFrameDefinition)
{
    // Channel count, then which channels are on.
    struct Case
    {
        int channels;
        bool active[4];
    };
    const Case cases[] = {
        {1, {true}},
        {3, {true, true, true}},
        {3, {true, false, true}},
        {4, {false, true, true, true}},
    };
    const float azimuths[] = {-45.0f, 12.0f, 60.0f, -30.0f};
    const int rate = 44100;
    const int frames = rate / 2;
    for (const Case& tc : cases)
    {
        CVantelor engine(static_cast<int8_t>(tc.channels), 2);
        ReferenceEngine reference(tc.channels, static_cast<float>(rate));
        engine.setSampleRate(static_cast<float>(rate));
        std::vector<std::vector<float>> in;
        for (int c = 0; c < tc.channels; ++c)
        {
            const int8_t ch = static_cast<int8_t>(c);
            engine.setAzimuth(azimuths[c], ch);
            reference.panners[c]->setAzimuth(azimuths[c]);
            engine.setElevation(10.0f * static_cast<float>(c) - 15.0f, ch);
            reference.panners[c]->setElevation(10.0f * static_cast<float>(c) - 15.0f);
            engine.setWidth(0.2f * static_cast<float>(c + 1), ch);
            reference.width[c] = 0.2f * static_cast<float>(c + 1);
            engine.setActive(tc.active[c], ch);
            reference.setActive(tc.active[c], c);
            std::vector<float> signal = makeInput(c % 2, rate);
            signal.resize(static_cast<size_t>(frames));
            in.push_back(signal);
        }
        std::vector<float*> inputs;
        for (auto& v : in)
            inputs.push_back(v.data());
        std::vector<float> out[2] = {std::vector<float>(frames), std::vector<float>(frames)};
        float* outputs[2] = {out[0].data(), out[1].data()};
        engine.process(inputs.data(), outputs, frames);

        std::vector<float> frameIn(static_cast<size_t>(tc.channels));
        for (int i = 0; i < frames; ++i)
        {
            for (int c = 0; c < tc.channels; ++c)
                frameIn[c] = in[c][i];
            float l;
            float r;
            reference.frame(frameIn.data(), l, r);
            ASSERT_EQ(std::bit_cast<uint32_t>(out[0][i]), std::bit_cast<uint32_t>(l))
                << tc.channels << " channels, frame " << i;
            ASSERT_EQ(std::bit_cast<uint32_t>(out[1][i]), std::bit_cast<uint32_t>(r))
                << tc.channels << " channels, frame " << i;
        }
    }
}

TEST(GoldenRender, EveryVoicingAtEveryRateAndBlockSizeMatchesTheRecordedSound)
{
    for (size_t v = 0; v < std::size(kVoicings); ++v)
        for (size_t r = 0; r < std::size(kRates); ++r)
            for (int blockSize : kBlockSizes)
            {
                const uint64_t hash = render(kVoicings[v], kRates[r], blockSize);
                EXPECT_EQ(hash, kGolden[v][r]) << kVoicings[v].name << " at " << kRates[r] << " Hz, blocks of "
                                               << blockSize << ": 0x" << std::hex << hash;
            }
}
