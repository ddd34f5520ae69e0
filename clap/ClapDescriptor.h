// The plug-in's descriptor, from the product description: what a host lists
// before it makes an instance.
#pragma once

#include "clap/ClapInterface.h"

namespace vantelor_clap {

const clap_plugin_descriptor_t& descriptor();

} // namespace vantelor_clap
