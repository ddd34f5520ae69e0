// The module that holds the toolkit's code. On Windows the plug-in's DLL
// start-up stores its instance handle here; the window class is registered
// with it and the pictures are found in its resources. A program that links
// the toolkit itself needs not set it: the program's own module is used.
#pragma once

namespace VSTGUI {

// Any thread; the loader calls it before any other code of the module runs.
void setModuleHandle(void* module);
// The stored handle, or null when none was stored.
void* getModuleHandle();

} // namespace VSTGUI
