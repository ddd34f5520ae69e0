// The built plug-in loaded as a host loads it: dlopen, its entry with the
// recording host callback, and the dispatcher; closed (editor first) when the
// test ends.
#pragma once

#include "../toolkit/X11TestSupport.h"
#include "EditorTestSupport.h"
#include "plugin/VstInterface.h"

#include <dlfcn.h>

namespace vantelor_test {

class LoadedPlugin
{
public:
    LoadedPlugin()
    {
        using PluginMain = AEffect* (*)(audioMasterCallback);
        library_ = dlopen(VANTELOR_PLUGIN, RTLD_NOW | RTLD_LOCAL);
        if (!library_)
            return;
        auto entry = reinterpret_cast<PluginMain>(dlsym(library_, "VSTPluginMain"));
        effect = entry ? entry(recordingHost) : nullptr;
    }
    ~LoadedPlugin()
    {
        if (effect) {
            call(effEditClose);
            call(effClose);
        }
        if (library_)
            dlclose(library_);
    }
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    float parameter(VstInt32 index) { return effect->getParameter(effect, index); }
    bool openEditor(const HostWindow& host) { return call(effEditOpen, 0, 0, host.parent()) == 1; }
    void idle() { call(effEditIdle); }
    void closeEditor() { call(effEditClose); }

    AEffect* effect = nullptr;

private:
    void* library_ = nullptr;
};

} // namespace vantelor_test
