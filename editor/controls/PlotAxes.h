// A reusable plot control: maps a two-dimensional value range onto its
// rectangle (linear, polar, or with a logarithmic x axis), draws a grid with
// tick labels and a frame, a hover crosshair with value readouts, and up to
// eight draggable point groups. Each group is bound to up to four parameters
// by tag (x, y, an on/off switch and a width), all normalised to 0..1.
//
// Edits go out as beginEdit, valueChanged, endEdit with the control's tag
// and value set to the parameter concerned, so a listener reads both with
// getTag and getValueNormalized. Values come in through setParameterValue.
//
// Threads: drawing and mouse handling on the window's thread.
// setParameterValue only stores values and requests a redraw.
#pragma once

#include <array>

#include "editor/controls/ControlValues.h"
#include "toolkit/CControl.h"

#include <cstdint>

class CPlotAxes : public VSTGUI::CControl
{
public:
    static constexpr int kMaxGroups = 8;

    enum PlotMode : int32_t
    {
        kPlotLinear = 0,
        kPlotPolar = 1,
        kPlotLogX = 2,
    };

    enum GroupFlags : uint16_t
    {
        kGroupVisible = 1,
        kGroupNumbered = 2,
        kGroupDiagonal = 4,      // x and y move together along the diagonal
        kGroupSnapY0 = 8,        // snaps to the row of y = 0 (kAxisSnap)
        kGroupSnapX0 = 16,       // snaps to the column of x = 0 (kAxisSnap; not in log mode)
        kGroupSnapDiagonal = 32, // snaps to the line x = y (kDiagonalSnap; not in log mode)
    };

    // A drag within this many pixels (of the unscaled window) of an axis
    // lands on it: a hand on a mouse wobbles by a few pixels, and 0 is the
    // value users most often aim for.
    static constexpr double kAxisSnap = 6;
    // The diagonal is aimed at by eye along its length, with a wider catch.
    static constexpr double kDiagonalSnap = 12;

    // selectionTag: a parameter that holds the selected group as
    // (index + 1) / groupCount; negative for none.
    CPlotAxes(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, int32_t selectionTag,
              VSTGUI::CBitmap* background = nullptr);
    CPlotAxes(const CPlotAxes& other);
    ~CPlotAxes() override;

    bool isTypeOf(const char* type) const override;
    VSTGUI::CView* newCopy() const override { return new CPlotAxes(*this); }

    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where,
                                        const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where,
                                           const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint& where,
                                             const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint& where,
                                            const VSTGUI::CButtonState& buttons) override;
    using VSTGUI::CControl::onWheel;
    bool onWheel(const VSTGUI::CPoint& where, const float& distance,
                 const VSTGUI::CButtonState& buttons) override;
    // Also rescales the pixel-to-value mapping to the new size.
    void setViewSize(const VSTGUI::CRect& rect, bool invalidate = true) override;

    virtual void setAxisColor(VSTGUI::CColor color);
    virtual void setSelectedColor(VSTGUI::CColor color);
    virtual void setPointColor(VSTGUI::CColor color);
    virtual void setShadeColor(VSTGUI::CColor color);
    virtual void setGridColor(VSTGUI::CColor color);
    // The two ends in either order.
    virtual void setXRange(float a, float b);
    // 0 or less: no grid. In log mode the factor between grid lines.
    virtual void setXGridStep(float step);
    // Added to x values for the grid and the labels.
    virtual void setXLabelOffset(float offset);
    // A value the grid lines pass through (log mode: the series' base).
    virtual void setXGridOrigin(float origin);
    virtual void setShowXLabels(bool show);
    virtual void setYRange(float a, float b);
    virtual void setYGridStep(float step);
    virtual void setYLabelOffset(float offset);
    virtual void setYGridOrigin(float origin);
    virtual void setShowYLabels(bool show, bool rightSide = false);
    virtual void setPlotMode(int32_t mode);
    virtual void setDrawFrame(bool draw);
    // A ninth group is ignored. The new group starts at the centre, on and
    // at half width, and becomes the selected one.
    virtual void addPointGroup(int32_t xTag, int32_t yTag, int32_t activeTag, int32_t widthTag,
                               uint16_t flags);
    virtual void setGroupXTag(int index, int32_t tag);
    virtual void setGroupYTag(int index, int32_t tag);
    virtual void setGroupActiveTag(int index, int32_t tag);
    virtual void setGroupWidthTag(int index, int32_t tag);
    virtual void setGroupColor(int index, VSTGUI::CColor color);
    // Takes the value of the first group (in index order; per group x, y,
    // width, active) bound to tag, or the selection. False when no one is.
    virtual bool setParameterValue(int32_t tag, float value);
    // A negative index clears the selection.
    virtual void setSelectedGroup(int index);
    // Divisor of pointer movement with Shift held.
    virtual void setFineFactor(float factor);
    // Hit distance in pixels, and the points' drawn size.
    virtual void setPointRadius(int8_t radius);
    virtual void setCrosshairEnabled(bool enabled);
    // Grid lines and labels fade near the crosshair.
    virtual void setCrosshairFade(bool fade);
    virtual int getSelectedGroup() const;
    virtual float getGroupX(int index) const;
    virtual float getGroupY(int index) const;
    virtual float getGroupActive(int index) const;
    virtual float getGroupWidth(int index) const;
    virtual VSTGUI::CPoint getGroupPoint(int index) const;

    virtual void drawLinearGrid(VSTGUI::CDrawContext* context);
    virtual void drawPolarGrid(VSTGUI::CDrawContext* context);
    virtual void drawLogGrid(VSTGUI::CDrawContext* context);
    // Drawn after the background and before the grid; empty here.
    virtual void drawUnderlay(VSTGUI::CDrawContext* context);
    virtual void drawPoints(VSTGUI::CDrawContext* context);
    virtual void drawCrosshair(VSTGUI::CDrawContext* context);
    // A null or unsafe format uses the default ("%2.0f", "%2.1fk" from 1000).
    virtual void drawXLabel(VSTGUI::CDrawContext* context, float value,
                            const char* format = nullptr);
    virtual void drawYLabel(VSTGUI::CDrawContext* context, float value,
                            const char* format = nullptr);

    // Value (axis units) to pixel, clamped to the view widened by 1 px.
    virtual VSTGUI::CPoint valueToPixel(float x, float y) const;
    virtual float pixelToXValue(const VSTGUI::CPoint& p) const;
    virtual float pixelToYValue(const VSTGUI::CPoint& p) const;
    // Into the view widened by one pixel on every side.
    virtual void clampToView(VSTGUI::CPoint& p) const;
    virtual VSTGUI::CPoint normalizedToPixel(float nx, float ny) const;
    // Not clamped to 0..1; callers do that.
    virtual float pixelToNormalizedX(const VSTGUI::CPoint& p) const;
    virtual float pixelToNormalizedY(const VSTGUI::CPoint& p) const;

    int getGroupCount() const { return groupCount; }
    int getPointRadius() const { return pointRadius; }
    bool isCrosshairVisible() const { return crosshairVisible; }
    VSTGUI::CPoint getCrosshair() const { return crosshair; }
    float getXMin() const { return xMin; }
    float getXMax() const { return xMax; }
    float getYMin() const { return yMin; }
    float getYMax() const { return yMax; }

    VSTGUI::CColor axisColor{120, 140, 0, 255};
    VSTGUI::CColor selectedColor{194, 250, 5, 255};
    VSTGUI::CColor pointColor{160, 250, 5, 64};
    VSTGUI::CColor shadeColor{0, 0, 0, 160};
    VSTGUI::CColor gridColor{70, 90, 0, 255};

