// VST3 binary interface: the interfaces, their ids, the records that cross
// the boundary and the constants, written from the format's documentation.
// Only what the plug-in, its window and our test hosts use; grouped by
// interface in the order the format defines their methods, since the order
// of a class's virtual functions is its binary layout.
//
// An interface is a class of pure virtual functions with no data and no
// virtual destructor, so that its table holds exactly the format's methods.
// The calling convention is the platform's default: on x86-64 Windows and
// Linux there is only one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vst3 {

// ---- Basic types

using int8 = int8_t;
using int16 = int16_t;
using int32 = int32_t;
using int64 = int64_t;
using uint32 = uint32_t;
using uint64 = uint64_t;
using char8 = char;
using char16 = char16_t;
using TBool = uint8_t;
using tresult = int32_t;
// A nul-terminated ASCII identifier: interface ids passed as text, view
// types, message and attribute ids.
using FIDString = const char8*;

using TChar = char16;
// A UTF-16 text of at most 127 characters and a terminator.
using String128 = TChar[128];

using ParamID = uint32;
using ParamValue = double;
using UnitID = int32;
using ProgramListID = int32;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using SpeakerArrangement = uint64;
using SampleRate = double;
using Sample32 = float;
using Sample64 = double;
using FileDescriptor = int;
using TimerInterval = uint64;

// Result codes. Windows uses the COM values so that its COM tools read them;
// every other platform uses small numbers.
#if defined(_WIN32)
inline constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
inline constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
inline constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
inline constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
inline constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
inline constexpr tresult kNoInterface = -1;
inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kInvalidArgument = 2;
inline constexpr tresult kNotImplemented = 3;
inline constexpr tresult kInternalError = 4;
inline constexpr tresult kNotInitialized = 5;
inline constexpr tresult kOutOfMemory = 6;
#endif
inline constexpr tresult kResultTrue = kResultOk;

// ---- Class and interface ids

// A 16-byte id. Its text form is four 32-bit words; Windows lays the bytes
// out as a COM GUID (the first word, then two 16-bit halves of the second,
// each little-endian, then the rest in text order), every other platform
// in text order.
struct TUID
{
    char8 bytes[16];
};
static_assert(sizeof(TUID) == 16);

constexpr TUID makeTuid(uint32 w1, uint32 w2, uint32 w3, uint32 w4)
{
    TUID id{};
    auto put = [&id](int at, uint32 word, int shift) {
        id.bytes[at] = static_cast<char8>((word >> shift) & 0xFFu);
    };
#if defined(_WIN32)
    put(0, w1, 0), put(1, w1, 8), put(2, w1, 16), put(3, w1, 24);
    put(4, w2, 16), put(5, w2, 24), put(6, w2, 0), put(7, w2, 8);
#else
    put(0, w1, 24), put(1, w1, 16), put(2, w1, 8), put(3, w1, 0);
    put(4, w2, 24), put(5, w2, 16), put(6, w2, 8), put(7, w2, 0);
#endif
    put(8, w3, 24), put(9, w3, 16), put(10, w3, 8), put(11, w3, 0);
    put(12, w4, 24), put(13, w4, 16), put(14, w4, 8), put(15, w4, 0);
    return id;
}

// Ids arrive as raw 16-byte pointers (queryInterface, createInstance).
inline bool sameTuid(const void* a, const TUID& b)
{
    return a && std::memcmp(a, b.bytes, sizeof b.bytes) == 0;
}

// ---- FUnknown: reference counting and interface queries

class FUnknown
{
public:
    virtual tresult queryInterface(const TUID& iid, void** obj) = 0;
    virtual uint32 addRef() = 0;
    virtual uint32 release() = 0;

protected:
    ~FUnknown() = default;
};
inline constexpr TUID kFUnknownIid = makeTuid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

// ---- IPluginBase: the first and last call of every class's life

class IPluginBase : public FUnknown
{
public:
    virtual tresult initialize(FUnknown* context) = 0;
    virtual tresult terminate() = 0;

protected:
    ~IPluginBase() = default;
};
inline constexpr TUID kIPluginBaseIid = makeTuid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);

// ---- IPluginFactory, 2, 3: the module's classes

