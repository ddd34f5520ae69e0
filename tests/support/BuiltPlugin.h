// The built plug-in loaded as a host loads it: the module that this build
// made (its path is compiled into every test that needs it), the entry called
// with the test's host callback, and the dispatcher.
#pragma once

#include "tests/support/PluginModule.h"

#ifndef VANTELOR_PLUGIN
#error "VANTELOR_PLUGIN must name the built plug-in (a compile definition)"
#endif

namespace vantelor_test {

inline constexpr const char* kBuiltPluginPath = VANTELOR_PLUGIN;

// The module this build made; unloaded when this ends.
class BuiltPluginModule : public PluginModule
{
public:
    BuiltPluginModule() : PluginModule(kBuiltPluginPath) {}
};

// One instance of the plug-in in its own load of the module; closed (editor
// first) when this ends.
class BuiltPlugin
{
public:
    explicit BuiltPlugin(audioMasterCallback host)
    {
        if (PluginEntry main = module_.entry())
            effect = main(host);
    }
    ~BuiltPlugin() { close(); }
    BuiltPlugin(const BuiltPlugin&) = delete;
    BuiltPlugin& operator=(const BuiltPlugin&) = delete;

    VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    float parameter(VstInt32 index) { return effect->getParameter(effect, index); }

    // Closes the editor and the instance; returns effClose's answer (0 when
    // there was no instance).
    VstIntPtr close()
    {
        if (!effect)
            return 0;
        call(effEditClose);
        const VstIntPtr result = call(effClose);
        effect = nullptr;
        return result;
    }

    const BuiltPluginModule& module() const { return module_; }

    AEffect* effect = nullptr;

private:
    BuiltPluginModule module_;
};

} // namespace vantelor_test
