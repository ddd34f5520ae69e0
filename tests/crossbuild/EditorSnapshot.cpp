// The plug-in's window drawn off-screen by the Linux build, written as a
// PNG: the Windows build's window, drawn with Direct2D, is compared with it
// (tests/windows/window-matches-linux).
//
// vantelor_editor_snapshot OUT.png
#include "editor/MyVSTEditor.h"
#include "plugin/MyVSTPlugin.h"
#include "toolkit/CFrame.h"
#include "toolkit/platform/offscreen/OffscreenFrame.h"

#include <cstdio>

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantelor_editor_snapshot OUT.png\n");
        return 2;
    }
    CMyVSTPlugin plugin(host);
    new CMyVSTEditor(&plugin, &plugin);
    auto* editor = dynamic_cast<CMyVSTEditor*>(plugin.getEditor());
    if (!editor || !editor->open(nullptr)) {
        std::fprintf(stderr, "error: the editor did not open off-screen\n");
        return 2;
    }
    editor->idle();
    auto* image = dynamic_cast<VSTGUI::OffscreenFrame*>(editor->getFrame()->getPlatformFrame());
    const bool written = image && image->writePNG(argv[1]);
    editor->close();
    if (!written) {
        std::fprintf(stderr, "error: cannot write %s\n", argv[1]);
        return 2;
    }
    return 0;
}
