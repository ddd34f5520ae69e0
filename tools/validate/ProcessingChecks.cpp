// Processing: every output sample written and finite at every sample rate and
// block size a host may use, the same audio from two instances, silence in
// reaching silence out, recovery from bad input, and suspend/resume cycles.
#include "tools/validate/Check.h"
#include "tools/validate/Harness.h"

#include "tools/host/PluginInstance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace vst2host::validate {

namespace {

// Below this peak the output counts as silence (-100 dBFS).
constexpr float kSilence = 1e-5f;

struct Matrix
{
    std::vector<float> rates;
    std::vector<int> blocks;
};

// Hosts run at the usual rates and at odd ones (a sample-rate converter's
// output, a video's audio), and hand over blocks of any size, down to one frame.
Matrix matrixFor(int strictness)
{
    if (strictness < 5)
        return {{44100.0f, 48000.0f, 96000.0f}, {1, 64, 512, 4096}};
    return {{22050.0f, 32000.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 176400.0f, 192000.0f,
             27913.0f, 61447.0f},
            {1, 2, 3, 17, 64, 100, 512, 1023, 4096}};
}

// Each setting runs at least this many frames: long enough for filters and
// delays to fill and then decay through the subnormal range after the noise
// stops (the longest delay is well under a tenth of this at 192 kHz).
constexpr int kFramesPerSetting = 8192;
// And at least this many blocks, so that even the largest block size has a
// block of noise, a block of silence after it, and one more for the tail.
constexpr int kMinBlocks = 3;

void processingMatrix(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.loadAny();
    const Matrix matrix = matrixFor(context.strictness);
    const int largest = *std::max_element(matrix.blocks.begin(), matrix.blocks.end());
    Rig rig(*plugin, largest, context.seed);
    int64_t subnormals = 0;
    int subnormalSettings = 0;
    for (const float rate : matrix.rates)
        for (const int block : matrix.blocks) {
            plugin->start(rate, block);
            // Noise, then silence, in which decaying filters would produce
            // subnormal numbers.
            const int blocks = std::max(kMinBlocks, (kFramesPerSetting + block - 1) / block);
            BlockScan total;
            for (int b = 0; b < blocks; ++b) {
                if (b < blocks / 2)
                    rig.fillNoise(block);
                else
                    rig.fillConstant(block, 0.0f);
                total.add(rig.process(block), static_cast<int64_t>(b) * block);
            }
            if (const std::string problem = describe(total); !problem.empty())
                findings.fail(setting(rate, block) + ": " + problem);
            if (total.subnormal > 0) {
                subnormals += total.subnormal;
                ++subnormalSettings;
            }
        }
    plugin->stop();
    if (subnormals > 0)
        findings.warn(std::to_string(subnormals) + " subnormal output samples in " +
                      std::to_string(subnormalSettings) +
                      " settings; they cost hosts time downstream");
    findings.note(std::to_string(matrix.rates.size()) + " sample rates x " +
                  std::to_string(matrix.blocks.size()) +
                  " block sizes: every sample written and finite");
}

void determinism(CheckContext& context)
{
    Findings& findings = context.findings;
    auto a = context.loadAny();
    auto b = context.loadAny();
    constexpr int kBlock = 256;
    constexpr float kRate = 48000.0f;
    // A second of audio, rounded up to whole blocks.
    constexpr int kBlocks = (static_cast<int>(kRate) + kBlock - 1) / kBlock;
    a->start(kRate, kBlock);
    b->start(kRate, kBlock);
    Rig first(*a, kBlock, context.seed);
    Rig second(*b, kBlock, context.seed);
    if (const std::string difference = firstDifference(first, second, kBlocks, kBlock);
        !difference.empty())
        findings.problem(5, "two instances given the same input render differently: " + difference);
    findings.note("two instances render the same second of audio bit for bit");
}

// Blocks of silence until the output peak stays below -100 dBFS for a whole
// block; returns the number of frames it took, or -1 after `limit` frames.
int64_t framesToSilence(Rig& rig, int block, int64_t limit)
{
    for (int64_t done = 0; done < limit; done += block) {
        rig.fillConstant(block, 0.0f);
        const BlockScan scan = rig.process(block);
        if (scan.clean() && scan.peak < kSilence)
            return done;
    }
    return -1;
}

void silence(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.loadAny();
    constexpr int kBlock = 512;
    constexpr float kRate = 44100.0f;
    plugin->start(kRate, kBlock);
    Rig rig(*plugin, kBlock, context.seed);
    // A tail the plug-in declares is waited for, up to a minute; otherwise ten
    // seconds are plenty for any effect without one.
    constexpr int64_t kPlainSeconds = 10;
    constexpr int64_t kLongestTailSeconds = 60;
    // About a second of noise between the two waits: the whole blocks in
    // a second.
    constexpr int kNoiseBlocks = static_cast<int>(kRate) / kBlock;
    const int64_t rate = static_cast<int64_t>(kRate);
    // A VST 2.4 plug-in declares its tail; the other formats' tails are
    // waited for as any effect's.
    auto* vst2 = dynamic_cast<PluginInstance*>(plugin.get());
    const intptr_t tail = vst2 ? vst2->dispatch(effGetTailSize) : 0;
    const int64_t limit =
        rate * kPlainSeconds + std::clamp<int64_t>(tail, 0, kLongestTailSeconds * rate);

    const int64_t fresh = framesToSilence(rig, kBlock, limit);
    if (fresh < 0)
        findings.fail("a fresh instance given silence does not fall below -100 dBFS within " +
                      std::to_string(limit / rate) + " s");
    for (int b = 0; b < kNoiseBlocks; ++b) {
        rig.fillNoise(kBlock);
        rig.process(kBlock);
    }
    const int64_t after = framesToSilence(rig, kBlock, limit);
    if (after < 0)
        findings.fail("after a second of noise, silence in does not fall below -100 dBFS within " +
                      std::to_string(limit / rate) + " s");
    else {
        char text[96];
        std::snprintf(text, sizeof text, "silent within %.2f s of the input falling silent",
                      static_cast<double>(after + kBlock) / kRate);
        findings.note(text);
    }
}

struct BadInput
{
    const char* what;
    float value;
    bool oneSample; // only one sample of the block, the rest normal
};

void badInput(CheckContext& context)
{
    Findings& findings = context.findings;
    constexpr int kBlock = 512;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const BadInput cases[] = {
        {"a block of NaN", nan, false},        {"a block of +infinity", inf, false},
        {"a block of -infinity", -inf, false}, {"a block of huge values (1e30)", 1e30f, false},
        {"one NaN sample", nan, true},         {"one infinite sample", inf, true}};
    for (const BadInput& c : cases) {
        // A fresh instance for each, so that one case cannot hide another.
        auto plugin = context.loadAny();
        plugin->start(44100.0f, kBlock);
        Rig rig(*plugin, kBlock, context.seed);
        for (int b = 0; b < 4; ++b) {
            rig.fillNoise(kBlock);
            rig.process(kBlock);
        }
        if (c.oneSample) {
            rig.fillNoise(kBlock);
            for (int channel = 0; channel < rig.inputs(); ++channel)
                rig.input(channel)[kBlock / 3] = c.value;
        } else {
            rig.fillConstant(kBlock, c.value);
        }
        rig.process(kBlock);
        BlockScan after;
        for (int b = 0; b < 40; ++b) {
            rig.fillNoise(kBlock);
            after.add(rig.process(kBlock), static_cast<int64_t>(b) * kBlock);
        }
        if (const std::string problem = describe(after); !problem.empty())
            findings.fail("normal audio after " + std::string(c.what) + ": " + problem);
    }
    findings.note("output finite after NaN, infinite and huge input");
}

void suspendResume(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.loadAny();
    constexpr int kCycles = 20;
    const int blocks[] = {512, 64, 1024, 100};
    Rig rig(*plugin, 1024, context.seed);
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        const int block = blocks[cycle % 4];
        plugin->start(cycle % 2 == 0 ? 44100.0f : 48000.0f, block);
        for (int b = 0; b < 3; ++b) {
            rig.fillNoise(block);
            if (const std::string problem = describe(rig.process(block)); !problem.empty())
                findings.fail("cycle " + std::to_string(cycle + 1) + ": " + problem);
        }
        plugin->stop();
    }
    findings.note(std::to_string(kCycles) + " suspend and resume cycles");
}

