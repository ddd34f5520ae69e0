// CLAP binary interface: the entry, the factories, the plug-in and host
// records, processing and its events, and the extensions this plug-in offers
// or asks its host for. Written from the format's published headers and
// documentation; only what the plug-in, its window binding and our test host
// use. Every record is plain C layout, passed by pointer across the boundary:
// each one the other side reads has its size checked below for x86-64 (Linux
// and Windows lay these out alike).
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define CLAP_ABI __cdecl
#else
#define CLAP_ABI
#endif

extern "C" {

// ---- Version and ids

struct clap_version_t
{
    uint32_t major;
    uint32_t minor;
    uint32_t revision;
};
// The interface version this plug-in is written against; hosts load any 1.x.
inline constexpr clap_version_t kClapVersion = {1, 2, 0};
constexpr bool clapVersionIsCompatible(const clap_version_t& v)
{
    return v.major >= 1;
}

using clap_id = uint32_t;
inline constexpr clap_id CLAP_INVALID_ID = UINT32_MAX;

// Fixed sizes of the name and path buffers inside records.
inline constexpr std::size_t CLAP_NAME_SIZE = 256;
inline constexpr std::size_t CLAP_PATH_SIZE = 1024;

// ---- Host

struct clap_host_t
{
    clap_version_t clap_version;
    void* host_data;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    // Main thread... any thread: an extension of the host, or null.
    const void*(CLAP_ABI* get_extension)(const clap_host_t* host, const char* extension_id);
    void(CLAP_ABI* request_restart)(const clap_host_t* host);
    void(CLAP_ABI* request_process)(const clap_host_t* host);
    // Any thread: asks for on_main_thread to be called.
    void(CLAP_ABI* request_callback)(const clap_host_t* host);
};

// ---- Streams (state)

struct clap_istream_t
{
    void* ctx;
    // Bytes read into buffer: 0 at the end, below 0 on an error.
    int64_t(CLAP_ABI* read)(const clap_istream_t* stream, void* buffer, uint64_t size);
};

struct clap_ostream_t
{
    void* ctx;
    // Bytes written: may be fewer than size; below 0 on an error.
    int64_t(CLAP_ABI* write)(const clap_ostream_t* stream, const void* buffer, uint64_t size);
};

// ---- Events

struct clap_event_header_t
{
    uint32_t size; // of the whole event, header included
    uint32_t time; // frame offset inside the block
    uint16_t space_id;
    uint16_t type;
    uint32_t flags;
};

// The space of the events below; any other belongs to an extension we do not
// know.
inline constexpr uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

enum : uint32_t
{
    // The event comes from a live gesture or source, not from playback.
    CLAP_EVENT_IS_LIVE = 1 << 0,
    // The host should not record the event.
    CLAP_EVENT_DONT_RECORD = 1 << 1,
};

enum : uint16_t
{
    CLAP_EVENT_NOTE_ON = 0,
    CLAP_EVENT_NOTE_OFF = 1,
    CLAP_EVENT_NOTE_CHOKE = 2,
    CLAP_EVENT_NOTE_END = 3,
    CLAP_EVENT_NOTE_EXPRESSION = 4,
    CLAP_EVENT_PARAM_VALUE = 5,
    CLAP_EVENT_PARAM_MOD = 6,
    CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
    CLAP_EVENT_PARAM_GESTURE_END = 8,
    CLAP_EVENT_TRANSPORT = 9,
    CLAP_EVENT_MIDI = 10,
};

// A parameter's value (in its plain units) from the host, or from the
// plug-in's window to the host.
struct clap_event_param_value_t
{
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;
    // -1 (any) for a value of the whole parameter: the only kind we take.
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;
};

// Modulation on top of the parameter's value, in its plain units; it never
// changes the value itself.
struct clap_event_param_mod_t
{
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double amount;
};

// A gesture on a parameter (the plug-in's window to the host).
struct clap_event_param_gesture_t
{
    clap_event_header_t header;
    clap_id param_id;
};

struct clap_input_events_t
{
    void* ctx;
    uint32_t(CLAP_ABI* size)(const clap_input_events_t* list);
    // Events come in time order; null for an index out of range.
    const clap_event_header_t*(CLAP_ABI* get)(const clap_input_events_t* list, uint32_t index);
};

struct clap_output_events_t
{
    void* ctx;
    // False when the host could not take the event.
    bool(CLAP_ABI* try_push)(const clap_output_events_t* list, const clap_event_header_t* event);
};

// ---- Processing

struct clap_audio_buffer_t
{
    float** data32;
    double** data64;
    uint32_t channel_count;
    uint32_t latency;
    uint64_t constant_mask;
};

// The transport record is never read: only its pointer crosses.
struct clap_event_transport_t;

struct clap_process_t
{
    int64_t steady_time;
    uint32_t frames_count;
    const clap_event_transport_t* transport;
    const clap_audio_buffer_t* audio_inputs;
    clap_audio_buffer_t* audio_outputs;
    uint32_t audio_inputs_count;
    uint32_t audio_outputs_count;
    const clap_input_events_t* in_events;
    const clap_output_events_t* out_events;
};

using clap_process_status = int32_t;
enum : int32_t
{
    CLAP_PROCESS_ERROR = 0,
    CLAP_PROCESS_CONTINUE = 1,
    CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
    CLAP_PROCESS_TAIL = 3,
    CLAP_PROCESS_SLEEP = 4,
};

// ---- Plug-in

struct clap_plugin_descriptor_t
{
    clap_version_t clap_version;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;
    const char* description;
    // Null-terminated list of feature words ("audio-effect", "stereo").
    const char* const* features;
};

struct clap_plugin_t
{
    const clap_plugin_descriptor_t* desc;
    void* plugin_data;
    // Main thread, in this order of life: init, [activate, [start_processing,
    // process..., stop_processing]..., deactivate]..., destroy.
    bool(CLAP_ABI* init)(const clap_plugin_t* plugin);
    void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* activate)(const clap_plugin_t* plugin, double sample_rate,
                             uint32_t min_frames_count, uint32_t max_frames_count);
    void(CLAP_ABI* deactivate)(const clap_plugin_t* plugin);
    // Audio thread.
    bool(CLAP_ABI* start_processing)(const clap_plugin_t* plugin);
    void(CLAP_ABI* stop_processing)(const clap_plugin_t* plugin);
    void(CLAP_ABI* reset)(const clap_plugin_t* plugin);
    clap_process_status(CLAP_ABI* process)(const clap_plugin_t* plugin,
                                           const clap_process_t* process);
    // Any thread.
    const void*(CLAP_ABI* get_extension)(const clap_plugin_t* plugin, const char* id);
    // Main thread, after the plug-in's request_callback.
    void(CLAP_ABI* on_main_thread)(const clap_plugin_t* plugin);
};

