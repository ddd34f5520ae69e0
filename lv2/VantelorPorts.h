// What the LV2 descriptions, the DSP binary and the UI agree on: the URIs and
// the ports. Port symbols name the values in hosts' saved sessions, so once
// released they never change; the indices follow the parameter numbers.
#pragma once

#include "plugin/VantelorParameters.h"

namespace vantelor_lv2 {

inline constexpr const char* kPluginUri = "https://www.harrowfields.example/hf-vantelor/lv2";
inline constexpr const char* kUiUri = "https://www.harrowfields.example/hf-vantelor/lv2#ui";
inline constexpr const char* kPresetUriPrefix =
    "https://www.harrowfields.example/hf-vantelor/lv2/presets#";

inline constexpr const char* kDspBinary = "HF_Vantelor_dsp.so";
inline constexpr const char* kUiBinary = "HF_Vantelor_ui.so";

// Control inputs 0..7 in parameter order, then the audio ports.
enum Port : unsigned
{
    kFirstControlPort = 0,
    kInLeft = kNumVantelorParameters,
    kInRight,
    kOutLeft,
    kOutRight,
    kNumPorts
};

inline constexpr const char* kControlSymbols[kNumVantelorParameters] = {
    "azi_l", "elev_l", "active_l", "width_l", "azi_r", "elev_r", "active_r", "width_r",
};

struct AudioPortName
{
    Port index;
    const char* symbol;
    const char* name;
    bool output;
};

inline constexpr AudioPortName kAudioPorts[] = {
    {kInLeft, "in_l", "In L", false},
    {kInRight, "in_r", "In R", false},
    {kOutLeft, "out_l", "Out L", true},
    {kOutRight, "out_r", "Out R", true},
};

} // namespace vantelor_lv2
