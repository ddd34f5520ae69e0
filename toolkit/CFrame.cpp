#include "toolkit/CFrame.h"

#include "toolkit/CDrawContext.h"
#include "toolkit/ScaleFactor.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI {

CFrame::CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor)
    : CFrame(size, editor)
{
    open(systemWindow);
}

CFrame::CFrame(const CRect& size, VSTGUIEditorInterface* editor) : CView(size), editor_(editor)
{
    frame_ = this;
}

CFrame::~CFrame()
{
    removeAll(true);
    platformFrame_.reset();
}

bool CFrame::open(void* parent)
{
    if (platformFrame_)
        return false;
    windowThread_ = std::this_thread::get_id();
    platformFrame_ = createPlatformFrame(this, size_, parent, zoom_);
    if (platformFrame_)
        platformFrame_->invalidRect(size_);
    return platformFrame_ != nullptr;
}

bool CFrame::addView(CView* view)
{
    if (!view || std::find(views_.begin(), views_.end(), view) != views_.end())
        return false;
    views_.push_back(view);
    view->attached(this);
    view->invalid();
    return true;
}

bool CFrame::removeView(CView* view, bool withForget)
{
    auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end())
        return false;
    views_.erase(it);
    if (mouseDownView_ == view)
        mouseDownView_ = nullptr;
    if (mouseOverView_ == view)
        mouseOverView_ = nullptr;
    if (focusView_ == view)
        focusView_ = nullptr;
    invalidRect(view->getViewSize());
    view->removed();
    if (withForget)
        view->forget();
    return true;
}

void CFrame::removeAll(bool withForget)
{
    mouseDownView_ = nullptr;
    mouseOverView_ = nullptr;
    focusView_ = nullptr;
    std::vector<CView*> views;
    views.swap(views_);
    for (CView* view : views) {
        view->removed();
        if (withForget)
            view->forget();
    }
}

CView* CFrame::getView(int32_t index) const
{
    return index >= 0 && index < getNbViews() ? views_[static_cast<size_t>(index)] : nullptr;
}

bool CFrame::onWindowThread() const
{
    return std::this_thread::get_id() == windowThread_;
}

namespace {
// Keeps a frame (and so its views and window) alive while an event is
// handled in it, whatever its owner does from inside the handler.
class EventScope
{
public:
    explicit EventScope(CFrame* frame) : frame_(frame) { frame_->remember(); }
    ~EventScope() { frame_->forget(); }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

private:
    CFrame* frame_;
};
} // namespace

void CFrame::close()
{
    closed_ = true;
    forget();
}

void CFrame::idle()
{
    if (!platformFrame_ || closed_)
        return;
    EventScope scope(this);
    // A control that asks for idle time from inside a mouse handler gets
    // its repaint, but events are not read again underneath it.
    if (!inEventProcessing_) {
        inEventProcessing_ = true;
        platformFrame_->processEvents();
        inEventProcessing_ = false;
    }
    if (!closed_)
        paintDirty();
}

void CFrame::paintDirty()
{
    if (!platformFrame_)
        return;
    if (redrawAll_.exchange(false, std::memory_order_acq_rel))
        platformFrame_->invalidRect(size_);
    for (CView* view : views_) {
        if (!view->isDirty())
            continue;
        if (view->isVisible())
            platformFrame_->invalidRect(view->getViewSize());
        else
            view->setDirty(false);
    }
    platformFrame_->paint();
}

void CFrame::setDirty(bool val)
{
    if (val)
        redrawAll_.store(true, std::memory_order_release);
}

bool CFrame::isDirty() const
{
    return redrawAll_.load(std::memory_order_acquire);
}

void CFrame::invalidRect(const CRect& rect)
{
    if (!platformFrame_)
        return;
    if (!onWindowThread()) {
        setDirty(true);
        return;
    }
    platformFrame_->invalidRect(rect);
}

void CFrame::beginEdit(int32_t index)
{
    if (editor_)
        editor_->beginEdit(index);
}

void CFrame::endEdit(int32_t index)
{
    if (editor_)
        editor_->endEdit(index);
}

void CFrame::doIdleStuff()
{
    if (editor_)
        editor_->doIdleStuff();
}

bool CFrame::setSize(CCoord width, CCoord height)
{
    if (width <= 0 || height <= 0)
        return false;
    if (width == size_.getWidth() && height == size_.getHeight())
        return true;
    CRect newSize(size_.left, size_.top, size_.left + width, size_.top + height);
    const bool hostResized = editor_ && editor_->beforeSizeChange(newSize, size_);
    if (platformFrame_ && !platformFrame_->setSize(newSize, !hostResized))
        return false;
    size_ = newSize;
    invalidRect(size_);
    return true;
}

bool CFrame::setZoom(double zoomFactor)
{
    zoomFactor = clampScaleFactor(zoomFactor);
    if (zoomFactor == zoom_)
        return true;
    const double oldZoom = zoom_;
    zoom_ = zoomFactor;
    if (!platformFrame_)
        return true;
    const bool hostResized = editor_ && editor_->beforeSizeChange(size_, size_);
    if (!platformFrame_->setScaleFactor(zoomFactor, !hostResized)) {
        zoom_ = oldZoom;
        if (editor_)
            editor_->beforeSizeChange(size_, size_);
        return false;
    }
    invalidRect(size_);
    return true;
}

void CFrame::platformScaleFactorChanged(double scaleFactor)
{
    if (closed_)
        return;
    if (!editor_ || editor_->followsPlatformScaleFactor())
        setZoom(scaleFactor);
}

bool CFrame::isWindowVisible() const
{
    return platformFrame_ && platformFrame_->isVisible();
}

