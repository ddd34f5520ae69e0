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
    // Called before the frame changes size or zoom (sizes unscaled; the
    // frame's getZoom() is already the new one). True when the host has
    // resized its own window to fit; false leaves that to the frame.
    virtual bool beforeSizeChange(const CRect& /*newSize*/, const CRect& /*oldSize*/)
    {
        return false;
    }
    // Whether the frame follows the display's scale when the window moves
    // to another one; false while a host has chosen the scale itself.
    virtual bool followsPlatformScaleFactor() const { return true; }
    virtual CFrame* getFrame() const { return frame; }

protected:
    CFrame* frame = nullptr;
};

} // namespace VSTGUI
