#include "toolkit/CAnimKnob.h"

#include "toolkit/CBitmap.h"

#include <cmath>
#include <cstring>

namespace VSTGUI {

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag,
                     CBitmap* background, const CPoint& offset)
    : CKnobBase(size, listener, tag, background), offset_(offset)
{
    if (background && background->getWidth() > 0) {
        heightOfOneImage_ = background->getWidth();
        subPixmaps_ = static_cast<int32_t>(background->getHeight() / heightOfOneImage_);
    }
}

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
                     CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CKnobBase(size, listener, tag, background), offset_(offset)
{
    setNumSubPixmaps(subPixmaps);
    setHeightOfOneImage(heightOfOneImage);
}

int32_t CAnimKnob::getFrameIndex() const
{
    if (subPixmaps_ < 1)
        return 0;
    const float range = getRange();
    float travel = range != 0 ? (value_ - getMin()) / range : 0.f;
    if (!(travel >= 0))
        travel = 0;
    else if (travel > 1)
        travel = 1;
    const auto frame =
        static_cast<int32_t>(std::floor(travel * static_cast<float>(subPixmaps_ - 1) + 0.5f));
    return inverseBitmap_ ? subPixmaps_ - 1 - frame : frame;
}

void CAnimKnob::draw(CDrawContext* context)
{
    if (CBitmap* strip = getBackground(); strip && subPixmaps_ > 0)
        strip->draw(context, size_,
                    CPoint(offset_.x, offset_.y + heightOfOneImage_ * getFrameIndex()));
    setDirty(false);
}

bool CAnimKnob::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CAnimKnob") == 0) || CKnobBase::isTypeOf(type);
}

} // namespace VSTGUI
