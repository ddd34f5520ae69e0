// What the LV2 descriptions, the DSP binary and the UI agree on beyond the
// product's description (which gives the URIs and the control ports'
// symbols): the port indices and the audio ports. Port symbols name the
// values in hosts' saved sessions, so once released they never change; the
// control ports' indices are the parameter numbers.
#pragma once

#include "product/VantelorDescription.h"

namespace vantelor_lv2 {

inline constexpr const char* kPluginUri = vantelor::kLv2Uri;
inline constexpr const char* kUiUri = vantelor::kLv2UiUri;

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

// The control ports' symbols, from the parameter table.
constexpr const char* controlSymbol(int index)
{
    return vantelor::kVantelorParameters[index].symbol;
}

inline constexpr const char* kControlSymbols[kNumVantelorParameters] = {
    controlSymbol(0), controlSymbol(1), controlSymbol(2), controlSymbol(3),
    controlSymbol(4), controlSymbol(5), controlSymbol(6), controlSymbol(7),
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
