// The host callback of every test that checks what the plug-in asks of its
// host: it records each call and answers as a host that takes edits and, when
// asked, can size its window. One host per process; the editor may call it
// from its window's thread while a test reads it.
#pragma once

#include "plugin/VstInterface.h"

#include <atomic>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace vantelor_test {

struct HostCall
{
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    std::string text; // ptr read as text for the opcodes that pass one
    float opt;
    bool closedEditor; // the host closed the editor in answer to this call
};

// One edit gesture as RecordingHost::takeEdits shows it: begin, the
// automated value, end.
inline std::vector<std::string> editGesture(VstInt32 index, float value)
{
    std::ostringstream automate;
    automate << "automate" << index << "=" << value;
    return {"begin" + std::to_string(index), automate.str(), "end" + std::to_string(index)};
}

class RecordingHost
{
public:
    // The answer to the version query: 0 is a host too old for the plug-in.
    static inline std::atomic<VstIntPtr> version{kVstVersion};
    // Whether the host says it can size its window and then does. A test
    // host whose window does not follow size requests declines them, so the
    // editor sizes the window it was given itself.
    static inline std::atomic<bool> canSizeWindow{true};
    // The next automation call closes the editor from inside the callback,
    // as hosts may.
    static inline std::atomic<bool> closeEditorOnAutomate{false};

    // Forgets every call and answers as a fresh host.
    static void reset(VstIntPtr versionAnswer = kVstVersion, bool sizesWindow = true)
    {
        std::lock_guard<std::mutex> lock(mutex());
        records().clear();
        version = versionAnswer;
        canSizeWindow = sizesWindow;
        closeEditorOnAutomate = false;
    }

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt)
    {
        std::string text;
        if (ptr && opcode == audioMasterCanDo)
            text = static_cast<const char*>(ptr);
        const bool close =
            opcode == audioMasterAutomate && effect && closeEditorOnAutomate.exchange(false);
        {
            std::lock_guard<std::mutex> lock(mutex());
            records().push_back({effect, opcode, index, value, text, opt, close});
        }
        switch (opcode) {
        case audioMasterVersion:
            return version;
        case audioMasterAutomate:
            // Outside the lock: closing the editor may call the host again.
            if (close)
                effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0);
            return 1;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
            return 1;
        case audioMasterCanDo:
            return text == "sizeWindow" && canSizeWindow ? 1 : 0;
        case audioMasterSizeWindow:
            return canSizeWindow ? 1 : 0;
        default:
            return 0;
        }
    }

    // Every call since the last reset or take, in order.
    static std::vector<HostCall> calls()
    {
        std::lock_guard<std::mutex> lock(mutex());
        return records();
    }
    static std::vector<HostCall> callsWith(VstInt32 opcode)
    {
        std::vector<HostCall> found;
        for (const HostCall& c : calls())
            if (c.opcode == opcode)
                found.push_back(c);
        return found;
    }

    // The edit gestures and size requests since the last reset or take, as
    // text ("begin0", "automate0=0.5", "end0", "size500x300", and "close"
    // where the host closed the editor); forgets every call.
    static std::vector<std::string> takeEdits()
    {
        std::vector<HostCall> taken;
        {
            std::lock_guard<std::mutex> lock(mutex());
            taken.swap(records());
        }
        std::vector<std::string> edits;
        for (const HostCall& c : taken) {
            std::ostringstream s;
            switch (c.opcode) {
            case audioMasterBeginEdit:
                s << "begin" << c.index;
                break;
            case audioMasterAutomate:
                s << "automate" << c.index << "=" << c.opt;
                break;
            case audioMasterEndEdit:
                s << "end" << c.index;
                break;
            case audioMasterSizeWindow:
                s << "size" << c.index << "x" << c.value;
                break;
            default:
                continue;
            }
            edits.push_back(s.str());
            if (c.closedEditor)
                edits.push_back("close");
        }
        return edits;
    }

private:
    static std::mutex& mutex()
    {
        static std::mutex m;
        return m;
    }
    static std::vector<HostCall>& records()
    {
        static std::vector<HostCall> r;
        return r;
    }
};

} // namespace vantelor_test
