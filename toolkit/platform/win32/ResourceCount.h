// Counts of the system resources the Windows toolkit creates and releases:
// windows, window classes, GDI objects and Direct2D, DirectWrite and WIC
// objects. A closed editor must leave every count at zero; tests read them
// because the system's own per-process counts are not available everywhere
// (Wine answers 0 to GetGuiResources).
#pragma once

#include <cstdint>

namespace VSTGUI::Win32 {

enum class ResourceKind
{
    kWindow,
    kWindowClass,
    kGdiObject,
    kDirect2D,
    kCount
};

// Any thread.
void noteCreated(ResourceKind kind);
void noteReleased(ResourceKind kind);
// Created minus released.
int64_t liveResources(ResourceKind kind);
// Everything ever created of that kind.
int64_t createdResources(ResourceKind kind);

} // namespace VSTGUI::Win32
