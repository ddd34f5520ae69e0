// Base of everything drawn in the editor window. A view has a rectangle in
// window coordinates, an optional background picture and the mouse entry
// points; the frame owns the views added to it.
//
// Threads: views are touched only on the thread that opened the window,
// except setDirty, which any thread may call.
#pragma once

#include "toolkit/CBaseObject.h"
#include "toolkit/CGraphics.h"
#include "toolkit/VstKeyCode.h"

#include <atomic>

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;

class CView : public CBaseObject
{
public:
    explicit CView(const CRect& size);
    CView(const CView& other);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    // Draws the view for a repaint of updateRect (clipped to it).
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);

    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons);
    // Vertical wheel; distance is in notches, positive away from the user.
    virtual bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons);
    virtual bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                         const CButtonState& buttons);
    // Keys, sent to the frame's focus view: 1 when handled, -1 when not.
    virtual int32_t onKeyDown(VstKeyCode& keyCode);
    virtual int32_t onKeyUp(VstKeyCode& keyCode);
    // A view that wants the focus takes it when clicked, and then gets the
    // window's keys.
    virtual void setWantsFocus(bool state) { wantsFocus_ = state; }
    bool wantsFocus() const { return wantsFocus_; }
    virtual bool hitTest(const CPoint& where, const CButtonState& buttons = CButtonState());

    // Redraw requests. setDirty marks the view for the next idle; invalid
    // asks the frame to repaint its rectangle.
    virtual void setDirty(bool val = true) { dirty_.store(val, std::memory_order_relaxed); }
    virtual bool isDirty() const { return dirty_.load(std::memory_order_relaxed); }
    virtual void invalid();
    virtual void invalidRect(const CRect& rect);

    virtual void setMouseEnabled(bool enable = true) { mouseEnabled_ = enable; }
    bool getMouseEnabled() const { return mouseEnabled_; }
    virtual void setTransparency(bool val) { transparent_ = val; }
    bool getTransparency() const { return transparent_; }
    virtual void setVisible(bool state);
    bool isVisible() const { return visible_; }

    const CRect& getViewSize() const { return size_; }
    CRect& getViewSize(CRect& rect) const { return rect = size_; }
    // The view resize: a new rectangle, redrawn (old and new area) when asked.
    // The mouse area stays as it was; a view that moves sets it too.
    virtual void setViewSize(const CRect& rect, bool invalidate = true);
    CCoord getWidth() const { return size_.getWidth(); }
    CCoord getHeight() const { return size_.getHeight(); }
    // The area that takes the mouse; the view's rectangle at construction.
    virtual void setMouseableArea(const CRect& rect) { mouseableArea_ = rect; }
    const CRect& getMouseableArea() const { return mouseableArea_; }

    virtual void setBackground(CBitmap* background);
    CBitmap* getBackground() const { return background_; }
    void setBackOffset(const CPoint& offset) { backOffset_ = offset; }
    const CPoint& getBackOffset() const { return backOffset_; }

    CFrame* getFrame() const { return frame_; }
    bool isAttached() const { return frame_ != nullptr; }
    // Called by the frame when the view is added to it or removed from it.
    virtual bool attached(CFrame* frame);
    virtual bool removed();

    virtual bool isTypeOf(const char* type) const;
    virtual CView* newCopy() const { return new CView(*this); }

protected:
    CRect size_;
    CRect mouseableArea_;
    CFrame* frame_ = nullptr;

private:
    CBitmap* background_ = nullptr;
    CPoint backOffset_;
    std::atomic<bool> dirty_{false};
    bool mouseEnabled_ = true;
    bool transparent_ = false;
    bool visible_ = true;
    bool wantsFocus_ = false;
};

} // namespace VSTGUI
