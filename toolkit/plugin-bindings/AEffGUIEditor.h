// The VST 2.4 editor binding: joins the host's editor requests (size, open,
// close, idle, keys, knob mode) with a toolkit frame, and the frame's edit
// gestures and resize requests with the effect and the host.
//
// Threads: every operation on the host's window thread, except
// setParameter (overridden by the product's editor), which may come from
// any thread.
#pragma once

#include "plugin/AEffEditor.h"
#include "toolkit/CFrame.h"
#include "toolkit/VSTGUIEditorInterface.h"

#include <cstdint>

class AudioEffectX;

class AEffGUIEditor : public AEffEditor, public VSTGUI::VSTGUIEditorInterface
{
public:
    // Attaches itself to the effect as its editor.
    explicit AEffGUIEditor(void* effect);
    ~AEffGUIEditor() override;

    bool getRect(ERect** ppRect) override;
    // Stores the host's parent window; the product builds its frame.
    bool open(void* ptr) override;
    // Releases the frame and every view in it.
    void close() override;
    void idle() override;

    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(float distance) override;
    bool setKnobMode(VstInt32 mode) override;

    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;
    void doIdleStuff() override;
    int32_t getKnobMode() const override;
    bool beforeSizeChange(const VSTGUI::CRect& newSize, const VSTGUI::CRect& oldSize) override;

    // False until open has stored a parent window and while there is no
    // frame or window; otherwise whether the window is shown.
    bool isWindowVisible() const;
    AudioEffectX* getEffectX() const;

    // Milliseconds of a monotonic clock.
    static uint32_t getTicks();

protected:
    // Minimum time between two repaints driven by doIdleStuff.
    static constexpr uint32_t kIdleRateMs = 30;

    ERect rect{};
    uint32_t lastTicks = 0;
    bool inIdleStuff = false;
};
