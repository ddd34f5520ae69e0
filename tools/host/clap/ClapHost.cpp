#include "tools/host/clap/ClapHost.h"

#include <algorithm>
#include <cstring>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace clap_host {

// ---- Module

ClapModule::ClapModule(const std::string& path)
{
#if defined(_WIN32)
    handle = LoadLibraryA(path.c_str());
    if (!handle) {
        why = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    entry = reinterpret_cast<const clap_plugin_entry_t*>(
        GetProcAddress(static_cast<HMODULE>(handle), "clap_entry"));
#else
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* e = dlerror();
        why = e ? e : "cannot load " + path;
        return;
    }
    entry = static_cast<const clap_plugin_entry_t*>(dlsym(handle, "clap_entry"));
#endif
    if (!entry) {
        why = path + " has no clap_entry";
        return;
    }
    if (!clapVersionIsCompatible(entry->clap_version) || !entry->init ||
        !entry->init(path.c_str())) {
        why = path + ": the entry refused to start";
        entry = nullptr;
    }
}

ClapModule::~ClapModule()
{
    if (entry && entry->deinit)
        entry->deinit();
    if (!handle)
        return;
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

const void* ClapModule::factory(const char* id) const
{
    return entry && entry->get_factory ? entry->get_factory(id) : nullptr;
}

const clap_plugin_factory_t* ClapModule::pluginFactory() const
{
    return static_cast<const clap_plugin_factory_t*>(factory(CLAP_PLUGIN_FACTORY_ID));
}

const clap_plugin_descriptor_t* ClapModule::firstDescriptor() const
{
    const clap_plugin_factory_t* f = pluginFactory();
    if (!f || f->get_plugin_count(f) < 1)
        return nullptr;
    return f->get_plugin_descriptor(f, 0);
}

// ---- Events

EventList::EventList(std::size_t capacity)
{
    events.reserve(capacity);
    list.ctx = this;
    list.size = [](const clap_input_events_t* l) {
        return static_cast<uint32_t>(static_cast<const EventList*>(l->ctx)->events.size());
    };
    list.get = [](const clap_input_events_t* l, uint32_t index) {
        return static_cast<const EventList*>(l->ctx)->at(index);
    };
}

const clap_event_header_t* EventList::at(std::size_t index) const
{
    return index < events.size() ? &events[index].header : nullptr;
}

void EventList::value(uint32_t time, clap_id id, double units)
{
    Event e{};
    e.value.header = {sizeof(clap_event_param_value_t), time, CLAP_CORE_EVENT_SPACE_ID,
                      CLAP_EVENT_PARAM_VALUE, 0};
    e.value.param_id = id;
    e.value.note_id = -1;
    e.value.port_index = -1;
    e.value.channel = -1;
    e.value.key = -1;
    e.value.value = units;
    events.push_back(e);
}

void EventList::modulation(uint32_t time, clap_id id, double amount)
{
    Event e{};
    e.mod.header = {sizeof(clap_event_param_mod_t), time, CLAP_CORE_EVENT_SPACE_ID,
                    CLAP_EVENT_PARAM_MOD, 0};
    e.mod.param_id = id;
    e.mod.note_id = -1;
    e.mod.port_index = -1;
    e.mod.channel = -1;
    e.mod.key = -1;
    e.mod.amount = amount;
    events.push_back(e);
}

void EventList::raw(const clap_event_header_t& header)
{
    // The header as given; the rest of the event, whatever size it claims,
    // stays zero.
    Event e{};
    std::memcpy(&e, &header, sizeof header);
    events.push_back(e);
}

OutputList::OutputList(std::size_t capacity)
{
    events.reserve(capacity);
    list.ctx = this;
    list.try_push = [](const clap_output_events_t* l, const clap_event_header_t* e) {
        auto* self = static_cast<OutputList*>(l->ctx);
        if (!e || self->events.size() == self->events.capacity())
            return false;
        OutputEvent out{e->type, CLAP_INVALID_ID, 0.0};
        if (e->type == CLAP_EVENT_PARAM_VALUE && e->size >= sizeof(clap_event_param_value_t)) {
            const auto* v = reinterpret_cast<const clap_event_param_value_t*>(e);
            out.id = v->param_id;
            out.value = v->value;
        } else if ((e->type == CLAP_EVENT_PARAM_GESTURE_BEGIN ||
                    e->type == CLAP_EVENT_PARAM_GESTURE_END) &&
                   e->size >= sizeof(clap_event_param_gesture_t)) {
            out.id = reinterpret_cast<const clap_event_param_gesture_t*>(e)->param_id;
        }
        self->events.push_back(out);
        return true;
    };
}

// ---- The host record's extensions

namespace {

HostRecord& recordOf(const clap_host_t* host)
{
    return static_cast<ClapInstance*>(host->host_data)->record;
}

const clap_host_params_t kParams = {
    [](const clap_host_t* h, uint32_t) { ++recordOf(h).rescans; },
    [](const clap_host_t*, clap_id, uint32_t) {},
    [](const clap_host_t* h) { ++recordOf(h).flushRequests; },
};

const clap_host_state_t kState = {[](const clap_host_t* h) { ++recordOf(h).dirtyMarks; }};

const clap_host_preset_load_t kPresetLoad = {
    [](const clap_host_t* h, uint32_t, const char*, const char*, int32_t, const char*) {
        ++recordOf(h).presetErrors;
    },
    [](const clap_host_t* h, uint32_t, const char*, const char*) { ++recordOf(h).presetsLoaded; },
};

const clap_host_posix_fd_support_t kFds = {
    [](const clap_host_t* h, int fd, uint32_t flags) {
        return recordOf(h).fds.emplace(fd, flags).second;
    },
    [](const clap_host_t* h, int fd, uint32_t flags) {
        auto it = recordOf(h).fds.find(fd);
        if (it == recordOf(h).fds.end())
            return false;
        it->second = flags;
        return true;
    },
    [](const clap_host_t* h, int fd) { return recordOf(h).fds.erase(fd) == 1; },
};

const clap_host_gui_t kGui = {
    [](const clap_host_t*) {},
    [](const clap_host_t*, uint32_t, uint32_t) { return false; },
    [](const clap_host_t*) { return false; },
    [](const clap_host_t*) { return false; },
    [](const clap_host_t*, bool) {},
};

} // namespace

const void* CLAP_ABI ClapInstance::hostExtension(const clap_host_t* host, const char* id)
{
    if (!host || !id)
        return nullptr;
    auto* self = static_cast<ClapInstance*>(host->host_data);
    self->record.askedExtensions.emplace_back(id);
    static const clap_host_timer_support_t timers = {
        [](const clap_host_t* h, uint32_t period, clap_id* out) {
            auto* instance = static_cast<ClapInstance*>(h->host_data);
            if (!out)
                return false;
            *out = instance->nextTimer++;
            instance->record.timers[*out] = period;
            return true;
        },
        [](const clap_host_t* h, clap_id timer) { return recordOf(h).timers.erase(timer) == 1; },
    };
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0)
        return &kParams;
    if (std::strcmp(id, CLAP_EXT_STATE) == 0)
        return &kState;
    if (std::strcmp(id, CLAP_EXT_PRESET_LOAD) == 0)
        return &kPresetLoad;
    if (std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0)
        return &kFds;
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0)
        return &timers;
    if (std::strcmp(id, CLAP_EXT_GUI) == 0)
        return &kGui;
    return nullptr;
}

