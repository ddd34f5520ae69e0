// VST 2.4 extended effect base: the requests from opcode 25 on, the extended
// host calls and the speaker-arrangement helpers. Defaults answer "not
// supported" (false, 0 or -1 as the interface defines).
#pragma once

#include "plugin/AudioEffect.h"

class AudioEffectX : public AudioEffect
{
public:
    AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
        : AudioEffect(audioMaster, numPrograms, numParams)
    {}
    ~AudioEffectX() override = default;

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;

    // Every parameter that exists; none beyond them.
    virtual bool canParameterBeAutomated(VstInt32 index) { return index >= 0 && index < numParams; }
    virtual bool string2parameter(VstInt32 /*index*/, char* /*text*/) { return false; }
    virtual bool getParameterProperties(VstInt32 /*index*/, VstParameterProperties* /*p*/)
    {
        return false;
    }

    // Edit gestures around a change the user makes in the editor.
    virtual bool beginEdit(VstInt32 index);
    virtual bool endEdit(VstInt32 index);

    virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char* /*text*/)
    {
        return false;
    }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual VstInt32 beginLoadBank(VstPatchChunkInfo* /*ptr*/) { return 0; }
    virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* /*ptr*/) { return 0; }

    virtual bool ioChanged();
    virtual double updateSampleRate();
    virtual VstInt32 updateBlockSize();
    virtual VstInt32 getInputLatency();
    virtual VstInt32 getOutputLatency();
    virtual bool getInputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/)
    {
        return false;
    }
    virtual bool getOutputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/)
    {
        return false;
    }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*in*/,
                                       VstSpeakerArrangement* /*out*/)
    {
        return false;
    }
    // No arrangement to report: both pointers become null.
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                       VstSpeakerArrangement** pluginOutput);
    virtual bool setBypass(bool /*onOff*/) { return false; }
    virtual bool setPanLaw(VstInt32 /*type*/, float /*val*/) { return false; }
    virtual bool setProcessPrecision(VstInt32 /*precision*/) { return false; }
    virtual VstInt32 getNumMidiInputChannels() { return 0; }
    virtual VstInt32 getNumMidiOutputChannels() { return 0; }

    virtual VstTimeInfo* getTimeInfo(VstInt32 filter);
    virtual VstInt32 getCurrentProcessLevel();
    virtual VstInt32 getAutomationState();
    virtual VstInt32 processEvents(VstEvents* /*events*/) { return 0; }
    virtual VstInt32 startProcess() { return 0; }
    virtual VstInt32 stopProcess() { return 0; }
    virtual bool processVariableIo(VstVariableIo* /*varIo*/) { return false; }
    virtual VstInt32 setTotalSampleToProcess(VstInt32 value) { return value; }

    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual VstInt32 getHostVendorVersion();
    virtual VstIntPtr hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg,
                                         float floatArg);
    // True when the host answers the capability text with a non-zero value.
    virtual bool canHostDo(char* text);
    virtual VstInt32 getHostLanguage();

    virtual void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }
    virtual void noTail(bool state = true) { setFlag(effFlagsNoSoundInStop, state); }
    virtual VstInt32 getGetTailSize() { return 0; }
    virtual void* getDirectory();

    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    // Unknown to the effect: the editor may answer (a host's display scale).
    virtual VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg)
    {
        return editor ? editor->vendorSpecific(lArg, lArg2, ptrArg, floatArg) : 0;
    }
    virtual VstInt32 canDo(char* /*text*/) { return 0; }
    virtual VstInt32 getVstVersion() { return kVstVersion; }
    virtual VstPlugCategory getPlugCategory();

    virtual VstInt32 getMidiProgramName(VstInt32 /*channel*/, MidiProgramName* /*name*/)
    {
        return 0;
    }
    virtual VstInt32 getCurrentMidiProgram(VstInt32 /*channel*/, MidiProgramName* /*current*/)
    {
        return -1;
    }
    virtual VstInt32 getMidiProgramCategory(VstInt32 /*channel*/, MidiProgramCategory* /*category*/)
    {
        return 0;
    }
    virtual bool hasMidiProgramsChanged(VstInt32 /*channel*/) { return false; }
    virtual bool getMidiKeyName(VstInt32 /*channel*/, MidiKeyName* /*keyName*/) { return false; }

    virtual bool updateDisplay();
    // Asks the host to resize the editor window.
    virtual bool sizeWindow(VstInt32 width, VstInt32 height);
    virtual bool openFileSelector(VstFileSelect* ptr);
    virtual bool closeFileSelector(VstFileSelect* ptr);
    virtual VstInt32 getNextShellPlugin(char* /*name*/) { return 0; }

    // Speaker-arrangement records are allocated here and freed with
    // deallocateArrangement; each holds room for at least eight speakers.
    virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels);
    virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
    virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
    virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);

    virtual bool offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource = true);
    virtual bool offlineWrite(VstOfflineTask* offline, VstInt32 option);
    virtual bool offlineStart(VstAudioFile* ptr, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles);
    virtual VstInt32 offlineGetCurrentPass();
    virtual VstInt32 offlineGetCurrentMetaPass();
    virtual bool offlineNotify(VstAudioFile* /*ptr*/, VstInt32 /*numAudioFiles*/, bool /*start*/)
    {
        return false;
    }
    virtual bool offlinePrepare(VstOfflineTask* /*offline*/, VstInt32 /*count*/) { return false; }
    virtual bool offlineRun(VstOfflineTask* /*offline*/, VstInt32 /*count*/) { return false; }
    virtual VstInt32 offlineGetNumPasses() { return 0; }
    virtual VstInt32 offlineGetNumMetaPasses() { return 0; }

    // Deprecated in VST 2.4.
    virtual void wantEvents(VstInt32 filter = 1);
    virtual bool sendVstEventsToHost(VstEvents* events);

    // Asks the host for MIDI when the plug-in is a synth or receives MIDI.
    void resume() override;
};
