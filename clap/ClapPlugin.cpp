#include "clap/ClapPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "clap/ClapDescriptor.h"
#include "clap/ClapWindow.h"
#include "product/VantelorState.h"

namespace vantelor_clap {

using namespace vantelor;

namespace {

bool isModulatable(int32_t index)
{
    return kVantelorParameters[index].kind == Kind::continuous;
}

double clampToRange(int32_t index, double units)
{
    const ParameterDescription& p = kVantelorParameters[index];
    return std::clamp(units, static_cast<double>(p.min), static_cast<double>(p.max));
}

// The value the host's parameter takes: inside the range, a switch 0 or 1 as
// the engine reads it (on above one half).
double hostUnits(int32_t index, double units)
{
    const double clamped = clampToRange(index, units);
    if (kVantelorParameters[index].kind == Kind::toggle)
        return clamped > 0.5 ? 1.0 : 0.0;
    return clamped;
}

void copyText(char* out, std::size_t capacity, const char* text)
{
    if (!out || capacity == 0)
        return;
    std::snprintf(out, capacity, "%s", text);
}

} // namespace

// ---- EditQueue

bool EditQueue::push(const Edit& edit)
{
    const uint32_t t = tail.load(std::memory_order_relaxed);
    if (t - head.load(std::memory_order_acquire) >= kCapacity)
        return false;
    edits[t % kCapacity] = edit;
    tail.store(t + 1, std::memory_order_release);
    return true;
}

bool EditQueue::pop(Edit& edit)
{
    const uint32_t h = head.load(std::memory_order_relaxed);
    if (h == tail.load(std::memory_order_acquire))
        return false;
    edit = edits[h % kCapacity];
    head.store(h + 1, std::memory_order_release);
    return true;
}

bool EditQueue::empty() const
{
    return head.load(std::memory_order_acquire) == tail.load(std::memory_order_acquire);
}

// ---- The plug-in record's functions

namespace {

ClapPlugin* self(const clap_plugin_t* plugin)
{
    return ClapPlugin::from(plugin);
}

bool CLAP_ABI pluginInit(const clap_plugin_t* plugin)
{
    return self(plugin) && self(plugin)->init();
}

void CLAP_ABI pluginDestroy(const clap_plugin_t* plugin)
{
    delete self(plugin);
}

bool CLAP_ABI pluginActivate(const clap_plugin_t* plugin, double rate, uint32_t, uint32_t)
{
    return self(plugin) && self(plugin)->activate(rate);
}

void CLAP_ABI pluginDeactivate(const clap_plugin_t* plugin)
{
    if (self(plugin))
        self(plugin)->deactivate();
}

bool CLAP_ABI pluginStartProcessing(const clap_plugin_t* plugin)
{
    return self(plugin) && self(plugin)->startProcessing();
}

void CLAP_ABI pluginStopProcessing(const clap_plugin_t* plugin)
{
    if (self(plugin))
        self(plugin)->stopProcessing();
}

void CLAP_ABI pluginReset(const clap_plugin_t* plugin)
{
    if (self(plugin))
        self(plugin)->reset();
}

clap_process_status CLAP_ABI pluginProcess(const clap_plugin_t* plugin,
                                           const clap_process_t* process)
{
    return self(plugin) ? self(plugin)->process(process) : CLAP_PROCESS_ERROR;
}

const void* CLAP_ABI pluginGetExtension(const clap_plugin_t* plugin, const char* id)
{
    return self(plugin) ? self(plugin)->extension(id) : nullptr;
}

void CLAP_ABI pluginOnMainThread(const clap_plugin_t* plugin)
{
    if (self(plugin))
        self(plugin)->onMainThread();
}

} // namespace

ClapPlugin::ClapPlugin(const clap_host_t* host)
    : host(host), changes(new vantelor::ParameterChange[kMaxChanges])
{
    record.desc = &descriptor();
    record.plugin_data = this;
    record.init = pluginInit;
    record.destroy = pluginDestroy;
    record.activate = pluginActivate;
    record.deactivate = pluginDeactivate;
    record.start_processing = pluginStartProcessing;
    record.stop_processing = pluginStopProcessing;
    record.reset = pluginReset;
    record.process = pluginProcess;
    record.get_extension = pluginGetExtension;
    record.on_main_thread = pluginOnMainThread;
    for (int32_t i = 0; i < kNumVantelorParameters; ++i) {
        values[i].store(kVantelorFactoryPrograms[0].values[i], std::memory_order_relaxed);
        modulation[i].store(0.0, std::memory_order_relaxed);
    }
}

ClapPlugin::~ClapPlugin()
{
    destroyWindow();
}

ClapPlugin* ClapPlugin::from(const clap_plugin_t* plugin)
{
    return plugin ? static_cast<ClapPlugin*>(plugin->plugin_data) : nullptr;
}

bool ClapPlugin::init()
{
    if (host && host->get_extension) {
        hostParams =
            static_cast<const clap_host_params_t*>(host->get_extension(host, CLAP_EXT_PARAMS));
        hostState =
            static_cast<const clap_host_state_t*>(host->get_extension(host, CLAP_EXT_STATE));
    }
    return true;
}

bool ClapPlugin::activate(double rate)
{
    if (active)
        return false;
    // Rates the engine cannot run at are clamped by it; a rate that is no
    // number is its lowest.
    sampleRate = std::isfinite(rate) ? rate : 0.0;
    // The rate first, then every value set so far (by flush, state or the
    // window), then a cleared audio state: a VST 2.4 session's load.
    dsp.processor.start(static_cast<float>(sampleRate));
    active = true;
    starting = true;
    return true;
}

void ClapPlugin::deactivate()
{
    if (!active)
        return;
    dsp.processor.suspend();
    active = false;
    starting = false;
}

bool ClapPlugin::startProcessing()
{
    processing.store(true, std::memory_order_relaxed);
    return true;
}

void ClapPlugin::stopProcessing()
{
    processing.store(false, std::memory_order_relaxed);
}

void ClapPlugin::reset()
{
    dsp.processor.suspend();
}

float ClapPlugin::heard(int32_t index) const
{
    double units = values[index].load(std::memory_order_relaxed);
    if (isModulatable(index))
        units = clampToRange(index, units + modulation[index].load(std::memory_order_relaxed));
    return static_cast<float>(units);
}

bool ClapPlugin::takeEvent(const clap_event_header_t* event, int32_t frame)
{
    if (!event || event->space_id != CLAP_CORE_EVENT_SPACE_ID)
        return false;
    int32_t index = -1;
    if (event->type == CLAP_EVENT_PARAM_VALUE) {
        if (event->size < sizeof(clap_event_param_value_t))
            return false;
        const auto* e = reinterpret_cast<const clap_event_param_value_t*>(event);
        if (e->param_id >= static_cast<uint32_t>(kNumVantelorParameters) || std::isnan(e->value))
            return false;
        index = static_cast<int32_t>(e->param_id);
        values[index].store(hostUnits(index, e->value), std::memory_order_relaxed);
    } else if (event->type == CLAP_EVENT_PARAM_MOD) {
        if (event->size < sizeof(clap_event_param_mod_t))
            return false;
        const auto* e = reinterpret_cast<const clap_event_param_mod_t*>(event);
        if (e->param_id >= static_cast<uint32_t>(kNumVantelorParameters) ||
            !isModulatable(static_cast<int32_t>(e->param_id)) || !std::isfinite(e->amount))
            return false;
        index = static_cast<int32_t>(e->param_id);
        modulation[index].store(e->amount, std::memory_order_relaxed);
    } else {
        return false;
    }
    if (numChanges == kMaxChanges)
        return false; // the caller renders what it has gathered first
    changes[numChanges++] = {frame, index, heard(index), ParameterChange::Scale::units};
    return true;
}

void ClapPlugin::renderPiece(const clap_process_t* process, uint32_t offset, uint32_t frames,
                             bool audio)
{
    float* in[kNumChannels] = {};
    float* out[kNumChannels] = {};
    if (audio) {
        const clap_audio_buffer_t& input = process->audio_inputs[0];
        const clap_audio_buffer_t& output = process->audio_outputs[0];
        for (int c = 0; c < kNumChannels; ++c) {
            in[c] = input.data32[c] + offset;
            out[c] = output.data32[c] + offset;
        }
    }
    // A block longer than the processor's signed count goes in pieces; the
    // changes belong to the first.
    const ParameterChange* pieceChanges = changes.get();
    int32_t count = numChanges;
    do {
        constexpr uint32_t kPiece = 1u << 30;
        const uint32_t n = std::min(frames, kPiece);
        dsp.processor.process(audio ? in : nullptr, audio ? out : nullptr, static_cast<int32_t>(n),
                              pieceChanges, count);
        pieceChanges = nullptr;
        count = 0;
        frames -= n;
        for (int c = 0; audio && c < kNumChannels; ++c) {
            in[c] += n;
            out[c] += n;
        }
    } while (frames > 0);
    numChanges = 0;
}

namespace {

bool usableBuffer(const clap_audio_buffer_t* buffers, uint32_t count)
{
    if (!buffers || count < 1)
        return false;
    const clap_audio_buffer_t& b = buffers[0];
    return b.data32 && b.channel_count >= static_cast<uint32_t>(kNumChannels) && b.data32[0] &&
           b.data32[1];
}

} // namespace

clap_process_status ClapPlugin::process(const clap_process_t* process)
{
    if (!process)
        return CLAP_PROCESS_ERROR;
    const uint32_t frames = process->frames_count;
    const bool outputs = usableBuffer(process->audio_outputs, process->audio_outputs_count);
    const bool inputs = usableBuffer(process->audio_inputs, process->audio_inputs_count);
    // Without an input the output is silence; without an output only the
    // events count.
    if (outputs && !inputs) {
        for (int c = 0; c < kNumChannels; ++c)
            std::fill(process->audio_outputs[0].data32[c],
                      process->audio_outputs[0].data32[c] + frames, 0.0f);
    }
    const bool audio = outputs && inputs && frames > 0;

    numChanges = 0;
    if (remodulate.exchange(false, std::memory_order_acquire)) {
        for (int32_t i = 0; i < kNumVantelorParameters; ++i)
            if (isModulatable(i) && modulation[i].load(std::memory_order_relaxed) != 0.0)
                changes[numChanges++] = {0, i, heard(i), ParameterChange::Scale::units};
    }

    const clap_input_events_t* in = process->in_events;
    const uint32_t numEvents = in && in->size && in->get ? in->size(in) : 0;
    uint32_t done = 0; // frames rendered so far
    uint32_t last = 0; // the latest event frame, for events out of order
    uint32_t e = 0;
    if (starting) {
        // The first block after activation: events at its first frame are
        // part of the starting state, as values set before a VST 2.4 resume.
        starting = false;
        for (; e < numEvents; ++e) {
            const clap_event_header_t* event = in->get(in, e);
            if (!event || event->time != 0)
                break;
            takeEvent(event, 0);
            if (numChanges == kMaxChanges)
                renderPiece(process, 0, 0, false);
        }
        // Whatever was set since activation (these events, a flush, a
        // state) starts without a glide. The rate is the one the engine
        // already has, so nothing is redesigned for it.
        renderPiece(process, 0, 0, false);
        dsp.processor.start(static_cast<float>(sampleRate));
    }
    for (; e < numEvents; ++e) {
        const clap_event_header_t* event = in->get(in, e);
        if (!event)
            continue;
        // Frames inside the block; an event out of order takes effect with
        // the one before it, one past the end after the block.
        uint32_t time = std::max(event->time, last);
        last = time;
        time = std::min(time, frames);
        if (numChanges == kMaxChanges) {
            const uint32_t upTo = audio ? std::max(time, done) : done;
            renderPiece(process, done, upTo - done, audio);
            done = upTo;
        }
        takeEvent(event, static_cast<int32_t>(time - done));
    }
    renderPiece(process, done, audio ? frames - done : 0, audio);
    if (process->out_events)
        sendEdits(process->out_events);
    return CLAP_PROCESS_CONTINUE;
}

void ClapPlugin::flush(const clap_input_events_t* in, const clap_output_events_t* out)
{
    numChanges = 0;
    const uint32_t numEvents = in && in->size && in->get ? in->size(in) : 0;
    for (uint32_t e = 0; e < numEvents; ++e) {
        if (numChanges == kMaxChanges)
            renderPiece(nullptr, 0, 0, false);
        takeEvent(in->get(in, e), 0);
    }
    // No audio: the values wait for the next block, or for activation.
    renderPiece(nullptr, 0, 0, false);
    if (out)
        sendEdits(out);
}

void ClapPlugin::sendEdits(const clap_output_events_t* out)
{
    if (!out->try_push)
        return;
    EditQueue::Edit edit;
    while (edits.pop(edit)) {
        const int32_t index = static_cast<int32_t>(edit.index);
        if (edit.kind == EditQueue::Kind::value) {
            clap_event_param_value_t event{};
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE,
                            CLAP_EVENT_IS_LIVE};
            event.param_id = edit.index;
            event.note_id = -1;
            event.port_index = -1;
            event.channel = -1;
            event.key = -1;
            event.value = edit.units;
            out->try_push(out, &event.header);
            // The engine heard the edit without its modulation.
            if (isModulatable(index) && modulation[index].load(std::memory_order_relaxed) != 0.0)
                dsp.processor.setUnits(index, heard(index));
        } else {
            clap_event_param_gesture_t event{};
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID,
                            edit.kind == EditQueue::Kind::begin ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                                                                : CLAP_EVENT_PARAM_GESTURE_END,
                            CLAP_EVENT_IS_LIVE};
            event.param_id = edit.index;
            out->try_push(out, &event.header);
        }
    }
}

