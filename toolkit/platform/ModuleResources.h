// Data stored as resources of the module that holds the toolkit (the DLL's
// "PNG" resources on Windows), found by name.
#pragma once

#include "toolkit/CResources.h"

namespace VSTGUI {

// Any thread. False for an unknown name, and on systems without module
// resources.
bool findModuleResource(const char* name, CResourceData& out);

} // namespace VSTGUI
