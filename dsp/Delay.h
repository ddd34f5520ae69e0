#pragma once

// Single-channel delay lines on a power-of-two ring of floats: an integer
// delay with a linearly interpolated fractional read, a Schroeder all-pass
// built on it, and a fractional delay whose ring holds the input
// oversampled four times. The ring is allocated once, in the constructor;
// every per-sample operation is a few loads, stores and multiplies.
// Not thread-safe: one owner drives each line.

#include <cstdint>
#include <memory>

#include "dsp/FourSampler.h"
#include "dsp/NumericHelpers.h"
#include "dsp/RingWalk.h"

namespace delay_detail {
// Ring entry d positions before `index`; wraps in two's complement, so any
// d lands inside the ring.
inline float entryBefore(const float* ring, int32_t mask, int32_t index, int32_t d)
{
    return ring[(static_cast<uint32_t>(index) - static_cast<uint32_t>(d)) &
                static_cast<uint32_t>(mask)];
}

// Linear interpolation at a fractional ring position (wrapped by the mask).
inline float interpolate(const float* ring, int32_t mask, float pos)
{
    const float whole = fastFloor(pos);
    const float f = pos - whole;
    const uint32_t i = static_cast<uint32_t>(truncateToInt(whole));
    const uint32_t m = static_cast<uint32_t>(mask);
    return (1.0f - f) * ring[i & m] + f * ring[(i + 1u) & m];
}

// Ring size for a delay of up to `span` entries back: the smallest power of
// two above it. Negative spans count as 0; the ring never exceeds 2^30.
inline int32_t ringSize(int64_t span)
{
    if (span < 0)
        span = 0;
    if (span >= kMaxPow2Int)
        return kMaxPow2Int;
    return nextPow2(static_cast<int32_t>(span + 1));
}
} // namespace delay_detail

// Integer delay, write then read: delay 0 returns the input, delay d the
// input of d calls earlier; the ring holds up to maxDelay samples.
class CDelay
{
public:
    explicit CDelay(int32_t maxDelay);
    virtual ~CDelay();

    CDelay(const CDelay&) = delete;
    CDelay& operator=(const CDelay&) = delete;

    // Zeroes the ring and rewinds; the delay length stays.
    virtual void clear();

    // Writes the sample, then reads `delaySamples` back with linear
    // interpolation. The caller keeps the delay within [0, getMaxDelay()].
    virtual void processFractional(float* sample, float delaySamples)
    {
        write(*sample);
        *sample = delay_detail::interpolate(buffer.get(), mask,
                                            static_cast<float>(writeIndex) - delaySamples);
    }

    // As process, with a delay given per call (not clamped; the mask keeps
    // any value inside the ring).
    virtual void processAt(float* sample, int32_t delaySamples)
    {
        write(*sample);
        *sample = delay_detail::entryBefore(buffer.get(), mask, writeIndex, delaySamples);
    }

    virtual void process(float* sample)
    {
        write(*sample);
        *sample = delay_detail::entryBefore(buffer.get(), mask, writeIndex, delay);
    }

    // The line as an owner steps it over a block: process with the ring
    // position held locally, handed back with endBlock. Nothing else may
    // drive the line between beginBlock and endBlock.
    struct Cursor
    {
        float* ring;
        uint32_t mask;
        uint32_t delay;
        uint32_t index;

        float process(float x)
        {
            index = (index + 1u) & mask;
            ring[index] = x;
            return ring[(index - delay) & mask];
        }
    };
    Cursor beginBlock()
    {
        return {buffer.get(), static_cast<uint32_t>(mask), static_cast<uint32_t>(delay),
                static_cast<uint32_t>(writeIndex)};
    }
    void endBlock(const Cursor& cursor) { writeIndex = static_cast<int32_t>(cursor.index); }

    // process over `count` samples in place. `samples` must not point into
    // the ring.
    void processBlock(float* samples, int32_t count);

    // Reads without writing; 0 is the most recent input.
    virtual void tap(float* out, int32_t delaySamples) const
    {
        *out = delay_detail::entryBefore(buffer.get(), mask, writeIndex, delaySamples);
    }

