// VST 2.4 effect base: owns the host-visible AEffect record, turns the basic
// dispatcher requests into virtual operations and wraps the basic host calls.
// Every host call checks for a missing callback and returns a fallback then.
#pragma once

#include <atomic>

#include "plugin/AEffEditor.h"
#include "plugin/VstInterface.h"

class AudioEffect
{
public:
    // numPrograms and numParams bound the program and parameter indices that
    // the record announces to the host.
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    // Deletes the attached editor.
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    virtual void setSampleRate(float newSampleRate) { sampleRate = newSampleRate; }
    virtual void setBlockSize(VstInt32 newBlockSize) { blockSize = newBlockSize; }

    // Audio thread. inputs and outputs hold numInputs / numOutputs channel pointers.
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/,
                                        VstInt32 /*sampleFrames*/)
    {}

    // Any thread. Values are normalised to 0..1 of the parameter's range.
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
    virtual float getParameter(VstInt32 /*index*/) { return 0; }
    // A change made by the user in the editor: applied, then reported to the host.
    virtual void setParameterAutomated(VstInt32 index, float value);

    virtual VstInt32 getProgram() { return curProgram; }
    virtual void setProgram(VstInt32 program) { curProgram = program; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name)
    {
        if (name)
            *name = 0;
    }
    virtual void getParameterLabel(VstInt32 /*index*/, char* label)
    {
        if (label)
            *label = 0;
    }
    virtual void getParameterDisplay(VstInt32 /*index*/, char* text)
    {
        if (text)
            *text = 0;
    }
    virtual void getParameterName(VstInt32 /*index*/, char* text)
    {
        if (text)
            *text = 0;
    }
    virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/ = false) { return 0; }
    virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/ = false)
    {
        return 0;
    }

    virtual void setUniqueID(VstInt32 iD) { cEffect.uniqueID = iD; }
    virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
    virtual void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
    virtual void canDoubleReplacing(bool state = true)
    {
        setFlag(effFlagsCanDoubleReplacing, state);
    }
    virtual void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
    virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }

    virtual AEffEditor* getEditor() { return editor; }
    virtual AEffect* getAeffect() { return &cEffect; }
    virtual float getSampleRate() { return sampleRate; }
    virtual VstInt32 getBlockSize() { return blockSize; }

    // Host queries.
    virtual VstInt32 getMasterVersion();
    virtual VstInt32 getCurrentUniqueId();
    virtual void masterIdle();

    // Text conversions into `text`: at most maxLen characters and a terminator
    // at text[maxLen]. A null text or a negative maxLen writes nothing.
    virtual void dB2string(float value, char* text, VstInt32 maxLen);
    virtual void Hz2string(float samples, char* text, VstInt32 maxLen);
    virtual void ms2string(float samples, char* text, VstInt32 maxLen);
    virtual void float2string(float value, char* text, VstInt32 maxLen);
    virtual void int2string(VstInt32 value, char* text, VstInt32 maxLen);

    // Deprecated in VST 2.4; kept for completeness.
    virtual void process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}
    virtual float getVu() { return 0; }
    virtual void hasVu(bool state = true) { setFlag(effFlagsHasVu, state); }
    virtual void hasClip(bool state = true) { setFlag(effFlagsHasClip, state); }
    virtual void canMono(bool state = true) { setFlag(effFlagsCanMono, state); }
    virtual void setRealQualities(VstInt32 qualities) { cEffect.realQualities = qualities; }
    virtual void setOffQualities(VstInt32 qualities) { cEffect.offQualities = qualities; }
    virtual bool isInputConnected(VstInt32 input);
    virtual bool isOutputConnected(VstInt32 output);

    // Attaches an editor (owned from now on; a different one attached before is
    // deleted) and keeps effFlagsHasEditor in step with it.
    void setEditor(AEffEditor* newEditor);

    // The record's static entries; each finds the object through effect->object.
    static VstIntPtr VSTCALLBACK dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                                     VstIntPtr value, void* ptr, float opt);
    static float VSTCALLBACK getParameterClass(AEffect* e, VstInt32 index);
    static void VSTCALLBACK setParameterClass(AEffect* e, VstInt32 index, float value);
    static void VSTCALLBACK processClass(AEffect* e, float** inputs, float** outputs,
                                         VstInt32 sampleFrames);
    static void VSTCALLBACK processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                                  VstInt32 sampleFrames);
    static void VSTCALLBACK processClassDoubleReplacing(AEffect* e, double** inputs,
                                                        double** outputs, VstInt32 sampleFrames);

protected:
    // One call into the host; `fallback` when there is no host callback.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f, VstIntPtr fallback = 0);
    void setFlag(VstInt32 flag, bool state);

    audioMasterCallback audioMaster = nullptr;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    VstInt32 blockSize = 1024;
    VstInt32 numPrograms = 0;
    VstInt32 numParams = 0;
    // Written by program changes on the interface thread, read by parameter
    // changes that may arrive on any thread.
    std::atomic<VstInt32> curProgram{0};
    AEffect cEffect{};
};
