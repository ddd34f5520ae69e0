// The product's processing, whatever format carries it: values handed over
// from any thread to the thread that owns the engine, changes that take
// effect at a frame inside a block, and the start of processing.
//
// Threads: setValue, setUnits and the value queries may be called from any
// thread. While processing runs, only the audio thread calls process; the
// other operations (sample rate, start, suspend, resume, applyPending) are for
// whichever thread owns the engine while processing is stopped, as the
// formats define it. No operation allocates, locks or makes a system call.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "product/VantelorDescription.h"
#include "product/VantelorState.h"

// The engine, which no format needs to know: the processor is all of it a
// format uses.
class CVantelor;

namespace vantelor {

// One parameter change inside a block: at `frame` (0 is before the block's
// first frame) the parameter takes `value`, normalised 0..1 or in units.
struct ParameterChange
{
    enum class Scale : uint8_t
    {
        normalised,
        units,
    };
    int32_t frame;
    int32_t index;
    float value;
    Scale scale;
};

class CVantelorProcessor
{
public:
    // The processor hands values to `engine`, which must outlive it; the
    // engine is then touched only through the processor's operations.
    explicit CVantelorProcessor(CVantelor& engine);

    CVantelorProcessor(const CVantelorProcessor&) = delete;
    CVantelorProcessor& operator=(const CVantelorProcessor&) = delete;

    // Any thread. A value normalised to 0..1 of the parameter's range (the
    // VST 2.4 value): the engine hears it from the start of the next block,
    // or from the change's frame inside one. Invalid indices are ignored; a
    // width that is not a number is ignored, as the engine ignores it.
    void setValue(int32_t index, float normalised);
    // Any thread. The same in units (degrees, percent, the switch's 0 or 1).
    void setUnits(int32_t index, float units);

    // Any thread. The value the engine hears (or will hear once pending
    // values are applied), in units: what a host stores and shows.
    float units(int32_t index) const;
    // Any thread. The same exactly, in double precision: a width is a
    // fraction inside the engine, and its percentage is exact only in double.
    double exactUnits(int32_t index) const;
    // Any thread. Sets a value from exactUnits, so that the engine hears
    // exactly what it heard when the value was read. Values outside the
    // range or not finite are ignored.
    void setExactUnits(int32_t index, double units);

    // Any thread. The current values into a state, and a state's values back
    // (pending, as set by setExactUnits); the program is the caller's.
    void captureValues(ProductState& state) const;
    void restoreValues(const ProductState& state);

    // Stopped processing. Values pending first, then the new rate (clamped
    // to 22050..192000 Hz; not-a-number gives 22050), so that an elevation
    // set before the change gets the change's redesign: the order a VST 2.4
    // host's setSampleRate follows. Returns the rate the engine took.
    float setSampleRate(float rate);
    // Stopped processing: pending values, then the engine's audio state
    // cleared.
    void suspend();
    void resume();
    // Stopped processing: the starting state of a format whose host gives
    // the values before processing starts (VST3, CLAP). The rate first, then
    // every value set so far, then the audio state cleared, with no glide
    // from the earlier values: what a VST 2.4 host that loads a session does
    // (rate, values, resume). Returns the rate the engine took.
    float start(float rate);

    // Owner of the engine: hands every pending value over.
    void applyPending();

    // Audio thread. Pending values, then the block. Null buffers and frame
    // counts below one render nothing.
    void process(float** inputs, float** outputs, int32_t frames);
    // Audio thread. The block with changes inside it, taking effect at their
    // frames: the same output, bit for bit, as the block split at those
    // frames with each change made between the pieces. Changes come in frame
    // order; one whose frame lies before an earlier change's takes effect
    // with it, one at or past the block's end takes effect after the block
    // (from the next block's start). With null buffers or no frames the
    // changes still take effect.
    void process(float** inputs, float** outputs, int32_t frames, const ParameterChange* changes,
                 int32_t numChanges);

    CVantelor& getEngine() { return engine; }
    const CVantelor& getEngine() const { return engine; }

private:
    void apply(const ParameterChange& change);
    void applyParameter(int32_t index, float value);
    void applyElevation(float degrees, int8_t channel);
    void hand(int32_t index, float engineValue);
    void requestElevation(int channel, float degrees);
    void requestActive(int channel, bool on);

    CVantelor& engine;

    // Hand-over from the setters to the engine's owner: the latest value of
    // each parameter as the engine takes it (degrees, the width's fraction)
    // and a bit per parameter that has a value waiting. Per channel, the
    // requested Active switch (bit 0) with a count of its flips (the bits
    // above), so that off-and-on between two blocks still restarts the
    // source; the engine's owner remembers how many flips it has applied.
    std::atomic<float> pendingValues[kNumVantelorParameters];
    std::atomic<uint32_t> pendingMask{0};
    std::atomic<uint32_t> activeRequest[kNumChannels];
    uint32_t appliedActiveFlips[kNumChannels] = {};
    // Per channel, the last elevation requested (in degrees, as the engine
    // stores it) and a count of requests that moved it. An elevation that
    // moves away and back between two blocks still leaves the filters as the
    // moves would have: the engine's owner remembers how many it has applied.
    std::atomic<float> elevationRequest[kNumChannels];
    std::atomic<uint32_t> elevationMoves[kNumChannels];
    uint32_t appliedElevationMoves[kNumChannels] = {};
    // The value of each parameter as the engine takes it, latest first.
    std::atomic<float> latest[kNumVantelorParameters];
};

// A processor with an engine of its own, for the formats whose plug-in is not
// itself the engine (LV2, VST3, CLAP). Everything is allocated here, at
// construction.
class CVantelorDsp
{
public:
    CVantelorDsp();
    ~CVantelorDsp();

    CVantelor& getEngine() { return *engine; }

private:
    std::unique_ptr<CVantelor> engine;

public:
    CVantelorProcessor processor;
};

} // namespace vantelor
