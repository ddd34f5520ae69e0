// Editor: opened into a window of the host, idled and closed again and again,
// as hosts do when the user shows and hides it, with the window sometimes
// destroyed by the host before it closes the editor. Needs an X display.
#include "tools/validate/Check.h"

#include "tools/host/EditorWindow.h"
#include "tools/host/PluginInstance.h"

#include <X11/Xlib.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace vst2host::validate {

namespace {

constexpr int kCycles = 20;
constexpr int kIdles = 5;
constexpr auto kIdlePeriod = std::chrono::milliseconds(10);

void drain(Display* display)
{
    while (XPending(display) > 0) {
        XEvent event{};
        XNextEvent(display, &event);
    }
}

void openAndClose(CheckContext& context)
{
    Findings& findings = context.findings;
    auto plugin = context.load();
    if ((plugin->effect()->flags & effFlagsHasEditor) == 0) {
        findings.note("no editor");
        return;
    }
    countXErrors();
    std::unique_ptr<Display, DisplayCloser> connection(XOpenDisplay(nullptr));
    if (!connection) {
        findings.skip("no X display to open the editor on (set DISPLAY)");
        return;
    }
    Display* display = connection.get();
    const int screen = DefaultScreen(display);
    plugin->start(44100.0f, 512);

    EditorSize first;
    int destroyedFirst = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        const std::string when = " (cycle " + std::to_string(cycle + 1) + ")";
        EditorSize size = editorSize(*plugin);
        const Window window = XCreateSimpleWindow(
            display, RootWindow(display, screen), 0, 0,
            static_cast<unsigned>(size.width > 0 ? size.width : kFallbackEditorWidth),
            static_cast<unsigned>(size.height > 0 ? size.height : kFallbackEditorHeight), 0,
            BlackPixel(display, screen), BlackPixel(display, screen));
        XMapWindow(display, window);
        XSync(display, False);
        const intptr_t opened =
            plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window));
        XSync(display, False);
        // Some plug-ins answer 0 although they opened; the window's children tell.
        if (opened == 0 && childCount(display, window) == 0) {
            findings.fail("effEditOpen put nothing into the host's window" + when);
            XDestroyWindow(display, window);
            XSync(display, False);
            break;
        }
        size = editorSize(*plugin);
        if (size.width == 0)
            findings.fail("effEditGetRect gives no size while the editor is open" + when);
        if (cycle == 0)
            first = size;
        else if (!(size == first))
            findings.fail("effEditGetRect gives " + size.text() + ", " + first.text() +
                          " when first opened" + when);
        for (int idle = 0; idle < kIdles; ++idle) {
            plugin->dispatch(effEditIdle);
            drain(display);
            std::this_thread::sleep_for(kIdlePeriod);
        }
        if (const EditorSize idled = editorSize(*plugin); !(idled == size))
            findings.fail("effEditGetRect changes from " + size.text() + " to " + idled.text() +
                          " while idle" + when);
        // Every other time the host destroys its window first, as hosts do
        // when the user closes the window that holds the editor.
        if (cycle % 2 == 1) {
            XDestroyWindow(display, window);
            XSync(display, False);
            plugin->dispatch(effEditClose);
            ++destroyedFirst;
        } else {
            plugin->dispatch(effEditClose);
            XDestroyWindow(display, window);
        }
        XSync(display, False);
        drain(display);
    }
    plugin->stop();
    if (const int errors = xErrorCount(); errors > 0)
        findings.warn(std::to_string(errors) + " X errors reached the host's error handler");
    findings.note(std::to_string(kCycles) + " times opened, idled and closed at " + first.text() +
                  ", " + std::to_string(destroyedFirst) +
                  " of them after the host destroyed its window");
}

} // namespace

void addEditorChecks(std::vector<Check>& checks)
{
    checks.push_back(
        {"editor", 5, "editor opened, idled and closed 20 times, its size stable", openAndClose});
}

} // namespace vst2host::validate