// ---- Plug-in factory

inline constexpr const char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

struct clap_plugin_factory_t
{
    uint32_t(CLAP_ABI* get_plugin_count)(const clap_plugin_factory_t* factory);
    const clap_plugin_descriptor_t*(CLAP_ABI* get_plugin_descriptor)(
        const clap_plugin_factory_t* factory, uint32_t index);
    const clap_plugin_t*(CLAP_ABI* create_plugin)(const clap_plugin_factory_t* factory,
                                                  const clap_host_t* host, const char* plugin_id);
};

// ---- Entry: the module's one export, `clap_entry`

struct clap_plugin_entry_t
{
    clap_version_t clap_version;
    bool(CLAP_ABI* init)(const char* plugin_path);
    void(CLAP_ABI* deinit)();
    const void*(CLAP_ABI* get_factory)(const char* factory_id);
};

// ---- Extension: audio ports

inline constexpr const char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
inline constexpr const char CLAP_PORT_STEREO[] = "stereo";

enum : uint32_t
{
    CLAP_AUDIO_PORT_IS_MAIN = 1 << 0,
};

struct clap_audio_port_info_t
{
    clap_id id;
    char name[CLAP_NAME_SIZE];
    uint32_t flags;
    uint32_t channel_count;
    const char* port_type;
    // The port of the other direction that may share this one's buffers.
    clap_id in_place_pair;
};

struct clap_plugin_audio_ports_t
{
    uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
    bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input,
                        clap_audio_port_info_t* info);
};

