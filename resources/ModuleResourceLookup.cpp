// The pictures as resources of the Windows DLL, found by name.
#include "resources/VantelorResources.h"
#include "toolkit/platform/ModuleResources.h"

bool findVantelorResource(const char* name, VSTGUI::CResourceData& out)
{
    return VSTGUI::findModuleResource(name, out);
}
