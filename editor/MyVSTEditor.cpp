#include "editor/MyVSTEditor.h"

CMyVSTEditor::CMyVSTEditor(AudioEffect* effect, IEditorConnection* connection)
    : AEffGUIEditor(effect), CVantelorWindow(connection)
{
    rect.left = 0;
    rect.top = 0;
    rect.right = kWidth;
    rect.bottom = kHeight;
    setKnobMode(VSTGUI::kLinearMode);
}

CMyVSTEditor::~CMyVSTEditor()
{
    // A host that never closed the window still gets its resources back.
    if (getFrame())
        close();
}

bool CMyVSTEditor::open(void* ptr)
{
    if (getFrame())
        close();
    AEffGUIEditor::open(ptr);
    if (!openWindow(*this)) {
        systemWindow = nullptr;
        return false;
    }
    return true;
}

void CMyVSTEditor::close()
{
    closeWindow(*this);
    AEffGUIEditor::close();
}

void CMyVSTEditor::idle()
{
    if (inIdleStuff)
        return;
    idleWindow();
    AEffGUIEditor::idle();
}

void CMyVSTEditor::setParameter(VstInt32 index, float value)
{
    showParameter(index, value);
}

void CMyVSTEditor::redrawAll()
{
    redrawWindow();
}

void CMyVSTEditor::beginEdit(int32_t index)
{
    beginGesture(index);
}

void CMyVSTEditor::endEdit(int32_t index)
{
    endGesture(index);
}