// ---- Extension: note ports (host side of a query; we offer none)

inline constexpr const char CLAP_EXT_NOTE_PORTS[] = "clap.note-ports";

struct clap_note_port_info_t
{
    clap_id id;
    uint32_t supported_dialects;
    uint32_t preferred_dialect;
    char name[CLAP_NAME_SIZE];
};

struct clap_plugin_note_ports_t
{
    uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
    bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input,
                        clap_note_port_info_t* info);
};

// ---- Extension: parameters

inline constexpr const char CLAP_EXT_PARAMS[] = "clap.params";

enum : uint32_t
{
    CLAP_PARAM_IS_STEPPED = 1 << 0,
    CLAP_PARAM_IS_PERIODIC = 1 << 1,
    CLAP_PARAM_IS_HIDDEN = 1 << 2,
    CLAP_PARAM_IS_READONLY = 1 << 3,
    CLAP_PARAM_IS_BYPASS = 1 << 4,
    CLAP_PARAM_IS_AUTOMATABLE = 1 << 5,
    CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID = 1 << 6,
    CLAP_PARAM_IS_AUTOMATABLE_PER_KEY = 1 << 7,
    CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL = 1 << 8,
    CLAP_PARAM_IS_AUTOMATABLE_PER_PORT = 1 << 9,
    CLAP_PARAM_IS_MODULATABLE = 1 << 10,
    CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID = 1 << 11,
    CLAP_PARAM_IS_MODULATABLE_PER_KEY = 1 << 12,
    CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL = 1 << 13,
    CLAP_PARAM_IS_MODULATABLE_PER_PORT = 1 << 14,
    CLAP_PARAM_REQUIRES_PROCESS = 1 << 15,
    CLAP_PARAM_IS_ENUM = 1 << 16,
};

struct clap_param_info_t
{
    clap_id id;
    uint32_t flags;
    void* cookie;
    char name[CLAP_NAME_SIZE];
    // Where the host files the parameter: "Left source".
    char module[CLAP_PATH_SIZE];
    double min_value; // plain units
    double max_value;
    double default_value;
};

struct clap_plugin_params_t
{
    // Main thread.
    uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* get_info)(const clap_plugin_t* plugin, uint32_t param_index,
                             clap_param_info_t* param_info);
    bool(CLAP_ABI* get_value)(const clap_plugin_t* plugin, clap_id param_id, double* out_value);
    bool(CLAP_ABI* value_to_text)(const clap_plugin_t* plugin, clap_id param_id, double value,
                                  char* out_buffer, uint32_t out_buffer_capacity);
    bool(CLAP_ABI* text_to_value)(const clap_plugin_t* plugin, clap_id param_id,
                                  const char* param_value_text, double* out_value);
    // Main thread while not active, else the audio thread (never while
    // process runs): events without audio.
    void(CLAP_ABI* flush)(const clap_plugin_t* plugin, const clap_input_events_t* in,
                          const clap_output_events_t* out);
};

enum : uint32_t
{
    CLAP_PARAM_RESCAN_VALUES = 1 << 0,
    CLAP_PARAM_RESCAN_TEXT = 1 << 1,
    CLAP_PARAM_RESCAN_INFO = 1 << 2,
    CLAP_PARAM_RESCAN_ALL = 1 << 3,
};

struct clap_host_params_t
{
    // Main thread.
    void(CLAP_ABI* rescan)(const clap_host_t* host, uint32_t flags);
    void(CLAP_ABI* clear)(const clap_host_t* host, clap_id param_id, uint32_t flags);
    // Any thread: asks for a flush (or a process call) so the plug-in can
    // send its output events.
    void(CLAP_ABI* request_flush)(const clap_host_t* host);
};

// ---- Extension: state

inline constexpr const char CLAP_EXT_STATE[] = "clap.state";

