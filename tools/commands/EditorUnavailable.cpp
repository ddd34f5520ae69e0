#include "tools/commands/Commands.h"
#include "tools/host/HostError.h"

namespace vst2host {

int runEditor(const EditorOptions&) {
    throw HostError("this build of vst2-host has no editor support (built without X11)");
}

} // namespace vst2host
