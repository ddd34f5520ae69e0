// Bar meters on the plot's value-to-row mapping. CVUMeter: a vertical bar
// in coloured zones over a dB-style scale, with an optional peak-hold line
// and readout (a click then clears the peak). CVUDragMeter: a CVUMeter whose
// scale the user shifts by dragging (or with the wheel), the shift being its
// control value, 0..1 of the drag range.
//
// The levels come from the window's owner (for example from a level
// follower's output handed over at the window's idle). Threads: the
// window's thread.
#pragma once

#include "editor/controls/PlotAxes.h"

#include <vector>

class CVUMeter : public CPlotAxes
{
public:
    CVUMeter(const VSTGUI::CRect& size, float yMin, float yMax, VSTGUI::CBitmap* background,
             int8_t zoneCount);
    CVUMeter(const CVUMeter& other);
    ~CVUMeter() override;

    bool isTypeOf(const char* type) const override;
    VSTGUI::CView* newCopy() const override { return new CVUMeter(*this); }

    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
    // A new level in scale units, clamped; the peak follows it.
    void setValue(float val) override;

    virtual void resetLevel();
    // The bar hangs from the top.
    virtual void setInverted(bool inverted);
    virtual void setZoneColor(VSTGUI::CColor color, int index);
    // The upper limit of a zone in scale units; limits ascend.
    virtual void setZoneLimit(float limit, int index);
    virtual void setLowerClamp(float clamp);
    virtual void setUpperClamp(float clamp);
    virtual void setPeakHold(bool hold);
    // The peak with peak hold on, else 0.
    virtual float getPeakLevel() const;
    virtual void setPeakLevel(float peak);
    virtual double levelToRow(float value) const;
    // The number of zone limits strictly below value.
    virtual int8_t zoneIndex(float value) const;

    float getLevel() const { return level; }
    bool isInverted() const { return inverted; }
    int8_t getZoneCount() const { return zoneCount; }

protected:
    float startLevel() const;
    float startPeak() const;
    // The colour of zone index, which may be one past the last zone (a
    // value above every limit).
    VSTGUI::CColor zoneColor(int index) const;
    void drawScale(VSTGUI::CDrawContext* context, double peakRow);
    void drawBar(VSTGUI::CDrawContext* context, double startRow);
    void drawPeak(VSTGUI::CDrawContext* context, double peakRow);

    float level;
    bool inverted = false;
    float peak;
    bool peakHold = false;
    float upperClamp = 160, lowerClamp = -160;
    int8_t zoneCount;
    std::vector<VSTGUI::CColor> zoneColors;
    std::vector<float> zoneLimits;
};

class CVUDragMeter : public CVUMeter
{
public:
    CVUDragMeter(const VSTGUI::CRect& size, float yMin, float yMax, VSTGUI::CBitmap* background,
                 int8_t zoneCount, VSTGUI::CControlListener* listener, int32_t tag);

    bool isTypeOf(const char* type) const override;
    VSTGUI::CView* newCopy() const override { return new CVUDragMeter(*this); }

    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where,
                                        const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where,
                                           const VSTGUI::CButtonState& buttons) override;
    using CVUMeter::onWheel;
    bool onWheel(const VSTGUI::CPoint& where, const float& distance,
                 const VSTGUI::CButtonState& buttons) override;
    // The offset.
    float getValue() const override;

    // A level as given: no clamp, no peak.
    virtual void setRawLevel(float value);
    // 0..1 of the drag range; shifts the scale.
    virtual void setOffset(float offset);
    virtual void setDragRange(float range);

    float getOffset() const { return offset; }

protected:
    void notifyOffset();

    float baseMin, baseMax;
    float offset = 0;
    float dragRange = 20;
    VSTGUI::CPoint dragPoint{-1, -1};

private:
    // The scale: the base range shifted by the offset's share of the drag
    // range.
    void applyOffset();
};
