// Small Windows helpers shared by the toolkit's Win32 and Direct2D code.
#pragma once

#include "toolkit/platform/ModuleHandle.h"

#include <windows.h>

#include <string>

namespace VSTGUI {

// The module that holds the toolkit: the plug-in's DLL as its start-up
// stored it, or else the program's own module.
inline HMODULE moduleInstance()
{
    if (void* module = getModuleHandle())
        return static_cast<HMODULE>(module);
    return GetModuleHandleW(nullptr);
}

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
