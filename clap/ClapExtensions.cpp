// The extension records the plug-in offers: each function finds its instance
// and hands the call to it.
#include <cstdio>
#include <cstring>

#include "clap/ClapPlugin.h"
#include "clap/ClapPresets.h"
#include "clap/ClapWindow.h"
#include "product/VantelorDescription.h"

namespace vantelor_clap {

namespace {

using vantelor::kNumChannels;

ClapPlugin* self(const clap_plugin_t* plugin)
{
    return ClapPlugin::from(plugin);
}

// ---- Audio ports: one stereo input and one stereo output, the main pair,
// which may share their buffers.

uint32_t CLAP_ABI audioPortsCount(const clap_plugin_t*, bool)
{
    return 1;
}

bool CLAP_ABI audioPortsGet(const clap_plugin_t*, uint32_t index, bool isInput,
                            clap_audio_port_info_t* info)
{
    if (index != 0 || !info)
        return false;
    *info = {};
    info->id = 0;
    std::snprintf(info->name, sizeof info->name, "%s", isInput ? "Stereo in" : "Stereo out");
    info->flags = CLAP_AUDIO_PORT_IS_MAIN;
    info->channel_count = kNumChannels;
    info->port_type = CLAP_PORT_STEREO;
    info->in_place_pair = 0;
    return true;
}

const clap_plugin_audio_ports_t kAudioPorts = {audioPortsCount, audioPortsGet};

// ---- Parameters

uint32_t CLAP_ABI paramsCount(const clap_plugin_t*)
{
    return kNumVantelorParameters;
}

bool CLAP_ABI paramsGetInfo(const clap_plugin_t* plugin, uint32_t index, clap_param_info_t* info)
{
    return self(plugin) && self(plugin)->parameterInfo(index, info);
}

bool CLAP_ABI paramsGetValue(const clap_plugin_t* plugin, clap_id id, double* value)
{
    return self(plugin) && self(plugin)->value(id, value);
}

bool CLAP_ABI paramsValueToText(const clap_plugin_t* plugin, clap_id id, double value, char* text,
                                uint32_t capacity)
{
    return self(plugin) && self(plugin)->valueToText(id, value, text, capacity);
}

bool CLAP_ABI paramsTextToValue(const clap_plugin_t* plugin, clap_id id, const char* text,
                                double* value)
{
    return self(plugin) && self(plugin)->textToValue(id, text, value);
}

void CLAP_ABI paramsFlush(const clap_plugin_t* plugin, const clap_input_events_t* in,
                          const clap_output_events_t* out)
{
    if (self(plugin))
        self(plugin)->flush(in, out);
}

const clap_plugin_params_t kParams = {paramsCount,       paramsGetInfo,     paramsGetValue,
                                      paramsValueToText, paramsTextToValue, paramsFlush};

// ---- State

bool CLAP_ABI stateSave(const clap_plugin_t* plugin, const clap_ostream_t* stream)
{
    return self(plugin) && self(plugin)->save(stream);
}

bool CLAP_ABI stateLoad(const clap_plugin_t* plugin, const clap_istream_t* stream)
{
    return self(plugin) && self(plugin)->load(stream);
}

const clap_plugin_state_t kState = {stateSave, stateLoad};

// ---- Latency and tail: none; the output follows the input at once and
// ends with it.

uint32_t CLAP_ABI noFrames(const clap_plugin_t*)
{
    return 0;
}

const clap_plugin_latency_t kLatency = {noFrames};
const clap_plugin_tail_t kTail = {noFrames};

// ---- Presets: the factory programs, by their number as load key.

bool CLAP_ABI presetFromLocation(const clap_plugin_t* plugin, uint32_t kind, const char* location,
                                 const char* key)
{
    ClapPlugin* p = self(plugin);
    if (!p)
        return false;
    const int32_t program = programOfLocation(kind, location, key);
    const clap_host_t* host = p->getHost();
    const auto* hostPresets = host && host->get_extension
                                  ? static_cast<const clap_host_preset_load_t*>(
                                        host->get_extension(host, CLAP_EXT_PRESET_LOAD))
                                  : nullptr;
    if (program < 0 || !p->loadProgram(program)) {
        if (hostPresets && hostPresets->on_error)
            hostPresets->on_error(host, kind, location, key, 0, "no such factory preset");
        return false;
    }
    if (hostPresets && hostPresets->loaded)
        hostPresets->loaded(host, kind, location, key);
    return true;
}

const clap_plugin_preset_load_t kPresetLoad = {presetFromLocation};

// ---- Window

bool CLAP_ABI guiIsApiSupported(const clap_plugin_t*, const char* api, bool floating)
{
    return CClapGuiEditor::supportsApi(api, floating);
}

bool CLAP_ABI guiGetPreferredApi(const clap_plugin_t*, const char** api, bool* floating)
{
    if (api)
        *api = CClapGuiEditor::windowApi();
    if (floating)
        *floating = false;
    return true;
}

bool CLAP_ABI guiCreate(const clap_plugin_t* plugin, const char* api, bool floating)
{
    return self(plugin) && self(plugin)->createWindow(api, floating);
}

void CLAP_ABI guiDestroy(const clap_plugin_t* plugin)
{
    if (self(plugin))
        self(plugin)->destroyWindow();
}

ClapWindow* windowOf(const clap_plugin_t* plugin)
{
    return self(plugin) ? self(plugin)->window() : nullptr;
}

bool CLAP_ABI guiSetScale(const clap_plugin_t* plugin, double scale)
{
    ClapWindow* w = windowOf(plugin);
    return w && w->setScale(scale);
}

bool CLAP_ABI guiGetSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height)
{
    ClapWindow* w = windowOf(plugin);
    if (!w || !width || !height)
        return false;
    w->size(width, height);
    return true;
}

bool CLAP_ABI guiCanResize(const clap_plugin_t*)
{
    return false;
}

bool CLAP_ABI guiGetResizeHints(const clap_plugin_t*, clap_gui_resize_hints_t*)
{
    return false;
}

// The window has one size at each scale: whatever the host asks, that size.
bool CLAP_ABI guiAdjustSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height)
{
    return guiGetSize(plugin, width, height);
}

