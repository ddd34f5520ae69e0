#include "toolkit/platform/Shell.h"

#include "toolkit/platform/win32/Win32Module.h"

#include <windows.h>
#include <shellapi.h>

namespace VSTGUI {

bool openURL(const char* url)
{
    if (!url || !*url)
        return false;
    // The shell's answer is an instance handle above 32 on success.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

// The shell starts its handlers detached: nothing to collect.
void reapFinishedOpeners() {}

std::string getModuleDirectory()
{
    const HMODULE module = moduleInstance();
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    // Forward slashes, as in a file address: C:\Plugins\ becomes C:/Plugins/.
    std::string directory(path, length);
    for (char& c : directory)
        if (c == '\\')
            c = '/';
    const size_t slash = directory.rfind('/');
    return directory.substr(0, slash + 1);
}

} // namespace VSTGUI
