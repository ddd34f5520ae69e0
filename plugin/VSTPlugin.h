// The framework plug-in: implements the VST parameter, program and identity
// requests on top of its CVSTConfig store. A product derives from it, fills the
// store in its constructor and finishes with applyConfig().
#pragma once

#include <memory>

#include "plugin/AudioEffectX.h"
#include "plugin/VSTConfig.h"
#include "product/VantelorParameters.h"
#include "plugin/VersionLabel.h"

class CVSTPlugin : public AudioEffectX, public IVersionLabel
{
public:
    static constexpr VstInt32 kNumPrograms = 32;
    static constexpr VstInt32 kNumParams = kNumVantelorParameters;
    static constexpr VstInt32 kVersionLabelLen = 40;

    CVSTPlugin(audioMasterCallback audioMaster, VstInt32 numInputs, VstInt32 numOutputs);
    ~CVSTPlugin() override;

    // Any thread: one bounds check and one atomic store or load.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void setParameterAutomated(VstInt32 index, float value) override;

    // Selects a program and re-sends each of its values through setParameter.
    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

    VstInt32 getGetTailSize() override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstInt32 canDo(char* text) override;
    VstPlugCategory getPlugCategory() override;

    // Copies the store's identity into the host record and starts the plug-in
    // at the current sample rate in program 0. Call once, after all definitions.
    virtual void applyConfig();
    virtual float getParameterValue(VstInt32 index);
    virtual float getParameterScaled(VstInt32 index);
    // Display text followed by the unit label, at most 8 characters.
    virtual void getParameterText(VstInt32 index, char* text);
    virtual float getParameterDefault(VstInt32 index);
    // "<effect name> v<major>.<minor>.<patch>", at most 40 characters.
    bool getVersionLabel(char* text) override;
    // "v<major>.<minor>.<patch>", at most 40 characters.
    virtual bool getVersionString(char* text);
    virtual VstInt32 getTailSize();

protected:
    // The store step of setParameter, for overrides that add to it.
    // Returns false (and stores nothing) for an invalid index.
    bool storeParameter(VstInt32 index, float value);

    std::unique_ptr<CVSTConfig> config;
};
