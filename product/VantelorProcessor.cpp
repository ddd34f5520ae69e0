#include "product/VantelorProcessor.h"

#include <algorithm>
#include <cmath>

#include "dsp/NumericHelpers.h"
#include "engine/Vantelor.h"

// The engine's own operations are called by name throughout: a plug-in class
// that is itself the engine (the VST 2.4 one) overrides the sample rate for
// its host, and that override hands the rate back here.
namespace vantelor {

static_assert(std::atomic<float>::is_always_lock_free && std::atomic<uint32_t>::is_always_lock_free,
              "the parameter hand-over must not take a lock");
static_assert(kMaxAngle == CCCPanner::kMaxAngle,
              "the parameters' angle range is the range the panner takes");

namespace {

int8_t channelOf(int32_t index)
{
    return index < kAziR ? 0 : 1;
}

bool isAngle(int32_t index)
{
    return index == kAziL || index == kAziR || index == kElevL || index == kElevR;
}

bool isWidth(int32_t index)
{
    return index == kWidthL || index == kWidthR;
}

bool isSwitch(int32_t index)
{
    return index == kActiveL || index == kActiveR;
}

} // namespace

CVantelorProcessor::CVantelorProcessor(CVantelor& engine) : engine(engine)
{
    for (int32_t i = 0; i < kNumVantelorParameters; ++i) {
        pendingValues[i].store(0.0f, std::memory_order_relaxed);
        latest[i].store(0.0f, std::memory_order_relaxed);
    }
    for (int8_t c = 0; c < kNumChannels; ++c) {
        const int32_t first = c == 0 ? kAziL : kAziR;
        activeRequest[c].store(engine.isActive(c) ? 1u : 0u, std::memory_order_relaxed);
        elevationRequest[c].store(engine.getPanner(c)->getElevation(), std::memory_order_relaxed);
        elevationMoves[c].store(0, std::memory_order_relaxed);
        latest[first + kAziL].store(engine.getPanner(c)->getAzimuth(), std::memory_order_relaxed);
        latest[first + kElevL].store(engine.getPanner(c)->getElevation(),
                                     std::memory_order_relaxed);
        latest[first + kActiveL].store(engine.isActive(c) ? 1.0f : 0.0f, std::memory_order_relaxed);
        latest[first + kWidthL].store(engine.getWidth(c), std::memory_order_relaxed);
    }
}

void CVantelorProcessor::setValue(int32_t index, float normalised)
{
    if (!isParameter(index))
        return;
    // Angles in degrees by the store's own arithmetic; the width stays the
    // fraction the engine takes; the switch reads the value as it stands.
    hand(index, isAngle(index) ? toUnits(index, normalised) : normalised);
}

void CVantelorProcessor::setUnits(int32_t index, float units)
{
    if (!isParameter(index))
        return;
    hand(index, isWidth(index) ? toNormalised(index, units) : units);
}

void CVantelorProcessor::hand(int32_t index, float engineValue)
{
    // The engine ignores a width that is not a number, so it must not
    // replace a value still waiting either.
    if (isWidth(index) && !std::isfinite(engineValue))
        return;
    const int channel = channelOf(index);
    pendingValues[index].store(engineValue, std::memory_order_relaxed);
    if (isAngle(index)) {
        const float degrees = CCCPanner::clampAngle(engineValue);
        latest[index].store(degrees, std::memory_order_relaxed);
        if (index == kElevL || index == kElevR)
            requestElevation(channel, degrees);
    } else if (isSwitch(index)) {
        const bool on = engineValue > 0.5f;
        latest[index].store(on ? 1.0f : 0.0f, std::memory_order_relaxed);
        requestActive(channel, on);
    } else {
        latest[index].store(std::clamp(engineValue, 0.0f, 1.0f), std::memory_order_relaxed);
    }
    // Release: the thread that sees the bit also sees the value.
    pendingMask.fetch_or(1u << index, std::memory_order_release);
}

void CVantelorProcessor::requestElevation(int channel, float degrees)
{
    if (elevationRequest[channel].exchange(degrees, std::memory_order_relaxed) != degrees)
        elevationMoves[channel].fetch_add(1, std::memory_order_relaxed);
}

void CVantelorProcessor::requestActive(int channel, bool on)
{
    std::atomic<uint32_t>& request = activeRequest[channel];
    const uint32_t bit = on ? 1u : 0u;
    uint32_t old = request.load(std::memory_order_relaxed);
    while ((old & 1u) != bit && !request.compare_exchange_weak(old, (((old >> 1) + 1u) << 1) | bit,
                                                               std::memory_order_relaxed)) {
    }
}

float CVantelorProcessor::units(int32_t index) const
{
    if (!isParameter(index))
        return 0.0f;
    const float value = latest[index].load(std::memory_order_relaxed);
    return isWidth(index) ? toUnits(index, value) : value;
}

double CVantelorProcessor::exactUnits(int32_t index) const
{
    if (!isParameter(index))
        return 0.0;
    const double value = latest[index].load(std::memory_order_relaxed);
    // A float fraction times 100 needs at most 31 bits: exact in double, and
    // divided by 100 again it gives the same float back.
    return isWidth(index) ? value * 100.0 : value;
}

void CVantelorProcessor::setExactUnits(int32_t index, double units)
{
    if (!isParameter(index) || !std::isfinite(units))
        return;
    const ParameterDescription& p = kVantelorParameters[index];
    if (units < p.min || units > p.max)
        return;
    hand(index, static_cast<float>(isWidth(index) ? units / 100.0 : units));
}

void CVantelorProcessor::captureValues(ProductState& state) const
{
    for (int32_t i = 0; i < kNumVantelorParameters; ++i)
        state.values[i] = exactUnits(i);
}

void CVantelorProcessor::restoreValues(const ProductState& state)
{
    for (int32_t i = 0; i < kNumVantelorParameters; ++i)
        setExactUnits(i, state.values[i]);
}

float CVantelorProcessor::setSampleRate(float rate)
{
    const float clamped = clampSampleRate(rate);
    // Pending values first, so an elevation set before the rate change gets
    // the rate change's redesign, as it would if it had reached the engine
    // at once.
    applyPending();
    engine.CProcessor::setSampleRate(clamped);
    return clamped;
}

void CVantelorProcessor::suspend()
{
    applyPending();
    engine.CVantelor::reset();
}

void CVantelorProcessor::resume()
{
    applyPending();
    engine.CVantelor::reset();
}

float CVantelorProcessor::start(float rate)
{
    const float clamped = clampSampleRate(rate);
    engine.CProcessor::setSampleRate(clamped);
    // The values as a host sets them once after the rate: each reaches the
    // engine as one plain call, whatever moves or flips led to it.
    uint32_t mask = pendingMask.exchange(0, std::memory_order_acquire);
    for (int c = 0; c < kNumChannels; ++c) {
        appliedActiveFlips[c] = activeRequest[c].load(std::memory_order_relaxed) >> 1;
        appliedElevationMoves[c] = elevationMoves[c].load(std::memory_order_relaxed);
    }
    for (int32_t index = 0; mask != 0; ++index, mask >>= 1)
        if ((mask & 1u) != 0)
            applyParameter(index, pendingValues[index].load(std::memory_order_relaxed));
    engine.CVantelor::reset();
    return clamped;
}

void CVantelorProcessor::applyPending()
{
    // Nearly every block finds nothing pending: a plain load then spares
    // the audio thread the locked exchange.
    if (pendingMask.load(std::memory_order_relaxed) == 0)
        return;
    uint32_t mask = pendingMask.exchange(0, std::memory_order_acquire);
    for (int32_t index = 0; mask != 0; ++index, mask >>= 1) {
        if ((mask & 1u) == 0)
            continue;
        const float value = pendingValues[index].load(std::memory_order_relaxed);
        const int8_t channel = channelOf(index);
        if (index == kElevL || index == kElevR) {
            applyElevation(value, channel);
        } else if (isSwitch(index)) {
            // An odd number of flips is a plain switch; an even, non-zero
            // number went off and on again (or on and off), which restarts
            // the source just as the two calls would have one after the other.
            const uint32_t request = activeRequest[channel].load(std::memory_order_relaxed);
            const bool on = (request & 1u) != 0;
            const uint32_t flips = (request >> 1) - appliedActiveFlips[channel];
            appliedActiveFlips[channel] = request >> 1;
            if (flips != 0 && on == engine.isActive(channel))
                engine.setActive(!on, channel);
            engine.setActive(on, channel);
        } else {
            applyParameter(index, value);
        }
    }
}

void CVantelorProcessor::applyParameter(int32_t index, float value)
{
    const int8_t channel = channelOf(index);
    switch (index) {
    case kAziL:
    case kAziR:
        engine.setAzimuth(value, channel);
        break;
    case kElevL:
    case kElevR:
        engine.setElevation(value, channel);
        break;
    case kActiveL:
    case kActiveR:
        engine.setActive(value > 0.5f, channel);
        break;
    case kWidthL:
    case kWidthR:
        engine.setWidth(value, channel);
        break;
    default:
        break;
    }
}

void CVantelorProcessor::applyElevation(float degrees, int8_t channel)
{
    const uint32_t moves = elevationMoves[channel].load(std::memory_order_relaxed);
    const bool moved = moves != appliedElevationMoves[channel];
    appliedElevationMoves[channel] = moves;
    const float before = engine.getPanner(channel)->getElevation();
    engine.setElevation(degrees, channel);
    // Back where it started after moving in between: each move would have
    // redesigned the elevation filters with the voicing of a move, and a
    // sample-rate change may have left the other voicing in place.
    if (moved && engine.getPanner(channel)->getElevation() == before) {
        engine.setElevation(before == 0.0f ? 1.0f : 0.0f, channel);
        engine.setElevation(before, channel);
    }
}

void CVantelorProcessor::process(float** inputs, float** outputs, int32_t frames)
{
    applyPending();
    engine.CVantelor::process(inputs, outputs, frames);
}

void CVantelorProcessor::apply(const ParameterChange& change)
{
    if (change.scale == ParameterChange::Scale::units)
        setUnits(change.index, change.value);
    else
        setValue(change.index, change.value);
}

void CVantelorProcessor::process(float** inputs, float** outputs, int32_t frames,
                                 const ParameterChange* changes, int32_t numChanges)
{
    const bool buffers = inputs && outputs && inputs[0] && inputs[1] && outputs[0] && outputs[1];
    const int32_t length = buffers && frames > 0 ? frames : 0;
    if (!changes)
        numChanges = 0;
    int32_t done = 0;
    int32_t next = 0;
    while (done < length) {
        // The piece runs up to the next change inside the block, or to its end.
        int32_t end = length;
        if (next < numChanges && changes[next].frame < length)
            end = changes[next].frame > done ? changes[next].frame : done;
        if (end > done) {
            float* in[kNumChannels] = {inputs[0] + done, inputs[1] + done};
            float* out[kNumChannels] = {outputs[0] + done, outputs[1] + done};
            process(in, out, end - done);
            done = end;
        }
        // Every change at this frame (or, out of order, before it).
        while (next < numChanges && changes[next].frame <= done && done < length)
            apply(changes[next++]);
    }
    // Changes at or past the block's end, or of a block with nothing to
    // render, wait for the next block's start.
    while (next < numChanges)
        apply(changes[next++]);
}

CVantelorDsp::CVantelorDsp()
    : engine(std::make_unique<CVantelor>(kNumChannels, kNumChannels)), processor(*engine)
{
    // The first factory program, started as a VST 2.4 plug-in starts: its
    // values through the store's arithmetic, then a resume.
    for (int32_t i = 0; i < kNumVantelorParameters; ++i)
        processor.setValue(i, toNormalised(i, kVantelorFactoryPrograms[0].values[i]));
    processor.resume();
}

CVantelorDsp::~CVantelorDsp() = default;

} // namespace vantelor
