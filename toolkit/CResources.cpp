#include "toolkit/CResources.h"

#include <atomic>

namespace VSTGUI {

namespace {
std::atomic<CResourceLookup> gLookup{nullptr};
}

void setResourceLookup(CResourceLookup lookup)
{
    gLookup.store(lookup, std::memory_order_release);
}

bool findResource(const char* name, CResourceData& out)
{
    CResourceLookup lookup = gLookup.load(std::memory_order_acquire);
    return name && lookup && lookup(name, out);
}

} // namespace VSTGUI
