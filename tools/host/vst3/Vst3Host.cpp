#include "tools/host/vst3/Vst3Host.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace vst3_host {

namespace {

// The folder of a bundle's Linux binary for this processor.
constexpr const char* kBinaryFolder = "Contents/x86_64-linux";

template <typename Interface>
Interface* queryOf(vst3::FUnknown* object, const vst3::TUID& iid)
{
    void* found = nullptr;
    if (!object || object->queryInterface(iid, &found) != vst3::kResultOk)
        return nullptr;
    return static_cast<Interface*>(found);
}

// queryInterface of a host object that is one interface.
vst3::tresult answer(const vst3::TUID& iid, const vst3::TUID& own, void* self, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    if (vst3::sameTuid(&iid, vst3::kFUnknownIid) || vst3::sameTuid(&iid, own)) {
        *obj = self;
        return vst3::kResultOk;
    }
    *obj = nullptr;
    return vst3::kNoInterface;
}

std::string fixedText(const char* text, std::size_t size)
{
    return std::string(text, strnlen(text, size));
}

// The binary of a bundle: Contents/x86_64-linux/<bundle name>.so, or the
// one shared object there.
std::string bundleBinary(const std::filesystem::path& bundle)
{
    namespace fs = std::filesystem;
    const fs::path folder = bundle / kBinaryFolder;
    const fs::path named = folder / (bundle.stem().string() + ".so");
    std::error_code error;
    if (fs::is_regular_file(named, error))
        return named.string();
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".so")
            found.push_back(entry.path());
    return found.size() == 1 ? found.front().string() : std::string();
}

} // namespace

