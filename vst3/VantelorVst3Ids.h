// What the VST3 plug-in adds to the product's description: the parameters
// only this format has (the host's bypass and the program change), the units
// the parameter groups become, the program list, the buses, and the
// arithmetic between the format's double values and the product's floats.
// Ids are part of hosts' saved sessions: once released, none of them changes.
#pragma once

#include <cstdint>

#include "product/VantelorDescription.h"
#include "vst3/Vst3Interface.h"

namespace vantelor_vst3 {

// The eight product parameters keep their numbers as ids (0..7).
inline constexpr vst3::ParamID kBypassId = 100;
inline constexpr vst3::ParamID kProgramId = 101;
// Parameters the controller reports: the product's, then bypass and program.
inline constexpr int32_t kNumParameters = kNumVantelorParameters + 2;

// The root unit holds the program list and the two extra parameters; each
// parameter group is a unit under it.
inline constexpr vst3::UnitID kLeftSourceUnit = 1;
inline constexpr vst3::UnitID kRightSourceUnit = 2;
inline constexpr vst3::ProgramListID kFactoryProgramList = 0;
inline constexpr int32_t kProgramSteps = vantelor::kNumVantelorFactoryPrograms - 1;

inline constexpr vst3::TUID tuidOf(const vantelor::ClassId& id)
{
    return vst3::makeTuid(id.words[0], id.words[1], id.words[2], id.words[3]);
}
inline constexpr vst3::TUID kProcessorTuid = tuidOf(vantelor::kVst3ProcessorId);
inline constexpr vst3::TUID kControllerTuid = tuidOf(vantelor::kVst3ControllerId);

inline constexpr const char* kSubCategories = "Fx|Spatial";

// The program a normalised program-change value selects: the nearest of
// the list's steps; not a number is the first.
int32_t programOf(double normalised);
double normalisedOfProgram(int32_t program);

// A host's normalised value as the product takes it: clamped to 0..1 (not
// a number gives false), then rounded once to float, as a VST 2.4 host
// hands it over.
bool productValue(double normalised, float* value);

// A value in units (from a state or a typed text) as the normalised value a
// host stores: the product's arithmetic for angles and switches, and for
// widths the exact fraction, so that the value handed back reaches the
// engine unchanged.
double normalisedOfUnits(int32_t index, double units);

} // namespace vantelor_vst3
