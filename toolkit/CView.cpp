#include "toolkit/CView.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

#include <cstring>

namespace VSTGUI {

CView::CView(const CRect& size) : size_(size), mouseableArea_(size) {}

CView::CView(const CView& other)
    : CBaseObject(other),
      size_(other.size_),
      mouseableArea_(other.mouseableArea_),
      backOffset_(other.backOffset_),
      mouseEnabled_(other.mouseEnabled_),
      transparent_(other.transparent_),
      visible_(other.visible_),
      wantsFocus_(other.wantsFocus_)
{
    setBackground(other.background_);
}

CView::~CView()
{
    if (background_)
        background_->forget();
}

void CView::draw(CDrawContext* context)
{
    if (background_)
        background_->draw(context, size_, backOffset_);
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& updateRect)
{
    CRect oldClip;
    context->getClipRect(oldClip);
    CRect clip = updateRect;
    clip.bound(size_);
    context->setClipRect(clip);
    draw(context);
    context->setClipRect(oldClip);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseEntered(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseExited(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}

bool CView::onWheel(const CPoint&, const float&, const CButtonState&)
{
    return false;
}

bool CView::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                    const CButtonState& buttons)
{
    return axis == kMouseWheelAxisY && onWheel(where, distance, buttons);
}

int32_t CView::onKeyDown(VstKeyCode&)
{
    return -1;
}
int32_t CView::onKeyUp(VstKeyCode&)
{
    return -1;
}

bool CView::hitTest(const CPoint& where, const CButtonState&)
{
    return mouseableArea_.pointInside(where);
}

void CView::invalid()
{
    setDirty(false);
    if (frame_)
        frame_->invalidRect(size_);
}

void CView::invalidRect(const CRect& rect)
{
    if (frame_)
        frame_->invalidRect(rect);
}

void CView::setVisible(bool state)
{
    if (visible_ == state)
        return;
    visible_ = state;
    if (frame_)
        frame_->invalidRect(size_);
}

void CView::setViewSize(const CRect& rect, bool invalidate)
{
    if (invalidate && frame_)
        frame_->invalidRect(size_);
    size_ = rect;
    if (invalidate)
        invalid();
}

void CView::setBackground(CBitmap* background)
{
    if (background == background_)
        return;
    if (background)
        background->remember();
    if (background_)
        background_->forget();
    background_ = background;
    setDirty(true);
}

bool CView::attached(CFrame* frame)
{
    frame_ = frame;
    return true;
}

bool CView::removed()
{
    frame_ = nullptr;
    return true;
}

bool CView::isTypeOf(const char* type) const
{
    return type && std::strcmp(type, "CView") == 0;
}

} // namespace VSTGUI