protected:
    static constexpr float kWheelIncrement = control_values::kWheelIncrement;

    bool validGroup(int index) const { return index >= 0 && index < groupCount; }
    // Tag and value set, then beginEdit, valueChanged, endEdit; nothing for
    // a negative tag.
    void notify(int32_t tag, float value);
    // Shows the crosshair at where (clamped) when it moved.
    void updateCrosshair(const VSTGUI::CPoint& where);
    void recomputeInverses();
    // The shade (unless transparent) and the background bitmap.
    void drawBackground(VSTGUI::CDrawContext* context);
    // Shared by the linear and logarithmic grids: one vertical line at value
    // (none at the right edge, which is the frame's) with the label for
    // label, both fading near the crosshair.
    void drawColumn(VSTGUI::CDrawContext* context, float value, float label);
    // Shared by the linear and logarithmic grids: the horizontal lines with
    // their labels, and the frame.
    void drawRowGrid(VSTGUI::CDrawContext* context);
    void drawFrameRect(VSTGUI::CDrawContext* context);

    float xMin = 0, xMax = 100;
    float xGridOrigin = 0, xGridStep = 10, xLabelOffset = 0;
    bool showXLabels = true, showYLabels = true;
    float yMin = 0, yMax = 100;
    float yGridOrigin = 0, yGridStep = 10, yLabelOffset = 0;
    bool yLabelsRight = false;
    float invXRange = 0.01f, invYRange = 0.01f;
    float invXMin = 0, invXMax = 0;
    float logXRatio = 0, invLogXRatio = 0;
    float invWidth = 1, invHeight = 1;
    int32_t plotMode = kPlotLinear;
    bool drawFrame = true;
    int8_t pointRadius = 9;
    int8_t groupCount = 0;
    int8_t selectedGroup = -1;
    VSTGUI::CPoint groupPosition[kMaxGroups];
    int32_t xTag[kMaxGroups] = {};
    int32_t yTag[kMaxGroups] = {};
    int32_t activeTag[kMaxGroups] = {};
    int32_t widthTag[kMaxGroups] = {};
    float xValue[kMaxGroups] = {};
    float yValue[kMaxGroups] = {};
    float activeValue[kMaxGroups] = {};
    float widthValue[kMaxGroups] = {};
    std::array<VSTGUI::CColor, kMaxGroups> groupColor;
    uint16_t groupFlags[kMaxGroups] = {};
    VSTGUI::CPoint dragAnchor{-1, -1};
    VSTGUI::CPoint lastMousePosition{-1, -1};
    VSTGUI::CPoint crosshair{-1, -1};
    int32_t selectionTag;
    float fineFactor = 10;
    bool crosshairEnabled = false, crosshairVisible = false, crosshairFade = false;

private:
    // The reciprocals of the view's size less one pixel, for pixel-to-value
    // mapping.
    void recomputePixelInverses();
};
