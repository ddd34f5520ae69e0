#include "toolkit/plugin-bindings/Lv2UiEditor.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cstring>

CLv2UiEditor::CLv2UiEditor(const LV2_Feature* const* features)
    : parent(const_cast<void*>(featureData(features, LV2_UI__parent))),
      resize(static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize))),
      touchFeature(static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch)))
{
    // The host's scale wins over the desktop's, as a VST host's request
    // does (nonsense is ignored there).
    if (const float scale = hostScaleFactor(features); scale > 0)
        setHostScaleFactor(scale);
}

LV2UI_Widget CLv2UiEditor::announceWindow()
{
    if (!frame)
        return nullptr;
    const VSTGUI::CRect size = frame->getViewSize();
    if (resize && resize->ui_resize)
        resize->ui_resize(resize->handle, scaledPixels(size.getWidth()),
                          scaledPixels(size.getHeight()));
    const unsigned long window =
        frame->getPlatformFrame() ? frame->getPlatformFrame()->nativeWindow() : 0;
    return reinterpret_cast<LV2UI_Widget>(window);
}

void CLv2UiEditor::touch(uint32_t port, bool grabbed)
{
    if (touchFeature && touchFeature->touch)
        touchFeature->touch(touchFeature->handle, port, grabbed);
}

bool CLv2UiEditor::hasFeature(const LV2_Feature* const* features, const char* uri)
{
    for (int i = 0; features && features[i]; ++i)
        if (features[i]->URI && std::strcmp(features[i]->URI, uri) == 0)
            return true;
    return false;
}

const void* CLv2UiEditor::featureData(const LV2_Feature* const* features, const char* uri)
{
    for (int i = 0; features && features[i]; ++i)
        if (features[i]->URI && std::strcmp(features[i]->URI, uri) == 0)
            return features[i]->data;
    return nullptr;
}

float CLv2UiEditor::hostScaleFactor(const LV2_Feature* const* features)
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
