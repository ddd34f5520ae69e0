// A plot that also draws a data curve (a response, a spectrum) from an array
// of y values: reduced to at most one point per pixel column and maxPoints
// points, shown as a filled polygon down to a floor level, or as bars when
// there are few points. Dragging over empty space zooms into the rectangle
// drawn; a plain click there returns to the full (home) view. All of the
// plot's point groups, grid, crosshair and parameter binding remain; the
// groups' normalised values refer to the home ranges, so they keep their
// meaning while zoomed.
//
// The data arrays belong to the caller and must stay valid while the graph
// uses them. Threads: the window's thread.
#pragma once

#include "editor/controls/PlotAxes.h"

#include <vector>

class CXYGraph : public CPlotAxes
{
public:
    // The value of one bucket of samples, y[begin] to y[end - 1].
    using ReduceFunction = float (*)(const float* y, int32_t begin, int32_t end);

    CXYGraph(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, int32_t selectionTag,
             VSTGUI::CBitmap* background, int32_t maxPoints);
    CXYGraph(const CXYGraph& other);
    ~CXYGraph() override;

    bool isTypeOf(const char* type) const override;
    VSTGUI::CView* newCopy() const override { return new CXYGraph(*this); }

    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where,
                                        const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where,
                                           const VSTGUI::CButtonState& buttons) override;
    void setViewSize(const VSTGUI::CRect& rect, bool invalidate = true) override;
    void drawUnderlay(VSTGUI::CDrawContext* context) override;

    VSTGUI::CPoint normalizedToPixel(float nx, float ny) const override;
    float pixelToNormalizedX(const VSTGUI::CPoint& p) const override;
    float pixelToNormalizedY(const VSTGUI::CPoint& p) const override;

    // With asHome the range also becomes the home range.
    virtual void setXRangeHome(float a, float b, bool asHome);
    virtual void setYRangeHome(float a, float b, bool asHome);
    // Bars instead of a polygon, below kMaxBarEntries entries.
    virtual void setBarMode(int32_t mode);
    virtual void setDrawStyle(int32_t style);
    virtual void setCurveLineWidth(double width);
    virtual void setZoomEnabled(bool enabled);
    // The y value down to which the curve is filled.
    virtual void setFloorLevel(float level);
    // Samples at x[i], y[i] (x ascending).
    virtual void setCurveData(const float* x, const float* y, int32_t count,
                              ReduceFunction reduce = nullptr);
    // count samples evenly spaced from xStart to xEnd.
    virtual void setEvenCurveData(float xStart, float xEnd, int32_t count, const float* y,
                                  ReduceFunction reduce = nullptr);
    // y at x, interpolated; 0 without data or outside the data's x span.
    virtual float getCurveValue(float x) const;
    virtual void invalidatePoints(bool dirty);
    // The pixel row of the floor, one pixel outside the view when the floor
    // is outside the y range.
    virtual double floorRow() const;
    virtual void rebuildPoints();

    // The point buffer: four closing corners, then the curve.
    int32_t getPointCount() const { return pointCount; }
    const VSTGUI::CPoint* getPoints() const { return points.data(); }
    bool isZooming() const { return zooming; }

    // Bar mode draws bars only below this many buffer entries.
    static constexpr int32_t kMaxBarEntries = 64;
    static constexpr int32_t kCorners = 4;

protected:
    int32_t barMode = 0;
    int32_t drawStyle = VSTGUI::kDrawFilledAndStroked;
    double lineWidth = 1;
    float floorLevel;
    float homeXMin, homeXMax, invHomeX;
    float homeYMin, homeYMax, invHomeY;
    bool zoomEnabled = true;
    bool zooming = false;
    VSTGUI::CPoint zoomStart, zoomEnd;
    const float* xData = nullptr;
    const float* yData = nullptr;
    float xStart = 0, xEnd = 1;
    float invXSpan = 1;
    int32_t dataCount = 0;
    ReduceFunction reduce = nullptr;
    bool pointsDirty = false;
    int32_t maxPoints;
    std::vector<VSTGUI::CPoint> points;
    int32_t pointCount = 0;

private:
    void drawBars(VSTGUI::CDrawContext* context);
};