// ---- Parameters

bool ClapPlugin::parameterInfo(uint32_t index, clap_param_info_t* info) const
{
    if (!info || index >= static_cast<uint32_t>(kNumVantelorParameters))
        return false;
    const ParameterDescription& p = kVantelorParameters[index];
    *info = {};
    info->id = p.id;
    info->flags = CLAP_PARAM_IS_AUTOMATABLE;
    if (p.kind == Kind::toggle)
        info->flags |= CLAP_PARAM_IS_STEPPED;
    else
        info->flags |= CLAP_PARAM_IS_MODULATABLE;
    info->cookie = nullptr;
    copyText(info->name, sizeof info->name, p.name);
    copyText(info->module, sizeof info->module, groupName(p.group));
    info->min_value = p.min;
    info->max_value = p.max;
    info->default_value = p.defaultValue;
    return true;
}

bool ClapPlugin::value(clap_id id, double* out) const
{
    if (!out || id >= static_cast<uint32_t>(kNumVantelorParameters))
        return false;
    *out = values[id].load(std::memory_order_relaxed);
    return true;
}

bool ClapPlugin::valueToText(clap_id id, double units, char* text, uint32_t capacity) const
{
    if (!text || capacity == 0 || id >= static_cast<uint32_t>(kNumVantelorParameters) ||
        std::isnan(units))
        return false;
    const int32_t index = static_cast<int32_t>(id);
    const ParameterDescription& p = kVantelorParameters[index];
    if (p.kind == Kind::toggle) {
        copyText(text, capacity, hostUnits(index, units) > 0.5 ? "On" : "Off");
        return true;
    }
    char number[32];
    formatValue(index, static_cast<float>(clampToRange(index, units)), number, sizeof number);
    if (p.label[0] != '\0')
        std::snprintf(text, capacity, "%s %s", number, p.label);
    else
        copyText(text, capacity, number);
    return true;
}

