// What the frame needs from the editor that owns it: the edit gesture
// towards the host, idle time during long mouse operations, the resize
// handshake and the knob mode.
#pragma once

#include "toolkit/CGraphics.h"

namespace VSTGUI {

class CFrame;

class VSTGUIEditorInterface
{
public:
    virtual ~VSTGUIEditorInterface() = default;

    virtual void doIdleStuff() {}
    virtual int32_t getKnobMode() const { return kCircularMode; }
    virtual void beginEdit(int32_t /*index*/) {}
    virtual void endEdit(int32_t /*index*/) {}
    // Called before the frame changes size. True when the host has resized
    // its own window to fit; false leaves that to the frame.
    virtual bool beforeSizeChange(const CRect& /*newSize*/, const CRect& /*oldSize*/)
    {
        return false;
    }
    virtual CFrame* getFrame() const { return frame; }

protected:
    CFrame* frame = nullptr;
};

} // namespace VSTGUI
