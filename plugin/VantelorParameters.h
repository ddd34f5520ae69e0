// The product's parameter numbers, shared by the plug-in and its editor,
// which uses the same numbers as control tags.
#pragma once

#include "plugin/VstInterface.h"

enum EVantelorParameter : VstInt32
{
    kAziL = 0,
    kElevL,
    kActiveL,
    kWidthL,
    kAziR,
    kElevR,
    kActiveR,
    kWidthR,
    kNumVantelorParameters
};