bool ClapPlugin::textToValue(clap_id id, const char* text, double* out) const
{
    if (!out || id >= static_cast<uint32_t>(kNumVantelorParameters))
        return false;
    float units = 0.0f;
    if (!parseValue(static_cast<int32_t>(id), text, &units))
        return false;
    *out = hostUnits(static_cast<int32_t>(id), units);
    return true;
}

// ---- State and presets

bool ClapPlugin::save(const clap_ostream_t* stream) const
{
    if (!stream || !stream->write)
        return false;
    ProductState state;
    state.program = program.load(std::memory_order_relaxed);
    // What the engine hears, exactly, except where modulation sits on top:
    // there the host's own value.
    dsp.processor.captureValues(state);
    for (int32_t i = 0; i < kNumVantelorParameters; ++i)
        if (modulation[i].load(std::memory_order_relaxed) != 0.0)
            state.values[i] = values[i].load(std::memory_order_relaxed);
    uint8_t bytes[kStateSize];
    const std::size_t size = writeState(state, bytes);
    std::size_t written = 0;
    while (written < size) {
        const int64_t n = stream->write(stream, bytes + written, size - written);
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool ClapPlugin::load(const clap_istream_t* stream)
{
    if (!stream || !stream->read)
        return false;
    // One byte more than a state of this version, to tell a longer one.
    uint8_t bytes[kStateSize + 1];
    std::size_t size = 0;
    while (size < sizeof bytes) {
        const int64_t n = stream->read(stream, bytes + size, sizeof bytes - size);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        size += static_cast<std::size_t>(n);
    }
    ProductState state;
    if (readState(bytes, size, &state) != StateResult::ok)
        return false;
    program.store(state.program, std::memory_order_relaxed);
    dsp.processor.restoreValues(state);
    // The host's values as the engine takes them: a width's exact fraction
    // times 100 is its float percentage again.
    for (int32_t i = 0; i < kNumVantelorParameters; ++i)
        values[i].store(static_cast<float>(state.values[i]), std::memory_order_relaxed);
    remodulate.store(true, std::memory_order_release);
    return true;
}

bool ClapPlugin::loadProgram(int32_t number)
{
    if (number < 0 || number >= kNumVantelorFactoryPrograms)
        return false;
    const ProgramDescription& p = kVantelorFactoryPrograms[number];
    program.store(number, std::memory_order_relaxed);
    for (int32_t i = 0; i < kNumVantelorParameters; ++i) {
        // The program's values through the store's arithmetic, as a VST 2.4
        // program change hands them over.
        dsp.processor.setValue(i, toNormalised(i, p.values[i]));
        values[i].store(p.values[i], std::memory_order_relaxed);
    }
    remodulate.store(true, std::memory_order_release);
    if (hostParams && hostParams->rescan)
        hostParams->rescan(host, CLAP_PARAM_RESCAN_VALUES);
    if (hostState && hostState->mark_dirty)
        hostState->mark_dirty(host);
    return true;
}

// ---- Window

bool ClapPlugin::createWindow(const char* api, bool floating)
{
    if (gui || !CClapGuiEditor::supportsApi(api, floating))
        return false;
    try {
        gui = std::make_unique<ClapWindow>(*this, host);
    } catch (...) {
        return false;
    }
    return true;
}

void ClapPlugin::destroyWindow()
{
    gui.reset();
}

void ClapPlugin::requestFlush()
{
    // While processing, the next block sends the edits.
    if (!processing.load(std::memory_order_relaxed) && hostParams && hostParams->request_flush)
        hostParams->request_flush(host);
}

void ClapPlugin::beginEdit(int32_t index)
{
    if (!isParameter(index))
        return;
    edits.push({EditQueue::Kind::begin, static_cast<uint32_t>(index), 0.0});
    requestFlush();
}

void ClapPlugin::edit(int32_t index, float normalised)
{
    if (!isParameter(index) || !std::isfinite(normalised))
        return;
    const double units = hostUnits(index, toUnits(index, normalised));
    values[index].store(units, std::memory_order_relaxed);
    // The engine hears the edit as a VST 2.4 host's setParameter; where
    // modulation sits on top, the block that sends the edit adds it.
    dsp.processor.setValue(index, normalised);
    edits.push({EditQueue::Kind::value, static_cast<uint32_t>(index), units});
    requestFlush();
}

void ClapPlugin::endEdit(int32_t index)
{
    if (!isParameter(index))
        return;
    edits.push({EditQueue::Kind::end, static_cast<uint32_t>(index), 0.0});
    requestFlush();
}

} // namespace vantelor_clap
