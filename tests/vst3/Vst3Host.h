// A small VST3 host for the tests: the bundle's module loaded as hosts load
// it (its entry points called around the factory), the audio module and its
// edit controller made, initialised and connected, and the host's side of
// the interfaces the plug-in calls: streams, parameter queues, the component
// handler, and for the window an IPlugFrame with a run loop the test drives.
// Host objects live on the test's stack: their reference counts only count.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "product/VantelorDescription.h"
#include "tests/support/PluginModule.h"
#include "vst3/Vst3Interface.h"

namespace vantelor_vst3_test {

// ---- Host objects

// An IBStream over a byte vector, with a read position.
class MemoryStream final : public vst3::IBStream
{
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : data(std::move(bytes)) {}

    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override
    {
        if (vst3::sameTuid(&iid, vst3::kFUnknownIid) || vst3::sameTuid(&iid, vst3::kIBStreamIid)) {
            *obj = this;
            return vst3::kResultOk;
        }
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }

    vst3::tresult read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override
    {
        const auto n = static_cast<vst3::int32>(
            std::min<size_t>(static_cast<size_t>(std::max(numBytes, 0)), data.size() - position));
        if (n > 0)
            std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
        position += static_cast<size_t>(n);
        if (numBytesRead)
            *numBytesRead = n;
        return vst3::kResultOk;
    }
    vst3::tresult write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) override
    {
        if (numBytes < 0)
            return vst3::kInvalidArgument;
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        data.resize(std::max(data.size(), position + static_cast<size_t>(numBytes)));
        std::copy(bytes, bytes + numBytes, data.begin() + static_cast<std::ptrdiff_t>(position));
        position += static_cast<size_t>(numBytes);
        if (numBytesWritten)
            *numBytesWritten = numBytes;
        return vst3::kResultOk;
    }
    vst3::tresult seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) override
    {
        const vst3::int64 base = mode == kIBSeekSet   ? 0
                                 : mode == kIBSeekCur ? static_cast<vst3::int64>(position)
                                                      : static_cast<vst3::int64>(data.size());
        const vst3::int64 target = base + pos;
        if (target < 0)
            return vst3::kResultFalse;
        position = static_cast<size_t>(target);
        if (result)
            *result = target;
        return vst3::kResultOk;
    }
    vst3::tresult tell(vst3::int64* pos) override
    {
        if (!pos)
            return vst3::kInvalidArgument;
        *pos = static_cast<vst3::int64>(position);
        return vst3::kResultOk;
    }

    std::vector<uint8_t> data;
    size_t position = 0;
};

class ParamQueue final : public vst3::IParamValueQueue
{
public:
    explicit ParamQueue(vst3::ParamID id) : id(id) {}

    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override
    {
        if (vst3::sameTuid(&iid, vst3::kFUnknownIid) ||
            vst3::sameTuid(&iid, vst3::kIParamValueQueueIid)) {
            *obj = this;
            return vst3::kResultOk;
        }
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }

    vst3::ParamID getParameterId() override { return id; }
    vst3::int32 getPointCount() override { return static_cast<vst3::int32>(points.size()); }
    vst3::tresult getPoint(vst3::int32 index, vst3::int32& sampleOffset,
                           vst3::ParamValue& value) override
    {
        if (index < 0 || index >= getPointCount())
            return vst3::kInvalidArgument;
        sampleOffset = points[static_cast<size_t>(index)].first;
        value = points[static_cast<size_t>(index)].second;
        return vst3::kResultOk;
    }
    vst3::tresult addPoint(vst3::int32 sampleOffset, vst3::ParamValue value,
                           vst3::int32& index) override
    {
        index = getPointCount();
        points.emplace_back(sampleOffset, value);
        return vst3::kResultOk;
    }

    vst3::ParamID id;
    std::vector<std::pair<vst3::int32, vst3::ParamValue>> points;
};

class ParamChanges final : public vst3::IParameterChanges
{
public:
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override
    {
        if (vst3::sameTuid(&iid, vst3::kFUnknownIid) ||
            vst3::sameTuid(&iid, vst3::kIParameterChangesIid)) {
            *obj = this;
            return vst3::kResultOk;
        }
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }

