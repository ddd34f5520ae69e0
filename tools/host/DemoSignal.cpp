#include "tools/host/DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace vst2host {

namespace {

constexpr int64_t kNoteFrames = DemoSignal::kSampleRate / 4;      // a note every 250 ms
constexpr int64_t kBurstFrames = DemoSignal::kSampleRate * 3 / 8; // a burst every 375 ms
constexpr int64_t kBurstLength = DemoSignal::kSampleRate / 10;    // each lasts 100 ms
constexpr double kNotes[] = {220.0, 261.63, 293.66, 329.63, 392.0, 440.0, 392.0, 329.63};
constexpr double kBurstCentres[] = {600.0, 1800.0, 3500.0, 1200.0};
constexpr double kChord[] = {130.81, 164.81, 196.0}; // C major, low

} // namespace

DemoSignal::DemoSignal()
{
    rewind();
}

void DemoSignal::rewind()
{
    position_ = 0;
    noise_ = 0x12345678u;
    std::fill(std::begin(string_), std::end(string_), 0.0f);
    stringIndex_ = 0;
    lastOut_ = 0.0f;
    bandLow_ = bandMid_ = 0.0;
    std::fill(std::begin(chordPhase_), std::end(chordPhase_), 0.0);
}

int64_t DemoSignal::render(float* left, float* right, int64_t frames)
{
    int64_t rendered = 0;
    for (int64_t i = 0; i < frames; ++i) {
        if (position_ >= kFrames) {
            left[i] = right[i] = 0.0f;
            continue;
        }
        left[i] = pluck();
        right[i] = bursts();
        ++position_;
        ++rendered;
    }
    return rendered;
}

float DemoSignal::pluck()
{
    if (position_ % kNoteFrames == 0) {
        const double frequency = kNotes[(position_ / kNoteFrames) % std::size(kNotes)];
        period_ = std::clamp(static_cast<int>(kSampleRate / frequency), 2, kMaxPeriod);
        for (int k = 0; k < period_; ++k) {
            noise_ = noise_ * 1664525u + 1013904223u;
            string_[k] = 0.5f * (static_cast<float>(noise_ >> 8) / 8388608.0f - 1.0f);
        }
        stringIndex_ = 0;
    }
    // Karplus-Strong: average of two neighbouring samples, slightly damped.
    const float current = string_[stringIndex_];
    const float next = string_[(stringIndex_ + 1) % period_];
    string_[stringIndex_] = 0.498f * (current + next);
    stringIndex_ = (stringIndex_ + 1) % period_;
    return current;
}

float DemoSignal::bursts()
{
    const int64_t inBurst = position_ % kBurstFrames;
    const double centre = kBurstCentres[(position_ / kBurstFrames) % std::size(kBurstCentres)];
    noise_ = noise_ * 1664525u + 1013904223u;
    const double white = static_cast<double>(noise_ >> 8) / 8388608.0 - 1.0;
    double envelope = 0.0;
    if (inBurst < kBurstLength)
        envelope = std::sin(std::numbers::pi * static_cast<double>(inBurst) / kBurstLength);

    // Chamberlin state-variable band-pass, Q about 4.
    const double f = 2.0 * std::sin(std::numbers::pi * centre / kSampleRate);
    const double q = 0.25;
    const double high = envelope * white - bandLow_ - q * bandMid_;
    bandMid_ += f * high;
    bandLow_ += f * bandMid_;

    double chord = 0.0;
    for (size_t k = 0; k < std::size(kChord); ++k) {
        chord += std::sin(chordPhase_[k]);
        chordPhase_[k] =
            std::fmod(chordPhase_[k] + 2.0 * std::numbers::pi * kChord[k] / kSampleRate,
                      2.0 * std::numbers::pi);
    }
    return static_cast<float>(0.25 * bandMid_ + 0.04 * chord);
}

} // namespace vst2host
