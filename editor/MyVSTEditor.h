// The plug-in's window as a VST 2.4 editor: the product's window (layout,
// listener, value exchange) on the toolkit's VST 2.4 binding. It turns the
// plot's edits into automated parameter changes and shows the plug-in's
// parameter changes on the plot.
//
// Threads: the host's window thread for everything except setParameter and
// redrawAll, which may come from any thread.
#pragma once

#include "editor/VantelorWindow.h"
#include "plugin/VstInterface.h"
#include "toolkit/plugin-bindings/AEffGUIEditor.h"

class AudioEffect;

class CMyVSTEditor : public AEffGUIEditor, public CVantelorWindow
{
public:
    static constexpr VstInt32 kNumParameters = kNumVantelorParameters;

    // effect: the VST plug-in the editor attaches itself to. connection: how
    // the window reads values and sends edits; it must outlive the editor.
    CMyVSTEditor(AudioEffect* effect, IEditorConnection* connection);
    ~CMyVSTEditor() override;

    // Builds the window inside the host's window ptr (null: off-screen).
    bool open(void* ptr) override;
    void close() override;
    void idle() override;

    // Any thread. See CVantelorWindow::showParameter.
    void setParameter(VstInt32 index, float value) override;
    // Any thread. See CVantelorWindow::redrawWindow.
    void redrawAll() override;

    // The controls' edit gestures, through the connection.
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;
};