struct clap_plugin_state_t
{
    // Main thread.
    bool(CLAP_ABI* save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
    bool(CLAP_ABI* load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
};

struct clap_host_state_t
{
    // Main thread: the plug-in's state changed (a preset was loaded).
    void(CLAP_ABI* mark_dirty)(const clap_host_t* host);
};

// ---- Extension: latency

inline constexpr const char CLAP_EXT_LATENCY[] = "clap.latency";

struct clap_plugin_latency_t
{
    uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};

// ---- Extension: tail

inline constexpr const char CLAP_EXT_TAIL[] = "clap.tail";

struct clap_plugin_tail_t
{
    uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};

// ---- Extension: gui

inline constexpr const char CLAP_EXT_GUI[] = "clap.gui";
inline constexpr const char CLAP_WINDOW_API_WIN32[] = "win32";
inline constexpr const char CLAP_WINDOW_API_X11[] = "x11";

struct clap_window_t
{
    const char* api;
    union
    {
        unsigned long x11;
        void* win32;
        void* ptr;
    };
};

struct clap_gui_resize_hints_t
{
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    uint32_t aspect_ratio_width;
    uint32_t aspect_ratio_height;
};

struct clap_plugin_gui_t
{
    // Main thread, every one.
    bool(CLAP_ABI* is_api_supported)(const clap_plugin_t* plugin, const char* api,
                                     bool is_floating);
    bool(CLAP_ABI* get_preferred_api)(const clap_plugin_t* plugin, const char** api,
                                      bool* is_floating);
    bool(CLAP_ABI* create)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* set_scale)(const clap_plugin_t* plugin, double scale);
    // The size in pixels.
    bool(CLAP_ABI* get_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    bool(CLAP_ABI* can_resize)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* get_resize_hints)(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
    bool(CLAP_ABI* adjust_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    bool(CLAP_ABI* set_size)(const clap_plugin_t* plugin, uint32_t width, uint32_t height);
    bool(CLAP_ABI* set_parent)(const clap_plugin_t* plugin, const clap_window_t* window);
    bool(CLAP_ABI* set_transient)(const clap_plugin_t* plugin, const clap_window_t* window);
    void(CLAP_ABI* suggest_title)(const clap_plugin_t* plugin, const char* title);
    bool(CLAP_ABI* show)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* hide)(const clap_plugin_t* plugin);
};

struct clap_host_gui_t
{
    void(CLAP_ABI* resize_hints_changed)(const clap_host_t* host);
    bool(CLAP_ABI* request_resize)(const clap_host_t* host, uint32_t width, uint32_t height);
    bool(CLAP_ABI* request_show)(const clap_host_t* host);
    bool(CLAP_ABI* request_hide)(const clap_host_t* host);
    void(CLAP_ABI* closed)(const clap_host_t* host, bool was_destroyed);
};

// ---- Extension: file descriptors in the host's run loop (Linux)

inline constexpr const char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";

enum : uint32_t
{
    CLAP_POSIX_FD_READ = 1 << 0,
    CLAP_POSIX_FD_WRITE = 1 << 1,
    CLAP_POSIX_FD_ERROR = 1 << 2,
};

struct clap_plugin_posix_fd_support_t
{
    // Main thread: the descriptor is ready.
    void(CLAP_ABI* on_fd)(const clap_plugin_t* plugin, int fd, uint32_t flags);
};

struct clap_host_posix_fd_support_t
{
    bool(CLAP_ABI* register_fd)(const clap_host_t* host, int fd, uint32_t flags);
    bool(CLAP_ABI* modify_fd)(const clap_host_t* host, int fd, uint32_t flags);
    bool(CLAP_ABI* unregister_fd)(const clap_host_t* host, int fd);
};

// ---- Extension: timers in the host's run loop

inline constexpr const char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";

struct clap_plugin_timer_support_t
{
    // Main thread.
    void(CLAP_ABI* on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
};

struct clap_host_timer_support_t
{
    bool(CLAP_ABI* register_timer)(const clap_host_t* host, uint32_t period_ms, clap_id* timer_id);
    bool(CLAP_ABI* unregister_timer)(const clap_host_t* host, clap_id timer_id);
};

// ---- Extension: loading a preset the discovery factory listed

inline constexpr const char CLAP_EXT_PRESET_LOAD[] = "clap.preset-load/2";
// The same interface under its earlier name, which hosts of 2024 ask for.
inline constexpr const char CLAP_EXT_PRESET_LOAD_COMPAT[] = "clap.preset-load.draft/2";

struct clap_plugin_preset_load_t
{
    // Main thread.
    bool(CLAP_ABI* from_location)(const clap_plugin_t* plugin, uint32_t location_kind,
                                  const char* location, const char* load_key);
};

struct clap_host_preset_load_t
{
    void(CLAP_ABI* on_error)(const clap_host_t* host, uint32_t location_kind, const char* location,
                             const char* load_key, int32_t os_error, const char* msg);
    void(CLAP_ABI* loaded)(const clap_host_t* host, uint32_t location_kind, const char* location,
                           const char* load_key);
};

// ---- Preset-discovery factory

inline constexpr const char CLAP_PRESET_DISCOVERY_FACTORY_ID[] = "clap.preset-discovery-factory/2";
inline constexpr const char CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT[] =
    "clap.preset-discovery-factory/draft-2";

enum : uint32_t
{
    CLAP_PRESET_DISCOVERY_LOCATION_FILE = 0,
    // Presets inside the plug-in itself; the location is null.
    CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN = 1,
};

enum : uint32_t
{
    CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT = 1 << 0,
    CLAP_PRESET_DISCOVERY_IS_USER_CONTENT = 1 << 1,
    CLAP_PRESET_DISCOVERY_IS_DEMO_CONTENT = 1 << 2,
    CLAP_PRESET_DISCOVERY_IS_FAVORITE = 1 << 3,
};

using clap_timestamp = uint64_t;

// Which plug-in of which format a preset is for: abi "clap" and its id.
struct clap_universal_plugin_id_t
{
    const char* abi;
    const char* id;
};

struct clap_preset_discovery_metadata_receiver_t
{
    void* receiver_data;
    void(CLAP_ABI* on_error)(const clap_preset_discovery_metadata_receiver_t* receiver,
                             int32_t os_error, const char* error_message);
    // Before each preset's metadata; false: send nothing more.
    bool(CLAP_ABI* begin_preset)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                 const char* name, const char* load_key);
    void(CLAP_ABI* add_plugin_id)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                  const clap_universal_plugin_id_t* plugin_id);
    void(CLAP_ABI* set_soundpack_id)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                     const char* soundpack_id);
    void(CLAP_ABI* set_flags)(const clap_preset_discovery_metadata_receiver_t* receiver,
                              uint32_t flags);
    void(CLAP_ABI* add_creator)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                const char* creator);
    void(CLAP_ABI* set_description)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                    const char* description);
    void(CLAP_ABI* set_timestamps)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                   clap_timestamp creation_time, clap_timestamp modification_time);
    void(CLAP_ABI* add_feature)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                const char* feature);
    void(CLAP_ABI* add_extra_info)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                   const char* key, const char* value);
};

