// processReplacing allocates nothing, including the block that first applies
// parameter and program changes made since the previous block.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "plugin/VantelorVst.h"
#include "tools/host/AllocationCounter.h"

using vst2host::AllocationScope;

TEST(PluginAllocation, ProcessReplacingNeverAllocates)
{
    CMyVSTPlugin plugin(nullptr);
    AEffect* effect = plugin.getAeffect();
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    std::vector<float> inL(512, 0.3f), inR(512, -0.2f), outL(512), outR(512);
    float* inputs[2] = {inL.data(), inR.data()};
    float* outputs[2] = {outL.data(), outR.data()};

    for (int block = 0; block < 64; ++block) {
        // Changes between blocks are applied inside the next processReplacing.
        effect->setParameter(effect, block % 8, static_cast<float>(block % 10) / 9.0f);
        if (block % 16 == 0)
            effect->dispatcher(effect, effSetProgram, 0, block / 16 % 8, nullptr, 0.0f);
        AllocationScope scope;
        effect->processReplacing(effect, inputs, outputs, block % 2 == 0 ? 512 : 1);
        ASSERT_EQ(scope.count(), 0) << "block " << block;
    }
}

// With the editor open, setParameter from a host's automation thread only
// stores the value (the window takes it at its next idle): neither it nor
// processReplacing on the audio thread allocates while they overlap.
TEST(PluginAllocation, SetParameterFromAnotherThreadWithTheEditorOpen)
{
    std::unique_ptr<CMyVSTPlugin> plugin(createVantelorVst(nullptr));
    AEffect* effect = plugin->getAeffect();
    AEffEditor* editor = plugin->getEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->open(nullptr)); // an off-screen window on this thread
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    std::vector<float> inL(256, 0.3f), inR(256, -0.2f), outL(256), outR(256);
    float* inputs[2] = {inL.data(), inR.data()};
    float* outputs[2] = {outL.data(), outR.data()};

    std::atomic<bool> stop{false};
    std::atomic<long> automationCalls{0};
    long automationAllocations = 0;
    std::thread automation([&] {
        for (int i = 0; !stop.load(); ++i) {
            AllocationScope scope;
            effect->setParameter(effect, i % 8, static_cast<float>(i % 10) / 9.0f);
            automationAllocations += scope.count();
            ++automationCalls;
        }
    });
    for (int block = 0; block < 400 || automationCalls.load() < 1000; ++block) {
        {
            AllocationScope scope;
            effect->processReplacing(effect, inputs, outputs, 256);
            if (scope.count() != 0) {
                ADD_FAILURE() << "processReplacing allocated in block " << block;
                break;
            }
        }
        if (block % 8 == 0)
            editor->idle();
    }
    stop = true;
    automation.join();
    EXPECT_EQ(automationAllocations, 0);
    editor->close();
}