struct PFactoryInfo
{
    enum : int32
    {
        kNoFlags = 0,
        // The module's strings are UTF-16 (always so for VST3).
        kUnicode = 1 << 4,
    };
    static constexpr int kNameSize = 64;
    static constexpr int kURLSize = 256;
    static constexpr int kEmailSize = 128;
    char8 vendor[kNameSize];
    char8 url[kURLSize];
    char8 email[kEmailSize];
    int32 flags;
};
static_assert(sizeof(PFactoryInfo) == 452);

struct PClassInfo
{
    static constexpr int32 kManyInstances = 0x7FFFFFFF;
    static constexpr int kCategorySize = 32;
    static constexpr int kNameSize = 64;
    TUID cid;
    int32 cardinality;
    char8 category[kCategorySize];
    char8 name[kNameSize];
};
static_assert(sizeof(PClassInfo) == 116);

struct PClassInfo2
{
    static constexpr int kVendorSize = 64;
    static constexpr int kVersionSize = 64;
    static constexpr int kSubCategoriesSize = 128;
    TUID cid;
    int32 cardinality;
    char8 category[PClassInfo::kCategorySize];
    char8 name[PClassInfo::kNameSize];
    uint32 classFlags;
    char8 subCategories[kSubCategoriesSize];
    char8 vendor[kVendorSize];
    char8 version[kVersionSize];
    char8 sdkVersion[kVersionSize];
};
static_assert(sizeof(PClassInfo2) == 440);

struct PClassInfoW
{
    TUID cid;
    int32 cardinality;
    char8 category[PClassInfo::kCategorySize];
    char16 name[PClassInfo::kNameSize];
    uint32 classFlags;
    char8 subCategories[PClassInfo2::kSubCategoriesSize];
    char16 vendor[PClassInfo2::kVendorSize];
    char16 version[PClassInfo2::kVersionSize];
    char16 sdkVersion[PClassInfo2::kVersionSize];
};
static_assert(sizeof(PClassInfoW) == 696);
static_assert(offsetof(PClassInfoW, classFlags) == 180);

class IPluginFactory : public FUnknown
{
public:
    virtual tresult getFactoryInfo(PFactoryInfo* info) = 0;
    virtual int32 countClasses() = 0;
    virtual tresult getClassInfo(int32 index, PClassInfo* info) = 0;
    virtual tresult createInstance(FIDString cid, FIDString iid, void** obj) = 0;

protected:
    ~IPluginFactory() = default;
};
inline constexpr TUID kIPluginFactoryIid = makeTuid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);

class IPluginFactory2 : public IPluginFactory
{
public:
    virtual tresult getClassInfo2(int32 index, PClassInfo2* info) = 0;

protected:
    ~IPluginFactory2() = default;
};
inline constexpr TUID kIPluginFactory2Iid =
    makeTuid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);

class IPluginFactory3 : public IPluginFactory2
{
public:
    virtual tresult getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
    virtual tresult setHostContext(FUnknown* context) = 0;

protected:
    ~IPluginFactory3() = default;
};
inline constexpr TUID kIPluginFactory3Iid =
    makeTuid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);

// Class categories.
inline constexpr const char* kVstAudioEffectClass = "Audio Module Class";
inline constexpr const char* kVstComponentControllerClass = "Component Controller Class";
// PClassInfo2::classFlags of an audio module: it may run on another
// computer than its controller.
inline constexpr uint32 kDistributable = 1 << 0;
// The interface version the classes report, in the form hosts sort by.
inline constexpr const char* kVstVersionString = "VST 3.7.14";

// ---- IBStream: the host's state streams

class IBStream : public FUnknown
{
public:
    enum : int32
    {
        kIBSeekSet = 0,
        kIBSeekCur,
        kIBSeekEnd,
    };
    virtual tresult read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
    virtual tresult write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
    virtual tresult seek(int64 pos, int32 mode, int64* result) = 0;
    virtual tresult tell(int64* pos) = 0;

protected:
    ~IBStream() = default;
};
inline constexpr TUID kIBStreamIid = makeTuid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);

// ---- IComponent: the audio module's buses, activity and state

enum MediaTypes : int32
{
    kAudio = 0,
    kEvent,
};
enum BusDirections : int32
{
    kInput = 0,
    kOutput,
};
enum BusTypes : int32
{
    kMain = 0,
    kAux,
};

struct BusInfo
{
    // A bus the host activates by default.
    static constexpr uint32 kDefaultActive = 1 << 0;
    MediaType mediaType;
    BusDirection direction;
    int32 channelCount;
    String128 name;
    BusType busType;
    uint32 flags;
};
static_assert(sizeof(BusInfo) == 276);

