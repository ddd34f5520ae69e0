// The few dlfcn calls the plug-in tests use, on LoadLibrary, so the Windows
// test host runs the same test sources against the DLL as Linux runs
// against the shared object.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#define RTLD_NOW 2
#define RTLD_LOCAL 0

inline void* dlopen(const char* path, int)
{
    return path ? static_cast<void*>(LoadLibraryA(path)) : nullptr;
}

inline void* dlsym(void* module, const char* name)
{
    return module ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name)) : nullptr;
}

inline int dlclose(void* module)
{
    return module && FreeLibrary(static_cast<HMODULE>(module)) ? 0 : 1;
}

inline const char* dlerror()
{
    static thread_local char text[64];
    wsprintfA(text, "LoadLibrary error %lu", GetLastError());
    return text;
}
