#include "vst3/VantelorVst3View.h"

#include "product/VantelorDescription.h"
#include "vst3/VantelorVst3Controller.h"

namespace vantelor_vst3 {

CVantelorVst3View::CVantelorVst3View(CVantelorVst3Controller* controller)
    : CVst3PlugViewEditor(CVantelorWindow::kWidth, CVantelorWindow::kHeight),
      CVantelorWindow(this),
      controller(controller)
{
    controller->addRef();
}

CVantelorVst3View::~CVantelorVst3View()
{
    if (isAttached())
        removed();
    controller->viewClosed(this);
    controller->release();
}

bool CVantelorVst3View::openEditor()
{
    return openWindow(*this);
}

void CVantelorVst3View::closeEditor()
{
    closeWindow(*this);
}

void CVantelorVst3View::idleEditor()
{
    idleWindow();
}

void CVantelorVst3View::beginEdit(int32_t index)
{
    beginGesture(index);
}

void CVantelorVst3View::endEdit(int32_t index)
{
    endGesture(index);
}

float CVantelorVst3View::currentValue(int32_t index)
{
    return static_cast<float>(controller->value(index));
}

void CVantelorVst3View::beginChange(int32_t index)
{
    controller->beginEdit(index);
}

void CVantelorVst3View::change(int32_t index, float normalised)
{
    controller->performEdit(index, normalised);
    // The window shows its own edit at once, as the other formats do.
    showParameter(index, normalised);
}

void CVantelorVst3View::endChange(int32_t index)
{
    controller->endEdit(index);
}

bool CVantelorVst3View::getVersionLabel(char* text)
{
    return vantelor::formatVersionLabel(text);
}

} // namespace vantelor_vst3
