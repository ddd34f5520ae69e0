#include "toolkit/plugin-bindings/ClapGuiEditor.h"

#include <cstring>

CClapGuiEditor::CClapGuiEditor(const clap_host_t* host) : host(host)
{
    if (host && host->get_extension) {
        fdSupport = static_cast<const clap_host_posix_fd_support_t*>(
            host->get_extension(host, CLAP_EXT_POSIX_FD_SUPPORT));
        timerSupport = static_cast<const clap_host_timer_support_t*>(
            host->get_extension(host, CLAP_EXT_TIMER_SUPPORT));
    }
}

CClapGuiEditor::~CClapGuiEditor()
{
    detachFromRunLoop();
}

const char* CClapGuiEditor::windowApi()
{
#if defined(_WIN32)
    return CLAP_WINDOW_API_WIN32;
#else
    return CLAP_WINDOW_API_X11;
#endif
}

bool CClapGuiEditor::supportsApi(const char* api, bool floating)
{
    return !floating && api && std::strcmp(api, windowApi()) == 0;
}

bool CClapGuiEditor::setParent(const clap_window_t* window)
{
    if (!window || !supportsApi(window->api, false))
        return false;
#if defined(_WIN32)
    void* parent = window->win32;
#else
    void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window->x11));
#endif
    if (!parent)
        return false;
    setParentWindow(parent);
    return true;
}

void CClapGuiEditor::attachToRunLoop()
{
    if (!frame)
        return;
    const VSTGUI::IPlatformFrame* platform = frame->getPlatformFrame();
    const int fd = platform ? platform->eventFileDescriptor() : -1;
    if (fd >= 0 && registeredFd < 0 && fdSupport && fdSupport->register_fd &&
        fdSupport->register_fd(host, fd, CLAP_POSIX_FD_READ | CLAP_POSIX_FD_ERROR))
        registeredFd = fd;
    // Events that Xlib already read into its queue never make the descriptor
    // readable, and values from other threads wait for an idle: the timer
    // covers both.
    clap_id id = CLAP_INVALID_ID;
    if (timerId == CLAP_INVALID_ID && timerSupport && timerSupport->register_timer &&
        timerSupport->register_timer(host, kTimerPeriodMs, &id))
        timerId = id;
}

void CClapGuiEditor::detachFromRunLoop()
{
    if (registeredFd >= 0 && fdSupport && fdSupport->unregister_fd)
        fdSupport->unregister_fd(host, registeredFd);
    registeredFd = -1;
    if (timerId != CLAP_INVALID_ID && timerSupport && timerSupport->unregister_timer)
        timerSupport->unregister_timer(host, timerId);
    timerId = CLAP_INVALID_ID;
}

void CClapGuiEditor::onFileDescriptor(int fd)
{
    if (fd >= 0 && fd == registeredFd && !inIdleStuff)
        idle();
}

void CClapGuiEditor::onTimer(clap_id timer)
{
    if (timer != CLAP_INVALID_ID && timer == timerId && !inIdleStuff)
        idle();
}

void CClapGuiEditor::pixelSize(int width, int height, uint32_t* outWidth, uint32_t* outHeight)
{
    if (outWidth)
        *outWidth = static_cast<uint32_t>(scaledPixels(width));
    if (outHeight)
        *outHeight = static_cast<uint32_t>(scaledPixels(height));
}
