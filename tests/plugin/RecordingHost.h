// A host callback that records every call it receives and answers from a
// small table, for tests that check what the plug-in asks of its host.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "plugin/VstInterface.h"

struct HostCall
{
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    std::string text; // ptr read as text for the opcodes that pass one
    float opt;
};

struct RecordingHost
{
    static inline std::vector<HostCall> calls;
    static inline VstIntPtr versionAnswer = kVstVersion;
    static inline VstIntPtr otherAnswer = 0;

    static void reset(VstIntPtr version = kVstVersion, VstIntPtr other = 0)
    {
        calls.clear();
        versionAnswer = version;
        otherAnswer = other;
    }

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt)
    {
        std::string text;
        if (ptr && opcode == audioMasterCanDo)
            text = static_cast<const char*>(ptr);
        calls.push_back({effect, opcode, index, value, text, opt});
        return opcode == audioMasterVersion ? versionAnswer : otherAnswer;
    }

    static std::vector<HostCall> callsWith(VstInt32 opcode)
    {
        std::vector<HostCall> found;
        for (const HostCall& c : calls)
            if (c.opcode == opcode)
                found.push_back(c);
        return found;
    }
};