struct clap_preset_discovery_filetype_t
{
    const char* name;
    const char* description;
    const char* file_extension;
};

struct clap_preset_discovery_location_t
{
    uint32_t flags;
    const char* name;
    uint32_t kind;
    const char* location;
};

struct clap_preset_discovery_soundpack_t;

struct clap_preset_discovery_provider_descriptor_t
{
    clap_version_t clap_version;
    const char* id;
    const char* name;
    const char* vendor;
};

struct clap_preset_discovery_provider_t
{
    const clap_preset_discovery_provider_descriptor_t* desc;
    void* provider_data;
    // Declares the locations (and file types) to the indexer.
    bool(CLAP_ABI* init)(const clap_preset_discovery_provider_t* provider);
    void(CLAP_ABI* destroy)(const clap_preset_discovery_provider_t* provider);
    bool(CLAP_ABI* get_metadata)(const clap_preset_discovery_provider_t* provider,
                                 uint32_t location_kind, const char* location,
                                 const clap_preset_discovery_metadata_receiver_t* receiver);
    const void*(CLAP_ABI* get_extension)(const clap_preset_discovery_provider_t* provider,
                                         const char* extension_id);
};

struct clap_preset_discovery_indexer_t
{
    clap_version_t clap_version;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    void* indexer_data;
    bool(CLAP_ABI* declare_filetype)(const clap_preset_discovery_indexer_t* indexer,
                                     const clap_preset_discovery_filetype_t* filetype);
    bool(CLAP_ABI* declare_location)(const clap_preset_discovery_indexer_t* indexer,
                                     const clap_preset_discovery_location_t* location);
    bool(CLAP_ABI* declare_soundpack)(const clap_preset_discovery_indexer_t* indexer,
                                      const clap_preset_discovery_soundpack_t* soundpack);
    const void*(CLAP_ABI* get_extension)(const clap_preset_discovery_indexer_t* indexer,
                                         const char* extension_id);
};

