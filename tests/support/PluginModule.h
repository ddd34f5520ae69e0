// A plug-in module loaded as a host loads it: dlopen on Linux, LoadLibrary on
// Windows. The one way the tests and the cross-build programs load a built
// plug-in (BuiltPlugin.h opens the one this build made).
#pragma once

#include "plugin/VstInterface.h"

#include <string>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vantelor_test {

using PluginEntry = AEffect* (*)(audioMasterCallback);

// The loaded module; unloaded when this ends.
class PluginModule
{
public:
#if defined(_WIN32)
    using Handle = HMODULE;
#else
    using Handle = void*;
#endif

    explicit PluginModule(const char* path)
    {
#if defined(_WIN32)
        handle_ = path ? LoadLibraryA(path) : nullptr;
        if (!handle_)
            error_ = "LoadLibrary error " + std::to_string(GetLastError());
#else
        handle_ = path ? dlopen(path, RTLD_NOW | RTLD_LOCAL) : nullptr;
        if (!handle_)
            error_ = path ? dlerror() : "no path";
#endif
    }
    ~PluginModule()
    {
        if (!handle_)
            return;
#if defined(_WIN32)
        FreeLibrary(handle_);
#else
        dlclose(handle_);
#endif
    }
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    bool loaded() const
    {
        return handle_ != nullptr;
    }
    // Why it did not load; empty when it did.
    const std::string& error() const
    {
        return error_;
    }
    Handle handle() const
    {
        return handle_;
    }

    // Null when not loaded or when the module has no such symbol.
    void* symbol(const char* name) const
    {
        if (!handle_)
            return nullptr;
#if defined(_WIN32)
        return reinterpret_cast<void*>(GetProcAddress(handle_, name));
#else
        return dlsym(handle_, name);
#endif
    }
    PluginEntry entry(const char* name = "VSTPluginMain") const
    {
        return reinterpret_cast<PluginEntry>(symbol(name));
    }

private:
    Handle handle_ = nullptr;
    std::string error_;
};

} // namespace vantelor_test
