// The product's parameters and factory programs, written once: the VST
// plug-in defines its store from them, the LV2 descriptions are generated from
// them, and the tests and benchmarks read them.
#pragma once

#include "engine/CCPanner.h"
#include "plugin/VantelorParameters.h"

struct VantelorParameterDefinition
{
    const char* name;  // as the host lists it: "Azi L"
    const char* label; // unit text: "deg", "%" or none
    float min;         // range and default in units
    float max;
    float defaultValue;
    const char* format; // display of the value in units, one floating conversion
};

inline constexpr float kVantelorMaxAngle = CCCPanner::kMaxAngle;

inline constexpr VantelorParameterDefinition kVantelorParameters[kNumVantelorParameters] = {
    {"Azi L", "deg", -kVantelorMaxAngle, kVantelorMaxAngle, -30.0f, "%2.1f"},
    {"Elev L", "deg", -kVantelorMaxAngle, kVantelorMaxAngle, 0.0f, "%2.1f"},
    {"Active L", "", 0.0f, 1.0f, 1.0f, "%2.0f"},
    {"Width L", "%", 0.0f, 100.0f, 0.0f, "%2.0f"},
    {"Azi R", "deg", -kVantelorMaxAngle, kVantelorMaxAngle, 30.0f, "%2.1f"},
    {"Elev R", "deg", -kVantelorMaxAngle, kVantelorMaxAngle, 0.0f, "%2.1f"},
    {"Active R", "", 0.0f, 1.0f, 1.0f, "%2.0f"},
    {"Width R", "%", 0.0f, 100.0f, 0.0f, "%2.0f"},
};

struct VantelorProgramDefinition
{
    const char* name;
    float values[kNumVantelorParameters]; // in units, parameter order
};

inline constexpr VantelorProgramDefinition kVantelorFactoryPrograms[] = {
    {"Default", {-30, 0, 1, 0, 30, 0, 1, 0}},
    {"Elevated", {-30, 55, 1, 0, 30, 55, 1, 0}},
    {"Lowered", {-30, -55, 1, 0, 30, -55, 1, 0}},
    {"Wide base", {-55, 0, 1, 10, 55, 0, 1, 10}},
    {"Wide sources", {-30, 0, 1, 80, 30, 0, 1, 80}},
    {"Pseudo stereo", {0, 0, 1, 80, 0, 0, 1, 80}},
    {"Mono far left", {-55, 0, 1, 10, 30, 0, 0, 0}},
    {"Mono far right", {-30, 0, 0, 0, 55, 0, 1, 10}},
};

inline constexpr int kNumVantelorFactoryPrograms =
    static_cast<int>(sizeof(kVantelorFactoryPrograms) / sizeof(kVantelorFactoryPrograms[0]));

// Units <-> normalised 0..1 of a parameter's range, in 32-bit float in this
// order, the same arithmetic as the plug-in's store.
constexpr float vantelorToUnits(int index, float normalised)
{
    const VantelorParameterDefinition& p = kVantelorParameters[index];
    return (p.max - p.min) * normalised + p.min;
}

constexpr float vantelorToNormalised(int index, float units)
{
    const VantelorParameterDefinition& p = kVantelorParameters[index];
    return (units - p.min) / (p.max - p.min);
}
