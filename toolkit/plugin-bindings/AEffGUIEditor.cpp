#include "toolkit/plugin-bindings/AEffGUIEditor.h"

#include "plugin/AudioEffectX.h"
#include "toolkit/ScaleFactor.h"

#include <cmath>

#include <atomic>
#include <chrono>

namespace {
// The host's knob mode applies to every editor in the process.
std::atomic<int32_t> gKnobMode{VSTGUI::kCircularMode};

// The host's request for a display scale: 'PreS' as index, 'AeCs' as value.
constexpr VstInt32 kScaleRequestIndex = 0x50726553;
constexpr VstIntPtr kScaleRequestValue = 0x41654373;

VstInt16 toRectCoord(int pixels)
{
    return static_cast<VstInt16>(pixels > 32767 ? 32767 : (pixels < -32768 ? -32768 : pixels));
}
} // namespace

AEffGUIEditor::AEffGUIEditor(void* effectPointer)
    : AEffEditor(static_cast<AudioEffect*>(effectPointer))
{
    if (effect)
        effect->setEditor(this);
}

AEffGUIEditor::~AEffGUIEditor()
{
    if (frame) {
        frame->close();
        frame = nullptr;
    }
}

AudioEffectX* AEffGUIEditor::getEffectX() const
{
    return dynamic_cast<AudioEffectX*>(effect);
}

bool AEffGUIEditor::getRect(ERect** ppRect)
{
    if (!ppRect)
        return false;
    const double scale = getScaleFactor();
    scaledRect.left = toRectCoord(VSTGUI::scaledPixels(rect.left, scale));
    scaledRect.top = toRectCoord(VSTGUI::scaledPixels(rect.top, scale));
    scaledRect.right =
        toRectCoord(scaledRect.left + VSTGUI::scaledPixels(rect.right - rect.left, scale));
    scaledRect.bottom =
        toRectCoord(scaledRect.top + VSTGUI::scaledPixels(rect.bottom - rect.top, scale));
    *ppRect = &scaledRect;
    return true;
}

bool AEffGUIEditor::open(void* ptr)
{
    systemWindow = ptr;
    // The parent's display may differ from the one asked before; an
    // off-screen window has no display and draws at 1 unless asked.
    if (hostScaleFactor == 0)
        displayScaleFactor = ptr ? VSTGUI::getPlatformScaleFactor(ptr) : 1.0;
    return true;
}

double AEffGUIEditor::getScaleFactor()
{
    if (frame)
        return frame->getZoom();
    if (hostScaleFactor > 0)
        return hostScaleFactor;
    if (displayScaleFactor == 0)
        displayScaleFactor = VSTGUI::getPlatformScaleFactor(systemWindow);
    return displayScaleFactor;
}

VstIntPtr AEffGUIEditor::vendorSpecific(VstInt32 index, VstIntPtr value, void*, float opt)
{
    if (index != kScaleRequestIndex || value != kScaleRequestValue)
        return 0;
    return setHostScaleFactor(opt) ? 1 : 0;
}

bool AEffGUIEditor::setHostScaleFactor(double factor)
{
    // A factor that is no number or not above 0 is no request at all.
    if (!std::isfinite(factor) || factor <= 0)
        return false;
    hostScaleFactor = VSTGUI::clampScaleFactor(factor);
    if (frame)
        frame->setZoom(hostScaleFactor);
    return true;
}

void AEffGUIEditor::close()
{
    if (frame) {
        frame->close();
        frame = nullptr;
    }
    systemWindow = nullptr;
}

void AEffGUIEditor::idle()
{
    if (inIdleStuff)
        return;
    inIdleStuff = true;
    if (frame)
        frame->idle();
    inIdleStuff = false;
}

// The host's keys and wheel take the same way into the frame as the
// window system's events.
bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode)
{
    return frame && frame->platformOnKeyDown(keyCode);
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode)
{
    return frame && frame->platformOnKeyUp(keyCode);
}

bool AEffGUIEditor::onWheel(float distance)
{
    if (!frame)
        return false;
    return frame->platformOnMouseWheel(frame->getCurrentMouseLocation(), VSTGUI::kMouseWheelAxisY,
                                       distance, VSTGUI::CButtonState());
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode)
{
    gKnobMode.store(mode);
    return true;
}

int32_t AEffGUIEditor::getKnobMode() const
{
    return gKnobMode.load();
}

void AEffGUIEditor::beginEdit(int32_t index)
{
    // Controls without a parameter (tag below 0) have nothing to report.
    if (index >= 0)
        if (AudioEffectX* fx = getEffectX())
            fx->beginEdit(index);
}

void AEffGUIEditor::endEdit(int32_t index)
{
    if (index >= 0)
        if (AudioEffectX* fx = getEffectX())
            fx->endEdit(index);
}

uint32_t AEffGUIEditor::getTicks()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void AEffGUIEditor::doIdleStuff()
{
    // Never blocks: a call that comes too soon after the last one is
    // simply skipped.
    if (inIdleStuff)
        return;
    const uint32_t now = getTicks();
    if (now - lastTicks < kIdleRateMs)
        return;
    lastTicks = now;
    inIdleStuff = true;
    if (frame)
        frame->idle();
    if (effect)
        effect->masterIdle();
    inIdleStuff = false;
}

bool AEffGUIEditor::beforeSizeChange(const VSTGUI::CRect& newSize, const VSTGUI::CRect&)
{
    rect.left = static_cast<VstInt16>(newSize.left);
    rect.top = static_cast<VstInt16>(newSize.top);
    rect.right = static_cast<VstInt16>(newSize.right);
    rect.bottom = static_cast<VstInt16>(newSize.bottom);
    AudioEffectX* fx = getEffectX();
    if (!fx)
        return false;
    // The host sizes its window in pixels.
    const double scale = getScaleFactor();
    char sizeWindow[] = "sizeWindow";
    return fx->canHostDo(sizeWindow) &&
           fx->sizeWindow(VSTGUI::scaledPixels(newSize.getWidth(), scale),
                          VSTGUI::scaledPixels(newSize.getHeight(), scale));
}

bool AEffGUIEditor::isWindowVisible() const
{
    return systemWindow && frame && frame->isWindowVisible();
}
