// The built plug-in loaded as a host loads it, on Linux (dlopen) and on
// Windows (LoadLibrary), for the programs both builds make.
#pragma once

#include "plugin/VstInterface.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

class PluginLibrary
{
public:
    using Entry = AEffect* (*)(audioMasterCallback);

    explicit PluginLibrary(const char* path)
    {
#if defined(_WIN32)
        module_ = LoadLibraryA(path);
        if (module_)
            entry_ = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module_, "VSTPluginMain")));
#else
        module_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        if (module_)
            entry_ = reinterpret_cast<Entry>(dlsym(module_, "VSTPluginMain"));
#endif
    }
    ~PluginLibrary()
    {
#if defined(_WIN32)
        if (module_)
            FreeLibrary(module_);
#else
        if (module_)
            dlclose(module_);
#endif
    }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    Entry entry() const { return entry_; }

private:
#if defined(_WIN32)
    HMODULE module_ = nullptr;
#else
    void* module_ = nullptr;
#endif
    Entry entry_ = nullptr;
};
