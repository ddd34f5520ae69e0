#pragma once

// What the editor command and the validator's editor check share to host a
// plug-in's editor in an X window of their own.

#include "tools/host/PluginInstance.h"

#include <X11/Xlib.h>

#include <string>

namespace vst2host {

// The window's size when the plug-in names none.
constexpr int kFallbackEditorWidth = 400;
constexpr int kFallbackEditorHeight = 300;

struct DisplayCloser
{
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// From now on X errors (a plug-in's or ours) are counted instead of ending
// the process, which is what Xlib's default handler does.
void countXErrors();
int xErrorCount();

// The editor's size from effEditGetRect; 0x0 when the plug-in gives none.
struct EditorSize
{
    int width = 0;
    int height = 0;
    bool known() const { return width > 0; }
    bool operator==(const EditorSize&) const = default;
    std::string text() const { return std::to_string(width) + "x" + std::to_string(height); }
};
EditorSize editorSize(PluginInstance& plugin);

// How many child windows `window` has (0 when the server cannot say). Some
// plug-ins answer effEditOpen with 0 although they opened: this tells.
int childCount(Display* display, Window window);

} // namespace vst2host
