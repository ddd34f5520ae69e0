#include "vst3/VantelorVst3Processor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "product/VantelorState.h"
#include "vst3/VantelorVst3State.h"
#include "vst3/Vst3Text.h"
#include "vst3/VantelorVst3Ids.h"

namespace vantelor_vst3 {

namespace {

// Each queue's last point is kept even when the events are full, so that
// a queue always ends on the value the host meant.
constexpr int32_t kEventCapacity = CVantelorVst3Processor::kMaxEvents + kNumParameters;
// A program change becomes one change per product parameter.
constexpr int32_t kChangeCapacity = kEventCapacity * kNumVantelorParameters;

bool isOurs(vst3::ParamID id)
{
    return id < static_cast<vst3::ParamID>(kNumVantelorParameters) || id == kBypassId ||
           id == kProgramId;
}

// The two channel pointers of a bus, or false when the bus is missing or
// any of them is null.
bool channelsOf(const vst3::AudioBusBuffers* buses, int32_t count, float** channels)
{
    if (!buses || count < 1 || buses[0].numChannels < 2 || !buses[0].channelBuffers32)
        return false;
    channels[0] = buses[0].channelBuffers32[0];
    channels[1] = buses[0].channelBuffers32[1];
    return channels[0] && channels[1];
}

float finiteOrSilence(float sample)
{
    return std::isfinite(sample) ? sample : 0.0f;
}

} // namespace

CVantelorVst3Processor::CVantelorVst3Processor()
    : product(std::make_unique<vantelor::CVantelorDsp>()),
      events(std::make_unique<Event[]>(kEventCapacity)),
      changes(std::make_unique<vantelor::ParameterChange[]>(kChangeCapacity)),
      scratch(std::make_unique<float[]>(2 * kBypassSpan))
{}

CVantelorVst3Processor::~CVantelorVst3Processor() = default;

vst3::tresult CVantelorVst3Processor::queryInterface(const vst3::TUID& iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    void* found = nullptr;
    if (sameTuid(&iid, vst3::kFUnknownIid) || sameTuid(&iid, vst3::kIPluginBaseIid) ||
        sameTuid(&iid, vst3::kIComponentIid))
        found = static_cast<vst3::IComponent*>(this);
    else if (sameTuid(&iid, vst3::kIAudioProcessorIid))
        found = static_cast<vst3::IAudioProcessor*>(this);
    else if (sameTuid(&iid, vst3::kIConnectionPointIid))
        found = static_cast<vst3::IConnectionPoint*>(this);
    else if (sameTuid(&iid, vst3::kIProcessContextRequirementsIid))
        found = static_cast<vst3::IProcessContextRequirements*>(this);
    *obj = found;
    if (!found)
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::uint32 CVantelorVst3Processor::addRef()
{
    return references.fetch_add(1, std::memory_order_relaxed) + 1;
}

vst3::uint32 CVantelorVst3Processor::release()
{
    const vst3::uint32 left = references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0)
        delete this;
    return left;
}

vst3::tresult CVantelorVst3Processor::initialize(vst3::FUnknown*)
{
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::terminate()
{
    // A host may end without deactivating: the engine is simply left as
    // it is, and the connection is dropped.
    if (active)
        setActive(false);
    peer = nullptr;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::getControllerClassId(vst3::TUID& classId)
{
    classId = kControllerTuid;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::setIoMode(vst3::IoMode)
{
    return vst3::kNotImplemented;
}

vst3::int32 CVantelorVst3Processor::getBusCount(vst3::MediaType type, vst3::BusDirection dir)
{
    return type == vst3::kAudio && (dir == vst3::kInput || dir == vst3::kOutput) ? 1 : 0;
}

vst3::tresult CVantelorVst3Processor::getBusInfo(vst3::MediaType type, vst3::BusDirection dir,
                                                 vst3::int32 index, vst3::BusInfo& bus)
{
    if (type != vst3::kAudio || index != 0 || (dir != vst3::kInput && dir != vst3::kOutput))
        return vst3::kInvalidArgument;
    bus = {};
    bus.mediaType = vst3::kAudio;
    bus.direction = dir;
    bus.channelCount = vantelor::kNumChannels;
    copyToUtf16(bus.name, 128, dir == vst3::kInput ? "Stereo In" : "Stereo Out");
    bus.busType = vst3::kMain;
    bus.flags = vst3::BusInfo::kDefaultActive;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::getRoutingInfo(vst3::RoutingInfo&, vst3::RoutingInfo&)
{
    return vst3::kNotImplemented;
}

vst3::tresult CVantelorVst3Processor::activateBus(vst3::MediaType type, vst3::BusDirection dir,
                                                  vst3::int32 index, vst3::TBool)
{
    return getBusCount(type, dir) > index && index >= 0 ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult CVantelorVst3Processor::setActive(vst3::TBool state)
{
    if (state) {
        // The engine starts at the first call with audio, from every value
        // set until then.
        starting = true;
        active = true;
        const double frames = std::clamp(kBypassFadeSeconds * sampleRate, 1.0, 1.0e6);
        fadeStep = static_cast<float>(1.0 / (std::isfinite(frames) ? frames : 1.0));
        const int32_t requested = bypassRequest.exchange(-1, std::memory_order_acquire);
        if (requested >= 0)
            bypassTarget = static_cast<float>(requested);
        bypassGain = bypassTarget;
    } else {
        product->processor.suspend();
        active = false;
    }
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::setState(vst3::IBStream* state)
{
    if (!state)
        return vst3::kInvalidArgument;
    // Enough for this version's state and for the header of any later one;
    // a longer stream is read as far as this.
    uint8_t data[4 * vantelor::kStateSize];
    int32_t size = 0;
    while (size < static_cast<int32_t>(sizeof data)) {
        vst3::int32 got = 0;
        if (state->read(data + size, static_cast<int32_t>(sizeof data) - size, &got) !=
                vst3::kResultOk ||
            got <= 0)
            break;
        size += std::min(got, static_cast<int32_t>(sizeof data) - size);
    }
    vantelor::ProductState restored;
    bool bypassed = false;
    if (readComponentState(data, static_cast<std::size_t>(size), &restored, &bypassed) !=
        vantelor::StateResult::ok)
        return vst3::kResultFalse;
    product->processor.restoreValues(restored);
    program.store(restored.program, std::memory_order_relaxed);
    bypassShown.store(bypassed ? 1 : 0, std::memory_order_relaxed);
    bypassRequest.store(bypassed ? 1 : 0, std::memory_order_release);
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::getState(vst3::IBStream* state)
{
    if (!state)
        return vst3::kInvalidArgument;
    vantelor::ProductState current;
    product->processor.captureValues(current);
    current.program = program.load(std::memory_order_relaxed);
    uint8_t data[kComponentStateSize];
    const auto size = static_cast<int32_t>(
        writeComponentState(current, bypassShown.load(std::memory_order_relaxed) != 0, data));
    vst3::int32 written = 0;
    if (state->write(data, size, &written) != vst3::kResultOk || written != size)
        return vst3::kResultFalse;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::setBusArrangements(vst3::SpeakerArrangement* inputs,
                                                         vst3::int32 numIns,
                                                         vst3::SpeakerArrangement* outputs,
                                                         vst3::int32 numOuts)
{
    // Stereo in, stereo out, and nothing else: any other request is
    // refused and the buses stay stereo.
    if (numIns == 1 && numOuts == 1 && inputs && outputs && inputs[0] == vst3::kStereo &&
        outputs[0] == vst3::kStereo)
        return vst3::kResultOk;
    return vst3::kResultFalse;
}

vst3::tresult CVantelorVst3Processor::getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                                        vst3::SpeakerArrangement& arr)
{
    if (index != 0 || (dir != vst3::kInput && dir != vst3::kOutput))
        return vst3::kInvalidArgument;
    arr = vst3::kStereo;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::canProcessSampleSize(vst3::int32 symbolicSampleSize)
{
    return symbolicSampleSize == vst3::kSample32 ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::uint32 CVantelorVst3Processor::getLatencySamples()
{
    return 0;
}

vst3::tresult CVantelorVst3Processor::setupProcessing(vst3::ProcessSetup& setup)
{
    if (setup.symbolicSampleSize != vst3::kSample32)
        return vst3::kResultFalse;
    // Any rate is taken; the engine clamps it to what it supports when
    // processing starts.
    sampleRate = setup.sampleRate;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::setProcessing(vst3::TBool)
{
    return vst3::kResultOk;
}

vst3::uint32 CVantelorVst3Processor::getTailSamples()
{
    return vst3::kNoTail;
}

vst3::tresult CVantelorVst3Processor::connect(vst3::IConnectionPoint* other)
{
    if (!other)
        return vst3::kInvalidArgument;
    peer = other;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::disconnect(vst3::IConnectionPoint* other)
{
    if (!other || other != peer)
        return vst3::kInvalidArgument;
    peer = nullptr;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Processor::notify(vst3::IMessage* message)
{
    return message ? vst3::kResultFalse : vst3::kInvalidArgument;
}

vst3::uint32 CVantelorVst3Processor::getProcessContextRequirements()
{
    return 0;
}

int32_t CVantelorVst3Processor::gatherEvents(vst3::IParameterChanges* queues, int32_t numSamples)
{
    if (!queues)
        return 0;
    int32_t count = 0;
    const int32_t numQueues = queues->getParameterCount();
    for (int32_t q = 0; q < numQueues; ++q) {
        vst3::IParamValueQueue* queue = queues->getParameterData(q);
        if (!queue)
            continue;
        const vst3::ParamID id = queue->getParameterId();
        if (!isOurs(id))
            continue;
        const int32_t points = queue->getPointCount();
        for (int32_t p = 0; p < points; ++p) {
            const bool last = p == points - 1;
            if (count >= (last ? kEventCapacity : kMaxEvents))
                continue;
            vst3::int32 offset = 0;
            vst3::ParamValue value = 0;
            float productValueOf = 0;
            if (queue->getPoint(p, offset, value) != vst3::kResultOk ||
                !productValue(value, &productValueOf))
                continue;
            // A point before the block is at its start; one past its end
            // takes effect after it.
            const int32_t frame = std::max(offset, 0);
            events[count] = {numSamples > 0 ? frame : 0, count, id, productValueOf};
            ++count;
        }
    }
    // Frame order; points of one frame keep the host's order.
    std::sort(events.get(), events.get() + count, [](const Event& a, const Event& b) {
        return a.frame != b.frame ? a.frame < b.frame : a.order < b.order;
    });
    return count;
}

int32_t CVantelorVst3Processor::productChanges(int32_t first, int32_t end, int32_t frameOffset,
                                               vantelor::ParameterChange* out)
{
    using vantelor::ParameterChange;
    int32_t count = 0;
    for (int32_t e = first; e < end; ++e) {
        const Event& event = events[e];
        const int32_t frame = event.frame - frameOffset;
        if (event.id == kProgramId) {
            // A program is its values, each as the product's store hands it.
            const int32_t number = programOf(event.value);
            program.store(number, std::memory_order_relaxed);
            const vantelor::ProgramDescription& chosen = vantelor::kVantelorFactoryPrograms[number];
            for (int32_t i = 0; i < kNumVantelorParameters; ++i)
                out[count++] = {frame, i, vantelor::toNormalised(i, chosen.values[i]),
                                ParameterChange::Scale::normalised};
        } else if (event.id != kBypassId) {
            out[count++] = {frame, static_cast<int32_t>(event.id), event.value,
                            ParameterChange::Scale::normalised};
        }
    }
    return count;
}

void CVantelorVst3Processor::applyAtStart(int32_t numEvents)
{
    for (int32_t e = 0; e < numEvents; ++e) {
        if (events[e].id == kBypassId)
            setBypassTarget(events[e].value, true);
    }
    const int32_t count = productChanges(0, numEvents, 0, changes.get());
    for (int32_t c = 0; c < count; ++c)
        product->processor.setValue(changes[c].index, changes[c].value);
}

void CVantelorVst3Processor::setBypassTarget(float value, bool immediately)
{
    bypassTarget = value > 0.5f ? 1.0f : 0.0f;
    bypassShown.store(value > 0.5f ? 1 : 0, std::memory_order_relaxed);
    if (immediately)
        bypassGain = bypassTarget;
}

vst3::tresult CVantelorVst3Processor::process(vst3::ProcessData& data)
{
    if (data.symbolicSampleSize != vst3::kSample32)
        return vst3::kInvalidArgument;
    const int32_t numSamples = std::max(data.numSamples, 0);
    // A bypass a state brought back: at once before processing starts,
    // faded in after.
    if (bypassRequest.load(std::memory_order_relaxed) >= 0) {
        const int32_t requested = bypassRequest.exchange(-1, std::memory_order_acquire);
        if (requested >= 0)
            setBypassTarget(static_cast<float>(requested), starting);
    }
    int32_t numEvents = gatherEvents(data.inputParameterChanges, numSamples);

    float* in[2] = {};
    float* out[2] = {};
    const bool haveOutputs = channelsOf(data.outputs, data.numOutputs, out);
    const bool haveInputs = channelsOf(data.inputs, data.numInputs, in);
    if (haveOutputs)
        data.outputs[0].silenceFlags = 0;
    const bool audio = numSamples > 0 && haveInputs && haveOutputs;

    if (!audio) {
        // No audio to render (a host flushing parameters, or buffers
        // missing): the changes still take effect, and any output there is
        // is silent.
        if (haveOutputs && numSamples > 0)
            for (float* channel : out)
                std::fill(channel, channel + numSamples, 0.0f);
        if (starting) {
            applyAtStart(numEvents);
        } else {
            for (int32_t e = 0; e < numEvents; ++e)
                if (events[e].id == kBypassId)
                    setBypassTarget(events[e].value, false);
            const int32_t count = productChanges(0, numEvents, 0, changes.get());
            product->processor.process(nullptr, nullptr, 0, changes.get(), count);
        }
        return vst3::kResultOk;
    }

    if (starting) {
        // Values at the first frame after activation are the starting
        // state, as values set before it are: the rate first, then every
        // value, with no glide from the earlier ones.
        int32_t atStart = 0;
        while (atStart < numEvents && events[atStart].frame == 0)
            ++atStart;
        applyAtStart(atStart);
        product->processor.start(static_cast<float>(sampleRate));
        starting = false;
        if (atStart > 0) {
            std::copy(events.get() + atStart, events.get() + numEvents, events.get());
            numEvents -= atStart;
        }
    }
    render(in, out, numSamples, numEvents);
    return vst3::kResultOk;
}

void CVantelorVst3Processor::render(float** in, float** out, int32_t numSamples, int32_t numEvents)
{
    bool bypassMoves = bypassGain != 0.0f || bypassTarget != 0.0f;
    for (int32_t e = 0; e < numEvents && !bypassMoves; ++e)
        bypassMoves = events[e].id == kBypassId && events[e].value > 0.5f;
    if (!bypassMoves) {
        // Processing alone: the changes at their frames in one call.
        const int32_t count = productChanges(0, numEvents, 0, changes.get());
        product->processor.process(in, out, numSamples, changes.get(), count);
        return;
    }
    renderWithBypass(in, out, numSamples, numEvents);
}

void CVantelorVst3Processor::renderWithBypass(float** in, float** out, int32_t numSamples,
                                              int32_t numEvents)
{
    // Spans of at most kBypassSpan frames, split where the bypass changes.
    // The engine keeps running while bypassed, so that coming back is as
    // smooth as leaving.
    int32_t next = 0;
    for (int32_t pos = 0; pos < numSamples;) {
        int32_t end = std::min(numSamples, pos + kBypassSpan);
        for (int32_t e = next; e < numEvents && events[e].frame < end; ++e) {
            if (events[e].id == kBypassId && events[e].frame > pos) {
                end = events[e].frame;
                break;
            }
        }
        int32_t last = next;
        while (last < numEvents && (events[last].frame < end || end == numSamples))
            ++last;
        for (int32_t e = next; e < last; ++e)
            if (events[e].id == kBypassId && events[e].frame <= pos)
                setBypassTarget(events[e].value, false);
        const int32_t count = productChanges(next, last, pos, changes.get());
        next = last;

        const int32_t length = end - pos;
        float* dry[2] = {scratch.get(), scratch.get() + kBypassSpan};
        for (int c = 0; c < 2; ++c)
            for (int32_t i = 0; i < length; ++i)
                dry[c][i] = finiteOrSilence(in[c][pos + i]);
        float* spanIn[2] = {in[0] + pos, in[1] + pos};
        float* spanOut[2] = {out[0] + pos, out[1] + pos};
        product->processor.process(spanIn, spanOut, length, changes.get(), count);

        // The input's share moves towards the target a step a frame; at 0
        // the processed output stands, at 1 the input stands exactly.
        for (int32_t i = 0; i < length; ++i) {
            const float gain = bypassGain;
            if (gain >= 1.0f) {
                spanOut[0][i] = dry[0][i];
                spanOut[1][i] = dry[1][i];
            } else if (gain > 0.0f) {
                for (int c = 0; c < 2; ++c)
                    spanOut[c][i] = spanOut[c][i] * (1.0f - gain) + dry[c][i] * gain;
            }
            if (bypassGain < bypassTarget)
                bypassGain = std::min(bypassTarget, bypassGain + fadeStep);
            else if (bypassGain > bypassTarget)
                bypassGain = std::max(bypassTarget, bypassGain - fadeStep);
        }
        pos = end;
    }
}

} // namespace vantelor_vst3
