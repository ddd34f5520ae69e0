#include "tools/validate/Harness.h"

#include "tools/host/AllocationCounter.h"
#include "tools/host/HostError.h"
#include "tools/host/PluginInstance.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace vst2host::validate {

namespace {

constexpr unsigned char kCanaryByte = 0xA5;
constexpr size_t kTextBuffer = 1024;
// A signalling NaN with a recognisable payload: no arithmetic produces it.
constexpr uint32_t kCanaryBits = 0x7FBADBADu;

float canary()
{
    float value;
    std::memcpy(&value, &kCanaryBits, sizeof value);
    return value;
}

bool isCanary(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits == kCanaryBits;
}

// The next value of a 32-bit xorshift generator mapped to [-1, 1).
float noiseSample(uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state >> 8) * (2.0f / 16777216.0f) - 1.0f;
}

// A text buffer handed to the plug-in: `limit` characters and a terminator,
// then canary bytes that the plug-in must leave alone. The whole buffer is
// large, so a plug-in that writes past the limit damages only canaries.
class GuardedText
{
public:
    explicit GuardedText(size_t limit);

    char* data() { return buffer_.data(); }

    // Bytes written past limit + 1; 0 when the canaries are intact.
    size_t overrun() const;
    // True when a terminator lies within limit + 1 characters.
    bool terminated() const;
    // The text up to its terminator (or the limit), for messages.
    std::string text() const;

    // Describes a violation of the limit for `what`, or returns empty.
    std::string problem(const std::string& what) const;

private:
    size_t limit_;
    std::vector<char> buffer_;
};

GuardedText::GuardedText(size_t limit)
    : limit_(limit), buffer_(kTextBuffer, static_cast<char>(kCanaryByte))
{
    std::fill(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(limit + 1), '\0');
}

size_t GuardedText::overrun() const
{
    for (size_t i = buffer_.size(); i > limit_ + 1; --i)
        if (static_cast<unsigned char>(buffer_[i - 1]) != kCanaryByte)
            return i - (limit_ + 1);
    return 0;
}

bool GuardedText::terminated() const
{
    return std::memchr(buffer_.data(), '\0', limit_ + 1) != nullptr;
}

std::string GuardedText::text() const
{
    const void* end = std::memchr(buffer_.data(), '\0', buffer_.size());
    const size_t length = end != nullptr
                              ? static_cast<size_t>(static_cast<const char*>(end) - buffer_.data())
                              : limit_ + 1;
    std::string text(buffer_.data(), std::min(length, size_t{80}));
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    return text;
}

std::string GuardedText::problem(const std::string& what) const
{
    const std::string limit = std::to_string(limit_);
    if (const size_t bytes = overrun(); bytes > 0)
        return what + " wrote " + std::to_string(bytes) + " bytes past its " + limit +
               "-character buffer (\"" + text() + "\")";
    if (!terminated())
        return what + " is not terminated within " + limit + " characters";
    return {};
}

} // namespace

std::string guardedText(PluginInstance& plugin, Findings& findings, int32_t opcode, int32_t index,
                        size_t limit, const std::string& what)
{
    GuardedText buffer(limit);
    plugin.dispatch(opcode, index, 0, buffer.data());
    if (const std::string problem = buffer.problem(what); !problem.empty())
        findings.fail(problem);
    return buffer.text();
}

void BlockScan::add(const BlockScan& other, int64_t frameOffset)
{
    if (firstChannel < 0 && other.firstChannel >= 0) {
        firstChannel = other.firstChannel;
        firstFrame = other.firstFrame + frameOffset;
    }
    unwritten += other.unwritten;
    outOfBounds += other.outOfBounds;
    nonFinite += other.nonFinite;
    subnormal += other.subnormal;
    allocations += other.allocations;
    peak = std::max(peak, other.peak);
}

Rig::Rig(HostedPlugin& plugin, int maxBlock, uint32_t seed)
    : plugin_(plugin),
      maxBlock_(maxBlock),
      outputCount_(std::max(plugin.numOutputs(), 0)),
      noise_(seed | 1u)
{
    // A corrupt record must not make the host allocate without bound.
    constexpr int kMaxChannels = 1024;
    if (plugin.numInputs() > kMaxChannels || plugin.numOutputs() > kMaxChannels)
        throw HostError("declares " + std::to_string(plugin.numInputs()) + " inputs and " +
                        std::to_string(plugin.numOutputs()) +
                        " outputs; not processing that many channels");
    // At least two arrays each way, so a plug-in that looks at a channel it
    // did not declare finds memory rather than a crash.
    inputs_.assign(std::max(plugin.numInputs(), 2), std::vector<float>(maxBlock, 0.0f));
    outputs_.assign(std::max(outputCount_, 2), std::vector<float>(maxBlock + 2 * kGuard, 0.0f));
    for (auto& channel : inputs_)
        inputPointers_.push_back(channel.data());
    for (auto& channel : outputs_)
        outputPointers_.push_back(channel.data() + kGuard);
}