    // Clamps to [0, getMaxDelay()] and returns the stored value.
    virtual int32_t setDelay(int32_t delaySamples);
    virtual int32_t getDelay() const { return delay; }

    int32_t getSize() const { return mask + 1; }
    int32_t getMaxDelay() const { return mask; }

    // The ring, its position and the delay folded into `hash` (hashWord).
    virtual uint64_t hashState(uint64_t hash) const
    {
        hash = hashWord(hash, static_cast<uint32_t>(writeIndex));
        hash = hashWord(hash, static_cast<uint32_t>(delay));
        for (int32_t i = 0; i <= mask; ++i)
            hash = hashWord(hash, buffer[i]);
        return hash;
    }

protected:
    void write(float x)
    {
        writeIndex = (writeIndex + 1) & mask;
        buffer[writeIndex] = x;
    }

    void zeroRing();

    std::unique_ptr<float[]> buffer;
    int32_t writeIndex = 0;
    int32_t mask = 0;
    int32_t delay = 0;
};

// Schroeder all-pass on the ring: y[n] = -g v[n] + v[n-D] with
// v[n] = x[n] + g v[n-D], D the delay (0 acts as 1). Coefficient 0 makes it
// a plain delay of D samples. Driven only through process, clear, setDelay
// and setCoefficient.
class CAPDelay final : public CDelay
{
public:
    explicit CAPDelay(int32_t maxDelay);
    ~CAPDelay() override;

    // The ring is walked as a plain array of `delay` entries.
    void process(float* sample) override
    {
        const float x = *sample;
        const float s = buffer[writeIndex];
        const float v = coefficient * s + x;
        *sample = s - coefficient * v;
        buffer[writeIndex] = v;
        writeIndex += 1;
        if (writeIndex >= delay)
            writeIndex = 0;
    }

    // process over `count` samples in place, with the same arithmetic per
    // sample. `samples` must not point into the ring.
    void processBlock(float* samples, int32_t count);

    // The section as an owner walks it over a block, handed back with
    // endStage. Nothing else may drive it in between.
    ring_walk::Allpass beginStage() { return {buffer.get(), delay, writeIndex, coefficient}; }
    void endStage(const ring_walk::Allpass& walk) { writeIndex = walk.index; }

    // Not clamped; |g| < 1 keeps the section stable.
    virtual void setCoefficient(float g) { coefficient = g; }

    float getCoefficient() const { return coefficient; }

private:
    float coefficient = 0.0f;
};

// Fractional delay on a ring that holds the input held four times and
// low-pass filtered at the four-times rate, for quarter-sample resolution
// with less interpolation loss. Delays are in input samples.
class C4Delay final
{
public:
    explicit C4Delay(int32_t maxDelay);
    virtual ~C4Delay();

    C4Delay(const C4Delay&) = delete;
    C4Delay& operator=(const C4Delay&) = delete;

    // Zeroes the ring, rewinds and clears the oversampling filter.
    virtual void clear();

    // Writes four filtered copies of the sample, then reads `delaySamples`
    // back. The caller keeps the delay within [0, getMaxDelay()].
    virtual void processFractional(float* sample, float delaySamples)
    {
        for (int k = 0; k < 4; ++k) {
            writeIndex = (writeIndex + 1) & mask;
            sampler.filter(sample, &buffer[writeIndex]);
        }
        read(sample, delaySamples);
    }

    virtual void process(float* sample) { processFractional(sample, delay); }

    // Interpolated read `delaySamples` input samples back; writes nothing.
    virtual void read(float* out, float delaySamples) const
    {
        *out = delay_detail::interpolate(buffer.get(), mask,
                                         static_cast<float>(writeIndex) - 4.0f * delaySamples);
    }

    // Clamps to [0, getMaxDelay()] (NaN gives 0) and returns the stored value.
    virtual float setDelay(float delaySamples);
    virtual float getDelay() const { return delay; }

    int32_t getSize() const { return mask + 1; }
    float getMaxDelay() const { return static_cast<float>(mask) / 4.0f; }

private:
    std::unique_ptr<float[]> buffer;
    int32_t writeIndex = 0;
    int32_t mask = 0;
    float delay = 0.0f;
    C4Sampler sampler;
};
