#include "dsp/Delay.h"
#include "dsp/FloatVector.h"
#include "dsp/RingWalk.h"

#include <algorithm>
#include <cstring>

namespace {
using dsp::F4;
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

void CDelay::processBlock(float* samples, int32_t count)
{
    if (count <= 0)
        return;
    ring_walk::Delay walk{buffer.get(), mask, delay, writeIndex};
    ring_walk::delay<F4>(walk, samples, count);
    writeIndex = walk.index;
}

void CAPDelay::processBlock(float* samples, int32_t count)
{
    ring_walk::Allpass walk = beginStage();
    ring_walk::allpass<F4>(walk, samples, count);
    endStage(walk);
}