struct clap_preset_discovery_factory_t
{
    // Any thread, every one.
    uint32_t(CLAP_ABI* count)(const clap_preset_discovery_factory_t* factory);
    const clap_preset_discovery_provider_descriptor_t*(CLAP_ABI* get_descriptor)(
        const clap_preset_discovery_factory_t* factory, uint32_t index);
    const clap_preset_discovery_provider_t*(CLAP_ABI* create)(
        const clap_preset_discovery_factory_t* factory,
        const clap_preset_discovery_indexer_t* indexer, const char* provider_id);
};

} // extern "C"

// ---- Layouts the other side reads (x86-64)

static_assert(sizeof(void*) == 8, "the layouts below are x86-64's");
static_assert(sizeof(clap_version_t) == 12);
static_assert(sizeof(clap_host_t) == 88);
static_assert(offsetof(clap_host_t, get_extension) == 56);
static_assert(sizeof(clap_istream_t) == 16 && sizeof(clap_ostream_t) == 16);
static_assert(sizeof(clap_event_header_t) == 16);
static_assert(sizeof(clap_event_param_value_t) == 56);
static_assert(offsetof(clap_event_param_value_t, cookie) == 24);
static_assert(offsetof(clap_event_param_value_t, value) == 48);
static_assert(sizeof(clap_event_param_mod_t) == 56);
static_assert(offsetof(clap_event_param_mod_t, amount) == 48);
static_assert(sizeof(clap_event_param_gesture_t) == 20);
static_assert(sizeof(clap_input_events_t) == 24 && sizeof(clap_output_events_t) == 16);
static_assert(sizeof(clap_audio_buffer_t) == 32);
static_assert(sizeof(clap_process_t) == 64);
static_assert(offsetof(clap_process_t, audio_inputs_count) == 40);
static_assert(sizeof(clap_plugin_descriptor_t) == 88);
static_assert(sizeof(clap_plugin_t) == 96);
static_assert(offsetof(clap_plugin_t, process) == 72);
static_assert(sizeof(clap_plugin_factory_t) == 24);
static_assert(sizeof(clap_plugin_entry_t) == 40);
static_assert(offsetof(clap_plugin_entry_t, init) == 16);
static_assert(sizeof(clap_audio_port_info_t) == 288);
static_assert(offsetof(clap_audio_port_info_t, flags) == 260);
static_assert(offsetof(clap_audio_port_info_t, port_type) == 272);
static_assert(sizeof(clap_note_port_info_t) == 268);
static_assert(sizeof(clap_param_info_t) == 1320);
static_assert(offsetof(clap_param_info_t, name) == 16);
static_assert(offsetof(clap_param_info_t, module) == 272);
static_assert(offsetof(clap_param_info_t, min_value) == 1296);
static_assert(sizeof(clap_plugin_params_t) == 48);
static_assert(sizeof(clap_host_params_t) == 24);
static_assert(sizeof(clap_window_t) == 16);
static_assert(sizeof(clap_gui_resize_hints_t) == 12);
static_assert(sizeof(clap_plugin_gui_t) == 120);
static_assert(sizeof(clap_host_gui_t) == 40);
static_assert(sizeof(clap_host_posix_fd_support_t) == 24);
static_assert(sizeof(clap_host_timer_support_t) == 16);
static_assert(sizeof(clap_preset_discovery_metadata_receiver_t) == 88);
static_assert(sizeof(clap_preset_discovery_location_t) == 32);
static_assert(sizeof(clap_preset_discovery_provider_descriptor_t) == 40);
static_assert(sizeof(clap_preset_discovery_provider_t) == 48);
static_assert(sizeof(clap_preset_discovery_indexer_t) == 88);
static_assert(sizeof(clap_preset_discovery_factory_t) == 24);
