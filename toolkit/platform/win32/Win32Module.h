// Small Windows helpers shared by the toolkit's Win32 and Direct2D code.
#pragma once

#include <windows.h>

#include <string>

namespace VSTGUI {

// The module that holds the toolkit's code: the plug-in's DLL, or the
// program itself when the toolkit is linked into it. Its window class is
// registered with it and its pictures are among its resources.
HMODULE moduleInstance();

// UTF-8 text as the wide strings Windows takes; empty for null, empty or
// invalid text.
inline std::wstring widen(const char* text)
{
    if (!text || !*text)
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

} // namespace VSTGUI