    vst3::int32 getParameterCount() override { return static_cast<vst3::int32>(queues.size()); }
    vst3::IParamValueQueue* getParameterData(vst3::int32 index) override
    {
        return index >= 0 && index < getParameterCount() ? &queues[static_cast<size_t>(index)]
                                                         : nullptr;
    }
    vst3::IParamValueQueue* addParameterData(const vst3::ParamID& id, vst3::int32& index) override
    {
        for (size_t i = 0; i < queues.size(); ++i)
            if (queues[i].id == id) {
                index = static_cast<vst3::int32>(i);
                return &queues[i];
            }
        index = getParameterCount();
        queues.emplace_back(id);
        return &queues.back();
    }

    // Adds a point to the parameter's queue (made when missing).
    void add(vst3::ParamID id, vst3::int32 frame, double value)
    {
        vst3::int32 index = 0;
        addParameterData(id, index)->addPoint(frame, value, index);
    }
    void clear() { queues.clear(); }

    std::vector<ParamQueue> queues;
};

// Records the controller's calls as text: "begin3", "perform3=0.25", "end3",
// "restart4".
class RecordingHandler final : public vst3::IComponentHandler
{
public:
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override
    {
        if (vst3::sameTuid(&iid, vst3::kFUnknownIid) ||
            vst3::sameTuid(&iid, vst3::kIComponentHandlerIid)) {
            *obj = this;
            return vst3::kResultOk;
        }
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    vst3::uint32 addRef() override { return ++references; }
    vst3::uint32 release() override { return --references; }

    vst3::tresult beginEdit(vst3::ParamID id) override
    {
        calls.push_back("begin" + std::to_string(id));
        return vst3::kResultOk;
    }
    vst3::tresult performEdit(vst3::ParamID id, vst3::ParamValue value) override
    {
        calls.push_back("perform" + std::to_string(id));
        values.emplace_back(id, value);
        return vst3::kResultOk;
    }
    vst3::tresult endEdit(vst3::ParamID id) override
    {
        calls.push_back("end" + std::to_string(id));
        return vst3::kResultOk;
    }
    vst3::tresult restartComponent(vst3::int32 flags) override
    {
        calls.push_back("restart" + std::to_string(flags));
        return vst3::kResultOk;
    }

    std::vector<std::string> calls;
    std::vector<std::pair<vst3::ParamID, double>> values;
    int references = 0;
};

// A run loop the test drives: it remembers the registered handlers and
// calls them when the test says so.
class TestRunLoop final : public vst3::IRunLoop
{
public:
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override
    {
        if (vst3::sameTuid(&iid, vst3::kFUnknownIid) || vst3::sameTuid(&iid, vst3::kIRunLoopIid)) {
            *obj = this;
            addRef();
            return vst3::kResultOk;
        }
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    vst3::uint32 addRef() override { return ++references; }
    vst3::uint32 release() override { return --references; }

    vst3::tresult registerEventHandler(vst3::IEventHandler* handler,
                                       vst3::FileDescriptor fd) override
    {
        if (!handler)
            return vst3::kInvalidArgument;
        handlers.emplace_back(handler, fd);
        return vst3::kResultOk;
    }
    vst3::tresult unregisterEventHandler(vst3::IEventHandler* handler) override
    {
        const auto before = handlers.size();
        handlers.erase(std::remove_if(handlers.begin(), handlers.end(),
                                      [&](const auto& h) { return h.first == handler; }),
                       handlers.end());
        return handlers.size() < before ? vst3::kResultOk : vst3::kInvalidArgument;
    }
    vst3::tresult registerTimer(vst3::ITimerHandler* handler, vst3::TimerInterval) override
    {
        if (!handler)
            return vst3::kInvalidArgument;
        timers.push_back(handler);
        return vst3::kResultOk;
    }
    vst3::tresult unregisterTimer(vst3::ITimerHandler* handler) override
    {
        const auto before = timers.size();
        timers.erase(std::remove(timers.begin(), timers.end(), handler), timers.end());
        return timers.size() < before ? vst3::kResultOk : vst3::kInvalidArgument;
    }

    // One turn of the loop: every event handler (as if its descriptor were
    // readable) and every timer.
    void turn()
    {
        for (auto handler : std::vector(handlers))
            handler.first->onFDIsSet(handler.second);
        for (auto* timer : std::vector(timers))
            timer->onTimer();
    }

    std::vector<std::pair<vst3::IEventHandler*, vst3::FileDescriptor>> handlers;
    std::vector<vst3::ITimerHandler*> timers;
    int references = 0;
};

// The host's frame around the view, offering the run loop.
class TestPlugFrame final : public vst3::IPlugFrame
{
public:
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override
    {
        if (vst3::sameTuid(&iid, vst3::kFUnknownIid) ||
            vst3::sameTuid(&iid, vst3::kIPlugFrameIid)) {
            *obj = this;
            addRef();
            return vst3::kResultOk;
        }
        if (offerRunLoop && vst3::sameTuid(&iid, vst3::kIRunLoopIid))
            return runLoop.queryInterface(iid, obj);
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    vst3::uint32 addRef() override { return ++references; }
    vst3::uint32 release() override { return --references; }

    vst3::tresult resizeView(vst3::IPlugView*, vst3::ViewRect* size) override
    {
        if (!size)
            return vst3::kInvalidArgument;
        resizes.push_back(*size);
        return vst3::kResultOk;
    }

    TestRunLoop runLoop;
    // Linux hosts lend their run loop; Windows hosts have none.
    bool offerRunLoop = true;
    std::vector<vst3::ViewRect> resizes;
    int references = 0;
};

// ---- The module and an instance

// The bundle's binary as a host loads it; the module's entry and exit
// calls around the factory.
class Vst3Module
{
public:
    explicit Vst3Module(const char* path) : module(path)
    {
        if (!module.loaded())
            return;
#if defined(_WIN32)
        auto init = reinterpret_cast<bool (*)()>(module.symbol("InitDll"));
        entered = init && init();
#else
        auto entry = reinterpret_cast<vst3::ModuleEntryProc>(module.symbol("ModuleEntry"));
        entered = entry && entry(module.handle());
#endif
        auto get = reinterpret_cast<vst3::GetFactoryProc>(module.symbol("GetPluginFactory"));
        factory = entered && get ? get() : nullptr;
    }
    ~Vst3Module()
    {
        if (factory)
            factory->release();
        if (!entered)
            return;
#if defined(_WIN32)
        if (auto exit = reinterpret_cast<bool (*)()>(module.symbol("ExitDll")))
            exit();
#else
        if (auto exit = reinterpret_cast<vst3::ModuleExitProc>(module.symbol("ModuleExit")))
            exit();
#endif
    }
    Vst3Module(const Vst3Module&) = delete;
    Vst3Module& operator=(const Vst3Module&) = delete;

