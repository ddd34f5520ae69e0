// The VST3 view binding: a frame embedded in the parent window the host
// attaches the view to (an X11 window id on Linux, an HWND on Windows), drawn
// at the host's content scale when it gives one. On Linux the window's
// events and repaints run from the host's run loop, which the view finds on
// the host's IPlugFrame: the X connection's file descriptor wakes it when
// events wait, and a timer paints what other threads asked for. No thread of
// ours ever touches the window.
//
// The binding is the view object the host holds, with its reference count;
// the product's view derives from it and opens its window in openEditor.
//
// Threads: the host's UI thread, for every call.
#pragma once

#include <atomic>
#include <cstdint>

#include "toolkit/plugin-bindings/PluginGUIEditor.h"
#include "vst3/Vst3Interface.h"

class CVst3PlugViewEditor : public CPluginGUIEditor,
                            public vst3::IPlugView,
                            public vst3::IPlugViewContentScaleSupport,
                            public vst3::IEventHandler,
                            public vst3::ITimerHandler
{
public:
    // The interval of the run loop's timer that paints the window.
    static constexpr vst3::TimerInterval kTimerMs = 16;

    // width and height: the window's size at scale 1.
    CVst3PlugViewEditor(int32_t width, int32_t height);

    // FUnknown: the view and its handlers are one object.
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override;
    vst3::uint32 addRef() override;
    vst3::uint32 release() override;

    // IPlugView
    vst3::tresult isPlatformTypeSupported(vst3::FIDString type) override;
    vst3::tresult attached(void* parent, vst3::FIDString type) override;
    vst3::tresult removed() override;
    vst3::tresult onWheel(float distance) override;
    vst3::tresult onKeyDown(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers) override;
    vst3::tresult onKeyUp(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers) override;
    vst3::tresult getSize(vst3::ViewRect* size) override;
    vst3::tresult onSize(vst3::ViewRect* newSize) override;
    vst3::tresult onFocus(vst3::TBool state) override;
    vst3::tresult setFrame(vst3::IPlugFrame* frame) override;
    vst3::tresult canResize() override;
    vst3::tresult checkSizeConstraint(vst3::ViewRect* rect) override;

    // IPlugViewContentScaleSupport
    vst3::tresult setContentScaleFactor(float factor) override;

    // IEventHandler: the X connection has events.
    void onFDIsSet(vst3::FileDescriptor fd) override;
    // ITimerHandler: the paint timer.
    void onTimer() override;

    // Whether the view is attached to a parent now.
    bool isAttached() const { return attachedParent != nullptr; }

    // Hosts without a run loop (Windows) get the paint timer from the
    // platform: the module's entry, the one place that knows the system,
    // gives a way to start a timer that calls onTimer on the UI thread
    // (returning its handle, 0 when none could be made) and to stop it.
    using StartTimer = uintptr_t (*)(CVst3PlugViewEditor* view, uint32_t milliseconds);
    using StopTimer = void (*)(uintptr_t timer);
    static void setPlatformTimer(StartTimer start, StopTimer stop);

protected:
    virtual ~CVst3PlugViewEditor();

    // The product's window: opened in getParentWindow() by openEditor (false
    // when it could not be), closed by closeEditor, and idled before the
    // frame on every run-loop call.
    virtual bool openEditor() = 0;
    virtual void closeEditor() = 0;
    virtual void idleEditor() {}

    // Once per run-loop call: the product's idle, then the frame's events
    // and paint.
    void runIdle();

private:
    void joinRunLoop();
    void leaveRunLoop();

    std::atomic<vst3::uint32> references{1};
    int32_t width;
    int32_t height;
    void* attachedParent = nullptr;
    vst3::IPlugFrame* plugFrame = nullptr;
    vst3::IRunLoop* runLoop = nullptr;
    bool eventHandlerRegistered = false;
    bool timerRegistered = false;
    uintptr_t platformTimer = 0;
};
