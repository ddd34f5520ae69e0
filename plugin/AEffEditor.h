// Base of every plug-in editor: the effect holds one through its `editor`
// pointer and forwards the host's editor requests to it. The defaults describe
// an editor without a window; a real editor overrides what it supports.
#pragma once

#include "plugin/VstInterface.h"

class AudioEffect;

class AEffEditor
{
public:
    explicit AEffEditor(AudioEffect* effect = nullptr) : effect(effect) {}
    virtual ~AEffEditor() = default;

    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual AudioEffect* getEffect() { return effect; }

    // Window size for the host. The default has none: *rect becomes null.
    virtual bool getRect(ERect** rect)
    {
        if (rect)
            *rect = nullptr;
        return false;
    }
    // Opens the editor inside the host's parent window `ptr`.
    virtual bool open(void* ptr)
    {
        systemWindow = ptr;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    // Called from the host's interface thread at a steady rate while open.
    virtual void idle() {}

    // Any thread: a parameter of the effect changed, or a whole new program
    // was loaded. An editor without a window has nothing to show.
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
    virtual void redrawAll() {}

    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onWheel(float /*distance*/) { return false; }
    virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }
    // A host's effVendorSpecific request, offered to the editor when the
    // effect does not answer it itself; 0 when not understood.
    virtual VstIntPtr vendorSpecific(VstInt32 /*index*/, VstIntPtr /*value*/, void* /*ptr*/,
                                     float /*opt*/)
    {
        return 0;
    }

protected:
    AudioEffect* effect = nullptr;
    void* systemWindow = nullptr;
};
