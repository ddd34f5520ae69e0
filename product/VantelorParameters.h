// The product's parameter numbers, the same in every format: the VST 2.4
// parameter indices, the LV2 control port indices, the VST3 and CLAP
// parameter ids, and the window's control tags.
#pragma once

#include <cstdint>

enum EVantelorParameter : int32_t
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
