#include "toolkit/plugin-bindings/Vst3PlugViewEditor.h"

#include <cmath>
#include <cstring>

#include "toolkit/CFrame.h"
#include "toolkit/platform/IPlatformFrame.h"

namespace {

#if defined(_WIN32)
constexpr const char* kPlatformType = vst3::kPlatformTypeHWND;
#else
constexpr const char* kPlatformType = vst3::kPlatformTypeX11EmbedWindowID;
#endif

CVst3PlugViewEditor::StartTimer startPlatformTimer = nullptr;
CVst3PlugViewEditor::StopTimer stopPlatformTimer = nullptr;

} // namespace

void CVst3PlugViewEditor::setPlatformTimer(StartTimer start, StopTimer stop)
{
    startPlatformTimer = start;
    stopPlatformTimer = stop;
}

CVst3PlugViewEditor::CVst3PlugViewEditor(int32_t width, int32_t height)
    : width(width), height(height)
{}

CVst3PlugViewEditor::~CVst3PlugViewEditor()
{
    // A host that releases the view without removing it first.
    leaveRunLoop();
    if (plugFrame)
        plugFrame->release();
}

vst3::tresult CVst3PlugViewEditor::queryInterface(const vst3::TUID& iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    void* found = nullptr;
    if (sameTuid(&iid, vst3::kFUnknownIid) || sameTuid(&iid, vst3::kIPlugViewIid))
        found = static_cast<vst3::IPlugView*>(this);
    else if (sameTuid(&iid, vst3::kIPlugViewContentScaleSupportIid))
        found = static_cast<vst3::IPlugViewContentScaleSupport*>(this);
    else if (sameTuid(&iid, vst3::kIEventHandlerIid))
        found = static_cast<vst3::IEventHandler*>(this);
    else if (sameTuid(&iid, vst3::kITimerHandlerIid))
        found = static_cast<vst3::ITimerHandler*>(this);
    *obj = found;
    if (!found)
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::uint32 CVst3PlugViewEditor::addRef()
{
    return references.fetch_add(1, std::memory_order_relaxed) + 1;
}

vst3::uint32 CVst3PlugViewEditor::release()
{
    const vst3::uint32 left = references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0)
        delete this;
    return left;
}

vst3::tresult CVst3PlugViewEditor::isPlatformTypeSupported(vst3::FIDString type)
{
    return type && std::strcmp(type, kPlatformType) == 0 ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult CVst3PlugViewEditor::attached(void* parent, vst3::FIDString type)
{
    if (!parent || isPlatformTypeSupported(type) != vst3::kResultTrue)
        return vst3::kInvalidArgument;
    if (attachedParent)
        return vst3::kResultFalse;
    setParentWindow(parent);
    if (!openEditor()) {
        closeFrame();
        return vst3::kResultFalse;
    }
    attachedParent = parent;
    joinRunLoop();
    runIdle();
    return vst3::kResultOk;
}

vst3::tresult CVst3PlugViewEditor::removed()
{
    if (!attachedParent)
        return vst3::kResultFalse;
    leaveRunLoop();
    closeEditor();
    attachedParent = nullptr;
    return vst3::kResultOk;
}

vst3::tresult CVst3PlugViewEditor::onWheel(float)
{
    // The window reads the wheel from its own events.
    return vst3::kResultFalse;
}

vst3::tresult CVst3PlugViewEditor::onKeyDown(vst3::char16, vst3::int16, vst3::int16)
{
    return vst3::kResultFalse;
}

vst3::tresult CVst3PlugViewEditor::onKeyUp(vst3::char16, vst3::int16, vst3::int16)
{
    return vst3::kResultFalse;
}

vst3::tresult CVst3PlugViewEditor::getSize(vst3::ViewRect* size)
{
    if (!size)
        return vst3::kInvalidArgument;
    // Pixels at the scale the window is (or will be) drawn at.
    *size = {0, 0, scaledPixels(width), scaledPixels(height)};
    return vst3::kResultOk;
}

vst3::tresult CVst3PlugViewEditor::onSize(vst3::ViewRect* newSize)
{
    if (!newSize)
        return vst3::kInvalidArgument;
    // A fixed size: whatever the host's frame, the window keeps its own.
    return vst3::kResultOk;
}

vst3::tresult CVst3PlugViewEditor::onFocus(vst3::TBool)
{
    return vst3::kResultOk;
}

vst3::tresult CVst3PlugViewEditor::setFrame(vst3::IPlugFrame* newFrame)
{
    if (newFrame == plugFrame)
        return vst3::kResultOk;
    leaveRunLoop();
    if (plugFrame)
        plugFrame->release();
    plugFrame = newFrame;
    if (plugFrame)
        plugFrame->addRef();
    if (attachedParent)
        joinRunLoop();
    return vst3::kResultOk;
}

vst3::tresult CVst3PlugViewEditor::canResize()
{
    return vst3::kResultFalse;
}

vst3::tresult CVst3PlugViewEditor::checkSizeConstraint(vst3::ViewRect* rect)
{
    if (!rect)
        return vst3::kInvalidArgument;
    rect->right = rect->left + scaledPixels(width);
    rect->bottom = rect->top + scaledPixels(height);
    return vst3::kResultOk;
}

vst3::tresult CVst3PlugViewEditor::setContentScaleFactor(float factor)
{
    if (!setHostScaleFactor(factor))
        return vst3::kInvalidArgument;
    // The frame redraws itself at the new scale; the host learns the new
    // size in pixels.
    if (plugFrame && attachedParent) {
        vst3::ViewRect size{};
        getSize(&size);
        plugFrame->resizeView(this, &size);
    }
    return vst3::kResultOk;
}

void CVst3PlugViewEditor::onFDIsSet(vst3::FileDescriptor)
{
    runIdle();
}

void CVst3PlugViewEditor::onTimer()
{
    runIdle();
}

void CVst3PlugViewEditor::runIdle()
{
    if (!attachedParent || inIdleStuff)
        return;
    idleEditor();
    idleFrame();
}

void CVst3PlugViewEditor::joinRunLoop()
{
    if (runLoop || platformTimer)
        return;
    void* found = nullptr;
    if (!plugFrame || plugFrame->queryInterface(vst3::kIRunLoopIid, &found) != vst3::kResultOk ||
        !found) {
        if (startPlatformTimer)
            platformTimer = startPlatformTimer(this, static_cast<uint32_t>(kTimerMs));
        return;
    }
    runLoop = static_cast<vst3::IRunLoop*>(found);
    const VSTGUI::IPlatformFrame* platform = frame ? frame->getPlatformFrame() : nullptr;
    const int fd = platform ? platform->eventFileDescriptor() : -1;
    if (fd >= 0)
        eventHandlerRegistered = runLoop->registerEventHandler(this, fd) == vst3::kResultOk;
    timerRegistered = runLoop->registerTimer(this, kTimerMs) == vst3::kResultOk;
}

void CVst3PlugViewEditor::leaveRunLoop()
{
    if (platformTimer && stopPlatformTimer)
        stopPlatformTimer(platformTimer);
    platformTimer = 0;
    if (!runLoop)
        return;
    if (eventHandlerRegistered)
        runLoop->unregisterEventHandler(this);
    if (timerRegistered)
        runLoop->unregisterTimer(this);
    eventHandlerRegistered = false;
    timerRegistered = false;
    runLoop->release();
    runLoop = nullptr;
}
