// The editor's root view: owns the window (a platform frame), the views
// added to it, the mouse routing between them and the redraw cycle.
//
// Threads: everything on the thread that opened the frame, except
// setDirty and invalidRect, which from any other thread only request a
// full redraw at the next idle.
#pragma once

#include "toolkit/CView.h"
#include "toolkit/VSTGUIEditorInterface.h"
#include "toolkit/platform/IPlatformFrame.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace VSTGUI {

class CFrame : public CView, public IPlatformFrameCallback
{
public:
    // Opens at once in systemWindow (null: off-screen).
    CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor);
    // Closed until open() is called.
    CFrame(const CRect& size, VSTGUIEditorInterface* editor);
    ~CFrame() override;

    // Creates the window as a child of parent (null: an off-screen image).
    bool open(void* parent);
    bool isOpen() const { return platformFrame_ != nullptr; }
    // Gives up the owner's reference for good. A host may close the editor
    // from inside any callback, even one made from a mouse handler of a view
    // of this frame: no further event then reaches the views, and the frame
    // with its views and window is released once the handlers running in it
    // have returned.
    void close();

    // Takes over the caller's reference.
    bool addView(CView* view);
    bool removeView(CView* view, bool withForget = true);
    void removeAll(bool withForget = true);
    int32_t getNbViews() const { return static_cast<int32_t>(views_.size()); }
    CView* getView(int32_t index) const;

    // Reads pending window events, then repaints what is dirty.
    void idle();
    void setDirty(bool val = true) override;
    bool isDirty() const override;
    void invalid() override { invalidRect(size_); }
    void invalidRect(const CRect& rect) override;

    // Edit gesture of a control, passed on to the editor.
    void beginEdit(int32_t index);
    void endEdit(int32_t index);
    // Lets a control that runs a long mouse operation keep the window and
    // the host alive.
    void doIdleStuff();
    VSTGUIEditorInterface* getEditor() const { return editor_; }

    // The view that gets the keys; null for none. A view that wants the
    // focus takes it when clicked.
    virtual bool setFocusView(CView* view);
    CView* getFocusView() const { return focusView_; }

    // Resizes the window; asks the host first through the editor. The size
    // is unscaled: the window is this times the zoom in pixels.
    bool setSize(CCoord width, CCoord height);
    // The scale factor (1..4; others are clamped): window pixels per
    // unscaled unit. Views keep their coordinates; the window is resized
    // (asking the host first through the editor), redrawn at the new scale,
    // and mouse positions still arrive unscaled. Before open it sets the
    // scale the window opens at.
    bool setZoom(double zoomFactor);
    double getZoom() const { return zoom_; }
    // Whether the platform window exists and is shown.
    bool isWindowVisible() const;
    IPlatformFrame* getPlatformFrame() const { return platformFrame_.get(); }
    // Last pointer position the frame saw.
    CPoint getCurrentMouseLocation() const { return lastMouse_; }

    // Mouse routing, also used by tests to inject input.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return nullptr; }

    // Platform callbacks.
    void platformDrawRect(CDrawContext* context, const CRect& rect) override;
    CMouseEventResult platformOnMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult platformOnMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult platformOnMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult platformOnMouseExited(CPoint& where, const CButtonState& buttons) override;
    bool platformOnMouseWheel(const CPoint& where, const CMouseWheelAxis& axis,
                              const float& distance, const CButtonState& buttons) override;
    bool platformOnKeyDown(VstKeyCode& keyCode) override;
    bool platformOnKeyUp(VstKeyCode& keyCode) override;
    void platformScaleFactorChanged(double scaleFactor) override;

private:
    bool onWindowThread() const;
    CView* viewAt(const CPoint& where) const;
    void updateHover(CPoint& where, const CButtonState& buttons);
    void paintDirty();
    // The focus view's key handler, with the view kept alive while it runs;
    // -1 when no visible view has the focus.
    int32_t keyToFocusView(int32_t (CView::*handler)(VstKeyCode&), VstKeyCode& keyCode);

    VSTGUIEditorInterface* editor_;
    std::unique_ptr<IPlatformFrame> platformFrame_;
    std::vector<CView*> views_;
    CView* mouseDownView_ = nullptr;
    CView* mouseOverView_ = nullptr;
    CView* focusView_ = nullptr;
    CPoint lastMouse_{-1, -1};
    double zoom_ = 1.0;
    std::thread::id windowThread_;
    std::atomic<bool> redrawAll_{false};
    bool inEventProcessing_ = false;
    bool closed_ = false;
};

} // namespace VSTGUI
