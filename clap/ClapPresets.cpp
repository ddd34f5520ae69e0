#include "clap/ClapPresets.h"

#include <cstring>
#include <new>

#include "product/VantelorDescription.h"

namespace vantelor_clap {

namespace {

using namespace vantelor;

// The load keys: each factory program's number.
const char* const kKeys[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
static_assert(sizeof kKeys / sizeof kKeys[0] == kNumVantelorFactoryPrograms);

const clap_preset_discovery_provider_descriptor_t kProviderDescriptor = {
    kClapVersion, "example.harrowfields.hf-vantelor.factory-presets", "HF_Vantelor factory presets",
    kVendorName};

struct Provider
{
    clap_preset_discovery_provider_t record;
    const clap_preset_discovery_indexer_t* indexer;
};

bool CLAP_ABI providerInit(const clap_preset_discovery_provider_t* provider)
{
    const auto* p = static_cast<const Provider*>(provider->provider_data);
    const clap_preset_discovery_indexer_t* indexer = p->indexer;
    if (!indexer || !indexer->declare_location)
        return false;
    const clap_preset_discovery_location_t location = {
        CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT, "HF_Vantelor factory presets",
        CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr};
    return indexer->declare_location(indexer, &location);
}

void CLAP_ABI providerDestroy(const clap_preset_discovery_provider_t* provider)
{
    delete static_cast<const Provider*>(provider->provider_data);
}

bool CLAP_ABI providerGetMetadata(const clap_preset_discovery_provider_t*, uint32_t kind,
                                  const char* location,
                                  const clap_preset_discovery_metadata_receiver_t* receiver)
{
    if (kind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location || !receiver ||
        !receiver->begin_preset)
        return false;
    const clap_universal_plugin_id_t id = {"clap", kClapId};
    for (int i = 0; i < kNumVantelorFactoryPrograms; ++i) {
        if (!receiver->begin_preset(receiver, kVantelorFactoryPrograms[i].name, kKeys[i]))
            break;
        if (receiver->add_plugin_id)
            receiver->add_plugin_id(receiver, &id);
        if (receiver->set_flags)
            receiver->set_flags(receiver, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
        if (receiver->add_creator)
            receiver->add_creator(receiver, kVendorName);
    }
    return true;
}

const void* CLAP_ABI providerGetExtension(const clap_preset_discovery_provider_t*, const char*)
{
    return nullptr;
}

uint32_t CLAP_ABI factoryCount(const clap_preset_discovery_factory_t*)
{
    return 1;
}

const clap_preset_discovery_provider_descriptor_t* CLAP_ABI
factoryGetDescriptor(const clap_preset_discovery_factory_t*, uint32_t index)
{
    return index == 0 ? &kProviderDescriptor : nullptr;
}

const clap_preset_discovery_provider_t* CLAP_ABI
factoryCreate(const clap_preset_discovery_factory_t*,
              const clap_preset_discovery_indexer_t* indexer, const char* id)
{
    if (!indexer || !id || std::strcmp(id, kProviderDescriptor.id) != 0)
        return nullptr;
    auto* p = new (std::nothrow) Provider{};
    if (!p)
        return nullptr;
    p->indexer = indexer;
    p->record = {&kProviderDescriptor, p, providerInit, providerDestroy, providerGetMetadata,
                 providerGetExtension};
    return &p->record;
}

const clap_preset_discovery_factory_t kFactory = {factoryCount, factoryGetDescriptor,
                                                  factoryCreate};

} // namespace

const clap_preset_discovery_factory_t& presetDiscoveryFactory()
{
    return kFactory;
}

int32_t programOfLocation(uint32_t kind, const char* location, const char* key)
{
    if (kind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location || !key)
        return -1;
    for (int32_t i = 0; i < kNumVantelorFactoryPrograms; ++i)
        if (std::strcmp(key, kKeys[i]) == 0)
            return i;
    return -1;
}

} // namespace vantelor_clap
