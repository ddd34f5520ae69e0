#include "toolkit/platform/win32/Win32Module.h"

namespace VSTGUI {

HMODULE moduleInstance()
{
    // The module this very function lies in; without a reference of its own,
    // since it is the caller's module and stays loaded while it runs.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&moduleInstance), &module);
    return module;
}

} // namespace VSTGUI
