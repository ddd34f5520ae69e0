// The system services the editor asks for outside its window: opening an
// address in the user's browser and finding the folder of the loaded
// plug-in binary.
#pragma once

#include <string>

namespace VSTGUI {

// Starts the system's opener for url (xdg-open on Linux) without a shell
// and without waiting for it. False when it could not be started.
bool openURL(const char* url);
// Collects openers that have finished; never blocks. The editor calls it
// while idle so no finished child stays behind.
void reapFinishedOpeners();
// Folder (with trailing separator) of the binary that holds this code, or
// empty when it cannot be found.
std::string getModuleDirectory();

} // namespace VSTGUI
