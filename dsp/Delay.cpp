#include "dsp/Delay.h"
#include "dsp/FloatVector.h"

#include <algorithm>
#include <cstring>

namespace {
using dsp::F4;
using dsp::load4;
using dsp::store4;
} // namespace

CDelay::CDelay(int32_t maxDelay) : mask(delay_detail::ringSize(maxDelay) - 1)
{
    buffer = std::make_unique<float[]>(static_cast<size_t>(mask) + 1);
}

CDelay::~CDelay() = default;

void CDelay::zeroRing()
{
    std::fill_n(buffer.get(), static_cast<size_t>(mask) + 1, 0.0f);
    writeIndex = 0;
}

void CDelay::clear()
{
    zeroRing();
}

int32_t CDelay::setDelay(int32_t delaySamples)
{
    delay = std::clamp(delaySamples, 0, mask);
    return delay;
}

CAPDelay::CAPDelay(int32_t maxDelay) : CDelay(maxDelay) {}

CAPDelay::~CAPDelay() = default;

// The ring reaches four times the delay back at the four-times rate.
C4Delay::C4Delay(int32_t maxDelay)
    : mask(delay_detail::ringSize(4 * static_cast<int64_t>(maxDelay)) - 1)
{
    buffer = std::make_unique<float[]>(static_cast<size_t>(mask) + 1);
    sampler.reset();
}

C4Delay::~C4Delay() = default;

void C4Delay::clear()
{
    std::fill_n(buffer.get(), static_cast<size_t>(mask) + 1, 0.0f);
    writeIndex = 0;
    sampler.reset();
}

float C4Delay::setDelay(float delaySamples)
{
    const float limit = getMaxDelay();
    if (!(delaySamples >= 0.0f))
        delay = 0.0f;
    else if (delaySamples > limit)
        delay = limit;
    else
        delay = delaySamples;
    return delay;
}

// While the delay reaches back beyond the block, every read finds an entry
// from before it, and no write of the block lands where an earlier frame of
// the block still has to read: the reads and writes of a run of frames are
// independent, and run four at a time. A shorter delay steps frame by
// frame.
void CDelay::processBlock(float* samples, int32_t count)
{
    if (count <= 0)
        return;
    if (delay < count) {
        Cursor cursor = beginBlock();
        for (int32_t i = 0; i < count; ++i)
            samples[i] = cursor.process(samples[i]);
        endBlock(cursor);
        return;
    }
    float* const ring = buffer.get();
    const int32_t size = mask + 1;
    int32_t write = (writeIndex + 1) & mask;
    int32_t read = (write - delay) & mask;
    int32_t i = 0;
    while (i < count) {
        const int32_t run = std::min({count - i, size - write, size - read});
        int32_t t = 0;
        for (; t + 4 <= run; t += 4) {
            const F4 old = load4(ring + read + t);
            store4(ring + write + t, load4(samples + i + t));
            store4(samples + i + t, old);
        }
        for (; t < run; ++t) {
            const float old = ring[read + t];
            ring[write + t] = samples[i + t];
            samples[i + t] = old;
        }
        i += run;
        write = (write + run) & mask;
        read = (read + run) & mask;
    }
    writeIndex = (writeIndex + count) & mask;
}

// Within a run of frames that does not wrap the section's length, every
// frame reads and writes its own entry: v = g s + x, y = s - g v, entry = v,
// four frames at a time.
void CAPDelay::processBlock(float* samples, int32_t count)
{
    float* const ring = buffer.get();
    const float g = coefficient;
    const int32_t length = delay;
    int32_t index = writeIndex;
    int32_t i = 0;
    while (i < count) {
        // A position at or beyond the length (after the length shrank) takes
        // one frame, then the walk starts over.
        const int32_t run = index < length ? std::min(count - i, length - index) : 1;
        float* const entry = ring + index;
        float* const x = samples + i;
        int32_t t = 0;
        for (; t + 4 <= run; t += 4) {
            const F4 s = load4(entry + t);
            const F4 v = g * s + load4(x + t);
            store4(x + t, s - g * v);
            store4(entry + t, v);
        }
        for (; t < run; ++t) {
            const float s = entry[t];
            const float v = g * s + x[t];
            x[t] = s - g * v;
            entry[t] = v;
        }
        i += run;
        index += run;
        if (index >= length)
            index = 0;
    }
    writeIndex = index;
}
