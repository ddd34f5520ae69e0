#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vst2host {

// The plug-in formats the command-line host loads.
enum class PluginFormat
{
    vst2,
    vst3,
    clap,
};

// "VST 2.4", "VST3", "CLAP".
const char* formatName(PluginFormat format);

// Removes leading and trailing white space.
std::string trim(const std::string& text);

// A parameter's range in its own units, where the format reports one.
struct ParameterRange
{
    double min = 0.0;
    double max = 1.0;
    double defaultValue = 0.0;
    // Whole values only (a switch, a list of choices).
    bool stepped = false;
};

// One loaded plug-in instance of any format, as the commands use it: its
// identity, parameters, programs, channels and processing. Every call comes
// from one thread (the command's); a format's audio and main threads are
// that same thread here.
//
// Values cross as the formats' common ground: normalised 0..1 floats as VST
// 2.4 has them. A format that knows a parameter's range in units also takes
// a value in units exactly (setParameterText), so that what the user typed
// reaches the plug-in without a round trip through the normalised scale.
class HostedPlugin
{
public:
    virtual ~HostedPlugin() = default;

    virtual PluginFormat format() const = 0;
    virtual const std::string& path() const = 0;

    // Identity.
    virtual std::string pluginName() = 0;
    virtual std::string pluginVendor() = 0;
    virtual std::string pluginVersion() = 0;

    // Audio channels of the main input and output.
    virtual int numInputs() const = 0;
    virtual int numOutputs() const = 0;

    // Parameters, by index 0..numParams()-1.
    virtual int numParams() const = 0;
    virtual std::string paramName(int index) = 0;
    // The current value as the plug-in displays it, and its unit label.
    virtual std::string paramDisplay(int index) = 0;
    virtual std::string paramLabel(int index) = 0;
    virtual float getParameter(int index) = 0;
    virtual void setParameter(int index, float value) = 0;
    // The range in units, where the format reports it.
    virtual std::optional<ParameterRange> paramRange(int /*index*/) { return std::nullopt; }
    // Sets a value as the user typed it ("12.5", "-45 deg", "on") through the
    // format's own conversion, exactly; false when the format has none or
    // the plug-in refuses the text (the caller then searches the displays).
    virtual bool setParameterText(int /*index*/, const std::string& /*text*/) { return false; }

    // Programs (VST 2.4 programs, VST3 program lists, CLAP presets).
    virtual int numPrograms() const = 0;
    virtual std::string programName(int index) = 0;
    virtual int currentProgram() = 0;
    virtual void setProgram(int index) = 0;

    // Processing: prepare tells a stopped plug-in the rate and the largest
    // block; start prepares and starts; stop is safe when not started.
    // Values set before start are the starting state, with no glide.
    virtual void prepare(float sampleRate, int32_t blockSize) = 0;
    virtual void start(float sampleRate, int32_t blockSize) = 0;
    virtual void stop() = 0;
    virtual bool running() const = 0;
    // Real-time processing (measurements) or offline (file renders); takes
    // effect from the next start.
    virtual void setRealtime(bool realtime) = 0;
    // One block: numInputs() and numOutputs() channel buffers of at least
    // `frames` samples. Parameter changes made since the last block take
    // effect at its first frame.
    virtual void process(float** inputs, float** outputs, int32_t frames) = 0;

    // The index of the parameter with this name (exact first, then ignoring
    // case), or of the given decimal index; -1 when there is none.
    int findParameter(const std::string& name);
};

} // namespace vst2host
