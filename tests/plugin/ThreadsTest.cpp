// Parameter changes on one thread, program changes on another and audio on a
// third may overlap without a data race (run under ThreadSanitizer).
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "plugin/MyVSTPlugin.h"

TEST(Threads, ParametersProgramsAndAudioOverlap)
{
    CMyVSTPlugin plugin(nullptr);
    AEffect* effect = plugin.getAeffect();
    std::atomic<bool> stop{false};
    std::atomic<int> automationSteps{0}, interfaceSteps{0};

    std::thread automation([&] {
        for (int n = 0; !stop.load(); ++n) {
            effect->setParameter(effect, n % 8, static_cast<float>(n % 100) / 100.0f);
            automationSteps.fetch_add(1);
        }
    });
    std::thread interface([&] {
        for (int n = 0; !stop.load(); ++n) {
            effect->dispatcher(effect, effSetProgram, 0, n % 32, nullptr, 0);
            char text[16];
            effect->dispatcher(effect, effGetParamDisplay, n % 8, 0, text, 0);
            interfaceSteps.fetch_add(1);
        }
    });

    std::vector<float> in(256, 0.25f), outL(256), outR(256);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {outL.data(), outR.data()};
    // Keep the audio running until both other threads have done real work.
    for (int block = 0;
         block < 2000 || automationSteps.load() < 20000 || interfaceSteps.load() < 2000; ++block) {
        effect->processReplacing(effect, inputs, outputs, 256);
        for (VstInt32 i = 0; i < kNumVantelorParameters; ++i)
            ASSERT_TRUE(std::isfinite(effect->getParameter(effect, i)));
    }
    stop = true;
    automation.join();
    interface.join();
    for (float s : outL)
        ASSERT_TRUE(std::isfinite(s));
}
