// The base of controls that show points of a three-dimensional space: a
// viewing rotation (yaw about the vertical axis, then pitch about the
// horizontal one) and distance, and a simple perspective projection into
// the view. It draws only its background; subclasses draw the content and
// hear of rotation changes through rotationChanged.
//
// Threads: the window's thread.
#pragma once

#include "toolkit/CControl.h"

class C3DPlot : public VSTGUI::CControl
{
public:
    C3DPlot(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener = nullptr,
            int32_t tag = 0, VSTGUI::CBitmap* background = nullptr);
    C3DPlot(const C3DPlot& other);
    ~C3DPlot() override;

    bool isTypeOf(const char* type) const override;
    VSTGUI::CView* newCopy() const override { return new C3DPlot(*this); }
    void draw(VSTGUI::CDrawContext* context) override;

    virtual void setForegroundColor(VSTGUI::CColor color);
    virtual void setFillColor3D(VSTGUI::CColor color);
    virtual void setBackgroundColor3D(VSTGUI::CColor color);
    // Angles in radians; distance from the viewer to the centre of space.
    virtual void setRotation(float yaw, float pitch, float distance);
    // The pixel of a point; points must lie in front of the viewer.
    virtual VSTGUI::CPoint project(float x, float y, float z) const;
    virtual void rotationChanged();

    VSTGUI::CColor getForegroundColor() const { return foregroundColor; }
    VSTGUI::CColor getFillColor3D() const { return fillColor; }

protected:
    VSTGUI::CColor foregroundColor{194, 250, 5, 255};
    VSTGUI::CColor fillColor{160, 250, 5, 64};
    VSTGUI::CColor backgroundColor{0, 0, 0, 160};
    float cosYaw = 1;
    float cosPitch = 1;
    float sinYaw = 0;
    float sinPitch = 0;
    float distance = 2;
};