CView* CFrame::viewAt(const CPoint& where) const
{
    for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
        CView* view = *it;
        if (view->isVisible() && view->getMouseEnabled() && view->hitTest(where))
            return view;
    }
    return nullptr;
}

void CFrame::updateHover(CPoint& where, const CButtonState& buttons)
{
    CView* over = viewAt(where);
    if (over == mouseOverView_)
        return;
    if (mouseOverView_) {
        CPoint p = where;
        mouseOverView_->onMouseExited(p, buttons);
    }
    mouseOverView_ = over;
    if (over) {
        CPoint p = where;
        over->onMouseEntered(p, buttons);
    }
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    lastMouse_ = where;
    mouseDownView_ = nullptr;
    updateHover(where, buttons);
    for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
        CView* view = *it;
        if (!view->isVisible() || !view->getMouseEnabled() || !view->hitTest(where, buttons))
            continue;
        CPoint p = where;
        view->remember();
        const CMouseEventResult result = view->onMouseDown(p, buttons);
        const bool stillHere = std::find(views_.begin(), views_.end(), view) != views_.end();
        view->forget();
        if (result == kMouseEventNotHandled || result == kMouseEventNotImplemented)
            continue;
        if (stillHere)
            setFocusView(view->wantsFocus() ? view : nullptr);
        if (result == kMouseEventHandled && stillHere)
            mouseDownView_ = view;
        return kMouseEventHandled;
    }
    setFocusView(nullptr);
    return kMouseEventNotHandled;
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    lastMouse_ = where;
    CMouseEventResult result = kMouseEventNotHandled;
    if (CView* view = mouseDownView_) {
        mouseDownView_ = nullptr;
        CPoint p = where;
        result = view->onMouseUp(p, buttons);
    }
    updateHover(where, buttons);
    return result;
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    lastMouse_ = where;
    if (mouseDownView_) {
        CPoint p = where;
        return mouseDownView_->onMouseMoved(p, buttons);
    }
    updateHover(where, buttons);
    if (mouseOverView_) {
        CPoint p = where;
        return mouseOverView_->onMouseMoved(p, buttons);
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CFrame::onMouseExited(CPoint& where, const CButtonState& buttons)
{
    // While a button is held the view that took the press keeps the mouse.
    if (mouseDownView_)
        return kMouseEventHandled;
    if (mouseOverView_) {
        CView* view = mouseOverView_;
        mouseOverView_ = nullptr;
        CPoint p = where;
        view->onMouseExited(p, buttons);
    }
    return kMouseEventHandled;
}

bool CFrame::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                     const CButtonState& buttons)
{
    for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
        CView* view = *it;
        if (view->isVisible() && view->getMouseEnabled() && view->hitTest(where, buttons) &&
            view->onWheel(where, axis, distance, buttons))
            return true;
    }
    return false;
}

bool CFrame::onWheel(const CPoint& where, const float& distance, const CButtonState& buttons)
{
    return onWheel(where, kMouseWheelAxisY, distance, buttons);
}

bool CFrame::setFocusView(CView* view)
{
    if (view && std::find(views_.begin(), views_.end(), view) == views_.end())
        return false;
    focusView_ = view;
    return true;
}

int32_t CFrame::keyToFocusView(int32_t (CView::*handler)(VstKeyCode&), VstKeyCode& keyCode)
{
    if (!focusView_ || !focusView_->isVisible())
        return -1;
    CView* view = focusView_;
    view->remember(); // a key may close the view's window
    const int32_t result = (view->*handler)(keyCode);
    view->forget();
    return result;
}

int32_t CFrame::onKeyDown(VstKeyCode& keyCode)
{
    return keyToFocusView(&CView::onKeyDown, keyCode);
}

int32_t CFrame::onKeyUp(VstKeyCode& keyCode)
{
    return keyToFocusView(&CView::onKeyUp, keyCode);
}

void CFrame::draw(CDrawContext* context)
{
    drawRect(context, size_);
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect)
{
    for (CView* view : views_) {
        if (view->isVisible() && view->getViewSize().rectOverlap(updateRect))
            view->drawRect(context, updateRect);
    }
}

bool CFrame::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CFrame") == 0) || CView::isTypeOf(type);
}

void CFrame::platformDrawRect(CDrawContext* context, const CRect& rect)
{
    drawRect(context, rect);
}

CMouseEventResult CFrame::platformOnMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (closed_)
        return kMouseEventNotHandled;
    EventScope scope(this);
    return onMouseDown(where, buttons);
}

CMouseEventResult CFrame::platformOnMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (closed_)
        return kMouseEventNotHandled;
    EventScope scope(this);
    return onMouseMoved(where, buttons);
}

CMouseEventResult CFrame::platformOnMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (closed_)
        return kMouseEventNotHandled;
    EventScope scope(this);
    return onMouseUp(where, buttons);
}

CMouseEventResult CFrame::platformOnMouseExited(CPoint& where, const CButtonState& buttons)
{
    if (closed_)
        return kMouseEventNotHandled;
    EventScope scope(this);
    return onMouseExited(where, buttons);
}

bool CFrame::platformOnMouseWheel(const CPoint& where, const CMouseWheelAxis& axis,
                                  const float& distance, const CButtonState& buttons)
{
    if (closed_)
        return false;
    EventScope scope(this);
    return onWheel(where, axis, distance, buttons);
}

bool CFrame::platformOnKeyDown(VstKeyCode& keyCode)
{
    if (closed_)
        return false;
    EventScope scope(this);
    return onKeyDown(keyCode) == 1;
}

bool CFrame::platformOnKeyUp(VstKeyCode& keyCode)
{
    if (closed_)
        return false;
    EventScope scope(this);
    return onKeyUp(keyCode) == 1;
}

} // namespace VSTGUI
