#include "tools/gallery/Gallery.h"

#include "dsp/Meters.h"
#include "editor/controls/AnalogVuMeter.h"
#include "editor/controls/MyAnimKnob.h"
#include "editor/controls/MyOptionMenu.h"
#include "editor/controls/Plot3D.h"
#include "editor/controls/VUMeter.h"
#include "editor/controls/XYGraph.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CTextLabel.h"
#include "tools/gallery/GalleryPictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using namespace VSTGUI;

namespace gallery {

namespace {

constexpr CColor kBackdrop{22, 24, 20, 255};
constexpr CColor kPanel{34, 37, 30, 255};
constexpr CColor kCaption{200, 210, 180, 255};
constexpr CColor kTitle{194, 250, 5, 255};
constexpr double kPi = std::numbers::pi;
constexpr float kSampleRate = 48000.f;

// The gallery's ground: a backdrop, a title and a panel behind each cell.
class Backdrop : public CView
{
public:
    explicit Backdrop(const CRect& size) : CView(size) { setMouseEnabled(false); }
    void addPanel(const CRect& rect) { panels_.push_back(rect); }
    void draw(CDrawContext* context) override
    {
        context->setFillColor(kBackdrop);
        context->drawRect(size_, kDrawFilled);
        context->setFillColor(kPanel);
        for (CRect panel : panels_)
            context->drawRect(panel.extend(6, 6), kDrawFilled);
        context->setFont(kNormalFontBig);
        context->setFontColor(kTitle);
        context->drawString("Control library", CRect(16, 4, 400, 24), kLeftText, true);
        setDirty(false);
    }

private:
    std::vector<CRect> panels_;
};

// The face of the needle meter: a scale arc from the pivot below the view.
class NeedleFace : public CView
{
public:
    NeedleFace(const CRect& size, int needleLength) : CView(size), length_(needleLength)
    {
        setMouseEnabled(false);
    }
    void draw(CDrawContext* context) override
    {
        context->setFillColor(CColor{226, 220, 190, 255});
        context->drawRect(size_, kDrawFilled);
        const double cx = (size_.left + size_.right) / 2;
        const double pivotY = size_.top + length_;
        const double maxAngle = std::asin(0.5 * size_.getWidth() / length_);
        context->setDrawMode(kAntiAliasing);
        context->setLineWidth(1);
        for (int i = 0; i <= 10; ++i) {
            const double a = (i / 10.0 - 0.5) * 2 * maxAngle * 0.9;
            const double inner = i % 5 == 0 ? length_ - 20 : length_ - 14;
            context->setFrameColor(i >= 8 ? CColor{190, 30, 20, 255} : CColor{40, 40, 40, 255});
            context->drawLine(
                CPoint(cx + std::sin(a) * inner, pivotY - std::cos(a) * inner),
                CPoint(cx + std::sin(a) * (length_ - 8), pivotY - std::cos(a) * (length_ - 8)));
        }
        context->setFont(kNormalFontSmall);
        context->setFontColor(CColor{40, 40, 40, 255});
        context->drawString(
            "VU", CRect(size_.left, size_.bottom - 22, size_.right, size_.bottom - 8), kCenterText);
        setDirty(false);
    }

private:
    double length_;
};

// A subclass of the 3-D base that draws a wire cube through its projection.
class CubePlot : public C3DPlot
{
public:
    using C3DPlot::C3DPlot;
    void draw(CDrawContext* context) override
    {
        C3DPlot::draw(context);
        constexpr float kCorners[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                          {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
        constexpr int kEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                       {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
        CPoint p[8];
        for (int i = 0; i < 8; ++i)
            p[i] = project(kCorners[i][0] * 0.5f, kCorners[i][1] * 0.5f, kCorners[i][2] * 0.5f);
        context->setDrawMode(kAntiAliasing);
        context->setLineWidth(1);
        context->setLineStyle(kLineSolid);
        context->setFrameColor(getForegroundColor());
        for (const auto& e : kEdges)
            context->drawLine(p[e[0]], p[e[1]]);
        context->setFillColor(getFillColor3D());
        context->drawPolygon(&p[4], 4, kDrawFilled);
        setDirty(false);
    }
};

void caption(CFrame* frame, const CRect& cell, const char* text)
{
    auto* label = new CTextLabel(
        CRect(cell.left - 4, cell.bottom + 6, cell.right + 40, cell.bottom + 20), text);
    label->setTransparency(true);
    label->setFont(kNormalFontSmall);
    label->setFontColor(kCaption);
    label->setHoriAlign(kLeftText);
    label->setMouseEnabled(false);
    frame->addView(label);
}

// A filter-like response in dB over 20 Hz .. 20 kHz, and a spectrum.
std::vector<float> gResponseX;
std::vector<float> gResponseY;
std::vector<float> gSpectrum;

void makeCurves()
{
    gResponseX.clear();
    gResponseY.clear();
    for (int i = 0; i < 2000; ++i) {
        const double f = 20 * std::pow(1000.0, i / 1999.0);
        const double peak = 9 / (1 + std::pow(std::log2(f / 1200) * 2.2, 2));
        const double shelf = -6 / (1 + std::pow(f / 6000, -3));
        const double low = -12 / (1 + std::pow(f / 60, 2));
        gResponseX.push_back(static_cast<float>(f));
        gResponseY.push_back(static_cast<float>(peak + shelf + low));
    }
    gSpectrum.clear();
    for (int i = 0; i < 24; ++i)
        gSpectrum.push_back(
            static_cast<float>(-6 - i * 1.6 - 8 * std::sin(i * 0.9) * std::sin(i * 0.9)));
}

} // namespace

Gallery::Gallery(CFrame* frame)
{
    registerPictures();
    makeCurves();
    auto* backdrop = new Backdrop(CRect(0, 0, kWidth, kHeight));
    frame->addView(backdrop);

    // Row 1: the plot in two modes, and the curve graph.
    const CRect plotCell(20, 40, 280, 220);
    backdrop->addPanel(plotCell);
    plot_ = new CPlotAxes(plotCell, this, -1);
    plot_->setXRange(-60, 60);
    plot_->setYRange(-60, 60);
    plot_->setXGridStep(30);
    plot_->setYGridStep(30);
    plot_->setGridColor(CColor{60, 75, 0, 255});
    plot_->setCrosshairEnabled(true);
    plot_->addPointGroup(0, 1, 2, 3, CPlotAxes::kGroupVisible | CPlotAxes::kGroupNumbered);
    plot_->addPointGroup(4, 5, 6, 7, CPlotAxes::kGroupVisible | CPlotAxes::kGroupNumbered);
    plot_->setParameterValue(0, 0.25f);
    plot_->setParameterValue(1, 0.65f);
    plot_->setParameterValue(4, 0.75f);
    plot_->setParameterValue(5, 0.35f);
    plot_->setParameterValue(6, 0.f);
    plot_->setSelectedGroup(0);
    CPoint hover(200, 170);
    plot_->onMouseEntered(hover, 0);
    frame->addView(plot_);
    caption(frame, plotCell, "CPlotAxes: linear, two groups, crosshair");

    const CRect polarCell(310, 40, 490, 220);
    backdrop->addPanel(polarCell);
    polar_ = new CPlotAxes(polarCell, this, -1);
    polar_->setPlotMode(CPlotAxes::kPlotPolar);
    polar_->setXRange(0, 360);
    polar_->setYRange(0, 1);
    polar_->setXGridStep(45);
    polar_->setYGridStep(0.25f);
    polar_->setShowXLabels(false);
    polar_->setShowYLabels(false);
    polar_->setGridColor(CColor{60, 75, 0, 255});
    polar_->addPointGroup(10, 11, -1, -1, CPlotAxes::kGroupVisible);
    polar_->setParameterValue(10, 0.125f);
    polar_->setParameterValue(11, 0.7f);
    frame->addView(polar_);
    caption(frame, polarCell, "CPlotAxes: polar");

    const CRect graphCell(520, 40, 770, 220);
    backdrop->addPanel(graphCell);
    auto* response = new CXYGraph(graphCell, this, -1, nullptr, 250);
    response->setPlotMode(CPlotAxes::kPlotLogX);
    response->setXRangeHome(20, 20000, true);
    response->setYRangeHome(-18, 12, true);
    response->setXGridOrigin(10);
    response->setXGridStep(10);
    response->setYGridStep(6);
    response->setFloorLevel(0);
    response->setGridColor(CColor{60, 75, 0, 255});
    response->setCurveData(gResponseX.data(), gResponseY.data(),
                           static_cast<int32_t>(gResponseX.size()));
    frame->addView(response);
    caption(frame, graphCell, "CXYGraph: response, log x, filled to 0 dB");

    // Row 2: bars with a zoom being drawn, the meters, the needle, 3-D.
    const CRect barsCell(20, 270, 280, 410);
    backdrop->addPanel(barsCell);
    auto* bars = new CXYGraph(barsCell, this, -1, nullptr, 64);
    bars->setXRangeHome(0, 23, true);
    bars->setYRangeHome(-60, 0, true);
    bars->setXGridStep(0);
    bars->setYGridStep(12);
    bars->setFloorLevel(-60);
    bars->setBarMode(1);
    bars->setEvenCurveData(0, 23, static_cast<int32_t>(gSpectrum.size()), gSpectrum.data());
    CPoint drag(150, 300);
    bars->onMouseDown(drag, kLButton);
    drag = CPoint(230, 360);
    bars->onMouseMoved(drag, kLButton);
    frame->addView(bars);
    caption(frame, barsCell, "CXYGraph: bar mode, a zoom being dragged");

    const CColor zoneColors[] = {{120, 230, 40, 255}, {240, 210, 30, 255}, {250, 60, 30, 255}};
    const float zoneLimits[] = {-12, -3, 6};
    const CRect peakCell(310, 270, 360, 430);
    backdrop->addPanel(CRect(310, 270, 490, 430));
    peakMeter_ = new CVUMeter(peakCell, -48, 6, nullptr, 3);
    for (int i = 0; i < 3; ++i) {
        peakMeter_->setZoneColor(zoneColors[i], i);
        peakMeter_->setZoneLimit(zoneLimits[i], i);
    }
    peakMeter_->setYGridStep(6);
    peakMeter_->setPeakHold(true);
    peakMeter_->setValue(-1.5f);
    peakMeter_->setValue(-8);
    frame->addView(peakMeter_);

    reductionMeter_ = new CVUMeter(CRect(370, 270, 420, 430), -24, 0, nullptr, 1);
    reductionMeter_->setZoneColor(CColor{60, 170, 250, 255}, 0);
    reductionMeter_->setZoneLimit(0, 0);
    reductionMeter_->setYGridStep(6);
    reductionMeter_->setInverted(true);
    reductionMeter_->setValue(-7.5f);
    frame->addView(reductionMeter_);

    dragMeter_ = new CVUDragMeter(CRect(430, 270, 480, 430), -48, 6, nullptr, 3, this, 20);
    for (int i = 0; i < 3; ++i) {
        dragMeter_->setZoneColor(zoneColors[i], i);
        dragMeter_->setZoneLimit(zoneLimits[i], i);
    }
    dragMeter_->setYGridStep(6);
    dragMeter_->setOffset(0.3f);
    dragMeter_->setValue(-20);
    frame->addView(dragMeter_);
    caption(frame, CRect(310, 430, 490, 430), "CVUMeter, inverted, CVUDragMeter");

    const CRect needleCell(520, 270, 680, 360);
    backdrop->addPanel(needleCell);
    frame->addView(new NeedleFace(needleCell, 120));
    needle_ = new CAnalogVuMeter(needleCell, 120);
    needle_->setNeedleValue(0.7f);
    frame->addView(needle_);
    caption(frame, needleCell, "CAnalogVuMeter");

    const CRect cubeCell(700, 270, 770, 340);
    backdrop->addPanel(cubeCell);
    auto* cube = new CubePlot(cubeCell);
    cube->setRotation(0.6f, 0.45f, 2.5f);
    cube->setTransparency(false);
    frame->addView(cube);
    caption(frame, cubeCell, "C3DPlot");

    // Row 3: knobs, the switch and the menu.
    auto* knobStrip = new CBitmap("gallery-knob.png");
    const float knobValues[] = {0.f, 0.4f, 1.f};
    for (int i = 0; i < 3; ++i) {
        const CRect cell(20 + i * 60, 470, 20 + i * 60 + kKnobSide, 470 + kKnobSide);
        auto* knob = new CMyAnimKnob(cell, this, 30 + i, knobStrip, CPoint(0, 0), CRect());
        knob->setValue(knobValues[i]);
        frame->addView(knob);
    }
    knobStrip->forget();
    backdrop->addPanel(CRect(20, 470, 188, 518));
    caption(frame, CRect(20, 470, 188, 518), "CMyAnimKnob: strip at 0, 0.4, 1");

    const CRect barKnobCell(220, 484, 360, 504);
    backdrop->addPanel(barKnobCell);
    auto* barKnob =
        new CMyAnimKnob(barKnobCell, this, 40, nullptr, CPoint(0, 0), CRect(0, 0, 140, 20));
    barKnob->setCurve(2);
    barKnob->setValue(0.7f);
    barKnob->setLabel("Drive");
    barKnob->setDrawBorder(true);
    frame->addView(barKnob);
    caption(frame, barKnobCell, "CMyAnimKnob: level bar, curve 2");

    auto* switchStrip = new CBitmap("gallery-switch.png");
    for (int i = 0; i < 2; ++i) {
        const CRect cell(390 + i * 44, 478, 390 + i * 44 + kSwitchSide, 478 + kSwitchSide);
        auto* button = new CMyOnOffButton(cell, this, 50 + i, switchStrip, CPoint(0, 0), CRect());
        button->setValue(static_cast<float>(i));
        frame->addView(button);
    }
    switchStrip->forget();
    backdrop->addPanel(CRect(390, 478, 466, 510));
    caption(frame, CRect(390, 478, 466, 510), "CMyOnOffButton off, on");

    const CRect menuCell(500, 484, 660, 504);
    backdrop->addPanel(menuCell);
    auto* menu = new CMyOptionMenu(menuCell, this, 60);
    for (const char* name : {"Sine", "Triangle", "Square", "Noise"})
        menu->addEntry(name);
    menu->setValue(1);
    menu->setDrawBorder(true);
    menu->setHoriAlign(kLeftText);
    menu->setTransparency(true);
    frame->addView(menu);
    caption(frame, menuCell, "CMyOptionMenu (click: pop-up)");

    peak_ = std::make_unique<CVu>();
    peak_->setDecay(1.5f, kSampleRate, 1);
    valley_ = std::make_unique<CVu>();
    valley_->setMode(true);
    valley_->setDecay(0.8f, kSampleRate, 1);
    vu_ = std::make_unique<CAnalogVu>();
    vu_->setTimes(0.3f, 0.3f, kSampleRate, 1);
}

Gallery::~Gallery() = default;

void Gallery::play(double seconds)
{
    // A 220 Hz tone whose level swells and fades over a few seconds, with a
    // short burst now and then.
    const int count = std::clamp(static_cast<int>(seconds * kSampleRate), 1, 48000);
    std::vector<float> block(static_cast<size_t>(count));
    std::vector<float> gain(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        time_ += 1.0 / kSampleRate;
        phase_ = std::fmod(phase_ + 2 * kPi * 220 / kSampleRate, 2 * kPi);
        const double swell = 0.5 + 0.45 * std::sin(2 * kPi * 0.23 * time_);
        const double burst = std::fmod(time_, 3.1) < 0.08 ? 1.6 : 1.0;
        block[static_cast<size_t>(i)] = static_cast<float>(swell * burst * std::sin(phase_));
        // A compressor's gain: down when the level is high.
        gain[static_cast<size_t>(i)] =
            static_cast<float>(1.0 / (1.0 + 2.5 * swell * swell * burst));
    }
    peak_->process(block.data(), count);
    valley_->process(gain.data(), count);
    vu_->process(block.data(), count);
    auto dB = [](float v) { return 20.f * std::log10(std::max(v, 1e-6f)); };
    const float level = dB(peak_->readLevel());
    peakMeter_->setValue(level);
    dragMeter_->setValue(level);
    reductionMeter_->setValue(dB(valley_->readLevel()));
    // The needle spans -20 .. +3 VU, with 0 VU at -12 dB here.
    needle_->setNeedleValue(std::clamp((dB(vu_->getLevel()) + 12.f + 20.f) / 23.f, 0.f, 1.f));
}

void Gallery::valueChanged(CControl* control)
{
    // The plots show what they are sent back, as a plug-in's parameters do.
    if (control == plot_ || control == polar_)
        static_cast<CPlotAxes*>(control)->setParameterValue(control->getTag(),
                                                            control->getValueNormalized());
}

} // namespace gallery