// ---- Instance

ClapInstance::ClapInstance(const ClapModule& module, const char* id)
{
    host = {kClapVersion,
            this,
            "clap-host",
            "Harrowfields",
            "https://www.harrowfields.example/",
            "1.0",
            hostExtension,
            [](const clap_host_t* h) { ++recordOf(h).restartRequests; },
            [](const clap_host_t* h) { ++recordOf(h).processRequests; },
            [](const clap_host_t* h) { ++recordOf(h).callbackRequests; }};
    const clap_plugin_factory_t* factory = module.pluginFactory();
    if (!factory)
        return;
    if (!id) {
        const clap_plugin_descriptor_t* d = module.firstDescriptor();
        if (!d)
            return;
        id = d->id;
    }
    plugin = factory->create_plugin(factory, &host, id);
    if (plugin && !plugin->init(plugin)) {
        plugin->destroy(plugin);
        plugin = nullptr;
    }
}

ClapInstance::~ClapInstance()
{
    if (!plugin)
        return;
    stopProcessing();
    deactivate();
    plugin->destroy(plugin);
}

bool ClapInstance::activate(double rate, uint32_t minFrames, uint32_t maxFrames)
{
    if (!plugin || active)
        return false;
    active = plugin->activate(plugin, rate, minFrames, maxFrames);
    return active;
}

