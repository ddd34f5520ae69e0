// The CLAP window binding: a frame embedded in the parent window the host
// names in set_parent (an X11 window on Linux, an HWND on Windows), drawn at
// the scale the host sets. The window runs from the host's run loop: on
// Linux the X connection's file descriptor is registered with the host's
// posix-fd-support and a timer with its timer-support; on Windows the timer
// alone (the host's message loop delivers the window's messages). Each call
// of either lets the frame read its events and repaint.
//
// Threads: the host's main thread, for every operation.
#pragma once

#include <cstdint>

#include "clap/ClapInterface.h"
#include "toolkit/plugin-bindings/PluginGUIEditor.h"

class CClapGuiEditor : public CPluginGUIEditor
{
public:
    // The host's record: its run-loop extensions are looked up here.
    explicit CClapGuiEditor(const clap_host_t* host);
    // Leaves nothing registered with the host.
    ~CClapGuiEditor() override;

    // The window system this build embeds in: "x11" or "win32".
    static const char* windowApi();
    // True for this build's window system, embedded (not floating).
    static bool supportsApi(const char* api, bool floating);

    // Stores the host's parent window; false when it names another window
    // system or no window.
    bool setParent(const clap_window_t* window);
    // After the frame opened: registers its descriptor and the idle timer
    // with the host. Before it closes: unregisters them.
    void attachToRunLoop();
    void detachFromRunLoop();

    // The host's run loop calls back: the registered descriptor is ready, or
    // the timer fired. Both idle the window; other ids are not ours.
    void onFileDescriptor(int fd);
    void onTimer(clap_id timer);

    // The size in pixels of `width` x `height` units at the current scale.
    void pixelSize(int width, int height, uint32_t* outWidth, uint32_t* outHeight);

    // Whether the host's run loop drives this window (the descriptor or the
    // timer registered).
    bool hasFileDescriptor() const { return registeredFd >= 0; }
    bool hasTimer() const { return timerId != CLAP_INVALID_ID; }

    // Period of the idle timer: the repaint rate of long mouse operations.
    static constexpr uint32_t kTimerPeriodMs = 30;

protected:
    // The window's share of an idle: pending values to the plot, then the
    // frame's events and repaint.
    virtual void idle() = 0;

private:
    const clap_host_t* host;
    const clap_host_posix_fd_support_t* fdSupport = nullptr;
    const clap_host_timer_support_t* timerSupport = nullptr;
    int registeredFd = -1;
    clap_id timerId = CLAP_INVALID_ID;
};