struct RoutingInfo
{
    MediaType mediaType;
    int32 busIndex;
    int32 channel;
};
static_assert(sizeof(RoutingInfo) == 12);

class IComponent : public IPluginBase
{
public:
    virtual tresult getControllerClassId(TUID& classId) = 0;
    virtual tresult setIoMode(IoMode mode) = 0;
    virtual int32 getBusCount(MediaType type, BusDirection dir) = 0;
    virtual tresult getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) = 0;
    virtual tresult getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
    virtual tresult activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
    virtual tresult setActive(TBool state) = 0;
    virtual tresult setState(IBStream* state) = 0;
    virtual tresult getState(IBStream* state) = 0;

protected:
    ~IComponent() = default;
};
inline constexpr TUID kIComponentIid = makeTuid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);

// ---- IParamValueQueue, IParameterChanges: parameter changes with the audio

class IParamValueQueue : public FUnknown
{
public:
    virtual ParamID getParameterId() = 0;
    virtual int32 getPointCount() = 0;
    virtual tresult getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
    virtual tresult addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;

protected:
    ~IParamValueQueue() = default;
};
inline constexpr TUID kIParamValueQueueIid =
    makeTuid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);

class IParameterChanges : public FUnknown
{
public:
    virtual int32 getParameterCount() = 0;
    virtual IParamValueQueue* getParameterData(int32 index) = 0;
    virtual IParamValueQueue* addParameterData(const ParamID& id, int32& index) = 0;

protected:
    ~IParameterChanges() = default;
};
inline constexpr TUID kIParameterChangesIid =
    makeTuid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);

// ---- IAudioProcessor: processing setup and the process call

// Speaker arrangements: a bit per speaker.
inline constexpr SpeakerArrangement kSpeakerL = 1 << 0;
inline constexpr SpeakerArrangement kSpeakerR = 1 << 1;
inline constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;

enum SymbolicSampleSizes : int32
{
    kSample32 = 0,
    kSample64,
};
enum ProcessModes : int32
{
    kRealtime = 0,
    kPrefetch,
    kOffline,
};
// getTailSamples: no tail.
inline constexpr uint32 kNoTail = 0;

struct ProcessSetup
{
    int32 processMode;
    int32 symbolicSampleSize;
    int32 maxSamplesPerBlock;
    SampleRate sampleRate;
};
static_assert(sizeof(ProcessSetup) == 24 && offsetof(ProcessSetup, sampleRate) == 16);

struct AudioBusBuffers
{
    int32 numChannels;
    // A bit per channel that is silent.
    uint64 silenceFlags;
    union
    {
        Sample32** channelBuffers32;
        Sample64** channelBuffers64;
    };
};
static_assert(sizeof(AudioBusBuffers) == 24 && offsetof(AudioBusBuffers, channelBuffers32) == 16);

class IEventList;
struct ProcessContext;

struct ProcessData
{
    int32 processMode;
    int32 symbolicSampleSize;
    int32 numSamples;
    int32 numInputs;
    int32 numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};
static_assert(sizeof(ProcessData) == 80 && offsetof(ProcessData, inputs) == 24);

class IAudioProcessor : public FUnknown
{
public:
    virtual tresult setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                       SpeakerArrangement* outputs, int32 numOuts) = 0;
    virtual tresult getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) = 0;
    virtual tresult canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 getLatencySamples() = 0;
    virtual tresult setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult setProcessing(TBool state) = 0;
    virtual tresult process(ProcessData& data) = 0;
    virtual uint32 getTailSamples() = 0;

protected:
    ~IAudioProcessor() = default;
};
inline constexpr TUID kIAudioProcessorIid =
    makeTuid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

class IProcessContextRequirements : public FUnknown
{
public:
    virtual uint32 getProcessContextRequirements() = 0;

protected:
    ~IProcessContextRequirements() = default;
};
inline constexpr TUID kIProcessContextRequirementsIid =
    makeTuid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);

// ---- IAttributeList, IMessage, IConnectionPoint: component <-> controller

using AttrID = const char8*;

