// What every plug-in format's editor binding shares, whatever the host's
// interface: the host's parent window, the frame opened in it, the scale the
// window is drawn at (the host's when it names one, else the display's),
// and the idle handling that drives the frame's repaints. Each format's
// binding derives from it and turns its host's requests into these calls.
//
// Threads: the host's window thread, for every operation.
#pragma once

#include "toolkit/CFrame.h"
#include "toolkit/VSTGUIEditorInterface.h"

#include <cstdint>

class CPluginGUIEditor : public VSTGUI::VSTGUIEditorInterface
{
public:
    CPluginGUIEditor() = default;
    // Closes a frame still open.
    ~CPluginGUIEditor() override;

    CPluginGUIEditor(const CPluginGUIEditor&) = delete;
    CPluginGUIEditor& operator=(const CPluginGUIEditor&) = delete;

    // Stores the host's parent window (null: off-screen) and reads its
    // display's scale, unless the host has chosen one.
    void setParentWindow(void* parent);
    void* getParentWindow() const { return parentWindow; }

    // Opens a frame of `size` (unscaled) with this binding as its editor
    // interface inside the parent window, drawn at getScaleFactor(). False
    // when no window could be made; nothing is left behind then.
    bool openFrame(const VSTGUI::CRect& size);
    // Releases the frame and every view in it, and forgets the parent.
    void closeFrame();
    // Lets the frame read its events and repaint; skipped while the binding
    // is inside its own idle processing.
    void idleFrame();

    // The host's display scale: clamped to 1..4 and kept over the display's;
    // false (and ignored) when it is no number or not above 0.
    bool setHostScaleFactor(double factor);
    // The factor the window is (or will be) drawn at: the open frame's,
    // else the host's, else the display's.
    double getScaleFactor();
    bool followsPlatformScaleFactor() const override { return hostScaleFactor == 0; }
    // Pixels of `units` unscaled units at getScaleFactor().
    int scaledPixels(double units);

    // False while there is no parent window or frame; otherwise whether the
    // window is shown.
    bool isWindowVisible() const;

    // Throttled to kIdleRateMs: repaints during long mouse operations and
    // gives the host idle time.
    void doIdleStuff() override;

    // Milliseconds of a monotonic clock.
    static uint32_t getTicks();

protected:
    // Minimum time between two repaints driven by doIdleStuff.
    static constexpr uint32_t kIdleRateMs = 30;

    // The host's share of doIdleStuff; nothing by default.
    virtual void hostIdle() {}

    uint32_t lastTicks = 0;
    bool inIdleStuff = false;

private:
    void* parentWindow = nullptr;
    // The host's choice; 0 while it made none.
    double hostScaleFactor = 0;
    // The display's, read when first needed and again at every open; 0
    // before.
    double displayScaleFactor = 0;
};
