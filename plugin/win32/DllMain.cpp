// The DLL's start-up routine: keeps the module's instance handle, through
// which the editor registers its window class and finds its pictures.
#include <windows.h>

#include "toolkit/platform/ModuleHandle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/)
{
    VSTGUI::setModuleHandle(instance);
    return TRUE;
}
