#pragma once

#include <string>
#include <vector>

namespace vst2host {

// Each command returns the process exit status; a HostError thrown from a
// command becomes a one-line message and status 2.

// Refuses a plug-in of another format than VST 2.4, for the commands that
// only VST 2.4 plug-ins support (editor, measure).
void requireVst2(const std::string& plugin, const char* command);

struct InfoOptions
{
    std::string plugin;
    bool json = false;
};
int runInfo(const InfoOptions& options);

// Parameter settings shared by render and bench, applied after the program.
struct ParameterOptions
{
    std::string program;                 // index or name; empty keeps the plug-in's own
    std::vector<std::string> sets;       // NAME=VALUE in display units
    std::vector<std::string> normalized; // NAME=VALUE in 0..1
};

struct RenderOptions
{
    std::string plugin;
    std::string input; // empty: the built-in demo signal
    std::string output;
    ParameterOptions parameters;
    std::string sweep; // NAME:FROM:TO in display units
    int block = 512;
    bool sameFormat = false; // keep the input's sample format
    double gain = 0.0;       // dB applied to the output
    bool normalize = false;  // scale the loudest sample to full scale
};
int runRender(const RenderOptions& options);

struct BenchOptions
{
    std::vector<std::string> plugins;
    ParameterOptions parameters;
    std::string sweep;         // NAME:FROM:TO in display units, set before every block
    double sweepSeconds = 2.0; // audio time of one sweep from FROM to TO and back
    int block = 512;
    double seconds = 3.0;
    std::string input = "demo"; // demo, noise or silence
    int instances = 1;          // instances of each plug-in, processed in turn
    bool startup = false;       // measure start-up and memory instead of processing
};
int runBench(const BenchOptions& options);

struct ValidateOptions
{
    std::string plugin;
    int strictness = 5;            // 1..10: which checks run and how strict they are
    std::string json;              // also write the results here
    unsigned int seed = 1;         // of the random values and signals
    std::vector<std::string> only; // run only these checks
};
int runValidate(const ValidateOptions& options);

struct EditorOptions
{
    std::string plugin;
    double seconds = 0.0; // 0: until the window is closed
    std::string screenshot;
    // The display scale asked of the editor as scaled displays' hosts ask
    // it (0: not asked).
    double scale = 0.0;
};
int runEditor(const EditorOptions& options);

// Measures a stereo spatial effect (pan law, elevation colour, width,
// programs) and writes each measurement as a CSV file into `out`.
struct MeasureOptions
{
    std::string plugin;
    std::string out;
};
int runMeasure(const MeasureOptions& options);

} // namespace vst2host
