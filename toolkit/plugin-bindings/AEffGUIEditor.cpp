#include "toolkit/plugin-bindings/AEffGUIEditor.h"

#include "plugin/AudioEffectX.h"
#include "toolkit/ScaleFactor.h"

#include <atomic>

namespace {
// The host's knob mode applies to every editor in the process.
std::atomic<int32_t> gKnobMode{VSTGUI::kCircularMode};

// The host's request for a display scale: 'PreS' as index, 'AeCs' as value.
constexpr VstInt32 kScaleRequestIndex = 0x50726553;
constexpr VstIntPtr kScaleRequestValue = 0x41654373;

// The host's virtual keys and the toolkit's, key by key.
struct VirtualKeyPair
{
    unsigned char host;
    VSTGUI::VstVirtualKey toolkit;
};
constexpr VirtualKeyPair kVirtualKeys[] = {
    {::VKEY_BACK, VSTGUI::VKEY_BACK},
    {::VKEY_TAB, VSTGUI::VKEY_TAB},
    {::VKEY_CLEAR, VSTGUI::VKEY_CLEAR},
    {::VKEY_RETURN, VSTGUI::VKEY_RETURN},
    {::VKEY_PAUSE, VSTGUI::VKEY_PAUSE},
    {::VKEY_ESCAPE, VSTGUI::VKEY_ESCAPE},
    {::VKEY_SPACE, VSTGUI::VKEY_SPACE},
    {::VKEY_NEXT, VSTGUI::VKEY_NEXT},
    {::VKEY_END, VSTGUI::VKEY_END},
    {::VKEY_HOME, VSTGUI::VKEY_HOME},
    {::VKEY_LEFT, VSTGUI::VKEY_LEFT},
    {::VKEY_UP, VSTGUI::VKEY_UP},
    {::VKEY_RIGHT, VSTGUI::VKEY_RIGHT},
    {::VKEY_DOWN, VSTGUI::VKEY_DOWN},
    {::VKEY_PAGEUP, VSTGUI::VKEY_PAGEUP},
    {::VKEY_PAGEDOWN, VSTGUI::VKEY_PAGEDOWN},
    {::VKEY_SELECT, VSTGUI::VKEY_SELECT},
    {::VKEY_PRINT, VSTGUI::VKEY_PRINT},
    {::VKEY_ENTER, VSTGUI::VKEY_ENTER},
    {::VKEY_SNAPSHOT, VSTGUI::VKEY_SNAPSHOT},
    {::VKEY_INSERT, VSTGUI::VKEY_INSERT},
    {::VKEY_DELETE, VSTGUI::VKEY_DELETE},
    {::VKEY_HELP, VSTGUI::VKEY_HELP},
    {::VKEY_NUMPAD0, VSTGUI::VKEY_NUMPAD0},
    {::VKEY_NUMPAD1, VSTGUI::VKEY_NUMPAD1},
    {::VKEY_NUMPAD2, VSTGUI::VKEY_NUMPAD2},
    {::VKEY_NUMPAD3, VSTGUI::VKEY_NUMPAD3},
    {::VKEY_NUMPAD4, VSTGUI::VKEY_NUMPAD4},
    {::VKEY_NUMPAD5, VSTGUI::VKEY_NUMPAD5},
    {::VKEY_NUMPAD6, VSTGUI::VKEY_NUMPAD6},
    {::VKEY_NUMPAD7, VSTGUI::VKEY_NUMPAD7},
    {::VKEY_NUMPAD8, VSTGUI::VKEY_NUMPAD8},
    {::VKEY_NUMPAD9, VSTGUI::VKEY_NUMPAD9},
    {::VKEY_MULTIPLY, VSTGUI::VKEY_MULTIPLY},
    {::VKEY_ADD, VSTGUI::VKEY_ADD},
    {::VKEY_SEPARATOR, VSTGUI::VKEY_SEPARATOR},
    {::VKEY_SUBTRACT, VSTGUI::VKEY_SUBTRACT},
    {::VKEY_DECIMAL, VSTGUI::VKEY_DECIMAL},
    {::VKEY_DIVIDE, VSTGUI::VKEY_DIVIDE},
    {::VKEY_F1, VSTGUI::VKEY_F1},
    {::VKEY_F2, VSTGUI::VKEY_F2},
    {::VKEY_F3, VSTGUI::VKEY_F3},
    {::VKEY_F4, VSTGUI::VKEY_F4},
    {::VKEY_F5, VSTGUI::VKEY_F5},
    {::VKEY_F6, VSTGUI::VKEY_F6},
    {::VKEY_F7, VSTGUI::VKEY_F7},
    {::VKEY_F8, VSTGUI::VKEY_F8},
    {::VKEY_F9, VSTGUI::VKEY_F9},
    {::VKEY_F10, VSTGUI::VKEY_F10},
    {::VKEY_F11, VSTGUI::VKEY_F11},
    {::VKEY_F12, VSTGUI::VKEY_F12},
    {::VKEY_NUMLOCK, VSTGUI::VKEY_NUMLOCK},
    {::VKEY_SCROLL, VSTGUI::VKEY_SCROLL},
    {::VKEY_SHIFT, VSTGUI::VKEY_SHIFT},
    {::VKEY_CONTROL, VSTGUI::VKEY_CONTROL},
    {::VKEY_ALT, VSTGUI::VKEY_ALT},
    {::VKEY_EQUALS, VSTGUI::VKEY_EQUALS},
};

struct ModifierPair
{
    unsigned char host;
    VSTGUI::VstModifierKey toolkit;
};
constexpr ModifierPair kModifiers[] = {
    {::MODIFIER_SHIFT, VSTGUI::MODIFIER_SHIFT},
    {::MODIFIER_ALTERNATE, VSTGUI::MODIFIER_ALTERNATE},
    {::MODIFIER_COMMAND, VSTGUI::MODIFIER_COMMAND},
    {::MODIFIER_CONTROL, VSTGUI::MODIFIER_CONTROL},
};

// The host's key record in the toolkit's terms. A virtual key the toolkit
// does not know becomes none (the character still counts), and modifier
// bits it does not know are dropped.
VSTGUI::VstKeyCode toToolkitKey(const VstKeyCode& key)
{
    VSTGUI::VstKeyCode translated{};
    translated.character = key.character;
    for (const VirtualKeyPair& pair : kVirtualKeys)
        if (pair.host == key.virt)
            translated.virt = pair.toolkit;
    for (const ModifierPair& pair : kModifiers)
        if (key.modifier & pair.host)
            translated.modifier |= pair.toolkit;
    return translated;
}

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

AEffGUIEditor::~AEffGUIEditor() = default;

AudioEffectX* AEffGUIEditor::getEffectX() const
{
    return dynamic_cast<AudioEffectX*>(effect);
}

bool AEffGUIEditor::getRect(ERect** ppRect)
{
    if (!ppRect)
        return false;
    scaledRect.left = toRectCoord(scaledPixels(rect.left));
    scaledRect.top = toRectCoord(scaledPixels(rect.top));
    scaledRect.right = toRectCoord(scaledRect.left + scaledPixels(rect.right - rect.left));
    scaledRect.bottom = toRectCoord(scaledRect.top + scaledPixels(rect.bottom - rect.top));
    *ppRect = &scaledRect;
    return true;
}

bool AEffGUIEditor::open(void* ptr)
{
    systemWindow = ptr;
    setParentWindow(ptr);
    return true;
}

VstIntPtr AEffGUIEditor::vendorSpecific(VstInt32 index, VstIntPtr value, void*, float opt)
{
    if (index != kScaleRequestIndex || value != kScaleRequestValue)
        return 0;
    return setHostScaleFactor(opt) ? 1 : 0;
}

void AEffGUIEditor::close()
{
    closeFrame();
    systemWindow = nullptr;
}

void AEffGUIEditor::idle()
{
    idleFrame();
}

// The host's keys and wheel take the same way into the frame as the
// window system's events.
bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode)
{
    VSTGUI::VstKeyCode key = toToolkitKey(keyCode);
    return frame && frame->platformOnKeyDown(key);
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode)
{
    VSTGUI::VstKeyCode key = toToolkitKey(keyCode);
    return frame && frame->platformOnKeyUp(key);
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

void AEffGUIEditor::hostIdle()
{
    if (effect)
        effect->masterIdle();
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
    char sizeWindow[] = "sizeWindow";
    return fx->canHostDo(sizeWindow) &&
           fx->sizeWindow(scaledPixels(newSize.getWidth()), scaledPixels(newSize.getHeight()));
}
