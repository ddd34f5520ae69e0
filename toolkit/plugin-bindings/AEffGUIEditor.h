// The VST 2.4 editor binding: joins the host's editor requests (size, open,
// close, idle, keys, knob mode, display scale) with a toolkit frame, and
// the frame's edit gestures and resize requests with the effect and the
// host. What every format's binding shares is CPluginGUIEditor's.
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
#include "toolkit/plugin-bindings/PluginGUIEditor.h"

#include <cstdint>

class AudioEffectX;

class AEffGUIEditor : public AEffEditor, public CPluginGUIEditor
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
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;
    int32_t getKnobMode() const override;
    bool beforeSizeChange(const VSTGUI::CRect& newSize, const VSTGUI::CRect& oldSize) override;

    AudioEffectX* getEffectX() const;

protected:
    // The effect's master idle, during long mouse operations.
    void hostIdle() override;

    // The window's size in unscaled units; the product sets it.
    ERect rect{};

private:
    // What getRect hands the host.
    ERect scaledRect{};
};
