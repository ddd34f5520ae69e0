// The VST3 module: its factory (the vendor and the two classes, the audio
// module and its edit controller) and the entry points the host calls when
// it loads and unloads the module.
#include <cstring>
#include <new>

#include "product/VantelorDescription.h"
#include "vst3/Vst3Interface.h"
#include "vst3/Vst3Text.h"
#include "vst3/VantelorVst3Controller.h"
#include "vst3/VantelorVst3Ids.h"
#include "vst3/VantelorVst3Processor.h"

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "toolkit/plugin-bindings/Vst3PlugViewEditor.h"

#define VANTELOR_VST3_EXPORT extern "C" __declspec(dllexport)
#else
#define VANTELOR_VST3_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace vantelor_vst3 {

namespace {

struct ClassEntry
{
    const vst3::TUID& cid;
    const char* category;
    const char* name;
};

const ClassEntry kClasses[] = {
    {kProcessorTuid, vst3::kVstAudioEffectClass, vantelor::kProductName},
    {kControllerTuid, vst3::kVstComponentControllerClass, vantelor::kProductName},
};
constexpr int32_t kNumClasses = 2;

// The factory lives as long as the module; its count only guards against
// hosts that release it once too often.
class CFactory final : public vst3::IPluginFactory3
{
public:
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override
    {
        if (!obj)
            return vst3::kInvalidArgument;
        if (sameTuid(&iid, vst3::kFUnknownIid) || sameTuid(&iid, vst3::kIPluginFactoryIid) ||
            sameTuid(&iid, vst3::kIPluginFactory2Iid) ||
            sameTuid(&iid, vst3::kIPluginFactory3Iid)) {
            *obj = static_cast<vst3::IPluginFactory3*>(this);
            return vst3::kResultOk;
        }
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }

    vst3::tresult getFactoryInfo(vst3::PFactoryInfo* info) override
    {
        if (!info)
            return vst3::kInvalidArgument;
        std::memset(info, 0, sizeof *info);
        copyToChar8(info->vendor, sizeof info->vendor, vantelor::kVendorName);
        copyToChar8(info->url, sizeof info->url, vantelor::kVendorUrl);
        info->flags = vst3::PFactoryInfo::kUnicode;
        return vst3::kResultOk;
    }

    vst3::int32 countClasses() override { return kNumClasses; }

    // The fields every version of the class record starts with, the rest
    // cleared. False for an index that names no class.
    template <typename Info>
    static bool fillClassInfo(vst3::int32 index, Info* info)
    {
        if (!info || index < 0 || index >= kNumClasses)
            return false;
        std::memset(info, 0, sizeof *info);
        info->cid = kClasses[index].cid;
        info->cardinality = vst3::PClassInfo::kManyInstances;
        copyToChar8(info->category, sizeof info->category, kClasses[index].category);
        copyToChar8(info->name, sizeof info->name, kClasses[index].name);
        return true;
    }

    vst3::tresult getClassInfo(vst3::int32 index, vst3::PClassInfo* info) override
    {
        return fillClassInfo(index, info) ? vst3::kResultOk : vst3::kInvalidArgument;
    }

    vst3::tresult createInstance(vst3::FIDString cid, vst3::FIDString iid, void** obj) override
    {
        if (!obj)
            return vst3::kInvalidArgument;
        *obj = nullptr;
        if (!cid || !iid)
            return vst3::kInvalidArgument;
        vst3::FUnknown* made = nullptr;
        try {
            if (sameTuid(cid, kProcessorTuid))
                made = static_cast<vst3::IComponent*>(new CVantelorVst3Processor());
            else if (sameTuid(cid, kControllerTuid))
                made = static_cast<vst3::IEditController*>(new CVantelorVst3Controller());
            else
                return vst3::kNoInterface;
        } catch (...) {
            return vst3::kOutOfMemory;
        }
        vst3::TUID wanted;
        std::memcpy(wanted.bytes, iid, sizeof wanted.bytes);
        const vst3::tresult result = made->queryInterface(wanted, obj);
        made->release();
        return result;
    }

