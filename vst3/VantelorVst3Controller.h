// The VST3 edit controller: the product's parameters as the host lists
// them (with the host's bypass and the program change), their texts both
// ways, the units the parameter groups become, the factory program list, and
// the window. It knows the audio module only through the host: the
// component's state and the parameter values the host sets.
//
// Threads: the host's main (UI) thread, for every call.
#pragma once

#include <atomic>
#include <cstdint>

#include "vst3/Vst3Interface.h"
#include "vst3/VantelorVst3Ids.h"

namespace vantelor_vst3 {

class CVantelorVst3View;

class CVantelorVst3Controller final : public vst3::IEditController,
                                      public vst3::IEditController2,
                                      public vst3::IUnitInfo,
                                      public vst3::IConnectionPoint
{
public:
    CVantelorVst3Controller();

    // FUnknown
    vst3::tresult queryInterface(const vst3::TUID& iid, void** obj) override;
    vst3::uint32 addRef() override;
    vst3::uint32 release() override;

    // IPluginBase
    vst3::tresult initialize(vst3::FUnknown* context) override;
    vst3::tresult terminate() override;

    // IEditController
    vst3::tresult setComponentState(vst3::IBStream* state) override;
    vst3::tresult setState(vst3::IBStream* state) override;
    vst3::tresult getState(vst3::IBStream* state) override;
    vst3::int32 getParameterCount() override;
    vst3::tresult getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info) override;
    vst3::tresult getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                        vst3::String128 string) override;
    vst3::tresult getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                        vst3::ParamValue& valueNormalized) override;
    vst3::ParamValue normalizedParamToPlain(vst3::ParamID id,
                                            vst3::ParamValue valueNormalized) override;
    vst3::ParamValue plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue) override;
    vst3::ParamValue getParamNormalized(vst3::ParamID id) override;
    vst3::tresult setParamNormalized(vst3::ParamID id, vst3::ParamValue value) override;
    vst3::tresult setComponentHandler(vst3::IComponentHandler* handler) override;
    vst3::IPlugView* createView(vst3::FIDString name) override;

    // IEditController2
    vst3::tresult setKnobMode(vst3::int32 mode) override;
    vst3::tresult openHelp(vst3::TBool onlyCheck) override;
    vst3::tresult openAboutBox(vst3::TBool onlyCheck) override;

    // IUnitInfo
    vst3::int32 getUnitCount() override;
    vst3::tresult getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) override;
    vst3::int32 getProgramListCount() override;
    vst3::tresult getProgramListInfo(vst3::int32 listIndex, vst3::ProgramListInfo& info) override;
    vst3::tresult getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                 vst3::String128 name) override;
    vst3::tresult getProgramInfo(vst3::ProgramListID listId, vst3::int32 programIndex,
                                 const vst3::char8* attributeId,
                                 vst3::String128 attributeValue) override;
    vst3::tresult hasProgramPitchNames(vst3::ProgramListID listId,
                                       vst3::int32 programIndex) override;
    vst3::tresult getProgramPitchName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                      vst3::int16 midiPitch, vst3::String128 name) override;
    vst3::UnitID getSelectedUnit() override;
    vst3::tresult selectUnit(vst3::UnitID unitId) override;
    vst3::tresult getUnitByBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 busIndex,
                               vst3::int32 channel, vst3::UnitID& unitId) override;
    vst3::tresult setUnitProgramData(vst3::int32 listOrUnitId, vst3::int32 programIndex,
                                     vst3::IBStream* data) override;

    // IConnectionPoint
    vst3::tresult connect(vst3::IConnectionPoint* other) override;
    vst3::tresult disconnect(vst3::IConnectionPoint* other) override;
    vst3::tresult notify(vst3::IMessage* message) override;

    // For the window: the parameter's normalised value, and an edit made in
    // the window, told to the host as a begin, performs and an end.
    double value(int32_t index) const;
    void beginEdit(int32_t index);
    void performEdit(int32_t index, double normalised);
    void endEdit(int32_t index);
    // The view tells the controller when it goes, so that no value is sent
    // to a window that no longer exists.
    void viewClosed(CVantelorVst3View* view);

private:
    ~CVantelorVst3Controller();

    // The slot of a parameter id (0..kNumParameters-1), or -1.
    static int32_t slotOf(vst3::ParamID id);
    void store(int32_t slot, double normalised);
    void selectProgram(int32_t program, bool tellHost);

    std::atomic<vst3::uint32> references{1};
    // Normalised values: the product's eight, then bypass and program.
    double values[kNumParameters] = {};
    vst3::IComponentHandler* handler = nullptr;
    vst3::IConnectionPoint* peer = nullptr;
    CVantelorVst3View* view = nullptr;
};

} // namespace vantelor_vst3