void ClapInstance::deactivate()
{
    if (!plugin || !active)
        return;
    stopProcessing();
    plugin->deactivate(plugin);
    active = false;
}

bool ClapInstance::startProcessing()
{
    if (!plugin || !active)
        return false;
    if (!processing)
        processing = plugin->start_processing(plugin);
    return processing;
}

void ClapInstance::stopProcessing()
{
    if (plugin && processing)
        plugin->stop_processing(plugin);
    processing = false;
}

clap_process_status ClapInstance::process(float* const* inputs, float* const* outputs,
                                          uint32_t frames, const EventList* events, OutputList* out)
{
    clap_audio_buffer_t in{};
    in.data32 = const_cast<float**>(inputs);
    in.channel_count = 2;
    clap_audio_buffer_t outBuffer{};
    outBuffer.data32 = const_cast<float**>(outputs);
    outBuffer.channel_count = 2;
    clap_process_t p{};
    p.steady_time = steadyTime;
    p.frames_count = frames;
    p.audio_inputs = &in;
    p.audio_outputs = &outBuffer;
    p.audio_inputs_count = 1;
    p.audio_outputs_count = 1;
    p.in_events = events ? events->input() : noEvents.input();
    p.out_events = out ? out->output() : discard.output();
    steadyTime += frames;
    return plugin->process(plugin, &p);
}

void ClapInstance::flush(const EventList* events, OutputList* out)
{
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    if (params && params->flush)
        params->flush(plugin, events ? events->input() : noEvents.input(),
                      out ? out->output() : discard.output());
}

uint32_t ClapInstance::parameterCount() const
{
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    return params ? params->count(plugin) : 0;
}

bool ClapInstance::parameterInfo(uint32_t index, clap_param_info_t* info) const
{
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    return params && params->get_info(plugin, index, info);
}

double ClapInstance::value(clap_id id) const
{
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    double v = 0;
    if (!params || !params->get_value(plugin, id, &v))
        return 0;
    return v;
}

std::vector<uint8_t> ClapInstance::saveState() const
{
    std::vector<uint8_t> bytes;
    const auto* state = extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    if (!state)
        return bytes;
    // A stream that takes at most 7 bytes a call, as a host's may.
    clap_ostream_t stream{&bytes, [](const clap_ostream_t* s, const void* data, uint64_t size) {
                              auto* b = static_cast<std::vector<uint8_t>*>(s->ctx);
                              const uint64_t n = std::min<uint64_t>(size, 7);
                              const auto* p = static_cast<const uint8_t*>(data);
                              b->insert(b->end(), p, p + n);
                              return static_cast<int64_t>(n);
                          }};
    if (!state->save(plugin, &stream))
        bytes.clear();
    return bytes;
}

bool ClapInstance::loadState(const std::vector<uint8_t>& bytes) const
{
    const auto* state = extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    if (!state)
        return false;
    struct Reader
    {
        const std::vector<uint8_t>* bytes;
        std::size_t at;
    } reader{&bytes, 0};
    // A stream that gives at most 5 bytes a call.
    clap_istream_t stream{&reader, [](const clap_istream_t* s, void* data, uint64_t size) {
                              auto* r = static_cast<Reader*>(s->ctx);
                              const uint64_t n = std::min<uint64_t>(std::min<uint64_t>(size, 5),
                                                                    r->bytes->size() - r->at);
                              if (n > 0)
                                  std::memcpy(data, r->bytes->data() + r->at, n);
                              r->at += n;
                              return static_cast<int64_t>(n);
                          }};
    return state->load(plugin, &stream);
}

