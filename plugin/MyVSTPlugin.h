// The product: a stereo source panner with eight parameters (azimuth,
// elevation, on/off and width for each input) and eight factory programs.
#pragma once

#include <cstdint>

#include "engine/Vantelor.h"
#include "plugin/VSTPlugin.h"
#include "product/EditorConnection.h"
#include "product/VantelorProcessor.h"

// The framework part answers the host; the engine part renders the audio.
//
// Threads: while the plug-in is resumed only the audio thread touches the
// engine. setParameter (any thread) stores the value and hands it to the
// product's processor; processReplacing first applies whatever is pending,
// then renders. Requests that arrive while processing is stopped (sample
// rate, suspend, resume) apply what is pending and then act on the engine
// directly.
class CMyVSTPlugin : public CVSTPlugin, public CVantelor, public IEditorConnection
{
public:
    static constexpr VstInt32 kNumChannels = vantelor::kNumChannels;

    explicit CMyVSTPlugin(audioMasterCallback audioMaster);
    ~CMyVSTPlugin() override;

    // Stopped processing only: clear the engine's audio state.
    void suspend() override;
    void resume() override;
    // Stopped processing only. Clamped to 22050..192000 Hz; not-a-number gives
    // 22050. Serves the host and the engine part alike.
    void setSampleRate(float rate) override;
    // Audio thread. Null buffers and frame counts below one are ignored.
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    // Any thread. Stores the normalised value in the current program; the
    // engine hears it from the start of the next block.
    void setParameter(VstInt32 index, float value) override;
    // Any thread. Loads the program's values, then has an open window
    // redrawn as a whole.
    void setProgram(VstInt32 program) override;

    // The window's connection: values and edits as the host sees them
    // (getParameter, beginEdit, setParameterAutomated, endEdit).
    float currentValue(int32_t index) override;
    void beginChange(int32_t index) override;
    void change(int32_t index, float normalised) override;
    void endChange(int32_t index) override;
    bool getVersionLabel(char* text) override;

private:
    // The hand-over of values from the setters to the engine part.
    vantelor::CVantelorProcessor processor;
};
