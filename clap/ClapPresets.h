// The factory programs as presets a host's browser lists: a preset-discovery
// factory with one provider whose presets live inside the plug-in, each
// loaded by its program number as load key.
#pragma once

#include <cstdint>

#include "clap/ClapInterface.h"

namespace vantelor_clap {

const clap_preset_discovery_factory_t& presetDiscoveryFactory();

// The factory program a preset location names (inside the plug-in, its
// number as key: "0".."7"), or -1 for anything else.
int32_t programOfLocation(uint32_t kind, const char* location, const char* key);

} // namespace vantelor_clap
