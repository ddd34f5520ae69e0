// The VST plug-in as its entry point hands it to a host: the product with its
// window attached.
#pragma once

#include "plugin/MyVSTPlugin.h"

// Builds the plug-in and attaches its editor (which opens no window yet).
// Throws what the allocations throw; the caller owns the result.
CMyVSTPlugin* createVantelorVst(audioMasterCallback audioMaster);