class IAttributeList : public FUnknown
{
public:
    virtual tresult setInt(AttrID id, int64 value) = 0;
    virtual tresult getInt(AttrID id, int64& value) = 0;
    virtual tresult setFloat(AttrID id, double value) = 0;
    virtual tresult getFloat(AttrID id, double& value) = 0;
    virtual tresult setString(AttrID id, const TChar* string) = 0;
    virtual tresult getString(AttrID id, TChar* string, uint32 sizeInBytes) = 0;
    virtual tresult setBinary(AttrID id, const void* data, uint32 sizeInBytes) = 0;
    virtual tresult getBinary(AttrID id, const void*& data, uint32& sizeInBytes) = 0;

protected:
    ~IAttributeList() = default;
};
inline constexpr TUID kIAttributeListIid = makeTuid(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);

class IMessage : public FUnknown
{
public:
    virtual FIDString getMessageID() = 0;
    virtual void setMessageID(FIDString id) = 0;
    virtual IAttributeList* getAttributes() = 0;

protected:
    ~IMessage() = default;
};
inline constexpr TUID kIMessageIid = makeTuid(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);

class IConnectionPoint : public FUnknown
{
public:
    virtual tresult connect(IConnectionPoint* other) = 0;
    virtual tresult disconnect(IConnectionPoint* other) = 0;
    virtual tresult notify(IMessage* message) = 0;

protected:
    ~IConnectionPoint() = default;
};
inline constexpr TUID kIConnectionPointIid =
    makeTuid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);

// ---- IHostApplication: the host context given to initialize

class IHostApplication : public FUnknown
{
public:
    virtual tresult getName(String128 name) = 0;
    // Makes host objects: IMessage and IAttributeList.
    virtual tresult createInstance(TUID& cid, TUID& iid, void** obj) = 0;

protected:
    ~IHostApplication() = default;
};
inline constexpr TUID kIHostApplicationIid =
    makeTuid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);

// ---- IComponentHandler: the controller's edits to the host

// restartComponent flags.
inline constexpr int32 kParamValuesChanged = 1 << 2;

class IComponentHandler : public FUnknown
{
public:
    virtual tresult beginEdit(ParamID id) = 0;
    virtual tresult performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult endEdit(ParamID id) = 0;
    virtual tresult restartComponent(int32 flags) = 0;

protected:
    ~IComponentHandler() = default;
};
inline constexpr TUID kIComponentHandlerIid =
    makeTuid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);

// ---- IEditController, IEditController2: parameters, controller state, view

struct ParameterInfo
{
    enum : int32
    {
        kNoFlags = 0,
        kCanAutomate = 1 << 0,
        kIsReadOnly = 1 << 1,
        kIsList = 1 << 3,
        kIsProgramChange = 1 << 15,
        kIsBypass = 1 << 16,
    };
    ParamID id;
    String128 title;
    String128 shortTitle;
    String128 units;
    // 0 continuous, 1 a switch, n a list of n + 1 values.
    int32 stepCount;
    ParamValue defaultNormalizedValue;
    UnitID unitId;
    int32 flags;
};
static_assert(sizeof(ParameterInfo) == 792 &&
              offsetof(ParameterInfo, defaultNormalizedValue) == 776);

// createView's one view type.
inline constexpr const char* kEditorViewType = "editor";

class IPlugView;

class IEditController : public IPluginBase
{
public:
    virtual tresult setComponentState(IBStream* state) = 0;
    virtual tresult setState(IBStream* state) = 0;
    virtual tresult getState(IBStream* state) = 0;
    virtual int32 getParameterCount() = 0;
    virtual tresult getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
    virtual tresult getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                          String128 string) = 0;
    virtual tresult getParamValueByString(ParamID id, TChar* string,
                                          ParamValue& valueNormalized) = 0;
    virtual ParamValue normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue getParamNormalized(ParamID id) = 0;
    virtual tresult setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult setComponentHandler(IComponentHandler* handler) = 0;
    virtual IPlugView* createView(FIDString name) = 0;

protected:
    ~IEditController() = default;
};
inline constexpr TUID kIEditControllerIid =
    makeTuid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);

class IEditController2 : public FUnknown
{
public:
    virtual tresult setKnobMode(int32 mode) = 0;
    virtual tresult openHelp(TBool onlyCheck) = 0;
    virtual tresult openAboutBox(TBool onlyCheck) = 0;

protected:
    ~IEditController2() = default;
};
inline constexpr TUID kIEditController2Iid =
    makeTuid(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);

// ---- IUnitInfo: parameter groups and the program list

inline constexpr UnitID kRootUnitId = 0;
inline constexpr UnitID kNoParentUnitId = -1;
inline constexpr ProgramListID kNoProgramListId = -1;

