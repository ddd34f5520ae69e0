// The product's window as a VST3 view: the window on the toolkit's VST3
// binding, reading values from the controller and sending its edits through
// it to the host.
//
// Threads: the host's UI thread, for every call.
#pragma once

#include "editor/VantelorWindow.h"
#include "product/EditorConnection.h"
#include "toolkit/plugin-bindings/Vst3PlugViewEditor.h"

namespace vantelor_vst3 {

class CVantelorVst3Controller;

class CVantelorVst3View final : public CVst3PlugViewEditor,
                                public CVantelorWindow,
                                private IEditorConnection
{
public:
    // The controller must outlive the view's window: it tells the view
    // nothing more once the view has told it that it goes.
    explicit CVantelorVst3View(CVantelorVst3Controller* controller);

    // The frame's edit gestures, through the window to the connection.
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;

private:
    ~CVantelorVst3View() override;

    bool openEditor() override;
    void closeEditor() override;
    void idleEditor() override;

    // IEditorConnection
    float currentValue(int32_t index) override;
    void beginChange(int32_t index) override;
    void change(int32_t index, float normalised) override;
    void endChange(int32_t index) override;
    bool getVersionLabel(char* text) override;

    CVantelorVst3Controller* controller;
};

} // namespace vantelor_vst3
