#include "plugin/MyVSTPlugin.h"

#include <cmath>
#include <cstring>

#include "plugin/TextBounded.h"
#include "plugin/VantelorTable.h"
#include "plugin/VantelorVersion.h"

namespace {

// Degrees, percent or the switch's 0..1 of a normalised value.
float toUnits(VstInt32 index, float value)
{
    return vantelorToUnits(index, value);
}

} // namespace

static_assert(std::atomic<float>::is_always_lock_free && std::atomic<uint32_t>::is_always_lock_free,
              "the parameter hand-over must not take a lock");

CMyVSTPlugin::CMyVSTPlugin(audioMasterCallback audioMaster)
    : CVSTPlugin(audioMaster, kNumChannels, kNumChannels), CVantelor(kNumChannels, kNumChannels)
{
    for (auto& value : pendingValues)
        value.store(0.0f, std::memory_order_relaxed);
    for (VstInt32 c = 0; c < kNumChannels; ++c) {
        activeRequest[c].store(isActive(static_cast<int8_t>(c)) ? 1u : 0u,
                               std::memory_order_relaxed);
        elevationRequest[c].store(getPanner(static_cast<int8_t>(c))->getElevation(),
                                  std::memory_order_relaxed);
        elevationMoves[c].store(0, std::memory_order_relaxed);
    }

    config->uniqueId = vstFourCC('H', 'F', 'V', 'N');
    copyBounded(config->effectName, "HF_Vantelor", CVSTConfig::kEffectNameLen);
    copyBounded(config->productName, "HF_Vantelor", CVSTConfig::kVendorLen);
    config->initialDelaySamples = 0;
    config->tailSize = 0;
    config->noTailFlag = false;

    // Parameters first: defining one resets it in every program.
    for (VstInt32 i = 0; i < kNumVantelorParameters; ++i) {
        const VantelorParameterDefinition& p = kVantelorParameters[i];
        config->defineParameter(i, p.name, p.label, p.min, p.max, p.defaultValue, p.format);
    }
    VstInt32 index = 0;
    for (const VantelorProgramDefinition& program : kVantelorFactoryPrograms)
        config->defineProgram(index++, program.name, program.values);

    config->vendorVersion = kVantelorVendorVersion;

    applyConfig();
}

CMyVSTPlugin::~CMyVSTPlugin() = default;

void CMyVSTPlugin::suspend()
{
    applyPendingParameters();
    CVantelor::reset();
}

void CMyVSTPlugin::resume()
{
    applyPendingParameters();
    CVSTPlugin::resume();
    CVantelor::reset();
}

void CMyVSTPlugin::setSampleRate(float rate)
{
    const float clamped = clampSampleRate(rate);
    CVSTPlugin::setSampleRate(clamped);
    // Pending values first, so an elevation set before the rate change gets
    // the rate change's redesign, as it would if it had reached the engine
    // at once.
    applyPendingParameters();
    CVantelor::setSampleRate(clamped);
}

void CMyVSTPlugin::setParameter(VstInt32 index, float value)
{
    if (!storeParameter(index, value))
        return;
    // Every change reaches the editor, including its own edits.
    if (editor)
        editor->setParameter(index, value);
    // The engine ignores a width that is not a number, so it must not
    // replace a value still waiting either.
    if ((index == kWidthL || index == kWidthR) && !std::isfinite(value))
        return;
    pendingValues[index].store(value, std::memory_order_relaxed);
    if (index == kElevL || index == kElevR) {
        const int channel = index == kElevL ? 0 : 1;
        const float degrees = CCCPanner::clampAngle(toUnits(index, value));
        if (elevationRequest[channel].exchange(degrees, std::memory_order_relaxed) != degrees)
            elevationMoves[channel].fetch_add(1, std::memory_order_relaxed);
    }
    if (index == kActiveL || index == kActiveR) {
        std::atomic<uint32_t>& request = activeRequest[index == kActiveL ? 0 : 1];
        const uint32_t on = value > 0.5f ? 1u : 0u;
        uint32_t old = request.load(std::memory_order_relaxed);
        while ((old & 1u) != on &&
               !request.compare_exchange_weak(old, (((old >> 1) + 1u) << 1) | on,
                                              std::memory_order_relaxed)) {
        }
    }
    // Release: the audio thread that sees the bit also sees the value.
    pendingMask.fetch_or(1u << index, std::memory_order_release);
}

void CMyVSTPlugin::setProgram(VstInt32 program)
{
    // A program that does not exist changes nothing, so nothing is redrawn.
    if (!config->isProgram(program))
        return;
    CVSTPlugin::setProgram(program);
    if (editor)
        editor->redrawAll();
}

void CMyVSTPlugin::applyPendingParameters()
{
    // Nearly every block finds nothing pending: a plain load then spares
    // the audio thread the locked exchange.
    if (pendingMask.load(std::memory_order_relaxed) == 0)
        return;
    uint32_t mask = pendingMask.exchange(0, std::memory_order_acquire);
    for (VstInt32 index = 0; mask != 0; ++index, mask >>= 1)
        if ((mask & 1u) != 0)
            applyParameter(index, pendingValues[index].load(std::memory_order_relaxed));
}

void CMyVSTPlugin::applyParameter(VstInt32 index, float value)
{
    const float units = toUnits(index, value);
    const int8_t channel = index < kAziR ? 0 : 1;
    switch (index) {
    case kAziL:
    case kAziR:
        setAzimuth(units, channel);
        break;
    case kElevL:
    case kElevR:
        applyElevation(units, channel);
        break;
    case kActiveL:
    case kActiveR: {
        // An odd number of flips is a plain switch; an even, non-zero number
        // went off and on again (or on and off), which restarts the source
        // just as the two calls would have one after the other.
        const uint32_t request = activeRequest[channel].load(std::memory_order_relaxed);
        const bool on = (request & 1u) != 0;
        const uint32_t flips = (request >> 1) - appliedActiveFlips[channel];
        appliedActiveFlips[channel] = request >> 1;
        if (flips != 0 && on == isActive(channel))
            setActive(!on, channel);
        setActive(on, channel);
        break;
    }
    case kWidthL:
    case kWidthR:
        setWidth(value, channel);
        break;
    default:
        break;
    }
}

void CMyVSTPlugin::applyElevation(float degrees, int8_t channel)
{
    const uint32_t moves = elevationMoves[channel].load(std::memory_order_relaxed);
    const bool moved = moves != appliedElevationMoves[channel];
    appliedElevationMoves[channel] = moves;
    const float before = getPanner(channel)->getElevation();
    setElevation(degrees, channel);
    // Back where it started after moving in between: each move would have
    // redesigned the elevation filters with the voicing of a move, and a
    // sample-rate change may have left the other voicing in place.
    if (moved && getPanner(channel)->getElevation() == before) {
        setElevation(before == 0.0f ? 1.0f : 0.0f, channel);
        setElevation(before, channel);
    }
}

void CMyVSTPlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    applyPendingParameters();
    CVantelor::process(inputs, outputs, sampleFrames);
}

float CMyVSTPlugin::currentValue(int32_t index)
{
    return getParameter(index);
}

void CMyVSTPlugin::beginChange(int32_t index)
{
    beginEdit(index);
}

void CMyVSTPlugin::change(int32_t index, float normalised)
{
    setParameterAutomated(index, normalised);
}

void CMyVSTPlugin::endChange(int32_t index)
{
    endEdit(index);
}

bool CMyVSTPlugin::getVersionLabel(char* text)
{
    return CVSTPlugin::getVersionLabel(text);
}
