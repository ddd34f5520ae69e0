// The LV2 UI binary: the product's window as an X11 UI embedded in the host's
// parent window. It reaches the plug-in only through the host: the window's
// edits become port writes (inside touch gestures where the host offers
// them), and the host's port events move the plot. Events and painting run in
// the host's idle calls.
#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstring>
#include <memory>
#include <new>

#include "editor/VantelorWindow.h"
#include "lv2/VantelorPorts.h"
#include "product/EditorConnection.h"
#include "product/VantelorDescription.h"
#include "toolkit/plugin-bindings/Lv2UiEditor.h"

namespace {

using namespace vantelor_lv2;

// The window's connection to the plug-in through the host. Window thread only.
class HostConnection final : public IEditorConnection
{
public:
    HostConnection(LV2UI_Write_Function write, LV2UI_Controller controller)
        : write(write), controller(controller)
    {
        // Until the host sends the ports' values, the defaults.
        for (int i = 0; i < kNumVantelorParameters; ++i)
            values[i] = vantelorToNormalised(i, kVantelorParameters[i].defaultValue);
    }

    float currentValue(int32_t index) override { return values[index]; }
    void beginChange(int32_t index) override
    {
        if (binding)
            binding->touch(static_cast<uint32_t>(index), true);
    }
    void change(int32_t index, float normalised) override
    {
        values[index] = normalised;
        const float units = vantelorToUnits(index, normalised);
        if (write)
            write(controller, static_cast<uint32_t>(index), sizeof units, 0, &units);
        // The window shows its own edit at once, as the VST plug-in echoes it;
        // the host's port event with the same value changes nothing.
        if (window)
            window->showParameter(index, normalised);
    }
    void endChange(int32_t index) override
    {
        if (binding)
            binding->touch(static_cast<uint32_t>(index), false);
    }
    bool getVersionLabel(char* text) override { return vantelor::formatVersionLabel(text); }

    // A port event from the host: a value in units.
    void portValue(uint32_t index, float units)
    {
        const float normalised = vantelorToNormalised(static_cast<int>(index), units);
        values[index] = normalised;
        if (window)
            window->showParameter(static_cast<int32_t>(index), normalised);
    }

    CVantelorWindow* window = nullptr;
    CLv2UiEditor* binding = nullptr;

private:
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    float values[kNumVantelorParameters];
};

// The window on the LV2 binding: the frame's edit gestures go to the window,
// which sends them through the connection.
class Ui final : public CLv2UiEditor
{
public:
    Ui(const LV2_Feature* const* features, LV2UI_Write_Function write, LV2UI_Controller controller)
        : CLv2UiEditor(features), connection(write, controller), window(&connection)
    {
        connection.window = &window;
        connection.binding = this;
    }
    ~Ui() override { window.closeWindow(*this); }

    bool open()
    {
        setParentWindow(hostParent());
        return window.openWindow(*this);
    }
    void idle()
    {
        if (inIdleStuff)
            return;
        window.idleWindow();
        idleFrame();
    }
    void portValue(uint32_t index, float units) { connection.portValue(index, units); }

    void beginEdit(int32_t index) override { window.beginGesture(index); }
    void endEdit(int32_t index) override { window.endGesture(index); }

private:
    HostConnection connection;
    CVantelorWindow window;
};

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    // Only our own plug-in, and only inside a parent window: without one the
    // window would have nowhere to go.
    if (!pluginUri || std::strcmp(pluginUri, vantelor::kLv2Uri) != 0 ||
        !CLv2UiEditor::hasFeature(features, LV2_UI__parent) ||
        !CLv2UiEditor::featureData(features, LV2_UI__parent))
        return nullptr;
    try {
        auto ui = std::make_unique<Ui>(features, write, controller);
        if (!ui->open())
            return nullptr;
        const LV2UI_Widget window = ui->announceWindow();
        if (widget)
            *widget = window;
        return ui.release();
    } catch (...) {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle handle)
{
    delete static_cast<Ui*>(handle);
}

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer)
{
    auto* ui = static_cast<Ui*>(handle);
    // Control values only: plain floats (format 0).
    if (!ui || !buffer || format != 0 || size != sizeof(float) || port >= kNumVantelorParameters)
        return;
    float units;
    std::memcpy(&units, buffer, sizeof units);
    ui->portValue(port, units);
}

int idle(LV2UI_Handle handle)
{
    auto* ui = static_cast<Ui*>(handle);
    if (!ui)
        return 1;
    ui->idle();
    return 0;
}

const LV2UI_Idle_Interface kIdle = {idle};

const void* extensionData(const char* uri)
{
    if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0)
        return &kIdle;
    return nullptr;
}

const LV2UI_Descriptor kDescriptor = {vantelor::kLv2UiUri, instantiate, cleanup, portEvent,
                                      extensionData};

} // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor*
lv2ui_descriptor(uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
