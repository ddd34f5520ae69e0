// A knob drawn from a strip of sub-images stacked vertically in one
// picture: the first image at the minimum, the last at the maximum, the
// one nearest to the knob's travel in between.
#pragma once

#include "toolkit/CKnob.h"

namespace VSTGUI {

class CAnimKnob : public CKnobBase
{
public:
    // The strip's images are square: as many as the picture is tall in
    // multiples of its width.
    CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
              const CPoint& offset = CPoint(0, 0));
    CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
              CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));
    CAnimKnob(const CAnimKnob& other) = default;

    void draw(CDrawContext* context) override;

    void setNumSubPixmaps(int32_t count) { subPixmaps_ = count > 0 ? count : 0; }
    int32_t getNumSubPixmaps() const { return subPixmaps_; }
    void setHeightOfOneImage(const CCoord& height) { heightOfOneImage_ = height > 0 ? height : 0; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage_; }
    // The strip runs from the maximum down to the minimum.
    void setInverseBitmap(bool state) { inverseBitmap_ = state; }
    bool getInverseBitmap() const { return inverseBitmap_; }
    // The sub-image shown for the current travel.
    int32_t getFrameIndex() const;

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CAnimKnob(*this); }

protected:
    CPoint offset_;
    int32_t subPixmaps_ = 0;
    CCoord heightOfOneImage_ = 0;
    bool inverseBitmap_ = false;
};

} // namespace VSTGUI