void Rig::fillNoise(int frames)
{
    for (auto& channel : inputs_)
        for (int i = 0; i < frames; ++i)
            channel[i] = 0.5f * noiseSample(noise_);
}

void Rig::fillConstant(int frames, float value)
{
    for (auto& channel : inputs_)
        std::fill(channel.begin(), channel.begin() + frames, value);
}

void Rig::processUnchecked(int frames)
{
    plugin_.process(inputPointers_.data(), outputPointers_.data(),
                    std::clamp(frames, 0, maxBlock_));
}

BlockScan Rig::process(int frames)
{
    frames = std::clamp(frames, 0, maxBlock_);
    const float mark = canary();
    // Only the block and the guards around it: a host with many channels
    // calls with one-frame blocks too.
    const auto used = static_cast<std::ptrdiff_t>(frames + 2 * kGuard);
    for (auto& channel : outputs_)
        std::fill(channel.begin(), channel.begin() + used, mark);
    BlockScan scan;
    {
        AllocationScope allocations;
        plugin_.process(inputPointers_.data(), outputPointers_.data(), frames);
        scan.allocations = allocations.count();
    }
    for (int c = 0; c < outputCount_; ++c) {
        const std::vector<float>& channel = outputs_[c];
        for (size_t i = 0; i < static_cast<size_t>(used); ++i) {
            const float v = channel[i];
            const bool inside =
                i >= static_cast<size_t>(kGuard) && i < static_cast<size_t>(kGuard + frames);
            if (!inside) {
                scan.outOfBounds += isCanary(v) ? 0 : 1;
                continue;
            }
            if (isCanary(v)) {
                ++scan.unwritten;
            } else if (!std::isfinite(v)) {
                if (scan.firstChannel < 0) {
                    scan.firstChannel = c;
                    scan.firstFrame = static_cast<int64_t>(i) - kGuard;
                }
                ++scan.nonFinite;
            } else {
                if (v != 0.0f && std::fabs(v) < std::numeric_limits<float>::min())
                    ++scan.subnormal;
                scan.peak = std::max(scan.peak, std::fabs(v));
            }
        }
    }
    return scan;
}

std::string setting(double sampleRate, int block)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f Hz, block %d", sampleRate, block);
    return text;
}

std::string describe(const BlockScan& scan)
{
    std::string text;
    const auto add = [&](int64_t count, const std::string& what) {
        if (count == 0)
            return;
        if (!text.empty())
            text += ", ";
        text += std::to_string(count) + " " + what;
    };
    add(scan.unwritten,
        scan.unwritten == 1 ? "output sample not written" : "output samples not written");
    add(scan.outOfBounds, "samples written outside the block");
    if (scan.nonFinite > 0)
        add(scan.nonFinite, "non-finite output samples (first: output " +
                                std::to_string(scan.firstChannel + 1) + ", frame " +
                                std::to_string(scan.firstFrame) + ")");
    return text;
}

std::string counted(int64_t count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string firstDifference(Rig& first, Rig& second, int blocks, int block)
{
    for (int b = 0; b < blocks; ++b) {
        first.fillNoise(block);
        second.fillNoise(block);
        first.process(block);
        second.process(block);
        for (int c = 0; c < first.outputs(); ++c)
            for (int i = 0; i < block; ++i) {
                const float a = first.output(c)[i];
                const float b2 = second.output(c)[i];
                uint32_t bitsA, bitsB;
                std::memcpy(&bitsA, &a, sizeof a);
                std::memcpy(&bitsB, &b2, sizeof b2);
                if (bitsA != bitsB) {
                    char text[160];
                    std::snprintf(text, sizeof text, "output %d, frame %lld: %.9g against %.9g",
                                  c + 1, static_cast<long long>(b) * block + i,
                                  static_cast<double>(b2), static_cast<double>(a));
                    return text;
                }
            }
    }
    return {};
}

} // namespace vst2host::validate
