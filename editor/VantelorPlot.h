// The editor's source position plot: the two inputs (sources L and R) as
// circles over the stage. Horizontal position is the source's azimuth,
// vertical its elevation (both -60..60 degrees), the circle's size its width
// and its look whether the source is on. Dragging moves a source (snapping
// to elevation 0), a left click switches it on, a right click off, and the
// wheel changes the width of the selected source.
#pragma once

#include "editor/controls/PlotAxes.h"

class CVantelorPlot : public CPlotAxes
{
public:
    static constexpr float kAngleRange = 60.f;
    static constexpr int8_t kMaxRadius = 30;
    // Drawn half size of a source at width 0.
    static constexpr int kMinRadius = 10;

    // Set up for the two sources, bound to the plug-in's parameter numbers.
    CVantelorPlot(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener);
    CVantelorPlot(const CVantelorPlot& other) = default;
    ~CVantelorPlot() override;

    // A copy draws the sources as this plot does.
    VSTGUI::CView* newCopy() const override { return new CVantelorPlot(*this); }

    void drawPoints(VSTGUI::CDrawContext* context) override;
};
