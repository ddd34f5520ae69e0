// A small VST3 host: loads a bundle's module as hosts load it (its entry
// and exit around the factory), makes a plug-in's audio module and edit
// controller, initialises and connects them, and runs the audio module
// with parameter queues. It knows nothing of our plug-in's code, only the
// format; the command-line host loads VST3 bundles through it.
//
// Threads: one instance is driven from one thread at a time; its audio and
// main calls come from that thread.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "vst3/Vst3Interface.h"

namespace vst3_host {

// UTF-16 to UTF-8 and back (texts the format passes as String128).
std::string utf8(const vst3::char16* text, std::size_t limit = 128);
void toUtf16(const std::string& text, vst3::char16* out, std::size_t size = 128);

// The host objects below are owned by the host and outlive every use the
// plug-in makes of them: their reference counts only count.

// An IBStream over a byte vector, with a read position.
class MemoryStream final : public vst3::IBStream
{
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : data(std::move(bytes)) {}

    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override;
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }
    vst3::tresult read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override;
    vst3::tresult write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) override;
    vst3::tresult seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) override;
    vst3::tresult tell(vst3::int64* pos) override;

    std::vector<uint8_t> data;
    std::size_t position = 0;
};

// One parameter's points for one process call.
class ParamQueue final : public vst3::IParamValueQueue
{
public:
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override;
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }
    vst3::ParamID getParameterId() override { return id; }
    vst3::int32 getPointCount() override { return static_cast<vst3::int32>(points.size()); }
    vst3::tresult getPoint(vst3::int32 index, vst3::int32& sampleOffset,
                           vst3::ParamValue& value) override;
    vst3::tresult addPoint(vst3::int32 sampleOffset, vst3::ParamValue value,
                           vst3::int32& index) override;

    vst3::ParamID id = 0;
    std::vector<std::pair<vst3::int32, vst3::ParamValue>> points;
};

// The changes of one process call, a queue per parameter in the order the
// parameters were first changed.
class ParamChanges final : public vst3::IParameterChanges
{
public:
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override;
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }
    vst3::int32 getParameterCount() override { return used; }
    vst3::IParamValueQueue* getParameterData(vst3::int32 index) override;
    vst3::IParamValueQueue* addParameterData(const vst3::ParamID& id, vst3::int32& index) override;

    // Adds a point to the parameter's queue (made when missing).
    void add(vst3::ParamID id, vst3::int32 frame, double value);
    // Empties every queue, keeping their storage, so that a host that
    // changes a few parameters a block allocates nothing once warmed up.
    void clear();
    bool empty() const { return used == 0; }

private:
    std::vector<ParamQueue> queues;
    vst3::int32 used = 0;
};

// The component handler: the controller's edits and restart requests,
// counted.
class ComponentHandler final : public vst3::IComponentHandler
{
public:
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override;
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }
    vst3::tresult beginEdit(vst3::ParamID) override { return vst3::kResultOk; }
    vst3::tresult performEdit(vst3::ParamID, vst3::ParamValue) override
    {
        ++edits;
        return vst3::kResultOk;
    }
    vst3::tresult endEdit(vst3::ParamID) override { return vst3::kResultOk; }
    vst3::tresult restartComponent(vst3::int32 flags) override
    {
        restartFlags |= flags;
        ++restarts;
        return vst3::kResultOk;
    }

    int edits = 0;
    int restarts = 0;
    vst3::int32 restartFlags = 0;
};

// The host context given to initialize: its name.
class HostApplication final : public vst3::IHostApplication
{
public:
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override;
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }
    vst3::tresult getName(vst3::String128 name) override;
    // This host makes no messages: component and controller that need them
    // talk through their connection points' other means.
    vst3::tresult createInstance(vst3::TUID&, vst3::TUID&, void** obj) override;
};

// A loaded module and its factory; the module's exit is called and the
// module unloaded when this ends.
class Vst3Module
{
public:
    // `path`: a bundle folder (its Contents/x86_64-linux/ binary) or the
    // binary itself.
    explicit Vst3Module(const std::string& path);
    ~Vst3Module();
    Vst3Module(const Vst3Module&) = delete;
    Vst3Module& operator=(const Vst3Module&) = delete;

    bool loaded() const { return factory != nullptr; }
    // Why it did not load; empty when it did.
    const std::string& error() const { return why; }
    vst3::IPluginFactory* getFactory() const { return factory; }

    // The module's first audio module class: its id, name, vendor and
    // version (the vendor from the factory where the class has none).
    struct ClassInfo
    {
        vst3::TUID id{};
        std::string name;
        std::string vendor;
        std::string version;
        std::string subCategories;
    };
    bool firstAudioModule(ClassInfo* info) const;

private:
    void* handle = nullptr;
    bool entered = false;
    vst3::IPluginFactory* factory = nullptr;
    std::string why;
};

// One plug-in: its audio module and controller, initialised, connected and
// in step (the controller given the component's state); terminated and
// released when this ends.
class Vst3Instance
{
public:
    Vst3Instance(const Vst3Module& module, const vst3::TUID& classId);
    ~Vst3Instance();
    Vst3Instance(const Vst3Instance&) = delete;
    Vst3Instance& operator=(const Vst3Instance&) = delete;

    bool valid() const { return component && processor && controller; }
    // Why it is not valid; empty when it is.
    const std::string& error() const { return why; }

    // Channels of the main audio input and output bus (0 without one).
    int inputChannels() const { return channels[0]; }
    int outputChannels() const { return channels[1]; }

    // Sets the processing up, activates and starts it.
    bool start(double rate, int32_t maxBlock, bool realtime);
    void stop();
    bool isActive() const { return active; }

    // One process call over the main buses with these changes (null: none).
    vst3::tresult process(float** in, float** out, int32_t frames,
                          vst3::IParameterChanges* changes);

    std::vector<uint8_t> saveState();
    bool loadState(const std::vector<uint8_t>& bytes);

    vst3::IComponent* component = nullptr;
    vst3::IAudioProcessor* processor = nullptr;
    vst3::IEditController* controller = nullptr;
    ComponentHandler handler;

private:
    HostApplication application;
    vst3::IConnectionPoint* componentPoint = nullptr;
    vst3::IConnectionPoint* controllerPoint = nullptr;
    // The controller is the component itself (single-component effects).
    bool sameObject = false;
    bool active = false;
    int32_t processMode = vst3::kRealtime;
    int channels[2] = {0, 0};
    std::string why;
};

} // namespace vst3_host
