// The LV2 UI binding: a frame embedded in the parent window the host offers
// among its features, drawn at the host's scale option when it gives one,
// with the window's size announced through the host's resize feature and
// edit gestures reported through its touch feature. The host's idle
// interface drives the frame.
//
// Threads: the host's UI thread, for every operation.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstdint>

#include "toolkit/plugin-bindings/PluginGUIEditor.h"

class CLv2UiEditor : public CPluginGUIEditor
{
public:
    // Reads the host's features; none of them needs to outlive the call but
    // the resize and touch interfaces, which the host keeps for the UI's life.
    explicit CLv2UiEditor(const LV2_Feature* const* features);

    // The parent window the host offers (ui:parent), or null.
    void* hostParent() const { return parent; }
    // After the frame opened: the window's size in pixels to the host
    // (ui:resize, where offered), and the native window as the UI's widget.
    LV2UI_Widget announceWindow();
    // A gesture on a port begins or ends (ui:touch, where offered).
    void touch(uint32_t port, bool grabbed);

    // True when `uri` is among the features.
    static bool hasFeature(const LV2_Feature* const* features, const char* uri);
    // The data of feature `uri`, or null.
    static const void* featureData(const LV2_Feature* const* features, const char* uri);
    // The display's scale that the host offers among its options
    // (ui:scaleFactor, a float), or 0 when it offers none.
    static float hostScaleFactor(const LV2_Feature* const* features);

private:
    void* parent = nullptr;
    const LV2UI_Resize* resize = nullptr;
    const LV2UI_Touch* touchFeature = nullptr;
};
