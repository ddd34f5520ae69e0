#pragma once

// Mono-in, stereo-out algorithmic reverb: a feedback delay network of four
// lines, each damped by a one-pole low-pass and mixed through a sign
// matrix, fed through a pre-delay and an all-pass diffuser; two further
// diffusers make the early reflections. Optional slow modulation of the
// line lengths and optional narrowing of the image below 500 Hz. All
// buffers are allocated in the constructor. Not thread-safe: the owner
// keeps setters and process apart.

#include <cfloat>
#include <memory>

#include "dsp/Decorrelator.h"
#include "dsp/Delay.h"
#include "dsp/FirstOrder.h"
#include "dsp/LFO.h"
#include "dsp/SignalGuard.h"

class CUFNReverb final
{
public:
    static constexpr int kLines = 4;

    // Ready at 44100 Hz: 2 s decay, 2 kHz damping, 0.5 s of lines, 1 ms
    // pre-delay.
    CUFNReverb();
    virtual ~CUFNReverb();

    CUFNReverb(const CUFNReverb&) = delete;
    CUFNReverb& operator=(const CUFNReverb&) = delete;

    // One input sample to one output pair. A non-finite or absurdly large
    // input counts as silence, so it never poisons the tail.
    virtual void process(const float* in, float* outLeft, float* outRight)
    {
        const float x = signalOrSilence(*in);
        float a = x;
        diffuserA->process(&a);
        float b = a;
        diffuserB->process(&b);
        float c = x;
        diffuserC->process(&c);

        const float f0 = feedback[0];
        const float f1 = feedback[1];
        const float f2 = feedback[2];
        const float f3 = feedback[3];
        float u[kLines] = {lineGain[0] * (f0 + f1 + f2 + f3), lineGain[1] * (-f0 + f1 - f2 + f3),
                           lineGain[2] * (-f0 - f1 + f2 + f3 + c),
                           lineGain[3] * (f0 - f1 - f2 + f3 + c)};

        // The lines are plain delays: calling the base directly lets the
        // compiler inline them.
        if (modulation) {
            float m = 0.0f;
            lfo.process(&m);
            const float depth =
                minValue(0.5f * static_cast<float>(lines[3]->getDelay()), sampleRate * 0.001f);
            const float mod = (m + 1.0f) * depth;
            for (int j = 0; j < kLines; ++j) {
                const float base = static_cast<float>(lines[j]->getDelay());
                const float swept = (j & 1) == 0 ? base + mod : base - mod;
                // Lines shorter or longer than the sweep stay inside their ring.
                const float limit = static_cast<float>(lines[j]->getMaxDelay());
                lines[j]->CDelay::processFractional(&u[j], maxValue(0.0f, minValue(swept, limit)));
            }
        } else {
            for (int j = 0; j < kLines; ++j)
                lines[j]->CDelay::process(&u[j]);
        }
        for (int j = 0; j < kLines; ++j) {
            damping[j]->C1LPF::process(&u[j]);
            feedback[j] = u[j];
        }

        float left = 0.70710677f * (u[0] + u[1] - u[2] + u[3] + earlyLevel * (a + b));
        float right = 0.70710677f * (-u[0] + u[1] + u[2] + u[3] + earlyLevel * (a - b));
        if (monoBass) {
            float d = left - right;
            bassFilter.C1LPF::process(&d);
            const float v = 0.4f * d;
            left -= v;
            right += v;
        }
        *outLeft = left;
        *outRight = right;
    }

    // Clears every line, filter and diffuser; the settings stay.
    virtual void reset();
    // 22050..192000 Hz (NaN gives 22050); clears the tail.
    virtual void setSampleRate(float hertz);
    // Seconds to fall by 60 dB, at least 0.01 (NaN gives 0.01).
    virtual void setDecayTime(float seconds);
    // Corner of the longest line's damping, at least 20 Hz.
    virtual void setDampingFrequency(float hertz);
    // How much higher the shorter lines' corners lie (0.5: in proportion).
    virtual void setDampingSlope(float slope);
    // Total length of the four lines in seconds, at least 0.01; clears the
    // tail.
    virtual void setSize(float seconds);
    // Seconds before the tail's input, at least 1e-8; clears the first
    // early diffuser.
    virtual void setPredelay(float seconds);
    // Exponent of the ratio between successive line lengths (-20..20);
    // clears the tail.
    virtual void setSpread(float spread);
    // Seconds of all-pass diffusion of the tail's input (times 0.2); clears
    // that diffuser.
    virtual void setDiffusion(float seconds);
    // Narrows the image below about 500 Hz to a fifth.
    virtual void setMonoBass(bool on);
    // Level of the early reflections in both outputs.
    virtual void setEarlyLevel(float level);
    // Sweeps the line lengths by up to 2 ms at 0.7 Hz.
    virtual void setModulation(bool on);
    // Recomputes every length, gain and filter from the settings.
    virtual void update();

    float getSampleRate() const { return sampleRate; }
    float getDecayTime() const { return decayTime; }
    float getDampingFrequency() const { return dampingFrequency; }
    float getSize() const { return size; }
    float getPredelay() const { return predelay; }
    float getSpread() const { return spread; }
    float getEarlyLevel() const { return earlyLevel; }
    // Line j's delay in samples, its feedback gain and its damping corner in
    // hertz; 0 for an index out of range.
    int getLineDelay(int j) const { return validLine(j) ? lines[j]->getDelay() : 0; }
    float getLineGain(int j) const { return validLine(j) ? lineGain[j] : 0.0f; }
    float getDampingCorner(int j) const
    {
        return validLine(j) ? damping[j]->getCorner() * sampleRate : 0.0f;
    }
    const CDecorrelator& getDiffuserA() const { return *diffuserA; }
    const CDecorrelator& getDiffuserB() const { return *diffuserB; }
    const CDecorrelator& getDiffuserC() const { return *diffuserC; }

private:
    static bool validLine(int j) { return j >= 0 && j < kLines; }

    std::unique_ptr<CDelay> lines[kLines];
    std::unique_ptr<C1LPF> damping[kLines];
    std::unique_ptr<CDecorrelator> diffuserC;
    std::unique_ptr<CDecorrelator> diffuserA;
    std::unique_ptr<CDecorrelator> diffuserB;
    C1LPF bassFilter;
    CLFO lfo;
    float feedback[kLines] = {};
    float lineGain[kLines] = {};
    float sampleRate = 44100.0f;
    float decayTime = 2.0f;
    float dampingFrequency = 2000.0f;
    float dampingSlope = 0.5f;
    float size = 0.5f;
    float predelay = 0.001f;
    float diffusion = 0.5f;
    float spread = 0.3f;
    bool monoBass = false;
    float earlyLevel = 0.25f;
    bool modulation = false;
};
