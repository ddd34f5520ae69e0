// The product's window on the CLAP binding: the plot's edits become the
// plug-in's edits (gesture begin, value, end to the host), and the host's
// values move the plot: each idle compares them with the values shown, so
// no other thread ever reaches the window.
//
// Threads: the main thread.
#pragma once

#include <cstdint>

#include "editor/VantelorWindow.h"
#include "product/EditorConnection.h"
#include "toolkit/plugin-bindings/ClapGuiEditor.h"

namespace vantelor_clap {

class ClapPlugin;

class ClapWindow final : public CClapGuiEditor, private IEditorConnection
{
public:
    ClapWindow(ClapPlugin& plugin, const clap_host_t* host);
    ~ClapWindow() override;

    // Opens the window in the parent set by setParent; false when none was
    // set or no window could be made.
    bool open();
    void close();
    bool isOpen() const { return opened; }
    // The size in pixels at the current scale.
    void size(uint32_t* width, uint32_t* height);
    bool setScale(double scale);
    bool show();
    bool hide();

    CVantelorWindow& vantelorWindow() { return window; }

private:
    void idle() override;
    void beginEdit(int32_t index) override { window.beginGesture(index); }
    void endEdit(int32_t index) override { window.endGesture(index); }

    // IEditorConnection
    float currentValue(int32_t index) override;
    void beginChange(int32_t index) override;
    void change(int32_t index, float normalised) override;
    void endChange(int32_t index) override;
    bool getVersionLabel(char* text) override;

    ClapPlugin& plugin;
    CVantelorWindow window;
    bool opened = false;
    // The host's values the plot shows, in units.
    double shown[kNumVantelorParameters] = {};
};

} // namespace vantelor_clap
