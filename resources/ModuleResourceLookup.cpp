// The pictures as resources of the Windows DLL, found by name.
#include "resources/VantelorResources.h"
#include "toolkit/platform/ModuleResources.h"

#include <algorithm>
#include <string>

bool findVantelorResource(const char* name, VSTGUI::CResourceData& out)
{
    if (!name)
        return false;
    // A resource script cannot name a resource with an "@": the 2x pictures
    // are stored with a "_" in its place.
    std::string stored(name);
    std::replace(stored.begin(), stored.end(), '@', '_');
    return VSTGUI::findModuleResource(stored.c_str(), out);
}