std::string utf8(const vst3::char16* text, std::size_t limit)
{
    std::string out;
    for (std::size_t i = 0; text && i < limit && text[i]; ++i) {
        uint32_t c = text[i];
        // A surrogate pair makes one character beyond the basic plane.
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < limit && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void toUtf16(const std::string& text, vst3::char16* out, std::size_t size)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size() && n + 1 < size;) {
        const auto byte = static_cast<unsigned char>(text[i]);
        uint32_t c = byte;
        int more = 0;
        if (byte >= 0xF0)
            c = byte & 0x07, more = 3;
        else if (byte >= 0xE0)
            c = byte & 0x0F, more = 2;
        else if (byte >= 0xC0)
            c = byte & 0x1F, more = 1;
        ++i;
        for (; more > 0 && i < text.size(); --more, ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        if (c >= 0x10000) {
            if (n + 2 >= size)
                break;
            c -= 0x10000;
            out[n++] = static_cast<vst3::char16>(0xD800 + (c >> 10));
            out[n++] = static_cast<vst3::char16>(0xDC00 + (c & 0x3FF));
        } else {
            out[n++] = static_cast<vst3::char16>(c);
        }
    }
    if (size > 0)
        out[n] = 0;
}

// ---- Host objects

vst3::tresult MemoryStream::queryInterface(const vst3::TUID& iid, void** obj)
{
    return answer(iid, vst3::kIBStreamIid, static_cast<vst3::IBStream*>(this), obj);
}

vst3::tresult MemoryStream::read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead)
{
    const std::size_t available = data.size() - std::min(position, data.size());
    const auto n =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(numBytes, 0)), available);
    if (n > 0)
        std::memcpy(buffer, data.data() + position, n);
    position += n;
    if (numBytesRead)
        *numBytesRead = static_cast<vst3::int32>(n);
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten)
{
    if (numBytes < 0 || (numBytes > 0 && !buffer))
        return vst3::kInvalidArgument;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    data.resize(std::max(data.size(), position + static_cast<std::size_t>(numBytes)));
    std::copy(bytes, bytes + numBytes, data.begin() + static_cast<std::ptrdiff_t>(position));
    position += static_cast<std::size_t>(numBytes);
    if (numBytesWritten)
        *numBytesWritten = numBytes;
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result)
{
    const vst3::int64 base = mode == kIBSeekSet   ? 0
                             : mode == kIBSeekCur ? static_cast<vst3::int64>(position)
                                                  : static_cast<vst3::int64>(data.size());
    const vst3::int64 target = base + pos;
    if (target < 0)
        return vst3::kResultFalse;
    position = static_cast<std::size_t>(target);
    if (result)
        *result = target;
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::tell(vst3::int64* pos)
{
    if (!pos)
        return vst3::kInvalidArgument;
    *pos = static_cast<vst3::int64>(position);
    return vst3::kResultOk;
}

vst3::tresult ParamQueue::queryInterface(const vst3::TUID& iid, void** obj)
{
    return answer(iid, vst3::kIParamValueQueueIid, static_cast<vst3::IParamValueQueue*>(this), obj);
}

vst3::tresult ParamQueue::getPoint(vst3::int32 index, vst3::int32& sampleOffset,
                                   vst3::ParamValue& value)
{
    if (index < 0 || index >= getPointCount())
        return vst3::kInvalidArgument;
    sampleOffset = points[static_cast<std::size_t>(index)].first;
    value = points[static_cast<std::size_t>(index)].second;
    return vst3::kResultOk;
}

vst3::tresult ParamQueue::addPoint(vst3::int32 sampleOffset, vst3::ParamValue value,
                                   vst3::int32& index)
{
    index = getPointCount();
    points.emplace_back(sampleOffset, value);
    return vst3::kResultOk;
}

vst3::tresult ParamChanges::queryInterface(const vst3::TUID& iid, void** obj)
{
    return answer(iid, vst3::kIParameterChangesIid, static_cast<vst3::IParameterChanges*>(this),
                  obj);
}

vst3::IParamValueQueue* ParamChanges::getParameterData(vst3::int32 index)
{
    return index >= 0 && index < used ? &queues[static_cast<std::size_t>(index)] : nullptr;
}

vst3::IParamValueQueue* ParamChanges::addParameterData(const vst3::ParamID& id, vst3::int32& index)
{
    for (vst3::int32 i = 0; i < used; ++i)
        if (queues[static_cast<std::size_t>(i)].id == id) {
            index = i;
            return &queues[static_cast<std::size_t>(i)];
        }
    if (static_cast<std::size_t>(used) == queues.size())
        queues.emplace_back();
    ParamQueue& queue = queues[static_cast<std::size_t>(used)];
    queue.id = id;
    queue.points.clear();
    index = used++;
    return &queue;
}

void ParamChanges::add(vst3::ParamID id, vst3::int32 frame, double value)
{
    vst3::int32 index = 0;
    addParameterData(id, index)->addPoint(frame, value, index);
}

void ParamChanges::clear()
{
    for (vst3::int32 i = 0; i < used; ++i)
        queues[static_cast<std::size_t>(i)].points.clear();
    used = 0;
}

vst3::tresult ComponentHandler::queryInterface(const vst3::TUID& iid, void** obj)
{
    return answer(iid, vst3::kIComponentHandlerIid, static_cast<vst3::IComponentHandler*>(this),
                  obj);
}

vst3::tresult HostApplication::queryInterface(const vst3::TUID& iid, void** obj)
{
    return answer(iid, vst3::kIHostApplicationIid, static_cast<vst3::IHostApplication*>(this), obj);
}

vst3::tresult HostApplication::getName(vst3::String128 name)
{
    if (!name)
        return vst3::kInvalidArgument;
    toUtf16("plugin-host", name);
    return vst3::kResultOk;
}

vst3::tresult HostApplication::createInstance(vst3::TUID&, vst3::TUID&, void** obj)
{
    if (obj)
        *obj = nullptr;
    return vst3::kNotImplemented;
}

// ---- Module

Vst3Module::Vst3Module(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    std::string binary = path;
    if (fs::is_directory(path, error)) {
        binary = bundleBinary(path);
        if (binary.empty()) {
            why = path + " is not a VST3 bundle (no binary in " + kBinaryFolder + ")";
            return;
        }
    } else if (!fs::exists(path, error)) {
        why = path + " does not exist";
        return;
    }
    handle = dlopen(binary.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* e = dlerror();
        why = e ? e : "cannot load " + binary;
        return;
    }
    auto get = reinterpret_cast<vst3::GetFactoryProc>(dlsym(handle, "GetPluginFactory"));
    if (!get) {
        why = binary + " has no GetPluginFactory: not a VST3 module";
        return;
    }
    auto entry = reinterpret_cast<vst3::ModuleEntryProc>(dlsym(handle, "ModuleEntry"));
    if (entry && !entry(handle)) {
        why = binary + ": the module's entry refused to start";
        return;
    }
    entered = entry != nullptr;
    factory = get();
    if (!factory)
        why = binary + ": the module gave no factory";
}

Vst3Module::~Vst3Module()
{
    if (factory)
        factory->release();
    if (entered)
        if (auto exit = reinterpret_cast<vst3::ModuleExitProc>(dlsym(handle, "ModuleExit")))
            exit();
    if (handle)
        dlclose(handle);
}

bool Vst3Module::firstAudioModule(ClassInfo* info) const
{
    if (!factory)
        return false;
    vst3::PFactoryInfo factoryInfo{};
    const std::string factoryVendor = factory->getFactoryInfo(&factoryInfo) == vst3::kResultOk
                                          ? fixedText(factoryInfo.vendor, sizeof factoryInfo.vendor)
                                          : std::string();
    auto* factory2 = queryOf<vst3::IPluginFactory2>(factory, vst3::kIPluginFactory2Iid);
    auto* factory3 = queryOf<vst3::IPluginFactory3>(factory, vst3::kIPluginFactory3Iid);
    bool found = false;
    for (vst3::int32 i = 0; i < factory->countClasses() && !found; ++i) {
        vst3::PClassInfo plain{};
        if (factory->getClassInfo(i, &plain) != vst3::kResultOk ||
            fixedText(plain.category, sizeof plain.category) != vst3::kVstAudioEffectClass)
            continue;
        found = true;
        *info = {};
        info->id = plain.cid;
        info->name = fixedText(plain.name, sizeof plain.name);
        info->vendor = factoryVendor;
        vst3::PClassInfoW wide{};
        vst3::PClassInfo2 narrow{};
        if (factory3 && factory3->getClassInfoUnicode(i, &wide) == vst3::kResultOk) {
            info->name = utf8(wide.name, vst3::PClassInfo::kNameSize);
            if (wide.vendor[0])
                info->vendor = utf8(wide.vendor, vst3::PClassInfo2::kVendorSize);
            info->version = utf8(wide.version, vst3::PClassInfo2::kVersionSize);
            info->subCategories = fixedText(wide.subCategories, sizeof wide.subCategories);
        } else if (factory2 && factory2->getClassInfo2(i, &narrow) == vst3::kResultOk) {
            if (narrow.vendor[0])
                info->vendor = fixedText(narrow.vendor, sizeof narrow.vendor);
            info->version = fixedText(narrow.version, sizeof narrow.version);
            info->subCategories = fixedText(narrow.subCategories, sizeof narrow.subCategories);
        }
    }
    if (factory2)
        factory2->release();
    if (factory3)
        factory3->release();
    return found;
}

// ---- Instance

Vst3Instance::Vst3Instance(const Vst3Module& module, const vst3::TUID& classId)
{
    vst3::IPluginFactory* factory = module.getFactory();
    void* made = nullptr;
    if (!factory ||
        factory->createInstance(classId.bytes, vst3::kIComponentIid.bytes, &made) !=
            vst3::kResultOk ||
        !made) {
        why = "the factory made no audio module";
        return;
    }
    component = static_cast<vst3::IComponent*>(made);
    if (component->initialize(&application) != vst3::kResultOk) {
        why = "the audio module refused to initialise";
        component->release();
        component = nullptr;
        return;
    }
    processor = queryOf<vst3::IAudioProcessor>(component, vst3::kIAudioProcessorIid);
    // A single-component effect is its own controller; otherwise the
    // controller is a class of its own, made and initialised beside it.
    controller = queryOf<vst3::IEditController>(component, vst3::kIEditControllerIid);
    sameObject = controller != nullptr;
    vst3::TUID controllerId{};
    if (!controller && component->getControllerClassId(controllerId) == vst3::kResultOk &&
        factory->createInstance(controllerId.bytes, vst3::kIEditControllerIid.bytes, &made) ==
            vst3::kResultOk &&
        made) {
        controller = static_cast<vst3::IEditController*>(made);
        if (controller->initialize(&application) != vst3::kResultOk) {
            controller->release();
            controller = nullptr;
        }
    }
    if (!processor || !controller) {
        why = processor ? "the plug-in has no edit controller"
                        : "the audio module processes no audio";
        return;
    }
    if (!sameObject) {
        componentPoint = queryOf<vst3::IConnectionPoint>(component, vst3::kIConnectionPointIid);
        controllerPoint = queryOf<vst3::IConnectionPoint>(controller, vst3::kIConnectionPointIid);
        if (componentPoint && controllerPoint) {
            componentPoint->connect(controllerPoint);
            controllerPoint->connect(componentPoint);
        }
    }
    controller->setComponentHandler(&handler);
    // The controller starts in step with the audio module's state.
    MemoryStream state;
    if (component->getState(&state) == vst3::kResultOk) {
        state.position = 0;
        controller->setComponentState(&state);
    }

    for (const vst3::BusDirection direction : {vst3::kInput, vst3::kOutput}) {
        if (component->getBusCount(vst3::kAudio, direction) < 1)
            continue;
        vst3::BusInfo bus{};
        if (component->getBusInfo(vst3::kAudio, direction, 0, bus) == vst3::kResultOk)
            channels[direction == vst3::kInput ? 0 : 1] = std::max(bus.channelCount, 0);
        component->activateBus(vst3::kAudio, direction, 0, 1);
    }
}

Vst3Instance::~Vst3Instance()
{
    if (active)
        stop();
    if (componentPoint && controllerPoint) {
        componentPoint->disconnect(controllerPoint);
        controllerPoint->disconnect(componentPoint);
    }
    if (componentPoint)
        componentPoint->release();
    if (controllerPoint)
        controllerPoint->release();
    if (controller) {
        controller->setComponentHandler(nullptr);
        if (!sameObject)
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

bool Vst3Instance::start(double rate, int32_t maxBlock, bool realtime)
{
    if (!valid())
        return false;
    if (active)
        stop();
    processMode = realtime ? vst3::kRealtime : vst3::kOffline;
    vst3::ProcessSetup setup{processMode, vst3::kSample32, maxBlock, rate};
    if (processor->setupProcessing(setup) != vst3::kResultOk)
        return false;
    active = component->setActive(1) == vst3::kResultOk;
    if (active)
        processor->setProcessing(1);
    return active;
}

void Vst3Instance::stop()
{
    if (!active)
        return;
    processor->setProcessing(0);
    component->setActive(0);
    active = false;
}

vst3::tresult Vst3Instance::process(float** in, float** out, int32_t frames,
                                    vst3::IParameterChanges* changes)
{
    vst3::AudioBusBuffers inBus{};
    vst3::AudioBusBuffers outBus{};
    inBus.numChannels = channels[0];
    inBus.channelBuffers32 = in;
    outBus.numChannels = channels[1];
    outBus.channelBuffers32 = out;
    vst3::ProcessData data{};
    data.processMode = processMode;
    data.symbolicSampleSize = vst3::kSample32;
    data.numSamples = frames;
    data.numInputs = channels[0] > 0 ? 1 : 0;
    data.numOutputs = channels[1] > 0 ? 1 : 0;
    data.inputs = channels[0] > 0 ? &inBus : nullptr;
    data.outputs = channels[1] > 0 ? &outBus : nullptr;
    data.inputParameterChanges = changes;
    return processor->process(data);
}

std::vector<uint8_t> Vst3Instance::saveState()
{
    MemoryStream stream;
    if (!valid() || component->getState(&stream) != vst3::kResultOk)
        return {};
    return stream.data;
}

bool Vst3Instance::loadState(const std::vector<uint8_t>& bytes)
{
    if (!valid())
        return false;
    MemoryStream stream(bytes);
    if (component->setState(&stream) != vst3::kResultOk)
        return false;
    stream.position = 0;
    controller->setComponentState(&stream);
    return true;
}

} // namespace vst3_host
