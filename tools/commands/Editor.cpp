#include "tools/commands/Commands.h"
#include "tools/host/HostError.h"

namespace vst2host {

int runEditor(const EditorOptions&) {
    throw HostError("editor: not yet");
}

} // namespace vst2host