struct UnitInfo
{
    UnitID id;
    UnitID parentUnitId;
    String128 name;
    ProgramListID programListId;
};
static_assert(sizeof(UnitInfo) == 268);

struct ProgramListInfo
{
    ProgramListID id;
    String128 name;
    int32 programCount;
};
static_assert(sizeof(ProgramListInfo) == 264);

class IUnitInfo : public FUnknown
{
public:
    virtual int32 getUnitCount() = 0;
    virtual tresult getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
    virtual int32 getProgramListCount() = 0;
    virtual tresult getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
    virtual tresult getProgramName(ProgramListID listId, int32 programIndex, String128 name) = 0;
    virtual tresult getProgramInfo(ProgramListID listId, int32 programIndex,
                                   const char8* attributeId, String128 attributeValue) = 0;
    virtual tresult hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
    virtual tresult getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                        String128 name) = 0;
    virtual UnitID getSelectedUnit() = 0;
    virtual tresult selectUnit(UnitID unitId) = 0;
    virtual tresult getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                 UnitID& unitId) = 0;
    virtual tresult setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;

protected:
    ~IUnitInfo() = default;
};
inline constexpr TUID kIUnitInfoIid = makeTuid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);

// ---- IPlugView, IPlugFrame: the window in the host's

// The parent's kind given to attached: an X11 window id on Linux, an HWND
// on Windows.
inline constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";
inline constexpr const char* kPlatformTypeHWND = "HWND";

// In pixels on Windows and Linux.
struct ViewRect
{
    int32 left;
    int32 top;
    int32 right;
    int32 bottom;
};
static_assert(sizeof(ViewRect) == 16);

class IPlugFrame;

class IPlugView : public FUnknown
{
public:
    virtual tresult isPlatformTypeSupported(FIDString type) = 0;
    virtual tresult attached(void* parent, FIDString type) = 0;
    virtual tresult removed() = 0;
    virtual tresult onWheel(float distance) = 0;
    virtual tresult onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult getSize(ViewRect* size) = 0;
    virtual tresult onSize(ViewRect* newSize) = 0;
    virtual tresult onFocus(TBool state) = 0;
    virtual tresult setFrame(IPlugFrame* frame) = 0;
    virtual tresult canResize() = 0;
    virtual tresult checkSizeConstraint(ViewRect* rect) = 0;

protected:
    ~IPlugView() = default;
};
inline constexpr TUID kIPlugViewIid = makeTuid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

class IPlugFrame : public FUnknown
{
public:
    virtual tresult resizeView(IPlugView* view, ViewRect* newSize) = 0;

protected:
    ~IPlugFrame() = default;
};
inline constexpr TUID kIPlugFrameIid = makeTuid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);

// ---- IEventHandler, ITimerHandler, IRunLoop: the host's run loop on Linux,
// queried from the IPlugFrame

class IEventHandler : public FUnknown
{
public:
    virtual void onFDIsSet(FileDescriptor fd) = 0;

protected:
    ~IEventHandler() = default;
};
inline constexpr TUID kIEventHandlerIid = makeTuid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);

class ITimerHandler : public FUnknown
{
public:
    virtual void onTimer() = 0;

protected:
    ~ITimerHandler() = default;
};
inline constexpr TUID kITimerHandlerIid = makeTuid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

class IRunLoop : public FUnknown
{
public:
    virtual tresult registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
    virtual tresult unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
    virtual tresult unregisterTimer(ITimerHandler* handler) = 0;

protected:
    ~IRunLoop() = default;
};
inline constexpr TUID kIRunLoopIid = makeTuid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

// ---- IPlugViewContentScaleSupport: the host's display scale

class IPlugViewContentScaleSupport : public FUnknown
{
public:
    virtual tresult setContentScaleFactor(float factor) = 0;

protected:
    ~IPlugViewContentScaleSupport() = default;
};
inline constexpr TUID kIPlugViewContentScaleSupportIid =
    makeTuid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);

// ---- The module's entry points

// GetPluginFactory returns the module's factory with one reference for the
// caller. Linux hosts call ModuleEntry(handle) after dlopen and ModuleExit()
// before dlclose; Windows hosts call InitDll() and ExitDll().
using GetFactoryProc = IPluginFactory* (*)();
using ModuleEntryProc = bool (*)(void*);
using ModuleExitProc = bool (*)();

} // namespace vst3
