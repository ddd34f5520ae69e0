// The VST3 audio module: the product's processor over an engine of its own,
// with the main stereo buses, the state, and the parameter queues of each
// process call turned into the product's changes at their frames. The host's
// bypass crossfades to the input and back without a click.
//
// Threads: the host calls setupProcessing, setActive, setState and the bus
// calls on its main thread while processing is stopped, and process on the
// audio thread; getState may come at any time from the main thread and reads
// the hand-over's current values. Nothing in process allocates, locks or
// makes a system call: every buffer is made at construction.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "product/VantelorProcessor.h"
#include "vst3/Vst3Interface.h"

namespace vantelor_vst3 {

class CVantelorVst3Processor final : public vst3::IComponent,
                                     public vst3::IAudioProcessor,
                                     public vst3::IConnectionPoint,
                                     public vst3::IProcessContextRequirements
{
public:
    // Points of all queues one process call takes at their frames; a host
    // that sends more has the rest of each queue reduced to its last point.
    static constexpr int32_t kMaxEvents = 1024;
    // Frames rendered at a time while the bypass crossfade runs or holds.
    static constexpr int32_t kBypassSpan = 256;
    // The crossfade's length.
    static constexpr double kBypassFadeSeconds = 0.01;

    CVantelorVst3Processor();

    // FUnknown
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override;
    vst3::uint32 addRef() override;
    vst3::uint32 release() override;

    // IPluginBase
    vst3::tresult initialize(vst3::FUnknown* context) override;
    vst3::tresult terminate() override;

    // IComponent
    vst3::tresult getControllerClassId(vst3::TUID& classId) override;
    vst3::tresult setIoMode(vst3::IoMode mode) override;
    vst3::int32 getBusCount(vst3::MediaType type, vst3::BusDirection dir) override;
    vst3::tresult getBusInfo(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                             vst3::BusInfo& bus) override;
    vst3::tresult getRoutingInfo(vst3::RoutingInfo& inInfo, vst3::RoutingInfo& outInfo) override;
    vst3::tresult activateBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                              vst3::TBool state) override;
    vst3::tresult setActive(vst3::TBool state) override;
    vst3::tresult setState(vst3::IBStream* state) override;
    vst3::tresult getState(vst3::IBStream* state) override;

    // IAudioProcessor
    vst3::tresult setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                     vst3::SpeakerArrangement* outputs,
                                     vst3::int32 numOuts) override;
    vst3::tresult getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                    vst3::SpeakerArrangement& arr) override;
    vst3::tresult canProcessSampleSize(vst3::int32 symbolicSampleSize) override;
    vst3::uint32 getLatencySamples() override;
    vst3::tresult setupProcessing(vst3::ProcessSetup& setup) override;
    vst3::tresult setProcessing(vst3::TBool state) override;
    vst3::tresult process(vst3::ProcessData& data) override;
    vst3::uint32 getTailSamples() override;

    // IConnectionPoint: the controller learns everything it needs from the
    // host (the component's state, the parameters), so no messages are
    // sent; the connection is kept as hosts expect.
    vst3::tresult connect(vst3::IConnectionPoint* other) override;
    vst3::tresult disconnect(vst3::IConnectionPoint* other) override;
    vst3::tresult notify(vst3::IMessage* message) override;

    // IProcessContextRequirements: the sound depends on no transport.
    vst3::uint32 getProcessContextRequirements() override;

private:
    ~CVantelorVst3Processor();

    struct Event
    {
        int32_t frame;
        int32_t order;
        vst3::ParamID id;
        float value;
    };

    int32_t gatherEvents(vst3::IParameterChanges* changes, int32_t numSamples);
    int32_t productChanges(int32_t first, int32_t end, int32_t frameOffset,
                           vantelor::ParameterChange* out);
    void applyAtStart(int32_t numEvents);
    void render(float** in, float** out, int32_t numSamples, int32_t numEvents);
    void renderWithBypass(float** in, float** out, int32_t numSamples, int32_t numEvents);
    void setBypassTarget(float value, bool immediately);

    std::atomic<vst3::uint32> references{1};
    std::unique_ptr<vantelor::CVantelorDsp> product;

    double sampleRate = 44100.0;
    bool active = false;
    // Set by activation; the first call with audio starts the engine from
    // every value set before it, then clears it.
    bool starting = true;
    std::atomic<int32_t> program{0};
    // The bypass as the state reports it, and one a state brought back,
    // waiting for the audio thread (-1: none).
    std::atomic<int32_t> bypassShown{0};
    std::atomic<int32_t> bypassRequest{-1};

    // The bypass crossfade: the input's share of the output (0 processed,
    // 1 the input) moves by fadeStep a frame towards bypassTarget.
    float bypassTarget = 0.0f;
    float bypassGain = 0.0f;
    float fadeStep = 1.0f;
    std::unique_ptr<Event[]> events;
    std::unique_ptr<vantelor::ParameterChange[]> changes;
    std::unique_ptr<float[]> scratch; // two channels of dry input
    vst3::IConnectionPoint* peer = nullptr;
};

} // namespace vantelor_vst3
