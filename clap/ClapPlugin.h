// The CLAP plug-in: one instance of the product behind the format's plug-in
// record and its extensions. Parameter events reach the engine at their frame
// through the product's processor; modulation is added on top of the host's
// values without ever changing them; the window's edits go back to the host
// as output events.
//
// Threads, as the format defines them: the main thread for the life cycle,
// the extensions' queries, the state, presets and the window; the audio
// thread for start_processing, process, stop_processing and reset (and flush
// while active). Values cross between the two through atomics and the
// processor's hand-over; nothing on the audio thread allocates or locks.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "clap/ClapInterface.h"
#include "product/VantelorProcessor.h"

namespace vantelor_clap {

class ClapWindow;

// Edits of the window on their way to the host: gesture begin, value, gesture
// end, in order. Written on the main thread, read by whoever runs process or
// flush; one writer and one reader at a time.
class EditQueue
{
public:
    enum class Kind : uint8_t
    {
        begin,
        value,
        end,
    };
    struct Edit
    {
        Kind kind;
        uint32_t index;
        double units;
    };

    // False (the edit dropped) when full: the host then misses a gesture
    // mark, never a value the engine hears.
    bool push(const Edit& edit);
    bool pop(Edit& edit);
    bool empty() const;

private:
    static constexpr uint32_t kCapacity = 256;
    Edit edits[kCapacity] = {};
    std::atomic<uint32_t> head{0}; // next to read
    std::atomic<uint32_t> tail{0}; // next to write
};

class ClapPlugin
{
public:
    ClapPlugin(const clap_host_t* host);
    ~ClapPlugin();

    ClapPlugin(const ClapPlugin&) = delete;
    ClapPlugin& operator=(const ClapPlugin&) = delete;

    const clap_plugin_t* plugin() const { return &record; }
    static ClapPlugin* from(const clap_plugin_t* plugin);

    // ---- Life cycle (clap_plugin_t)
    bool init();
    bool activate(double sampleRate);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    void reset();
    clap_process_status process(const clap_process_t* process);
    const void* extension(const char* id);
    void onMainThread() {}

    // ---- Parameters
    bool parameterInfo(uint32_t index, clap_param_info_t* info) const;
    bool value(clap_id id, double* out) const;
    bool valueToText(clap_id id, double value, char* text, uint32_t capacity) const;
    bool textToValue(clap_id id, const char* text, double* out) const;
    void flush(const clap_input_events_t* in, const clap_output_events_t* out);

    // ---- State and presets
    bool save(const clap_ostream_t* stream) const;
    bool load(const clap_istream_t* stream);
    // Loads factory program `program` as a VST 2.4 program change does.
    bool loadProgram(int32_t program);

    // ---- Window (main thread)
    ClapWindow* window() { return gui.get(); }
    bool createWindow(const char* api, bool floating);
    void destroyWindow();
    // The window's edits, normalised as the window makes them: recorded for
    // the host, handed to the engine.
    void beginEdit(int32_t index);
    void edit(int32_t index, float normalised);
    void endEdit(int32_t index);

    // The host's automation value (what get_value answers), in units.
    double hostValue(int32_t index) const { return values[index].load(std::memory_order_relaxed); }

    const clap_host_t* getHost() const { return host; }

private:
    // A value as the engine hears it: the host's value plus its modulation,
    // inside the range; a switch is on above one half.
    float heard(int32_t index) const;
    // Takes one input event; false when it is not ours to take. `frame` is
    // its offset inside the piece being gathered.
    bool takeEvent(const clap_event_header_t* event, int32_t frame);
    // The window's edits out to the host; each value's modulation is kept.
    void sendEdits(const clap_output_events_t* out);
    void requestFlush();
    // Renders `frames` frames from `offset` with the changes gathered so far.
    void renderPiece(const clap_process_t* process, uint32_t offset, uint32_t frames, bool audio);

    clap_plugin_t record;
    const clap_host_t* host;
    const clap_host_params_t* hostParams = nullptr;
    const clap_host_state_t* hostState = nullptr;

    vantelor::CVantelorDsp dsp;

    // The host's values and modulation amounts, in units. Written on the
    // thread that takes events (or the main thread for the window, state and
    // presets), read anywhere.
    std::atomic<double> values[kNumVantelorParameters];
    std::atomic<double> modulation[kNumVantelorParameters];
    std::atomic<int32_t> program{0};
    // Set on the main thread when values reached the processor without
    // their modulation (a state, a preset, the window): the next block hands
    // the modulated ones over again.
    std::atomic<bool> remodulate{false};

    // The changes of one piece of a block, gathered at construction's size.
    static constexpr int32_t kMaxChanges = 512;
    std::unique_ptr<vantelor::ParameterChange[]> changes;
    int32_t numChanges = 0;

    double sampleRate = 44100.0;
    bool active = false;
    // Set by activate: the first block's events at frame 0 are part of the
    // starting state.
    bool starting = false;
    std::atomic<bool> processing{false};

    EditQueue edits;
    std::unique_ptr<ClapWindow> gui;
};

// The extension records the plug-in offers.
const void* pluginExtension(const char* id);

} // namespace vantelor_clap
