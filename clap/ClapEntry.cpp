// The module's one export, clap_entry: the plug-in factory with its single
// plug-in and the preset-discovery factory with the factory programs.
#include <cstring>
#include <new>

#include "clap/ClapDescriptor.h"
#include "clap/ClapPlugin.h"
#include "clap/ClapPresets.h"

namespace {

using vantelor_clap::ClapPlugin;

uint32_t CLAP_ABI pluginCount(const clap_plugin_factory_t*)
{
    return 1;
}

const clap_plugin_descriptor_t* CLAP_ABI pluginDescriptor(const clap_plugin_factory_t*,
                                                          uint32_t index)
{
    return index == 0 ? &vantelor_clap::descriptor() : nullptr;
}

const clap_plugin_t* CLAP_ABI createPlugin(const clap_plugin_factory_t*, const clap_host_t* host,
                                           const char* id)
{
    // A host of another major version, or none, gets nothing.
    if (!host || !clapVersionIsCompatible(host->clap_version) || !id ||
        std::strcmp(id, vantelor_clap::descriptor().id) != 0)
        return nullptr;
    auto* plugin = new (std::nothrow) ClapPlugin(host);
    return plugin ? plugin->plugin() : nullptr;
}

const clap_plugin_factory_t kPluginFactory = {pluginCount, pluginDescriptor, createPlugin};

bool CLAP_ABI entryInit(const char*)
{
    return true;
}

void CLAP_ABI entryDeinit() {}

const void* CLAP_ABI entryGetFactory(const char* id)
{
    if (!id)
        return nullptr;
    if (std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) == 0)
        return &kPluginFactory;
    if (std::strcmp(id, CLAP_PRESET_DISCOVERY_FACTORY_ID) == 0 ||
        std::strcmp(id, CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT) == 0)
        return &vantelor_clap::presetDiscoveryFactory();
    return nullptr;
}

} // namespace

#if defined(_WIN32)
#define VANTELOR_CLAP_EXPORT __declspec(dllexport)
#else
#define VANTELOR_CLAP_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VANTELOR_CLAP_EXPORT const clap_plugin_entry_t clap_entry = {
    kClapVersion, entryInit, entryDeinit, entryGetFactory};
