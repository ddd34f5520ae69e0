// The plug-in's window: the background picture, the version label, the
// link button to the user guide and the source plot. It turns the plot's
// edits into automated parameter changes and shows the plug-in's
// parameter changes on the plot.
//
// Threads: the host's window thread for everything except setParameter,
// which may come from any thread (see there).
#pragma once

#include "plugin/VantelorParameters.h"
#include "plugin/VstInterface.h"
#include "toolkit/plugin-bindings/AEffGUIEditor.h"
#include "toolkit/CControl.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace VSTGUI {
class CBitmap;
class CTextLabel;
class CView;
} // namespace VSTGUI
class AudioEffect;
class IEditorConnection;
class CURLButton;
class CVantelorPlot;

class CMyVSTEditor : public AEffGUIEditor, public VSTGUI::CControlListener
{
public:
    static constexpr VstInt32 kNumParameters = kNumVantelorParameters;
    static constexpr const char* kGuideFileName = "HF_Vantelor-guide.html";
    // The window's size at 1x: the background picture's. Known without
    // decoding the picture, so a host that only scans the plug-in or asks
    // for the size never pays for it.
    static constexpr VstInt16 kWidth = 414;
    static constexpr VstInt16 kHeight = 289;

    // effect: the VST plug-in the editor attaches itself to (null for a
    // format that hosts the window without one). connection: how the window
    // reads values and sends edits; it must outlive the editor.
    CMyVSTEditor(AudioEffect* effect, IEditorConnection* connection);
    ~CMyVSTEditor() override;

    // Builds the window inside the host's window ptr (null: off-screen).
    bool open(void* ptr) override;
    void close() override;
    void idle() override;

    // Any thread. On the window's thread the plot follows at once; from
    // another thread the value is stored and reaches the plot at the
    // window's next idle. Ignored while the window is closed.
    void setParameter(VstInt32 index, float value) override;

    // Any thread. Has the whole open window redrawn: marked at once on the
    // window's thread, otherwise at the window's next idle, so that no other
    // thread touches a frame the window's thread may be closing.
    void redrawAll() override;

    void valueChanged(VSTGUI::CControl* control) override;
    // The controls' edit gestures, through the connection.
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;

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
    virtual void updatePlot(VstInt32 index, float value);

private:
    void applyPendingParameters();
    bool onWindowThread() const;

    IEditorConnection* connection = nullptr;
    VSTGUI::CBitmap* backgroundBitmap = nullptr;
    VSTGUI::CBitmap* linkBitmap = nullptr;
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
