// The product's processor: a change inside a block sounds as the same change
// made between two blocks split at its frame, on every renderer; values set
// before processing starts reach the engine after the rate; processing with
// changes allocates nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/Vantelor.h"
#include "product/VantelorProcessor.h"
#include "tools/host/AllocationCounter.h"

using vantelor::CVantelorDsp;
using vantelor::ParameterChange;

namespace {

struct Signal
{
    Signal(int frames, std::mt19937& random) : in(2, std::vector<float>(frames))
    {
        std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
        for (auto& channel : in)
            for (float& s : channel)
                s = sample(random);
    }
    std::vector<std::vector<float>> in;
};

// A random change: any parameter, normalised or in units.
ParameterChange randomChange(int32_t frame, std::mt19937& random)
{
    std::uniform_int_distribution<int32_t> index(0, kNumVantelorParameters - 1);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    ParameterChange c{frame, index(random), unit(random), ParameterChange::Scale::normalised};
    if (random() % 2 == 0) {
        c.scale = ParameterChange::Scale::units;
        c.value = vantelor::toUnits(c.index, c.value);
    }
    return c;
}

void hand(vantelor::CVantelorProcessor& processor, const ParameterChange& c)
{
    if (c.scale == ParameterChange::Scale::units)
        processor.setUnits(c.index, c.value);
    else
        processor.setValue(c.index, c.value);
}

class EveryRenderer : public ::testing::TestWithParam<CVantelor::Renderer>
{};

TEST_P(EveryRenderer, ChangeInsideABlockSoundsAsTheBlockSplitAtItsFrame)
{
    std::mt19937 random(2026);
    CVantelorDsp whole, split;
    for (CVantelorDsp* dsp : {&whole, &split}) {
        dsp->getEngine().setRenderer(GetParam());
        dsp->processor.setSampleRate(48000.0f);
        dsp->processor.resume();
    }
    for (int block = 0; block < 300; ++block) {
        const int frames = static_cast<int>(random() % 1100);
        Signal signal(frames, random);
        // Changes anywhere in the block, at its ends, past its end and now and
        // then before an earlier change's frame.
        std::vector<ParameterChange> changes;
        const int count = static_cast<int>(random() % 6);
        int32_t frame = 0;
        for (int i = 0; i < count; ++i) {
            if (random() % 5 != 0)
                frame = static_cast<int32_t>(random() % (frames + 3));
            changes.push_back(randomChange(frame, random));
        }
        std::sort(changes.begin(), changes.end(),
                  [](const auto& a, const auto& b) { return a.frame < b.frame; });
        if (count > 2 && random() % 3 == 0)
            std::swap(changes[0].frame, changes[count - 1].frame);

        std::vector<float> wholeOut[2] = {std::vector<float>(frames), std::vector<float>(frames)};
        std::vector<float> splitOut[2] = {std::vector<float>(frames), std::vector<float>(frames)};
        std::vector<std::vector<float>> wholeIn = signal.in;
        float* in[2] = {wholeIn[0].data(), wholeIn[1].data()};
        float* out[2] = {wholeOut[0].data(), wholeOut[1].data()};
        whole.processor.process(in, out, frames, changes.data(), static_cast<int32_t>(count));

        // The same block in pieces, each change made between two of them; a
        // change before an earlier one's frame comes with the earlier one.
        int32_t done = 0;
        for (const ParameterChange& c : changes) {
            const int32_t at = std::min<int32_t>(std::max(c.frame, done), frames);
            if (at > done) {
                float* pin[2] = {signal.in[0].data() + done, signal.in[1].data() + done};
                float* pout[2] = {splitOut[0].data() + done, splitOut[1].data() + done};
                split.processor.process(pin, pout, at - done);
                done = at;
            }
            if (c.frame < frames)
                hand(split.processor, c);
        }
        if (frames > done) {
            float* pin[2] = {signal.in[0].data() + done, signal.in[1].data() + done};
            float* pout[2] = {splitOut[0].data() + done, splitOut[1].data() + done};
            split.processor.process(pin, pout, frames - done);
        }
        for (const ParameterChange& c : changes)
            if (c.frame >= frames)
                hand(split.processor, c);

        for (int ch = 0; ch < 2; ++ch)
            ASSERT_EQ(std::memcmp(wholeOut[ch].data(), splitOut[ch].data(), frames * sizeof(float)),
                      0)
                << "block " << block << ", channel " << ch;
        ASSERT_EQ(whole.getEngine().stateDigest(true), split.getEngine().stateDigest(true))
            << block;
    }
}

std::string rendererName(const ::testing::TestParamInfo<CVantelor::Renderer>& info)
{
    static const char* const names[] = {"reference", "sse2", "avx2", "avx512"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Processor, EveryRenderer,
                         ::testing::Values(CVantelor::Renderer::reference,
                                           CVantelor::Renderer::sse2, CVantelor::Renderer::avx2,
                                           CVantelor::Renderer::avx512),
                         rendererName);

// A render from the first frame, of one engine that a format started and of
// one that was driven as a VST 2.4 host loading a session drives it.
std::vector<float> render(CVantelorDsp& dsp, int frames)
{
    std::mt19937 random(7);
    Signal signal(frames, random);
    std::vector<float> left(frames), right(frames);
    float* in[2] = {signal.in[0].data(), signal.in[1].data()};
    float* out[2] = {left.data(), right.data()};
    dsp.processor.process(in, out, frames);
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

TEST(ProcessorStart, ValuesGivenBeforeStartReachTheEngineAfterTheRate)
{
    const float values[kNumVantelorParameters] = {-50, 35, 1, 40, 20, -45, 1, 70};
    for (const float rate : {44100.0f, 96000.0f, 22050.0f}) {
        SCOPED_TRACE(rate);
        // The format: values first (by state, controller or events), then start.
        CVantelorDsp started;
        for (int i = 0; i < kNumVantelorParameters; ++i)
            started.processor.setUnits(i, values[i]);
        // An elevation that moved away and back before start is as if never
        // moved: what the host hands over at start is its last value.
        started.processor.setUnits(kElevR, 10.0f);
        started.processor.setUnits(kElevR, values[kElevR]);
        started.processor.start(rate);

        // A VST 2.4 host loading a session: the rate, the values, resume.
        CVantelorDsp vst2;
        vst2.processor.setSampleRate(rate);
        for (int i = 0; i < kNumVantelorParameters; ++i)
            vst2.processor.setUnits(i, values[i]);
        vst2.processor.resume();
        const std::vector<float> expected = render(vst2, 4096);
        EXPECT_EQ(render(started, 4096), expected);

        // The order is audible away from 44100 Hz: values before the rate
        // leave the elevation filters with the rate change's design.
        CVantelorDsp valuesFirst;
        for (int i = 0; i < kNumVantelorParameters; ++i)
            valuesFirst.processor.setUnits(i, values[i]);
        valuesFirst.processor.setSampleRate(rate);
        valuesFirst.processor.resume();
        if (rate != 44100.0f) {
            EXPECT_NE(render(valuesFirst, 4096), expected);
        }
    }
}

TEST(ProcessorRealTime, ProcessingWithChangesNeverAllocates)
{
    CVantelorDsp dsp;
    dsp.processor.start(48000.0f);
    std::vector<float> inL(1024, 0.3f), inR(1024, -0.2f), outL(1024), outR(1024);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    std::mt19937 random(3);
    for (int block = 0; block < 64; ++block) {
        ParameterChange changes[4];
        for (int i = 0; i < 4; ++i)
            changes[i] = randomChange(static_cast<int32_t>(i * 250), random);
        vst2host::AllocationScope scope;
        dsp.processor.process(in, out, 1024, changes, 4);
        ASSERT_EQ(scope.count(), 0) << "block " << block;
    }
}

TEST(ProcessorBadInput, NullBuffersAndEmptyBlocksStillTakeTheChanges)
{
    CVantelorDsp dsp;
    dsp.processor.start(44100.0f);
    const ParameterChange changes[] = {
        {0, kAziL, 10.0f, ParameterChange::Scale::units},
        {5, kWidthR, 0.5f, ParameterChange::Scale::normalised},
        {0, -1, 0.5f, ParameterChange::Scale::normalised},
        {0, kNumVantelorParameters, 0.5f, ParameterChange::Scale::normalised},
    };
    dsp.processor.process(nullptr, nullptr, 256, changes, 4);
    dsp.processor.process(nullptr, nullptr, -5, nullptr, 3);
    EXPECT_EQ(dsp.processor.units(kAziL), 10.0f);
    EXPECT_EQ(dsp.processor.units(kWidthR), 50.0f);
    float* none[2] = {nullptr, nullptr};
    dsp.processor.process(none, none, 64);
    dsp.processor.applyPending();
    EXPECT_EQ(dsp.getEngine().getPanner(0)->getAzimuth(), 10.0f);
    EXPECT_EQ(dsp.getEngine().getWidth(1), 0.5f);
}

} // namespace
