#include "tools/host/EditorWindow.h"

#include <atomic>

namespace vst2host {

namespace {

std::atomic<int> xErrors{0};

int recordXError(Display*, XErrorEvent*)
{
    ++xErrors;
    return 0;
}

} // namespace

void countXErrors()
{
    XSetErrorHandler(recordXError);
}

int xErrorCount()
{
    return xErrors.load();
}

EditorSize editorSize(PluginInstance& plugin)
{
    ERect* rect = nullptr;
    plugin.dispatch(effEditGetRect, 0, 0, &rect);
    if (rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top)
        return {};
    return {rect->right - rect->left, rect->bottom - rect->top};
}

int childCount(Display* display, Window window)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
        return 0;
    if (children != nullptr)
        XFree(children);
    return static_cast<int>(count);
}

} // namespace vst2host
