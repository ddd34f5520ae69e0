// The product's window, whatever format hosts it: the background picture,
// the version label, the link button to the user guide and the source plot.
// It turns the plot's edits into edit gestures on the editor connection and
// shows the plug-in's parameter changes on the plot.
//
// Each format's editor binding derives from CPluginGUIEditor and embeds the
// window (the VST 2.4 editor derives from both), opening it in the host's
// parent window and forwarding the frame's edit gestures and the host's
// idle calls to it.
//
// Threads: the window's thread (the one that opened it) for everything
// except showParameter and redrawWindow, which may come from any thread.
#pragma once

#include "product/VantelorParameters.h"
#include "toolkit/CControl.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace VSTGUI {
class CBitmap;
class CTextLabel;
class CView;
} // namespace VSTGUI
class CPluginGUIEditor;
class IEditorConnection;
class CURLButton;
class CVantelorPlot;

class CVantelorWindow : public VSTGUI::CControlListener
{
public:
    static constexpr int32_t kNumParameters = kNumVantelorParameters;
    static constexpr const char* kGuideFileName = "HF_Vantelor-guide.html";
    // The window's size at 1x: the background picture's. Known without
    // decoding the picture, so a host that only scans the plug-in or asks
    // for the size never pays for it.
    static constexpr int16_t kWidth = 414;
    static constexpr int16_t kHeight = 289;

    // connection: how the window reads values and sends edits; it must
    // outlive the window.
    explicit CVantelorWindow(IEditorConnection* connection);
    ~CVantelorWindow() override;

    // Opens a frame through `binding` in its parent window and lays the
    // window out in it. False when no window could be made.
    bool openWindow(CPluginGUIEditor& binding);
    // Forgets the views and has the binding release the frame.
    void closeWindow(CPluginGUIEditor& binding);
    // Window thread, before the binding's frame idles: values and redraw
    // requests from other threads reach the plot.
    void idleWindow();

    // Any thread. On the window's thread the plot follows at once; from
    // another thread the value is stored and reaches the plot at the
    // window's next idle. Ignored while the window is closed.
    void showParameter(int32_t index, float normalised);
    // Any thread. Has the whole open window redrawn: marked at once on the
    // window's thread, otherwise at the window's next idle, so that no other
    // thread touches a frame the window's thread may be closing.
    void redrawWindow();

    void valueChanged(VSTGUI::CControl* control) override;
    // The controls' edit gestures, through the connection. Tags outside the
    // parameters have nothing to report.
    void beginGesture(int32_t index);
    void endGesture(int32_t index);

    // The address the link button opens: the user guide in the first of
    // guideFolders() that holds it, or the product's web page when none does.
    static std::string productPageURL();
    // Where the guide is looked for, in order: beside the plug-in binary,
    // then (Linux) the system's documentation folder the package installs to.
    static std::vector<std::string> guideFolders();
    // The guide's file address in the first folder that holds it, else the
    // web page. Any thread.
    static std::string guideAddress(const std::vector<std::string>& folders);

    VSTGUI::CTextLabel* getVersionLabelView() const { return versionLabel; }
    CURLButton* getLinkButton() const { return linkButton; }
    VSTGUI::CView* getBackgroundView() const { return backgroundView; }
    CVantelorPlot* getPlot() const { return plot; }

protected:
    // Window thread only: hands one parameter value to the plot.
    virtual void updatePlot(int32_t index, float value);

private:
    void applyPendingParameters();
    bool onWindowThread() const;

    IEditorConnection* connection = nullptr;
    CPluginGUIEditor* binding = nullptr;
    VSTGUI::CView* backgroundView = nullptr;
    VSTGUI::CTextLabel* versionLabel = nullptr;
    CURLButton* linkButton = nullptr;
    CVantelorPlot* plot = nullptr;

    // Hand-over of parameter changes from other threads to the window.
    std::atomic<bool> windowOpen{false};
    std::atomic<std::thread::id> windowThread{};
    std::atomic<float> pendingValues[kNumParameters]{};
    std::atomic<uint32_t> pendingMask{0};
    std::atomic<bool> pendingRedrawAll{false};
};
