#pragma once

#include <string>
#include <vector>

namespace vst2host {

class PluginInstance;

// Measurements of a stereo spatial effect through its VST 2.4 interface, the
// way a reviewer with a measuring rig would take them: steady noise or an
// impulse in, levels and responses of the outputs out. They work on any
// plug-in whose parameters are named like a panner's (an azimuth, and
// optionally an elevation, a width and an on/off switch per source).

// The parameters of one virtual source; -1 where the plug-in has none.
struct SourceParameters
{
    int azimuth = -1;
    int elevation = -1;
    int width = -1;
    int active = -1;
};

// The sources of a plug-in, found by parameter name: the k-th parameter named
// "Azi..." (ignoring case), the k-th "Elev...", "Width..." and "Active..." make
// source k. Empty when no parameter is named like an azimuth.
std::vector<SourceParameters> findSources(PluginInstance& plugin);

// The sample rate of the measurements (the demo material of the programs
// plays at its own rate).
constexpr float kMeasureSampleRate = 48000.0f;

// Output levels of the left and right outputs, in dB relative to the input's
// level, for one source fed with steady noise on both inputs while any other
// source is switched off and the width is 0.
struct PanLawPoint
{
    double elevation = 0.0;
    double azimuth = 0.0;
    double leftDb = 0.0;
    double rightDb = 0.0;
};

struct PanLaw
{
    std::vector<PanLawPoint> points;       // by elevation, then azimuth
    std::vector<double> skippedElevations; // outside the plug-in's range
};

// Sweeps the azimuth from `from` to `to` degrees in steps of `step` at each of
// the elevations (an elevation outside the plug-in's range is skipped; without
// an elevation parameter only the first elevation is measured). Throws
// HostError when an azimuth lies outside the plug-in's range.
PanLaw measurePanLaw(const std::string& pluginPath, const std::vector<double>& elevations,
                     double from = -60.0, double to = 60.0, double step = 1.0);

// Magnitude response of the mean of both outputs, in dB, for a source at
// azimuth 0 and the given elevation, from the impulse response.
struct ElevationResponse
{
    std::vector<double> frequencies;          // Hz, logarithmically spaced
    std::vector<double> elevations;           // degrees, those measured
    std::vector<std::vector<double>> levelDb; // [elevation][frequency]
};

// Throws HostError when the plug-in has no elevation parameter.
ElevationResponse measureElevationResponse(const std::string& pluginPath,
                                           const std::vector<double>& elevations);

// Correlation of the two outputs and the level of their side signal
// ((left - right) / 2, dB relative to the input) for a centred source fed
// with noise, as the width goes from its lowest to its highest value.
struct WidthPoint
{
    double normalized = 0.0;
    double display = 0.0; // the value as the plug-in displays it
    double correlation = 0.0;
    double sideDb = 0.0;
    double midDb = 0.0;
};

// Throws HostError when the plug-in has no width parameter.
std::vector<WidthPoint> measureWidth(const std::string& pluginPath, int steps = 20);

// Each distinct program: the sources' settings as displayed and the output
// levels (RMS, dB full scale) of the built-in demo material through it.
struct ProgramSource
{
    double azimuth = 0.0;
    double elevation = 0.0;
    double width = 0.0;
    bool active = true;
};

struct ProgramMeasurement
{
    int index = 0;
    std::string name;
    std::vector<ProgramSource> sources;
    double leftDb = 0.0;
    double rightDb = 0.0;
};

// Programs that repeat an earlier program's values (unused slots, whatever
// their names) are left out.
std::vector<ProgramMeasurement> measurePrograms(const std::string& pluginPath);

// Level of a signal's RMS in dB; `floorDb` for silence.
double levelDb(double rms, double floorDb = -140.0);

} // namespace vst2host
