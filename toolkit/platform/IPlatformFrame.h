// The small interface between the frame and a platform's window: create a
// child window in a parent, invalidate, pump events, paint, close. The
// frame implements the callback side.
#pragma once

#include "toolkit/CGraphics.h"
#include "toolkit/VstKeyCode.h"
#include "toolkit/platform/IPlatformOptionMenu.h"

#include <memory>

namespace VSTGUI {

class CDrawContext;

class IPlatformFrameCallback
{
public:
    virtual ~IPlatformFrameCallback() = default;
    // Draws every view that intersects rect; the context is clipped to it.
    virtual void platformDrawRect(CDrawContext* context, const CRect& rect) = 0;
    virtual CMouseEventResult platformOnMouseDown(CPoint& where, const CButtonState& buttons) = 0;
    virtual CMouseEventResult platformOnMouseMoved(CPoint& where, const CButtonState& buttons) = 0;
    virtual CMouseEventResult platformOnMouseUp(CPoint& where, const CButtonState& buttons) = 0;
    virtual CMouseEventResult platformOnMouseExited(CPoint& where, const CButtonState& buttons) = 0;
    virtual bool platformOnMouseWheel(const CPoint& where, const CMouseWheelAxis& axis,
                                      const float& distance, const CButtonState& buttons) = 0;
    // A key while the window has the keyboard focus; true when handled.
    virtual bool platformOnKeyDown(VstKeyCode& keyCode) = 0;
    virtual bool platformOnKeyUp(VstKeyCode& keyCode) = 0;
    // The window moved to a display of another scale (Windows' DPI change).
    virtual void platformScaleFactorChanged(double /*scaleFactor*/) {}
};

class IPlatformFrame
{
public:
    virtual ~IPlatformFrame() = default;

    // Sizes are in the frame's unscaled coordinates; the window itself is
    // the size times the scale factor in pixels, and mouse positions reach
    // the callback unscaled.
    virtual CRect getSize() const = 0;
    // Resizes the window; with resizeParent also the host's window that
    // holds it (for hosts that cannot resize their window themselves).
    virtual bool setSize(const CRect& newSize, bool resizeParent) = 0;
    // Draws from now on at another scale factor (1..4), resizing the window
    // (and with resizeParent the host's) to match.
    virtual bool setScaleFactor(double scaleFactor, bool resizeParent) = 0;
    virtual double getScaleFactor() const = 0;
    // Records an area to repaint at the next paint().
    virtual void invalidRect(const CRect& rect) = 0;
    // Reads every pending window event without blocking and dispatches it.
    virtual void processEvents() = 0;
    // Repaints the recorded areas and shows the result.
    virtual void paint() = 0;
    // Whether the window exists and is shown.
    virtual bool isVisible() const = 0;
    // A pop-up menu on this window; null where the platform has none (an
    // off-screen image).
    virtual std::shared_ptr<IPlatformOptionMenu> createPlatformOptionMenu() { return nullptr; }
    // The system's handle of the frame's own window (an X11 window id), for a
    // host that asks which window to embed; 0 where there is none.
    virtual unsigned long nativeWindow() const { return 0; }
    // The file descriptor that becomes readable when the window has events
    // waiting (the X11 connection's), for a host that runs the window from
    // its own run loop; -1 where there is none.
    virtual int eventFileDescriptor() const { return -1; }
};

// Creates the window for a frame: a child of the given native parent
// window, or an off-screen image when parent is null. Null on failure
// (no display, parent unusable).
std::unique_ptr<IPlatformFrame> createPlatformFrame(IPlatformFrameCallback* callback,
                                                    const CRect& size, void* parent,
                                                    double scaleFactor = 1.0);

// The scale the desktop asks of windows shown in parent (null: the
// default display's), 1..4: on Windows the parent's monitor, on Linux the
// X resource Xft.dpi (96 is 1), else the GDK_SCALE environment variable.
// 1 where nothing says otherwise and off-screen.
double getPlatformScaleFactor(void* parent);

} // namespace VSTGUI
