#include "vst3/VantelorVst3Controller.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "product/VantelorState.h"
#include "vst3/VantelorVst3State.h"
#include "vst3/Vst3Text.h"
#include "vst3/VantelorVst3View.h"

namespace vantelor_vst3 {

namespace {

constexpr int32_t kBypassSlot = kNumVantelorParameters;
constexpr int32_t kProgramSlot = kNumVantelorParameters + 1;

bool sameText(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// The text between leading and trailing blanks, in place.
char* trimmed(char* text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    std::size_t length = std::strlen(text);
    while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\t'))
        text[--length] = '\0';
    return text;
}

} // namespace

CVantelorVst3Controller::CVantelorVst3Controller()
{
    for (int32_t i = 0; i < kNumVantelorParameters; ++i)
        values[i] = vantelor::toNormalised(i, vantelor::kVantelorFactoryPrograms[0].values[i]);
}

CVantelorVst3Controller::~CVantelorVst3Controller()
{
    if (handler)
        handler->release();
}

vst3::tresult CVantelorVst3Controller::queryInterface(const vst3::TUID& iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    void* found = nullptr;
    if (sameTuid(&iid, vst3::kFUnknownIid) || sameTuid(&iid, vst3::kIPluginBaseIid) ||
        sameTuid(&iid, vst3::kIEditControllerIid))
        found = static_cast<vst3::IEditController*>(this);
    else if (sameTuid(&iid, vst3::kIEditController2Iid))
        found = static_cast<vst3::IEditController2*>(this);
    else if (sameTuid(&iid, vst3::kIUnitInfoIid))
        found = static_cast<vst3::IUnitInfo*>(this);
    else if (sameTuid(&iid, vst3::kIConnectionPointIid))
        found = static_cast<vst3::IConnectionPoint*>(this);
    *obj = found;
    if (!found)
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::uint32 CVantelorVst3Controller::addRef()
{
    return references.fetch_add(1, std::memory_order_relaxed) + 1;
}

vst3::uint32 CVantelorVst3Controller::release()
{
    const vst3::uint32 left = references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0)
        delete this;
    return left;
}

vst3::tresult CVantelorVst3Controller::initialize(vst3::FUnknown*)
{
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::terminate()
{
    setComponentHandler(nullptr);
    peer = nullptr;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::setComponentState(vst3::IBStream* state)
{
    if (!state)
        return vst3::kInvalidArgument;
    uint8_t data[4 * vantelor::kStateSize];
    int32_t size = 0;
    while (size < static_cast<int32_t>(sizeof data)) {
        vst3::int32 got = 0;
        if (state->read(data + size, static_cast<int32_t>(sizeof data) - size, &got) !=
                vst3::kResultOk ||
            got <= 0)
            break;
        size += std::min(got, static_cast<int32_t>(sizeof data) - size);
    }
    vantelor::ProductState restored;
    bool bypassed = false;
    if (readComponentState(data, static_cast<std::size_t>(size), &restored, &bypassed) !=
        vantelor::StateResult::ok)
        return vst3::kResultFalse;
    for (int32_t i = 0; i < kNumVantelorParameters; ++i)
        store(i, normalisedOfUnits(i, restored.values[i]));
    store(kProgramSlot, normalisedOfProgram(restored.program));
    store(kBypassSlot, bypassed ? 1.0 : 0.0);
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::setState(vst3::IBStream*)
{
    // The controller keeps nothing of its own: everything is the component's.
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::getState(vst3::IBStream*)
{
    return vst3::kResultOk;
}

vst3::int32 CVantelorVst3Controller::getParameterCount()
{
    return kNumParameters;
}

int32_t CVantelorVst3Controller::slotOf(vst3::ParamID id)
{
    if (id < static_cast<vst3::ParamID>(kNumVantelorParameters))
        return static_cast<int32_t>(id);
    if (id == kBypassId)
        return kBypassSlot;
    if (id == kProgramId)
        return kProgramSlot;
    return -1;
}

vst3::tresult CVantelorVst3Controller::getParameterInfo(vst3::int32 paramIndex,
                                                        vst3::ParameterInfo& info)
{
    if (paramIndex < 0 || paramIndex >= kNumParameters)
        return vst3::kInvalidArgument;
    info = {};
    if (paramIndex < kNumVantelorParameters) {
        const vantelor::ParameterDescription& p = vantelor::kVantelorParameters[paramIndex];
        info.id = p.id;
        copyToUtf16(info.title, 128, p.name);
        copyToUtf16(info.shortTitle, 128, p.shortName);
        copyToUtf16(info.units, 128, p.label);
        info.stepCount = p.kind == vantelor::Kind::toggle ? 1 : 0;
        info.defaultNormalizedValue = vantelor::toNormalised(paramIndex, p.defaultValue);
        info.unitId = p.group == vantelor::Group::leftSource ? kLeftSourceUnit : kRightSourceUnit;
        info.flags = vst3::ParameterInfo::kCanAutomate;
    } else if (paramIndex == kBypassSlot) {
        info.id = kBypassId;
        copyToUtf16(info.title, 128, "Bypass");
        copyToUtf16(info.shortTitle, 128, "Byp");
        info.stepCount = 1;
        info.defaultNormalizedValue = 0;
        info.unitId = vst3::kRootUnitId;
        info.flags = vst3::ParameterInfo::kCanAutomate | vst3::ParameterInfo::kIsBypass;
    } else {
        info.id = kProgramId;
        copyToUtf16(info.title, 128, "Program");
        copyToUtf16(info.shortTitle, 128, "Prg");
        info.stepCount = kProgramSteps;
        info.defaultNormalizedValue = 0;
        info.unitId = vst3::kRootUnitId;
        info.flags = vst3::ParameterInfo::kCanAutomate | vst3::ParameterInfo::kIsList |
                     vst3::ParameterInfo::kIsProgramChange;
    }
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::getParamStringByValue(vst3::ParamID id,
                                                             vst3::ParamValue valueNormalized,
                                                             vst3::String128 string)
{
    const int32_t slot = slotOf(id);
    float value = 0;
    if (slot < 0 || !string || !productValue(valueNormalized, &value))
        return vst3::kInvalidArgument;
    char text[64];
    if (slot < kNumVantelorParameters)
        vantelor::formatValue(slot, vantelor::toUnits(slot, value), text, sizeof text - 1);
    else if (slot == kBypassSlot)
        std::snprintf(text, sizeof text, "%s", value > 0.5f ? "On" : "Off");
    else
        std::snprintf(text, sizeof text, "%s",
                      vantelor::kVantelorFactoryPrograms[programOf(valueNormalized)].name);
    copyToUtf16(string, 128, text);
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                                             vst3::ParamValue& valueNormalized)
{
    const int32_t slot = slotOf(id);
    char buffer[128];
    if (slot < 0 || !utf16ToAscii(string, 128, buffer, sizeof buffer))
        return vst3::kResultFalse;
    char* text = trimmed(buffer);
    if (slot < kNumVantelorParameters) {
        float units = 0;
        if (!vantelor::parseValue(slot, text, &units))
            return vst3::kResultFalse;
        valueNormalized = normalisedOfUnits(slot, units);
        return vst3::kResultOk;
    }
    if (slot == kBypassSlot) {
        if (sameText(text, "on") || std::strcmp(text, "1") == 0)
            valueNormalized = 1;
        else if (sameText(text, "off") || std::strcmp(text, "0") == 0)
            valueNormalized = 0;
        else
            return vst3::kResultFalse;
        return vst3::kResultOk;
    }
    for (int32_t p = 0; p < vantelor::kNumVantelorFactoryPrograms; ++p) {
        if (sameText(text, vantelor::kVantelorFactoryPrograms[p].name)) {
            valueNormalized = normalisedOfProgram(p);
            return vst3::kResultOk;
        }
    }
    return vst3::kResultFalse;
}

vst3::ParamValue CVantelorVst3Controller::normalizedParamToPlain(vst3::ParamID id,
                                                                 vst3::ParamValue valueNormalized)
{
    const int32_t slot = slotOf(id);
    float value = 0;
    if (slot < 0 || !productValue(valueNormalized, &value))
        return 0;
    if (slot < kNumVantelorParameters)
        return vantelor::toUnits(slot, value);
    if (slot == kBypassSlot)
        return value > 0.5f ? 1 : 0;
    return programOf(valueNormalized);
}

vst3::ParamValue CVantelorVst3Controller::plainParamToNormalized(vst3::ParamID id,
                                                                 vst3::ParamValue plainValue)
{
    const int32_t slot = slotOf(id);
    if (slot < 0 || std::isnan(plainValue))
        return 0;
    if (slot < kNumVantelorParameters)
        return normalisedOfUnits(slot, plainValue);
    if (slot == kBypassSlot)
        return plainValue > 0.5 ? 1 : 0;
    return normalisedOfProgram(static_cast<int32_t>(
        std::lround(std::clamp(plainValue, 0.0, static_cast<double>(kProgramSteps)))));
}

vst3::ParamValue CVantelorVst3Controller::getParamNormalized(vst3::ParamID id)
{
    const int32_t slot = slotOf(id);
    return slot < 0 ? 0 : values[slot];
}

vst3::tresult CVantelorVst3Controller::setParamNormalized(vst3::ParamID id, vst3::ParamValue value)
{
    const int32_t slot = slotOf(id);
    if (slot < 0 || std::isnan(value))
        return vst3::kInvalidArgument;
    store(slot, std::clamp(value, 0.0, 1.0));
    // The host picked a program: its values become the parameters' and the
    // host is told to read them again.
    if (slot == kProgramSlot)
        selectProgram(programOf(value), true);
    return vst3::kResultOk;
}

void CVantelorVst3Controller::selectProgram(int32_t program, bool tellHost)
{
    const vantelor::ProgramDescription& chosen = vantelor::kVantelorFactoryPrograms[program];
    for (int32_t i = 0; i < kNumVantelorParameters; ++i)
        store(i, vantelor::toNormalised(i, chosen.values[i]));
    if (tellHost && handler)
        handler->restartComponent(vst3::kParamValuesChanged);
}

void CVantelorVst3Controller::store(int32_t slot, double normalised)
{
    values[slot] = normalised;
    if (view && slot < kNumVantelorParameters)
        view->showParameter(slot, static_cast<float>(normalised));
}

vst3::tresult CVantelorVst3Controller::setComponentHandler(vst3::IComponentHandler* newHandler)
{
    if (newHandler == handler)
        return vst3::kResultOk;
    if (handler)
        handler->release();
    handler = newHandler;
    if (handler)
        handler->addRef();
    return vst3::kResultOk;
}

vst3::IPlugView* CVantelorVst3Controller::createView(vst3::FIDString name)
{
    if (!name || std::strcmp(name, vst3::kEditorViewType) != 0)
        return nullptr;
    // One window at a time: the host asks again after releasing it.
    if (view)
        return nullptr;
    view = new CVantelorVst3View(this);
    return view;
}

void CVantelorVst3Controller::viewClosed(CVantelorVst3View* closed)
{
    if (view == closed)
        view = nullptr;
}

double CVantelorVst3Controller::value(int32_t index) const
{
    return index >= 0 && index < kNumParameters ? values[index] : 0;
}

void CVantelorVst3Controller::beginEdit(int32_t index)
{
    if (handler && index >= 0 && index < kNumVantelorParameters)
        handler->beginEdit(static_cast<vst3::ParamID>(index));
}

void CVantelorVst3Controller::performEdit(int32_t index, double normalised)
{
    if (index < 0 || index >= kNumVantelorParameters || std::isnan(normalised))
        return;
    values[index] = std::clamp(normalised, 0.0, 1.0);
    if (handler)
        handler->performEdit(static_cast<vst3::ParamID>(index), values[index]);
}

void CVantelorVst3Controller::endEdit(int32_t index)
{
    if (handler && index >= 0 && index < kNumVantelorParameters)
        handler->endEdit(static_cast<vst3::ParamID>(index));
}

vst3::tresult CVantelorVst3Controller::setKnobMode(vst3::int32)
{
    return vst3::kResultFalse;
}

vst3::tresult CVantelorVst3Controller::openHelp(vst3::TBool)
{
    return vst3::kResultFalse;
}

vst3::tresult CVantelorVst3Controller::openAboutBox(vst3::TBool)
{
    return vst3::kResultFalse;
}

vst3::int32 CVantelorVst3Controller::getUnitCount()
{
    return 3;
}

vst3::tresult CVantelorVst3Controller::getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info)
{
    if (unitIndex < 0 || unitIndex >= 3)
        return vst3::kInvalidArgument;
    info = {};
    info.id = unitIndex;
    if (unitIndex == vst3::kRootUnitId) {
        info.parentUnitId = vst3::kNoParentUnitId;
        copyToUtf16(info.name, 128, "Root");
        info.programListId = kFactoryProgramList;
    } else {
        info.parentUnitId = vst3::kRootUnitId;
        copyToUtf16(info.name, 128,
                    vantelor::groupName(unitIndex == kLeftSourceUnit
                                            ? vantelor::Group::leftSource
                                            : vantelor::Group::rightSource));
        info.programListId = vst3::kNoProgramListId;
    }
    return vst3::kResultOk;
}

vst3::int32 CVantelorVst3Controller::getProgramListCount()
{
    return 1;
}

vst3::tresult CVantelorVst3Controller::getProgramListInfo(vst3::int32 listIndex,
                                                          vst3::ProgramListInfo& info)
{
    if (listIndex != 0)
        return vst3::kInvalidArgument;
    info = {};
    info.id = kFactoryProgramList;
    copyToUtf16(info.name, 128, "Factory programs");
    info.programCount = vantelor::kNumVantelorFactoryPrograms;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::getProgramName(vst3::ProgramListID listId,
                                                      vst3::int32 programIndex,
                                                      vst3::String128 name)
{
    if (listId != kFactoryProgramList || programIndex < 0 ||
        programIndex >= vantelor::kNumVantelorFactoryPrograms || !name)
        return vst3::kInvalidArgument;
    copyToUtf16(name, 128, vantelor::kVantelorFactoryPrograms[programIndex].name);
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::getProgramInfo(vst3::ProgramListID, vst3::int32,
                                                      const vst3::char8*, vst3::String128)
{
    return vst3::kResultFalse;
}

vst3::tresult CVantelorVst3Controller::hasProgramPitchNames(vst3::ProgramListID, vst3::int32)
{
    return vst3::kResultFalse;
}

vst3::tresult CVantelorVst3Controller::getProgramPitchName(vst3::ProgramListID, vst3::int32,
                                                           vst3::int16, vst3::String128)
{
    return vst3::kResultFalse;
}

vst3::UnitID CVantelorVst3Controller::getSelectedUnit()
{
    return vst3::kRootUnitId;
}

vst3::tresult CVantelorVst3Controller::selectUnit(vst3::UnitID)
{
    return vst3::kResultFalse;
}

vst3::tresult CVantelorVst3Controller::getUnitByBus(vst3::MediaType, vst3::BusDirection,
                                                    vst3::int32, vst3::int32, vst3::UnitID& unitId)
{
    unitId = vst3::kRootUnitId;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::setUnitProgramData(vst3::int32, vst3::int32, vst3::IBStream*)
{
    return vst3::kNotImplemented;
}

vst3::tresult CVantelorVst3Controller::connect(vst3::IConnectionPoint* other)
{
    if (!other)
        return vst3::kInvalidArgument;
    peer = other;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::disconnect(vst3::IConnectionPoint* other)
{
    if (!other || other != peer)
        return vst3::kInvalidArgument;
    peer = nullptr;
    return vst3::kResultOk;
}

vst3::tresult CVantelorVst3Controller::notify(vst3::IMessage* message)
{
    return message ? vst3::kResultFalse : vst3::kInvalidArgument;
}

} // namespace vantelor_vst3