    const std::string& error() const
    {
        return module.error();
    }

    vantelor_test::PluginModule module;
    bool entered = false;
    vst3::IPluginFactory* factory = nullptr;
};

template <typename Interface>
Interface* queryOf(vst3::FUnknown* object, const vst3::TUID& iid)
{
    void* found = nullptr;
    if (!object || object->queryInterface(iid, &found) != vst3::kResultOk)
        return nullptr;
    return static_cast<Interface*>(found);
}

// One plug-in: the audio module and its controller, initialised and
// connected, the controller given the handler; terminated and released
// when this ends.
class Vst3Instance
{
public:
    explicit Vst3Instance(vst3::IPluginFactory* factory)
    {
        if (!factory)
            return;
        const vst3::TUID processorId = vst3::makeTuid(
            vantelor::kVst3ProcessorId.words[0], vantelor::kVst3ProcessorId.words[1],
            vantelor::kVst3ProcessorId.words[2], vantelor::kVst3ProcessorId.words[3]);
        void* made = nullptr;
        if (factory->createInstance(processorId.bytes, vst3::kIComponentIid.bytes, &made) !=
            vst3::kResultOk)
            return;
        component = static_cast<vst3::IComponent*>(made);
        processor = queryOf<vst3::IAudioProcessor>(component, vst3::kIAudioProcessorIid);
        vst3::TUID controllerId{};
        component->getControllerClassId(controllerId);
        if (factory->createInstance(controllerId.bytes, vst3::kIEditControllerIid.bytes, &made) !=
            vst3::kResultOk)
            return;
        controller = static_cast<vst3::IEditController*>(made);
        component->initialize(nullptr);
        controller->initialize(nullptr);
        componentPoint = queryOf<vst3::IConnectionPoint>(component, vst3::kIConnectionPointIid);
        controllerPoint = queryOf<vst3::IConnectionPoint>(controller, vst3::kIConnectionPointIid);
        if (componentPoint && controllerPoint) {
            componentPoint->connect(controllerPoint);
            controllerPoint->connect(componentPoint);
        }
        controller->setComponentHandler(&handler);
    }
    ~Vst3Instance()
    {
        if (active)
            component->setActive(false);
        if (componentPoint && controllerPoint) {
            componentPoint->disconnect(controllerPoint);
            controllerPoint->disconnect(componentPoint);
        }
        for (vst3::FUnknown* point : {static_cast<vst3::FUnknown*>(componentPoint),
                                      static_cast<vst3::FUnknown*>(controllerPoint)})
            if (point)
                point->release();
        if (controller) {
            controller->setComponentHandler(nullptr);
            controller->terminate();
            controller->release();
        }
        if (processor)
            processor->release();
        if (component) {
            component->terminate();
            component->release();
        }
    }
    Vst3Instance(const Vst3Instance&) = delete;
    Vst3Instance& operator=(const Vst3Instance&) = delete;

