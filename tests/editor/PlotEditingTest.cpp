// The plot's arithmetic and its mouse editing: values to pixels and back in
// each plot mode, and what a click, a drag and the wheel send to the
// listener on the source plot.
#include <gtest/gtest.h>

#include "editor/controls/PlotAxes.h"
#include "editor/VantelorPlot.h"
#include "product/VantelorParameters.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace VSTGUI;

namespace {

struct Edit
{
    char kind; // 'b' beginEdit, 'v' valueChanged, 'e' endEdit
    int32_t tag;
    float value;
    bool operator==(const Edit&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Edit& e)
{
    return os << e.kind << e.tag << "=" << e.value;
}

// Records the edit notifications and, like the editor, hands every new
// value back to the plot.
class RecordingListener : public CControlListener
{
public:
    void valueChanged(CControl* c) override
    {
        edits.push_back({'v', c->getTag(), c->getValueNormalized()});
        if (echo)
            echo->setParameterValue(c->getTag(), c->getValueNormalized());
    }
    void controlBeginEdit(CControl* c) override
    {
        edits.push_back({'b', c->getTag(), c->getValueNormalized()});
    }
    void controlEndEdit(CControl* c) override
    {
        edits.push_back({'e', c->getTag(), c->getValueNormalized()});
    }

    // Only the values sent, in order.
    std::vector<std::pair<int32_t, float>> values() const
    {
        std::vector<std::pair<int32_t, float>> out;
        for (const Edit& e : edits)
            if (e.kind == 'v')
                out.emplace_back(e.tag, e.value);
        return out;
    }

    std::vector<Edit> edits;
    CPlotAxes* echo = nullptr;
};

// The product's plot as the editor places it, with L at azimuth -30
// (column 118) and R at +30 (column 300), both at elevation 0 (row 127),
// on and at width 0.
class SourcePlot : public ::testing::Test
{
protected:
    SourcePlot() : plot(new CVantelorPlot(CRect(27, 21, 392, 234), &listener))
    {
        listener.echo = plot;
        for (auto [tag, value] : {std::pair{kAziL, 0.25f},
                                  {kElevL, 0.5f},
                                  {kActiveL, 1.f},
                                  {kWidthL, 0.f},
                                  {kAziR, 0.75f},
                                  {kElevR, 0.5f},
                                  {kActiveR, 1.f},
                                  {kWidthR, 0.f}})
            plot->setParameterValue(tag, value);
    }
    ~SourcePlot() override { plot->forget(); }

    CMouseEventResult down(double x, double y, int32_t buttons = kLButton)
    {
        CPoint p(x, y);
        return plot->onMouseDown(p, buttons);
    }
    CMouseEventResult move(double x, double y, int32_t buttons = kLButton)
    {
        CPoint p(x, y);
        return plot->onMouseMoved(p, buttons);
    }
    CMouseEventResult up(double x, double y, int32_t buttons = 0)
    {
        CPoint p(x, y);
        return plot->onMouseUp(p, buttons);
    }
    // The normalised values a pointer position maps to.
    static float columnValue(double column)
    {
        return static_cast<float>(std::round(column - 27) / 364);
    }
    static float rowValue(double row) { return static_cast<float>(1 - std::round(row - 21) / 212); }

