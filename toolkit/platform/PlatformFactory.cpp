#include "toolkit/platform/IPlatformFrame.h"

#if defined(_WIN32)
#include "toolkit/platform/win32/Win32Frame.h"
#elif defined(__linux__)
#include "toolkit/platform/x11/X11Frame.h"
#endif

#include <cstdint>

namespace VSTGUI {

std::unique_ptr<IPlatformFrame> createOffscreenFrame(IPlatformFrameCallback* callback,
                                                     const CRect& size, double scaleFactor);

std::unique_ptr<IPlatformFrame> createPlatformFrame(IPlatformFrameCallback* callback,
                                                    const CRect& size, void* parent,
                                                    double scaleFactor)
{
    if (!parent)
        return createOffscreenFrame(callback, size, scaleFactor);
#if defined(_WIN32)
    return createWin32Frame(callback, size, parent, scaleFactor);
#elif defined(__linux__)
    return createX11Frame(callback, size,
                          static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent)),
                          scaleFactor);
#else
    return nullptr;
#endif
}

double getPlatformScaleFactor(void* parent)
{
#if defined(_WIN32)
    return getWin32ScaleFactor(parent);
#elif defined(__linux__)
    return getX11ScaleFactor(static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent)));
#else
    (void)parent;
    return 1.0;
#endif
}

} // namespace VSTGUI