// Hosts should suspend before changing the rate, and not all do: what goes
// wrong here is reported as a warning.
void rateChange(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.load();
    constexpr int kBlock = 512;
    plugin->start(44100.0f, kBlock);
    Rig rig(*plugin, kBlock, context.seed);
    for (const float rate : {96000.0f, 22050.0f, 48000.0f}) {
        for (int b = 0; b < 8; ++b) {
            rig.fillNoise(kBlock);
            rig.process(kBlock);
        }
        plugin->host().sampleRate = rate;
        plugin->host().timeInfo.sampleRate = rate;
        plugin->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        BlockScan scan;
        for (int b = 0; b < 8; ++b) {
            rig.fillNoise(kBlock);
            scan.add(rig.process(kBlock), static_cast<int64_t>(b) * kBlock);
        }
        if (const std::string problem = describe(scan); !problem.empty())
            findings.warn("after a change to " + std::to_string(static_cast<int>(rate)) +
                          " Hz without suspend: " + problem);
    }
    findings.note("sample rate changed three times while resumed");
}

} // namespace

void addProcessingChecks(std::vector<Check>& checks)
{
    checks.push_back(
        {"processing.matrix", 1,
         "sample rates x block sizes: every output sample written, finite, no subnormals",
         processingMatrix, true});
    checks.push_back({"processing.determinism", 3,
                      "two instances given the same input render the same", determinism, true});
    checks.push_back({"processing.silence", 3, "silence in reaches silence out", silence, true});
    checks.push_back({"processing.bad-input", 1,
                      "NaN, infinite and huge input followed by normal audio", badInput, true});
    checks.push_back({"processing.suspend-resume", 1,
                      "suspend and resume cycles at changing settings", suspendResume, true});
    checks.push_back({"processing.rate-change", 3,
                      "a sample-rate change without suspend (warnings only)", rateChange});
}

} // namespace vst2host::validate