    RecordingListener listener;
    CVantelorPlot* plot;
};

TEST(PlotMapping, SourcePlotColumnsAndRowsFollowTheDocumentedFormulas)
{
    auto* plot = new CVantelorPlot(CRect(27, 21, 392, 234), nullptr);
    EXPECT_EQ(plot->getXMin(), -60.f);
    EXPECT_EQ(plot->getYMax(), 60.f);
    struct Case
    {
        float azimuth, elevation;
        CPoint pixel;
    } cases[] = {
        {-60, 0, {27, 127}},  {60, 0, {391, 127}},  {0, 60, {209, 21}},
        {0, -60, {209, 233}}, {-30, 30, {118, 74}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plot->valueToPixel(c.azimuth, c.elevation), c.pixel)
            << c.azimuth << "," << c.elevation;

    // Every normalised value lands on nearest(27 + 364 x), nearest(21 + 212 (1 - y)),
    // and every pixel maps back to nearest(column - 27) / 364 and its row likewise.
    for (int i = 0; i <= 1000; ++i) {
        const float v = static_cast<float>(i) / 1000.f;
        const CPoint p = plot->normalizedToPixel(v, v);
        ASSERT_EQ(p.x, std::round(27 + 364 * static_cast<double>(v))) << v;
        ASSERT_EQ(p.y, std::round(21 + 212 * (1 - static_cast<double>(v)))) << v;
    }
    for (int column = 27; column <= 391; ++column) {
        const float x = plot->pixelToNormalizedX(CPoint(column, 100));
        ASSERT_NEAR(x, (column - 27) / 364.f, 1e-6f) << column;
        ASSERT_EQ(plot->normalizedToPixel(x, 0.5f).x, column);
    }
    for (int row = 21; row <= 233; ++row) {
        const float y = plot->pixelToNormalizedY(CPoint(100, row));
        ASSERT_NEAR(y, 1 - (row - 21) / 212.f, 1e-6f) << row;
        ASSERT_EQ(plot->normalizedToPixel(0.5f, y).y, row);
    }
    EXPECT_EQ(plot->pixelToNormalizedY(CPoint(100, 127)), 0.5f); // elevation 0
    plot->forget();
}

TEST(PlotMapping, ClampsToTheViewWidenedByOnePixel)
{
    auto* plot = new CPlotAxes(CRect(10, 20, 110, 70), nullptr, -1);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        CPoint in, out;
    } cases[] = {
        {{50, 40}, {50, 40}},
        {{-500, -500}, {9, 19}},
        {{500, 500}, {111, 71}},
        {{nan, nan}, {9, 19}},
    };
    for (const Case& c : cases) {
        CPoint p = c.in;
        plot->clampToView(p);
        EXPECT_EQ(p, c.out) << c.in.x << "," << c.in.y;
    }
    // Values far outside the range are drawn at the edge.
    EXPECT_EQ(plot->normalizedToPixel(-3.f, 7.f), CPoint(9, 19));
    // Pointer positions past the edge map to values that callers clamp to 0..1.
    EXPECT_LE(plot->pixelToNormalizedX(CPoint(-100, 0)), 0.f);
    EXPECT_GE(plot->pixelToNormalizedY(CPoint(0, -100)), 1.f);
    plot->forget();
}

TEST(PlotMapping, RangesAreOrderedAndDegenerateOnesStayFinite)
{
    auto* plot = new CPlotAxes(CRect(0, 0, 1, 1), nullptr, -1); // a one-pixel view
    plot->setXRange(10, -10);
    EXPECT_EQ(plot->getXMin(), -10.f);
    EXPECT_EQ(plot->getXMax(), 10.f);
    plot->setYRange(5, 5);
    for (float v : {-1.f, 0.f, 0.5f, 2.f}) {
        const CPoint p = plot->normalizedToPixel(v, v);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << v;
        EXPECT_TRUE(std::isfinite(plot->pixelToNormalizedY(p))) << v;
    }
    plot->forget();
}

TEST(PlotMapping, PolarAndLogarithmicModes)
{
    // Polar: x is one turn counter-clockwise from the right, y runs from the
    // centre to the rim, and both ways agree.
    auto* polar = new CPlotAxes(CRect(0, 0, 201, 201), nullptr, -1);
    polar->setPlotMode(CPlotAxes::kPlotPolar);
    polar->setXRange(0, 360);
    polar->setYRange(0, 1);
    struct Case
    {
        float angle;
        CPoint pixel;
    } rim[] = {{0, {200, 100}}, {90, {100, 1}}, {180, {1, 100}}, {270, {100, 200}}};
    for (const Case& c : rim) {
        const CPoint p = polar->valueToPixel(c.angle, 1);
        EXPECT_NEAR(p.x, c.pixel.x, 1) << c.angle;
        EXPECT_NEAR(p.y, c.pixel.y, 1) << c.angle;
        const float back = polar->pixelToXValue(p);
        EXPECT_NEAR(std::remainder(back - c.angle, 360.f), 0.f, 1.f) << c.angle;
        // The rim pixel lies half a pixel inside the radius of 100.5 px.
        EXPECT_NEAR(polar->pixelToYValue(p), 1.f, 0.006f) << c.angle;
    }
    EXPECT_EQ(polar->valueToPixel(123, 0), CPoint(101, 101)); // radius 0 is the centre

    // Logarithmic x: equal ratios take equal widths.
    auto* logX = new CPlotAxes(CRect(0, 0, 301, 10), nullptr, -1);
    logX->setPlotMode(CPlotAxes::kPlotLogX);
    logX->setXRange(10, 10000);
    for (auto [value, column] :
         {std::pair{10.f, 0.}, {100.f, 100.}, {1000.f, 200.}, {10000.f, 300.}}) {
        EXPECT_EQ(logX->valueToPixel(value, 0).x, column) << value;
        EXPECT_NEAR(logX->pixelToXValue(CPoint(column, 0)), value, value * 1e-5f) << value;
    }
    polar->forget();
    logX->forget();
}

TEST(PlotGroups, ValuesFindTheirGroupAndSelectIt)
{
    auto* plot = new CPlotAxes(CRect(0, 0, 101, 101), nullptr, 99);
    EXPECT_FALSE(plot->getMouseEnabled());          // nothing to edit yet
    EXPECT_FALSE(plot->setParameterValue(99, 1.f)); // no groups: not even the selection
    plot->addPointGroup(0, 1, -1, -1, CPlotAxes::kGroupVisible);
    plot->addPointGroup(2, 0, 3, 4, CPlotAxes::kGroupVisible); // shares tag 0 as its y
    EXPECT_TRUE(plot->getMouseEnabled());
    EXPECT_EQ(plot->getSelectedGroup(), 1);
    EXPECT_EQ(plot->getGroupActive(1), 1.f);
    EXPECT_EQ(plot->getGroupWidth(1), 0.5f);
    EXPECT_EQ(plot->getGroupPoint(1), CPoint(50, 50));

    EXPECT_TRUE(plot->setParameterValue(0, 0.2f)); // the lower group takes the shared tag
    EXPECT_EQ(plot->getGroupX(0), 0.2f);
    EXPECT_EQ(plot->getGroupY(1), 0.5f);
    EXPECT_EQ(plot->getSelectedGroup(), 0);
    EXPECT_EQ(plot->getGroupPoint(0), CPoint(20, 50));
    EXPECT_TRUE(plot->setParameterValue(4, 1.7f)); // stored unchanged
    EXPECT_EQ(plot->getGroupWidth(1), 1.7f);
    EXPECT_FALSE(plot->setParameterValue(42, 0.3f));

    // The selection parameter: 0 is none, 1 the last group; out-of-range
    // values still name a group or none.
    for (auto [value, selected] : {std::pair{0.f, -1}, {0.5f, 0}, {1.f, 1}, {-5.f, -1}, {9.f, 1}}) {
        EXPECT_TRUE(plot->setParameterValue(99, value));
        EXPECT_EQ(plot->getSelectedGroup(), selected) << value;
    }
    // Out-of-range indices are ignored; getters answer 0.
    plot->setGroupXTag(5, 7);
    plot->setSelectedGroup(2);
    EXPECT_EQ(plot->getSelectedGroup(), 1);
    EXPECT_EQ(plot->getGroupX(-1), 0.f);
    EXPECT_EQ(plot->getGroupPoint(8), CPoint(0, 0));
    for (int i = 0; i < 10; ++i)
        plot->addPointGroup(10 + i, -1, -1, -1, 0);
    EXPECT_EQ(plot->getGroupCount(), 8);
    plot->forget();
}

TEST(PlotGroups, WithoutGroupsOrListenerTheMouseIsNotTaken)
{
    RecordingListener listener;
    auto* empty = new CPlotAxes(CRect(0, 0, 101, 101), &listener, -1);
    empty->setMouseEnabled(true);
    CPoint p(50, 50);
    EXPECT_EQ(empty->onMouseDown(p, kLButton), kMouseEventNotHandled);
    auto* deaf = new CVantelorPlot(CRect(0, 0, 101, 101), nullptr);
    p = CPoint(50, 50);
    EXPECT_EQ(deaf->onMouseDown(p, kLButton), kMouseEventNotHandled);
    EXPECT_FALSE(deaf->onWheel(p, 1.f, 0));
    EXPECT_TRUE(listener.edits.empty());
    empty->forget();
    deaf->forget();
}

TEST_F(SourcePlot, AClickHitsBySquareDistanceAndSwitchesTheSource)
{
    struct Case
    {
        const char* what;
        float activeL, aziR;
        CPoint at;
        int32_t buttons;
        int selected;
        std::vector<std::pair<int32_t, float>> sent;
    } cases[] = {
        {"25 px beside a small circle", 1, 0.75f, {143, 127}, kLButton, 0, {}},
        {"corner of the square, 30 px both ways", 1, 0.75f, {148, 157}, kLButton, 0, {}},
        {"31 px away misses", 1, 0.75f, {149, 127}, kLButton, -1, {}},
        {"both in reach: L wins", 1, 0.3f, {125, 127}, kLButton, 0, {}},
        {"right click switches off", 1, 0.75f, {118, 127}, kRButton, 0, {{kActiveL, 0.f}}},
        {"left click switches on", 0, 0.75f, {118, 127}, kLButton, 0, {{kActiveL, 1.f}}},
        {"double click acts as a click",
         0,
         0.75f,
         {118, 127},
         kLButton | kDoubleClick,
         0,
         {{kActiveL, 1.f}}},
        {"right click on R", 1, 0.75f, {300, 140}, kRButton, 1, {{kActiveR, 0.f}}},
    };
    for (const Case& c : cases) {
        plot->setParameterValue(kActiveL, c.activeL);
        plot->setParameterValue(kAziR, c.aziR);
        listener.edits.clear();
        const CMouseEventResult result = down(c.at.x, c.at.y, c.buttons);
        EXPECT_EQ(result, c.selected >= 0 ? kMouseEventHandled : kMouseEventNotHandled) << c.what;
        EXPECT_EQ(plot->getSelectedGroup(), c.selected) << c.what;
        EXPECT_EQ(listener.values(), c.sent) << c.what;
        if (c.selected >= 0) { // the crosshair jumps to the source's centre
            EXPECT_EQ(plot->getCrosshair(), plot->getGroupPoint(c.selected)) << c.what;
        }
        up(c.at.x, c.at.y);
    }
    // Each change is one complete gesture, tag and value set for all three calls.
    listener.edits.clear();
    down(118, 127, kRButton);
    EXPECT_EQ(
        listener.edits,
        (std::vector<Edit>{{'b', kActiveL, 0.f}, {'v', kActiveL, 0.f}, {'e', kActiveL, 0.f}}));
}

TEST_F(SourcePlot, DraggingSendsAzimuthThenElevation)
{
    struct Move
    {
        CPoint to;
        int32_t buttons;
    };
    struct Case
    {
        const char* what;
        float startElevation;
        CPoint downAt;
        std::vector<Move> moves;
        std::vector<std::pair<int32_t, float>> sent;
    } cases[] = {
        {"right and down",
         0.5f,
         {118, 127},
         {{{218, 177}, kLButton}},
         {{kAziL, columnValue(218)}, {kElevL, rowValue(177)}}},
        {"with the right button too",
         0.5f,
         {118, 127},
         {{{218, 177}, kRButton}},
         {{kActiveL, 0.f}, {kAziL, columnValue(218)}, {kElevL, rowValue(177)}}},
        {"within 5 px of elevation 0 snaps to it",
         0.7f,
         {118, 85},
         {{{150, 132}, kLButton}},
         {{kAziL, columnValue(150)}, {kElevL, 0.5f}}},
        {"6 px away does not snap",
         0.7f,
         {118, 85},
         {{{150, 133}, kLButton}},
         {{kAziL, columnValue(150)}, {kElevL, rowValue(133)}}},
        {"past the left and top edges",
         0.5f,
         {118, 127},
         {{{-100, -100}, kLButton}},
         {{kAziL, 0.f}, {kElevL, 1.f}}},
        {"past the right and bottom edges",
         0.5f,
         {118, 127},
         {{{900, 900}, kLButton}},
         {{kAziL, 1.f}, {kElevL, 0.f}}},
        {"Shift: a tenth of the movement from the press",
         0.5f,
         {118, 127},
         {{{218, 127}, kLButton | kShift}},
         {{kAziL, columnValue(128)}}},
        {"Shift after a plain move anchors there",
         0.5f,
         {118, 127},
         {{{150, 127}, kLButton}, {{250, 127}, kLButton | kShift}},
         {{kAziL, columnValue(150)}, {kAziL, columnValue(160)}}},
        {"Control keeps the azimuth",
         0.5f,
         {118, 127},
         {{{218, 177}, kLButton | kControl}},
         {{kElevL, rowValue(177)}}},
        {"Alt keeps the elevation",
         0.5f,
         {118, 127},
         {{{218, 177}, kLButton | kAlt}},
         {{kAziL, columnValue(218)}}},
        {"no button held: no drag", 0.5f, {118, 127}, {{{218, 177}, 0}}, {}},
        {"the same position twice sends once",
         0.5f,
         {118, 127},
         {{{218, 177}, kLButton}, {{218, 177}, kLButton}},
         {{kAziL, columnValue(218)}, {kElevL, rowValue(177)}}},
    };
    for (const Case& c : cases) {
        // L starts off the pixel grid, so a value re-read from a pixel would show.
        plot->setParameterValue(kAziL, 0.2501f);
        plot->setParameterValue(kElevL, c.startElevation);
        plot->setParameterValue(kActiveL, 1.f);
        ASSERT_EQ(down(c.downAt.x, c.downAt.y), kMouseEventHandled) << c.what;
        EXPECT_EQ(plot->getSelectedGroup(), 0);
        listener.edits.clear();
        if (c.moves.front().buttons & kRButton) { // a right-button drag starts with a right press
            up(c.downAt.x, c.downAt.y);
            down(c.downAt.x, c.downAt.y, kRButton);
        }
        for (const Move& m : c.moves)
            move(m.to.x, m.to.y, m.buttons);
        EXPECT_EQ(listener.values(), c.sent) << c.what;
        // The circle sits on the stored values.
        EXPECT_EQ(plot->getGroupPoint(0),
                  plot->normalizedToPixel(plot->getGroupX(0), plot->getGroupY(0)))
            << c.what;
        listener.edits.clear();
        EXPECT_EQ(up(300, 200), kMouseEventHandled);
        EXPECT_TRUE(listener.edits.empty()) << c.what << ": nothing is sent on mouse up";
        EXPECT_EQ(move(300, 200, 0), kMouseEventNotHandled);
        EXPECT_TRUE(listener.edits.empty()) << c.what;
    }
}

TEST_F(SourcePlot, WheelChangesTheSelectedSourcesWidthOnly)
{
    // Opened with R selected (the last value handed over belongs to R).
    EXPECT_EQ(plot->getSelectedGroup(), 1);
    CPoint anywhere(200, 200);
    EXPECT_TRUE(plot->onWheel(anywhere, 1.f, 0));
    EXPECT_EQ(
        listener.edits,
        (std::vector<Edit>{{'b', kWidthR, 0.05f}, {'v', kWidthR, 0.05f}, {'e', kWidthR, 0.05f}}));

    struct Case
    {
        const char* what;
        float width, distance;
        int32_t modifiers;
        float sent;
    } cases[] = {
        {"one notch up", 0.5f, 1, 0, 0.55f},          {"two notches down", 0.5f, -2, 0, 0.4f},
        {"Shift: a tenth", 0.5f, 1, kShift, 0.505f},  {"clamped at the top", 0.98f, 1, 0, 1.f},
        {"clamped at the bottom", 0.02f, -1, 0, 0.f},
    };
    down(118, 127);
    up(118, 127);
    for (const Case& c : cases) {
        plot->setParameterValue(kWidthL, c.width);
        listener.edits.clear();
        EXPECT_TRUE(plot->onWheel(anywhere, c.distance, c.modifiers)) << c.what;
        ASSERT_EQ(listener.values().size(), 1u) << c.what;
        EXPECT_EQ(listener.values()[0].first, kWidthL) << c.what;
        EXPECT_NEAR(listener.values()[0].second, c.sent, 1e-6f) << c.what;
    }

    // A click on empty space clears the selection: the wheel is not taken.
    EXPECT_EQ(down(210, 40), kMouseEventNotHandled);
    EXPECT_EQ(plot->getSelectedGroup(), -1);
    listener.edits.clear();
    EXPECT_FALSE(plot->onWheel(anywhere, 1.f, 0));
    EXPECT_TRUE(listener.edits.empty());
}

TEST_F(SourcePlot, CrosshairFollowsTheHoverAndLeavesWithThePointer)
{
    EXPECT_FALSE(plot->isCrosshairVisible());
    CPoint p(100, 60);
    plot->onMouseEntered(p, 0);
    EXPECT_TRUE(plot->isCrosshairVisible());
    EXPECT_EQ(move(150, 80, 0), kMouseEventNotHandled); // a hover is not a drag
    EXPECT_EQ(plot->getCrosshair(), CPoint(150, 80));
    EXPECT_TRUE(listener.edits.empty());
    move(-50, 80, 0);
    EXPECT_EQ(plot->getCrosshair(), CPoint(26, 80));
    plot->onMouseExited(p, 0);
    EXPECT_FALSE(plot->isCrosshairVisible());
}

TEST(PlotGroups, DiagonalGroupsAndSnapsForAnyConfiguration)
{
    RecordingListener listener;
    auto* plot = new CPlotAxes(CRect(0, 0, 101, 101), &listener, 9);
    listener.echo = plot;
    plot->setXRange(-50, 50);
    plot->setYRange(-50, 50);
    plot->addPointGroup(0, 1, -1, -1, CPlotAxes::kGroupDiagonal);
    plot->addPointGroup(2, 3, -1, -1, CPlotAxes::kGroupSnapX0);
    plot->addPointGroup(4, 5, -1, -1, CPlotAxes::kGroupSnapDiagonal);
    plot->setParameterValue(2, 0.2f);
    plot->setParameterValue(4, 0.8f);
    plot->setParameterValue(5, 0.2f);
    plot->setPointRadius(5);
    struct Case
    {
        const char* what;
        CPoint downAt, moveTo;
        std::vector<std::pair<int32_t, float>> sent;
    } cases[] = {
        // Selecting a group is sent as (index + 1) / groupCount on tag 9.
        {"diagonal: x and y move together",
         {50, 50},
         {70, 90},
         {{9, 1 / 3.f}, {0, 0.7f}, {1, 0.7f}}},
        {"column of x = 0 within 5 px", {20, 50}, {46, 30}, {{9, 2 / 3.f}, {2, 0.5f}, {3, 0.7f}}},
        {"line x = y within 11 px", {80, 80}, {60, 50}, {{9, 1.f}, {4, 0.6f}, {5, 0.6f}}},
    };
    for (const Case& c : cases) {
        listener.edits.clear();
        CPoint p = c.downAt;
        ASSERT_EQ(plot->onMouseDown(p, kLButton), kMouseEventHandled) << c.what;
        p = c.moveTo;
        plot->onMouseMoved(p, kLButton);
        auto sent = listener.values();
        ASSERT_EQ(sent.size(), c.sent.size()) << c.what;
        for (size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i].first, c.sent[i].first) << c.what << " " << i;
            EXPECT_NEAR(sent[i].second, c.sent[i].second, 1e-6f) << c.what << " " << i;
        }
        p = c.moveTo;
        plot->onMouseUp(p, 0);
    }
    // A click that leaves nothing selected sends selection 0.
    listener.edits.clear();
    CPoint p(5, 95);
    EXPECT_EQ(plot->onMouseDown(p, kLButton), kMouseEventNotHandled);
    EXPECT_EQ(listener.values(), (std::vector<std::pair<int32_t, float>>{{9, 0.f}}));
    plot->forget();
}

TEST(PlotGroups, CopiesAndAnswersItsTypeNames)
{
    auto* plot = new CVantelorPlot(CRect(27, 21, 392, 234), nullptr);
    plot->setParameterValue(kAziL, 0.1f);
    EXPECT_TRUE(plot->isTypeOf("CPlotAxes"));
    EXPECT_TRUE(plot->isTypeOf("CControl"));
    EXPECT_TRUE(plot->isTypeOf("CView"));
    EXPECT_FALSE(plot->isTypeOf("CKickButton"));
    auto* copy = dynamic_cast<CVantelorPlot*>(plot->newCopy());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->getGroupCount(), 2);
    EXPECT_EQ(copy->getGroupX(0), 0.1f);
    EXPECT_EQ(copy->getGroupPoint(0), plot->getGroupPoint(0));
    copy->forget();
    plot->forget();
}

} // namespace
