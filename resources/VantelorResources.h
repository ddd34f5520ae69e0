// The pictures compiled into the plug-in, found by file name.
#pragma once

#include "toolkit/CResources.h"

// Any thread. False for an unknown name.
bool findVantelorResource(const char* name, VSTGUI::CResourceData& out);

// Makes the toolkit's bitmaps find these pictures.
inline void registerVantelorResources()
{
    VSTGUI::setResourceLookup(&findVantelorResource);
}
