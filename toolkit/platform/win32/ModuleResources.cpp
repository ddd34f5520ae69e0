#include "toolkit/platform/ModuleResources.h"

#include "toolkit/platform/win32/Win32Module.h"

#include <windows.h>

namespace VSTGUI {

bool findModuleResource(const char* name, CResourceData& out)
{
    if (!name || !*name)
        return false;
    const HMODULE module = moduleInstance();
    HRSRC info = FindResourceA(module, name, "PNG");
    if (!info)
        return false;
    // Resources stay mapped as long as the module is loaded; nothing to free.
    HGLOBAL handle = LoadResource(module, info);
    const void* data = handle ? LockResource(handle) : nullptr;
    const DWORD size = SizeofResource(module, info);
    if (!data || size == 0)
        return false;
    out.data = static_cast<const uint8_t*>(data);
    out.size = size;
    return true;
}

} // namespace VSTGUI