std::vector<ClapInstance::Preset> ClapInstance::listPresets(const ClapModule& module)
{
    std::vector<Preset> presets;
    const auto* factory = static_cast<const clap_preset_discovery_factory_t*>(
        module.factory(CLAP_PRESET_DISCOVERY_FACTORY_ID));
    if (!factory)
        return presets;
    struct Indexer
    {
        std::vector<clap_preset_discovery_location_t> locations;
    } found;
    clap_preset_discovery_indexer_t indexer = {
        kClapVersion,
        "clap-host",
        "Harrowfields",
        nullptr,
        "1.0",
        &found,
        [](const clap_preset_discovery_indexer_t*, const clap_preset_discovery_filetype_t*) {
            return true;
        },
        [](const clap_preset_discovery_indexer_t* i, const clap_preset_discovery_location_t* l) {
            static_cast<Indexer*>(i->indexer_data)->locations.push_back(*l);
            return true;
        },
        [](const clap_preset_discovery_indexer_t*, const clap_preset_discovery_soundpack_t*) {
            return true;
        },
        [](const clap_preset_discovery_indexer_t*, const char*) -> const void* { return nullptr; }};
    using Receiver = clap_preset_discovery_metadata_receiver_t;
    Receiver receiver{};
    receiver.receiver_data = &presets;
    receiver.on_error = [](const Receiver*, int32_t, const char*) {};
    receiver.begin_preset = [](const Receiver* r, const char* name, const char* key) {
        static_cast<std::vector<Preset>*>(r->receiver_data)
            ->push_back({name ? name : "", key ? key : "", {}, 0});
        return true;
    };
    receiver.add_plugin_id = [](const Receiver* r, const clap_universal_plugin_id_t* id) {
        auto* p = static_cast<std::vector<Preset>*>(r->receiver_data);
        if (!p->empty() && id && id->abi && id->id)
            p->back().pluginIds.push_back(std::string(id->abi) + ":" + id->id);
    };
    receiver.set_soundpack_id = [](const Receiver*, const char*) {};
    receiver.set_flags = [](const Receiver* r, uint32_t flags) {
        auto* p = static_cast<std::vector<Preset>*>(r->receiver_data);
        if (!p->empty())
            p->back().flags = flags;
    };
    receiver.add_creator = [](const Receiver*, const char*) {};
    receiver.set_description = [](const Receiver*, const char*) {};
    receiver.set_timestamps = [](const Receiver*, clap_timestamp, clap_timestamp) {};
    receiver.add_feature = [](const Receiver*, const char*) {};
    receiver.add_extra_info = [](const Receiver*, const char*, const char*) {};
    for (uint32_t i = 0; i < factory->count(factory); ++i) {
        const clap_preset_discovery_provider_descriptor_t* d = factory->get_descriptor(factory, i);
        if (!d)
            continue;
        const clap_preset_discovery_provider_t* provider =
            factory->create(factory, &indexer, d->id);
        if (!provider)
            continue;
        found.locations.clear();
        if (provider->init(provider))
            for (const auto& l : found.locations)
                if (l.kind == CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN)
                    provider->get_metadata(provider, l.kind, l.location, &receiver);
        provider->destroy(provider);
    }
    return presets;
}

bool ClapInstance::loadPreset(const std::string& key) const
{
    const auto* load = extension<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
    return load &&
           load->from_location(plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, key.c_str());
}

void ClapInstance::runLoopOnce()
{
    const auto* fdSupport = extension<clap_plugin_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT);
    const auto* timerSupport = extension<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
    const std::map<int, uint32_t> fds = record.fds;
    for (const auto& [fd, flags] : fds)
        if (fdSupport)
            fdSupport->on_fd(plugin, fd, CLAP_POSIX_FD_READ);
    const std::map<clap_id, uint32_t> timers = record.timers;
    for (const auto& [id, period] : timers)
        if (timerSupport)
            timerSupport->on_timer(plugin, id);
}

} // namespace clap_host
