// The plug-in's entry point: the host calls VSTPluginMain (or `main`,
// the older name for the same function) with its callback and receives the
// plug-in's record, or null when no instance could be made.
#include <new>

#include "plugin/VantelorVst.h"

// The Windows DLL names its exports in a .def file; the shared object marks
// them visible (everything else is hidden).
#if defined(_WIN32)
#define VST_EXPORT extern "C"
#else
#define VST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

VST_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster)
{
    // A host that answers the version query with 0 is not a VST 2 host. A
    // missing callback is tolerated like everywhere else: the instance then
    // simply makes no host calls.
    if (audioMaster && audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    try {
        CMyVSTPlugin* plugin = createVantelorVst(audioMaster);
        return plugin->getAeffect();
    } catch (...) {
        // Nothing may cross into the host's C code; an instance that cannot
        // be built (out of memory) is reported as null.
        return nullptr;
    }
}

// `main` cannot be declared with this signature in C++, so the same entry is
// given the symbol name through an assembler label.
VST_EXPORT AEffect* vstLegacyMain(audioMasterCallback audioMaster) __asm__("main");
AEffect* vstLegacyMain(audioMasterCallback audioMaster)
{
    return VSTPluginMain(audioMaster);
}
