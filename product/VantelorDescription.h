// The product as every format describes it, written once: its identity (name,
// vendor, version and each format's id), its parameters and its factory
// programs. The VST 2.4 plug-in fills its store from here, the LV2, VST3 and
// CLAP descriptions are generated or answered from here, and the window, the
// tests and the benchmarks read the same table. Nothing here knows a format's
// types or the engine.
//
// Ids are part of hosts' saved sessions and of their plug-in lists: once
// released, none of them changes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "product/VantelorParameters.h"
#include "product/VantelorVersion.h"

namespace vantelor {

// ---- Identity

inline constexpr const char* kProductName = "HF_Vantelor";
inline constexpr const char* kVendorName = "Harrowfields";
inline constexpr const char* kProductUrl = "https://www.harrowfields.example/hf-vantelor/";
inline constexpr const char* kVendorUrl = "https://www.harrowfields.example/";
inline constexpr const char* kDescriptionText = "Stereo spatial panner";

// A four-character code with the first character in the most significant byte.
constexpr int32_t fourCC(char a, char b, char c, char d)
{
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

// VST 2.4: the unique id hosts file the plug-in and its sessions under.
inline constexpr int32_t kVst2UniqueId = fourCC('H', 'F', 'V', 'N');

// LV2: the plug-in, its UI and the prefix of its presets' URIs.
inline constexpr const char* kLv2Uri = "https://www.harrowfields.example/hf-vantelor/lv2";
inline constexpr const char* kLv2UiUri = "https://www.harrowfields.example/hf-vantelor/lv2#ui";
inline constexpr const char* kLv2PresetUriPrefix =
    "https://www.harrowfields.example/hf-vantelor/lv2/presets#";

// VST3: the audio module's class id and its edit controller's, each as the
// four 32-bit words of its text form (20B87AF5-A630-4DCA-AB0D-FAE9E3C5224B
// reads 0x20B87AF5, 0xA6304DCA, 0xAB0DFAE9, 0xE3C5224B); the format's
// binding lays the bytes out as each platform expects.
struct ClassId
{
    uint32_t words[4];
};
inline constexpr ClassId kVst3ProcessorId = {{0x20B87AF5u, 0xA6304DCAu, 0xAB0DFAE9u, 0xE3C5224Bu}};
inline constexpr ClassId kVst3ControllerId = {{0x6F92A9E6u, 0x2A72495Du, 0xA8F3BCA2u, 0x76445E22u}};

// CLAP: the plug-in id, in the reverse-domain form the format asks for.
inline constexpr const char* kClapId = "example.harrowfields.hf-vantelor";

// ---- Version

// The VST vendor version: major, minor and patch as four digits (2.9.1 is
// 2910).
inline constexpr int32_t kVendorVersion = kVantelorVendorVersion;
// "2.9.1".
inline constexpr const char* kVersionText = kVantelorVersionText;

// The label the window shows: "<product name> v<major>.<minor>.<patch>".
inline constexpr std::size_t kVersionLabelCapacity = 40;
// Writes the label into text (at most 40 characters and a terminator);
// returns false, writing nothing, for a null buffer.
bool formatVersionLabel(char* text);

// ---- Parameters

enum class Unit
{
    none,
    degrees,
    percent,
};

enum class Kind
{
    continuous,
    // Off below one half, on above; hosts show it as a switch.
    toggle,
};

enum class Group
{
    leftSource,
    rightSource,
};

inline constexpr const char* kGroupNames[] = {"Left source", "Right source"};

constexpr const char* groupName(Group group)
{
    return kGroupNames[static_cast<int>(group)];
}

inline constexpr float kMaxAngle = 60.0f;

struct ParameterDescription
{
    // The parameter's number (EVantelorParameter) and its id in every format
    // that asks for one (VST3, CLAP).
    uint32_t id;
    const char* name;      // as hosts list it: "Azi L"
    const char* shortName; // for hosts' narrow displays: "AzL"
    // The LV2 port symbol, under which hosts store LV2 sessions.
    const char* symbol;
    Unit unit;
    const char* label; // the unit as text: "deg", "%" or none
    Kind kind;
    float min; // range and default in units
    float max;
    float defaultValue;
    const char* format; // display of the value in units, one floating conversion
    Group group;
};

inline constexpr ParameterDescription kVantelorParameters[kNumVantelorParameters] = {
    {kAziL, "Azi L", "AzL", "azi_l", Unit::degrees, "deg", Kind::continuous, -kMaxAngle, kMaxAngle,
     -30.0f, "%2.1f", Group::leftSource},
    {kElevL, "Elev L", "ElL", "elev_l", Unit::degrees, "deg", Kind::continuous, -kMaxAngle,
     kMaxAngle, 0.0f, "%2.1f", Group::leftSource},
    {kActiveL, "Active L", "OnL", "active_l", Unit::none, "", Kind::toggle, 0.0f, 1.0f, 1.0f,
     "%2.0f", Group::leftSource},
    {kWidthL, "Width L", "WdL", "width_l", Unit::percent, "%", Kind::continuous, 0.0f, 100.0f, 0.0f,
     "%2.0f", Group::leftSource},
    {kAziR, "Azi R", "AzR", "azi_r", Unit::degrees, "deg", Kind::continuous, -kMaxAngle, kMaxAngle,
     30.0f, "%2.1f", Group::rightSource},
    {kElevR, "Elev R", "ElR", "elev_r", Unit::degrees, "deg", Kind::continuous, -kMaxAngle,
     kMaxAngle, 0.0f, "%2.1f", Group::rightSource},
    {kActiveR, "Active R", "OnR", "active_r", Unit::none, "", Kind::toggle, 0.0f, 1.0f, 1.0f,
     "%2.0f", Group::rightSource},
    {kWidthR, "Width R", "WdR", "width_r", Unit::percent, "%", Kind::continuous, 0.0f, 100.0f, 0.0f,
     "%2.0f", Group::rightSource},
};

constexpr bool isParameter(int32_t index)
{
    return index >= 0 && index < kNumVantelorParameters;
}

// Units <-> normalised 0..1 of a parameter's range, in 32-bit float in this
// order: the arithmetic of the VST 2.4 store, which every format shares so
// that the engine hears the same value whatever format carried it.
constexpr float toUnits(int32_t index, float normalised)
{
    const ParameterDescription& p = kVantelorParameters[index];
    return (p.max - p.min) * normalised + p.min;
}

constexpr float toNormalised(int32_t index, float units)
{
    const ParameterDescription& p = kVantelorParameters[index];
    return (units - p.min) / (p.max - p.min);
}

// The value as the VST 2.4 display shows it ("-30.0", "80"), at most
// `capacity` characters and a terminator; the unit is not added.
void formatValue(int32_t index, float units, char* text, std::size_t capacity);
// Reads a value in units from a host's text field: a number, optionally
// followed by the parameter's unit ("-45", "-45 deg", "80 %"), or for a
// switch also "on" and "off". False, with *units untouched, for anything
// else, including a value that is not finite.
bool parseValue(int32_t index, const char* text, float* units);

// ---- Programs

inline constexpr int kNumProgramSlots = 32;
inline constexpr std::size_t kProgramNameCapacity = 24;

struct ProgramDescription
{
    const char* name;
    float values[kNumVantelorParameters]; // in units, parameter order
};

inline constexpr ProgramDescription kVantelorFactoryPrograms[] = {
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

// ---- Audio

inline constexpr int kNumChannels = 2;

} // namespace vantelor

// The names the code base has always used for the table and its arithmetic.
using VantelorParameterDefinition = vantelor::ParameterDescription;
using VantelorProgramDefinition = vantelor::ProgramDescription;
using vantelor::kNumVantelorFactoryPrograms;
using vantelor::kVantelorFactoryPrograms;
using vantelor::kVantelorParameters;
inline constexpr float kVantelorMaxAngle = vantelor::kMaxAngle;

constexpr float vantelorToUnits(int index, float normalised)
{
    return vantelor::toUnits(index, normalised);
}

constexpr float vantelorToNormalised(int index, float units)
{
    return vantelor::toNormalised(index, units);
}
