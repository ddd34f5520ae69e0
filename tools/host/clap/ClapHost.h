// A small CLAP host: loads a .clap module, makes instances of its plug-in
// with a host record whose extensions record what the plug-in asks of its
// host (flush requests, rescans, file descriptors and timers of its window,
// presets loaded), and runs it with events and audio. The tests and the
// command-line host load CLAP plug-ins through it; it knows nothing of our
// plug-in's code, only the format.
//
// Threads: one instance is driven from one thread at a time, except that
// process may run on another thread than the main calls, as the format
// allows.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "clap/ClapInterface.h"

namespace clap_host {

// A loaded module and its entry, initialised; deinitialised and unloaded
// when this ends.
class ClapModule
{
public:
    explicit ClapModule(const std::string& path);
    ~ClapModule();
    ClapModule(const ClapModule&) = delete;
    ClapModule& operator=(const ClapModule&) = delete;

    bool loaded() const { return entry != nullptr; }
    // Why it did not load; empty when it did.
    const std::string& error() const { return why; }
    const clap_plugin_entry_t* getEntry() const { return entry; }
    const void* factory(const char* id) const;
    const clap_plugin_factory_t* pluginFactory() const;
    // The first plug-in's descriptor, or null.
    const clap_plugin_descriptor_t* firstDescriptor() const;

private:
    void* handle = nullptr;
    const clap_plugin_entry_t* entry = nullptr;
    std::string why;
};

// Events for one call of process or flush, in the order added (a host keeps
// them in time order; tests may not). Storage is reserved up front so that
// adding inside its capacity allocates nothing.
class EventList
{
public:
    explicit EventList(std::size_t capacity = 1024);

    void clear() { events.clear(); }
    std::size_t size() const { return events.size(); }
    void value(uint32_t time, clap_id id, double units);
    void modulation(uint32_t time, clap_id id, double amount);
    // An event of any type and space: its header as given, whatever size it
    // claims, and zeros after it.
    void raw(const clap_event_header_t& header);
    const clap_input_events_t* input() const
    {
        list.ctx = const_cast<EventList*>(this); // the list may have moved
        return &list;
    }

    const clap_event_header_t* at(std::size_t index) const;

private:
    union Event
    {
        clap_event_header_t header;
        clap_event_param_value_t value;
        clap_event_param_mod_t mod;
        clap_event_param_gesture_t gesture;
    };
    std::vector<Event> events;
    mutable clap_input_events_t list;
};

// What a plug-in sent out: each event's type, parameter and value.
struct OutputEvent
{
    uint16_t type;
    clap_id id;
    double value;
};

class OutputList
{
public:
    explicit OutputList(std::size_t capacity = 1024);
    const clap_output_events_t* output() const
    {
        list.ctx = const_cast<OutputList*>(this); // the list may have moved
        return &list;
    }
    std::vector<OutputEvent> events;

private:
    mutable clap_output_events_t list;
};

// What the plug-in asked of its host.
struct HostRecord
{
    int flushRequests = 0;
    int processRequests = 0;
    int callbackRequests = 0;
    int restartRequests = 0;
    int rescans = 0;
    int dirtyMarks = 0;
    int presetsLoaded = 0;
    int presetErrors = 0;
    // Registered file descriptors with their flags, timers with periods.
    std::map<int, uint32_t> fds;
    std::map<clap_id, uint32_t> timers;
    std::vector<std::string> askedExtensions;
};

class ClapInstance
{
public:
    // Creates plug-in `id` (the module's first when null) and calls init.
    ClapInstance(const ClapModule& module, const char* id = nullptr);
    // Stops, deactivates and destroys it.
    ~ClapInstance();
    ClapInstance(const ClapInstance&) = delete;
    ClapInstance& operator=(const ClapInstance&) = delete;

    bool valid() const { return plugin != nullptr; }
    const clap_plugin_t* get() const { return plugin; }
    template <typename T>
    const T* extension(const char* id) const
    {
        return plugin ? static_cast<const T*>(plugin->get_extension(plugin, id)) : nullptr;
    }

    bool activate(double rate, uint32_t minFrames = 1, uint32_t maxFrames = 4096);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    bool isActive() const { return active; }

    // Stereo in, stereo out (null buffers pass as null), the events given.
    clap_process_status process(float* const* inputs, float* const* outputs, uint32_t frames,
                                const EventList* events = nullptr, OutputList* out = nullptr);
    void flush(const EventList* events, OutputList* out = nullptr);

    // Parameters through the params extension.
    uint32_t parameterCount() const;
    bool parameterInfo(uint32_t index, clap_param_info_t* info) const;
    double value(clap_id id) const;

    // State through the state extension: the bytes saved, and a load of
    // bytes (false when refused).
    std::vector<uint8_t> saveState() const;
    bool loadState(const std::vector<uint8_t>& bytes) const;

    // Presets the module's discovery factory lists: name and load key, for
    // locations inside the plug-in.
    struct Preset
    {
        std::string name;
        std::string key;
        std::vector<std::string> pluginIds;
        uint32_t flags = 0;
    };
    static std::vector<Preset> listPresets(const ClapModule& module);
    bool loadPreset(const std::string& key) const;

    // The host's run loop, for the window: calls the plug-in back for every
    // registered descriptor and every timer once.
    void runLoopOnce();

    HostRecord record;

private:
    static const void* CLAP_ABI hostExtension(const clap_host_t* host, const char* id);

    clap_host_t host;
    // What process and flush pass when the caller gives no list: each
    // instance its own, since instances run on different threads.
    EventList noEvents{0};
    OutputList discard{0};
    const clap_plugin_t* plugin = nullptr;
    bool active = false;
    bool processing = false;
    int64_t steadyTime = 0;
    clap_id nextTimer = 1;
};

} // namespace clap_host
