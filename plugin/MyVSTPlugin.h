// The product: a stereo source panner with eight parameters (azimuth,
// elevation, on/off and width for each input) and eight factory programs.
#pragma once

#include "plugin/VSTPlugin.h"

// Parameter numbers; the editor uses the same numbers as control tags.
enum EVantelorParameter : VstInt32
{
    kAziL = 0,
    kElevL,
    kActiveL,
    kWidthL,
    kAziR,
    kElevR,
    kActiveR,
    kWidthR,
    kNumVantelorParameters
};

class CMyVSTPlugin : public CVSTPlugin
{
public:
    static constexpr VstInt32 kNumChannels = 2;
    static constexpr float kMinSampleRate = 22050.0f;
    static constexpr float kMaxSampleRate = 192000.0f;

    explicit CMyVSTPlugin(audioMasterCallback audioMaster);
    ~CMyVSTPlugin() override;

    void suspend() override;
    void resume() override;
    // Clamped to 22050..192000 Hz; not-a-number gives 22050.
    void setSampleRate(float rate) override;
    // Audio thread. Null buffers and frame counts below one are ignored.
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    // Any thread. Stores the normalised value in the current program.
    void setParameter(VstInt32 index, float value) override;

    static float clampSampleRate(float rate);
};
