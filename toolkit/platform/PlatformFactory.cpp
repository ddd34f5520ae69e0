#include "toolkit/platform/IPlatformFrame.h"

#if defined(_WIN32)
#include "toolkit/platform/win32/Win32Frame.h"
#elif defined(__linux__)
#include "toolkit/platform/x11/X11Frame.h"
#endif

#include <cstdint>

namespace VSTGUI {

std::unique_ptr<IPlatformFrame> createOffscreenFrame(IPlatformFrameCallback* callback,
                                                     const CRect& size);

std::unique_ptr<IPlatformFrame> createPlatformFrame(IPlatformFrameCallback* callback,
                                                    const CRect& size, void* parent)
{
    if (!parent)
        return createOffscreenFrame(callback, size);
#if defined(_WIN32)
    return createWin32Frame(callback, size, parent);
#elif defined(__linux__)
    return createX11Frame(callback, size,
                          static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent)));
#else
    return nullptr;
#endif
}

} // namespace VSTGUI
