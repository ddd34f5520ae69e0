#include "toolkit/platform/ModuleHandle.h"

#include <atomic>

namespace VSTGUI {

namespace {
std::atomic<void*> gModule{nullptr};
}

void setModuleHandle(void* module)
{
    gModule.store(module, std::memory_order_release);
}

void* getModuleHandle()
{
    return gModule.load(std::memory_order_acquire);
}

} // namespace VSTGUI
