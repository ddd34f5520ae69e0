// A needle meter: one line pivoting below the view's bottom edge, swinging
// between the view's bottom corners as the value goes from 0 to 1.
//
// Threads: the window's thread.
#pragma once

#include "toolkit/CView.h"

class CAnalogVuMeter : public VSTGUI::CView
{
public:
    // needleLength: from the pivot to the tip, in pixels.
    CAnalogVuMeter(const VSTGUI::CRect& size, int32_t needleLength);

    VSTGUI::CView* newCopy() const override { return new CAnalogVuMeter(*this); }
    bool isTypeOf(const char* type) const override;
    void draw(VSTGUI::CDrawContext* context) override;

    // 0..1.
    virtual void setNeedleValue(float value);
    float getNeedleValue() const { return value; }
    float getMaxAngle() const { return maxAngle; }
    // The needle's two ends: the tip and where it leaves the view's bottom.
    void getNeedleLine(VSTGUI::CPoint& tip, VSTGUI::CPoint& foot) const;

    // The sine of an angle by a parabola through its zeros and extremes.
    static float parabolicSine(float angle);

protected:
    float maxAngle;
    int32_t needleLength;
    float value = 0;
};