bool CLAP_ABI guiSetSize(const clap_plugin_t* plugin, uint32_t width, uint32_t height)
{
    uint32_t w = 0;
    uint32_t h = 0;
    return guiGetSize(plugin, &w, &h) && w == width && h == height;
}

bool CLAP_ABI guiSetParent(const clap_plugin_t* plugin, const clap_window_t* window)
{
    ClapWindow* w = windowOf(plugin);
    return w && !w->isOpen() && w->setParent(window) && w->open();
}

bool CLAP_ABI guiSetTransient(const clap_plugin_t*, const clap_window_t*)
{
    return false;
}

void CLAP_ABI guiSuggestTitle(const clap_plugin_t*, const char*) {}

bool CLAP_ABI guiShow(const clap_plugin_t* plugin)
{
    ClapWindow* w = windowOf(plugin);
    return w && w->show();
}

bool CLAP_ABI guiHide(const clap_plugin_t* plugin)
{
    ClapWindow* w = windowOf(plugin);
    return w && w->hide();
}

const clap_plugin_gui_t kGui = {
    guiIsApiSupported, guiGetPreferredApi, guiCreate,         guiDestroy,    guiSetScale,
    guiGetSize,        guiCanResize,       guiGetResizeHints, guiAdjustSize, guiSetSize,
    guiSetParent,      guiSetTransient,    guiSuggestTitle,   guiShow,       guiHide};

// ---- The host's run loop drives the window.

void CLAP_ABI onFd(const clap_plugin_t* plugin, int fd, uint32_t)
{
    if (ClapWindow* w = windowOf(plugin))
        w->onFileDescriptor(fd);
}

void CLAP_ABI onTimer(const clap_plugin_t* plugin, clap_id timer)
{
    if (ClapWindow* w = windowOf(plugin))
        w->onTimer(timer);
}

const clap_plugin_posix_fd_support_t kPosixFd = {onFd};
const clap_plugin_timer_support_t kTimer = {onTimer};

struct Extension
{
    const char* id;
    const void* record;
};

const Extension kExtensions[] = {
    {CLAP_EXT_AUDIO_PORTS, &kAudioPorts},
    {CLAP_EXT_PARAMS, &kParams},
    {CLAP_EXT_STATE, &kState},
    {CLAP_EXT_LATENCY, &kLatency},
    {CLAP_EXT_TAIL, &kTail},
    {CLAP_EXT_PRESET_LOAD, &kPresetLoad},
    {CLAP_EXT_PRESET_LOAD_COMPAT, &kPresetLoad},
    {CLAP_EXT_GUI, &kGui},
#if !defined(_WIN32)
    {CLAP_EXT_POSIX_FD_SUPPORT, &kPosixFd},
#endif
    {CLAP_EXT_TIMER_SUPPORT, &kTimer},
};

} // namespace

const void* pluginExtension(const char* id)
{
    if (!id)
        return nullptr;
    for (const Extension& e : kExtensions)
        if (std::strcmp(e.id, id) == 0)
            return e.record;
    return nullptr;
}

const void* ClapPlugin::extension(const char* id)
{
    return pluginExtension(id);
}

} // namespace vantelor_clap