    vst3::tresult getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info) override
    {
        if (!fillClassInfo(index, info))
            return vst3::kInvalidArgument;
        info->classFlags = index == 0 ? vst3::kDistributable : 0;
        copyToChar8(info->subCategories, sizeof info->subCategories,
                    index == 0 ? kSubCategories : "");
        copyToChar8(info->vendor, sizeof info->vendor, vantelor::kVendorName);
        copyToChar8(info->version, sizeof info->version, vantelor::kVersionText);
        copyToChar8(info->sdkVersion, sizeof info->sdkVersion, vst3::kVstVersionString);
        return vst3::kResultOk;
    }

    vst3::tresult getClassInfoUnicode(vst3::int32 index, vst3::PClassInfoW* info) override
    {
        if (!info || index < 0 || index >= kNumClasses)
            return vst3::kInvalidArgument;
        std::memset(info, 0, sizeof *info);
        info->cid = kClasses[index].cid;
        info->cardinality = vst3::PClassInfo::kManyInstances;
        copyToChar8(info->category, sizeof info->category, kClasses[index].category);
        copyToUtf16(info->name, vst3::PClassInfo::kNameSize, kClasses[index].name);
        info->classFlags = index == 0 ? vst3::kDistributable : 0;
        copyToChar8(info->subCategories, sizeof info->subCategories,
                    index == 0 ? kSubCategories : "");
        copyToUtf16(info->vendor, vst3::PClassInfo2::kVendorSize, vantelor::kVendorName);
        copyToUtf16(info->version, vst3::PClassInfo2::kVersionSize, vantelor::kVersionText);
        copyToUtf16(info->sdkVersion, vst3::PClassInfo2::kVersionSize, vst3::kVstVersionString);
        return vst3::kResultOk;
    }

    vst3::tresult setHostContext(vst3::FUnknown*) override { return vst3::kResultOk; }
};

CFactory factory;

} // namespace

} // namespace vantelor_vst3

#if defined(_WIN32)
namespace {

// The views' paint timers: Windows hosts have no run loop to lend, so each
// view gets a thread timer of the UI thread, whose messages the host's
// message loop dispatches. Touched on the UI thread only.
struct ViewTimer
{
    UINT_PTR id;
    CVst3PlugViewEditor* view;
};
ViewTimer viewTimers[64];

void CALLBACK onViewTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    for (const ViewTimer& timer : viewTimers)
        if (timer.id == id && timer.view) {
            timer.view->onTimer();
            return;
        }
}

uintptr_t startViewTimer(CVst3PlugViewEditor* view, uint32_t milliseconds)
{
    for (ViewTimer& timer : viewTimers) {
        if (timer.id != 0)
            continue;
        timer.id = SetTimer(nullptr, 0, milliseconds, onViewTimer);
        timer.view = timer.id ? view : nullptr;
        return timer.id;
    }
    return 0;
}

void stopViewTimer(uintptr_t id)
{
    for (ViewTimer& timer : viewTimers)
        if (timer.id == id) {
            KillTimer(nullptr, timer.id);
            timer = {};
        }
}

} // namespace

#endif

VANTELOR_VST3_EXPORT vst3::IPluginFactory* GetPluginFactory()
{
#if defined(_WIN32)
    // Not every Windows host calls InitDll.
    CVst3PlugViewEditor::setPlatformTimer(startViewTimer, stopViewTimer);
#endif
    return &vantelor_vst3::factory;
}

#if defined(_WIN32)
VANTELOR_VST3_EXPORT bool InitDll()
{
    CVst3PlugViewEditor::setPlatformTimer(startViewTimer, stopViewTimer);
    return true;
}

VANTELOR_VST3_EXPORT bool ExitDll()
{
    return true;
}
#else
VANTELOR_VST3_EXPORT bool ModuleEntry(void*)
{
    return true;
}

VANTELOR_VST3_EXPORT bool ModuleExit()
{
    return true;
}
#endif
