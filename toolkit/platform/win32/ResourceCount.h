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

// Paints of a back buffer and the Direct2D objects each created: a paint
// that repeats the last one should create none, since the drawing objects
// are kept with the render target. Window thread.
void notePaint(int64_t direct2DCreated);
int64_t paintCount();
int64_t direct2DCreatedByLastPaint();

} // namespace VSTGUI::Win32
