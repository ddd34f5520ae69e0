// The VST 2.4 editor binding: joins the host's editor requests (size, open,
// close, idle, keys, knob mode, display scale) with a toolkit frame, and
// the frame's edit gestures and resize requests with the effect and the
// host.
//
// The scale factor comes from the host when it asks for one (the
// 'PreS'/'AeCs' vendor request), otherwise from the display; the product
// gives its frame getScaleFactor() before opening it. The host always
// sees the window's size in pixels, the scaled one.
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

    // The window's size in pixels: the unscaled `rect` times the scale.
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
    // The host's content scale ('PreS', 'AeCs', the factor in opt): taken
    // before or after the window opens, answered 1; others answered 0.
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) override;
    // The host's display scale, from any plug-in format's host: clamped to
    // 1..4 and kept over the display's; false (and ignored) when it is no
    // number or not above 0.
    bool setHostScaleFactor(double factor);

    // The factor the window is (or will be) drawn at: the open frame's,
    // else the host's, else the display's.
    double getScaleFactor();

    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;
    void doIdleStuff() override;
    int32_t getKnobMode() const override;
    bool beforeSizeChange(const VSTGUI::CRect& newSize, const VSTGUI::CRect& oldSize) override;
    bool followsPlatformScaleFactor() const override { return hostScaleFactor == 0; }

    // False until open has stored a parent window and while there is no
    // frame or window; otherwise whether the window is shown.
    bool isWindowVisible() const;
    AudioEffectX* getEffectX() const;

    // Milliseconds of a monotonic clock.
    static uint32_t getTicks();

protected:
    // Minimum time between two repaints driven by doIdleStuff.
    static constexpr uint32_t kIdleRateMs = 30;

    // The window's size in unscaled units; the product sets it.
    ERect rect{};
    uint32_t lastTicks = 0;
    bool inIdleStuff = false;

private:
    // What getRect hands the host.
    ERect scaledRect{};
    // The host's choice; 0 while it made none.
    double hostScaleFactor = 0;
    // The display's, read when first needed and again at every open; 0
    // before.
    double displayScaleFactor = 0;
};
