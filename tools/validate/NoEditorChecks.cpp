// Built without X11: the editor checks are not available.
#include "tools/validate/Check.h"

namespace vst2host::validate {

void addEditorChecks(std::vector<Check>&) {}

} // namespace vst2host::validate
