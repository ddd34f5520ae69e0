#include "clap/ClapDescriptor.h"

#include "product/VantelorDescription.h"

namespace vantelor_clap {

namespace {

// An audio effect on a stereo signal, a mixing tool that places its two
// sources in space.
const char* const kFeatures[] = {"audio-effect", "stereo", "mixing", "utility", nullptr};

} // namespace

const clap_plugin_descriptor_t& descriptor()
{
    static const clap_plugin_descriptor_t record = {
        kClapVersion,
        vantelor::kClapId,
        vantelor::kProductName,
        vantelor::kVendorName,
        vantelor::kProductUrl,
        vantelor::kProductUrl,
        vantelor::kVendorUrl,
        vantelor::kVersionText,
        vantelor::kDescriptionText,
        kFeatures,
    };
    return record;
}

} // namespace vantelor_clap