    bool ok() const { return component && processor && controller; }

    // Sets the processing up and activates it.
    bool start(double rate, int32_t maxBlock = 8192)
    {
        vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, maxBlock, rate};
        if (processor->setupProcessing(setup) != vst3::kResultOk)
            return false;
        active = component->setActive(true) == vst3::kResultOk;
        processor->setProcessing(true);
        return active;
    }
    void stop()
    {
        processor->setProcessing(false);
        component->setActive(false);
        active = false;
    }

    // One process call over stereo buffers (null: no bus) with the changes.
    vst3::tresult process(float** in, float** out, int32_t frames,
                          vst3::IParameterChanges* changes = nullptr)
    {
        vst3::AudioBusBuffers inBus{};
        vst3::AudioBusBuffers outBus{};
        inBus.numChannels = 2;
        inBus.channelBuffers32 = in;
        outBus.numChannels = 2;
        outBus.channelBuffers32 = out;
        vst3::ProcessData data{};
        data.processMode = vst3::kRealtime;
        data.symbolicSampleSize = vst3::kSample32;
        data.numSamples = frames;
        data.numInputs = in ? 1 : 0;
        data.numOutputs = out ? 1 : 0;
        data.inputs = in ? &inBus : nullptr;
        data.outputs = out ? &outBus : nullptr;
        data.inputParameterChanges = changes;
        return processor->process(data);
    }

    std::vector<uint8_t> state()
    {
        MemoryStream stream;
        component->getState(&stream);
        return stream.data;
    }
    vst3::tresult setState(const std::vector<uint8_t>& bytes)
    {
        MemoryStream stream(bytes);
        return component->setState(&stream);
    }

    vst3::IComponent* component = nullptr;
    vst3::IAudioProcessor* processor = nullptr;
    vst3::IEditController* controller = nullptr;
    vst3::IConnectionPoint* componentPoint = nullptr;
    vst3::IConnectionPoint* controllerPoint = nullptr;
    RecordingHandler handler;
    bool active = false;
};

// UTF-16 field to std::string (ASCII).
inline std::string ascii(const vst3::char16* text)
{
    std::string out;
    for (; text && *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

inline void toUtf16(const char* text, vst3::String128 out)
{
    size_t i = 0;
    for (; text[i] && i < 127; ++i)
        out[i] = static_cast<vst3::char16>(static_cast<unsigned char>(text[i]));
    out[i] = 0;
}

} // namespace vantelor_vst3_test
