// The LV2 UI binary: the product's window as an X11 UI embedded in the host's
// parent window. It reaches the plug-in only through the host: the window's
// edits become port writes (inside touch gestures where the host offers
// them), and the host's port events move the plot. Events and painting run in
// the host's idle calls.
#include <lv2/core/lv2.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "editor/MyVSTEditor.h"
#include "lv2/VantelorPorts.h"
#include "plugin/EditorConnection.h"
#include "plugin/VantelorTable.h"
#include "plugin/VantelorVersion.h"
#include "toolkit/CFrame.h"

namespace {

using namespace vantelor_lv2;

// The window's connection to the plug-in through the host. Window thread only.
class HostConnection final : public IEditorConnection
{
public:
    HostConnection(LV2UI_Write_Function write, LV2UI_Controller controller,
                   const LV2UI_Touch* touch)
        : write(write), controller(controller), touch(touch)
    {
        // Until the host sends the ports' values, the defaults.
        for (int i = 0; i < kNumVantelorParameters; ++i)
            values[i] = vantelorToNormalised(i, kVantelorParameters[i].defaultValue);
    }

    float currentValue(int32_t index) override { return values[index]; }
    void beginChange(int32_t index) override
    {
        if (touch && touch->touch)
            touch->touch(touch->handle, static_cast<uint32_t>(index), true);
    }
    void change(int32_t index, float normalised) override
    {
        values[index] = normalised;
        const float units = vantelorToUnits(index, normalised);
        if (write)
            write(controller, static_cast<uint32_t>(index), sizeof units, 0, &units);
        // The window shows its own edit at once, as the VST plug-in echoes it;
        // the host's port event with the same value changes nothing.
        if (editor)
            editor->setParameter(index, normalised);
    }
    void endChange(int32_t index) override
    {
        if (touch && touch->touch)
            touch->touch(touch->handle, static_cast<uint32_t>(index), false);
    }
    bool getVersionLabel(char* text) override
    {
        std::snprintf(text, 41, "HF_Vantelor v%s", kVantelorVersionText);
        return true;
    }

    // A port event from the host: a value in units.
    void portValue(uint32_t index, float units)
    {
        const float normalised = vantelorToNormalised(static_cast<int>(index), units);
        values[index] = normalised;
        if (editor)
            editor->setParameter(static_cast<VstInt32>(index), normalised);
    }

    CMyVSTEditor* editor = nullptr;

private:
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    const LV2UI_Touch* touch;
    float values[kNumVantelorParameters];
};

struct Ui
{
    std::unique_ptr<HostConnection> connection;
    std::unique_ptr<CMyVSTEditor> editor;
};

const void* featureData(const LV2_Feature* const* features, const char* uri)
{
    for (int i = 0; features && features[i]; ++i)
        if (std::strcmp(features[i]->URI, uri) == 0)
            return features[i]->data;
    return nullptr;
}

// The display's scale that the host offers among its options (ui:scaleFactor,
// a float), or 0 when it offers none.
float hostScaleFactor(const LV2_Feature* const* features)
{
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    const auto* options =
        static_cast<const LV2_Options_Option*>(featureData(features, LV2_OPTIONS__options));
    if (!map || !map->map || !options)
        return 0;
    const LV2_URID scaleKey = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID floatType = map->map(map->handle, LV2_ATOM__Float);
    for (const LV2_Options_Option* o = options; o->key != 0 || o->value != nullptr; ++o) {
        if (o->key == scaleKey && o->type == floatType && o->size == sizeof(float) && o->value)
            return *static_cast<const float*>(o->value);
    }
    return 0;
}

bool hasFeature(const LV2_Feature* const* features, const char* uri)
{
    for (int i = 0; features && features[i]; ++i)
        if (std::strcmp(features[i]->URI, uri) == 0)
            return true;
    return false;
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    // Only our own plug-in, and only inside a parent window: without one the
    // window would have nowhere to go.
    if (!pluginUri || std::strcmp(pluginUri, kPluginUri) != 0 ||
        !hasFeature(features, LV2_UI__parent))
        return nullptr;
    void* parent = const_cast<void*>(featureData(features, LV2_UI__parent));
    if (!parent)
        return nullptr;
    const auto* resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize));
    const auto* touch = static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch));
    try {
        auto ui = std::make_unique<Ui>();
        ui->connection = std::make_unique<HostConnection>(write, controller, touch);
        ui->editor = std::make_unique<CMyVSTEditor>(nullptr, ui->connection.get());
        ui->connection->editor = ui->editor.get();
        // The host's scale wins over the desktop's, as a VST host's request
        // does (nonsense is ignored there).
        if (const float scale = hostScaleFactor(features); scale > 0)
            ui->editor->setHostScaleFactor(scale);
        if (!ui->editor->open(parent))
            return nullptr;
        ERect* rect = nullptr;
        if (resize && resize->ui_resize && ui->editor->getRect(&rect) && rect)
            resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
        if (widget) {
            VSTGUI::CFrame* frame = ui->editor->getFrame();
            const unsigned long window =
                frame && frame->getPlatformFrame() ? frame->getPlatformFrame()->nativeWindow() : 0;
            *widget = reinterpret_cast<LV2UI_Widget>(window);
        }
        return ui.release();
    } catch (...) {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle handle)
{
    auto* ui = static_cast<Ui*>(handle);
    if (!ui)
        return;
    ui->editor->close();
    delete ui;
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
    ui->connection->portValue(port, units);
}

int idle(LV2UI_Handle handle)
{
    auto* ui = static_cast<Ui*>(handle);
    if (!ui)
        return 1;
    ui->editor->idle();
    return 0;
}

const LV2UI_Idle_Interface kIdle = {idle};

const void* extensionData(const char* uri)
{
    if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0)
        return &kIdle;
    return nullptr;
}

const LV2UI_Descriptor kDescriptor = {kUiUri, instantiate, cleanup, portEvent, extensionData};

} // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor*
lv2ui_descriptor(uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
