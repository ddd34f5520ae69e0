// The curve graph: the reduction of many samples to one point per bucket,
// bars against a polygon at the entry limit, the floor the curve closes on,
// interpolated read-back, and zooming by dragging and back by a click.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "editor/controls/XYGraph.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace VSTGUI;
using vantelor_test::OffscreenFixture;
using vantelor_test::RecordingListener;

namespace {

struct GraphDeleter
{
    void operator()(CXYGraph* g) const { g->forget(); }
};
using Graph = std::unique_ptr<CXYGraph, GraphDeleter>;

Graph makeGraph(const CRect& size, int32_t maxPoints, CControlListener* listener = nullptr)
{
    Graph graph(new CXYGraph(size, listener, -1, nullptr, maxPoints));
    graph->setYRangeHome(0, 1, true);
    graph->setXRangeHome(0, 100, true);
    return graph;
}

} // namespace

TEST(CurveGraphPoints, TenThousandSamplesOnThreeHundredPixelsAreBucketsOf34ShownByTheirMaxima)
{
    Graph graph = makeGraph(CRect(0, 0, 300, 100), 300);
    std::vector<float> y(10000);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.f, 1.f);
    for (float& v : y)
        v = unit(random);
    graph->setEvenCurveData(0, 100, 10000, y.data());
    graph->rebuildPoints();

    // (9999 / 300) + 1 = 34 samples a bucket; buckets start while the start
    // is at most 9999 - 34 + 1: 294 of them, every one in a column of its own.
    constexpr int kStride = 34;
    constexpr int kBuckets = 294;
    ASSERT_EQ(graph->getPointCount(), CXYGraph::kCorners + kBuckets);
    const CPoint* points = graph->getPoints();
    for (int b = 0; b < kBuckets; ++b) {
        const int start = b * kStride;
        const float top = *std::max_element(y.begin() + start, y.begin() + start + kStride);
        const int middle = start + (kStride - 1) / 2;
        const CPoint expected =
            graph->valueToPixel(100.f * static_cast<float>(middle) / 9999.f, top);
        ASSERT_EQ(points[CXYGraph::kCorners + b], expected) << "bucket " << b;
    }
    // Closed down to the floor (yMin: one pixel below the view), beyond both
    // edges, since the data covers the whole view.
    EXPECT_EQ(points[1].y, 101);
    EXPECT_EQ(points[2].y, 101);
    EXPECT_LT(points[2].x, 0);
    EXPECT_GT(points[1].x, 300);
}

// Zoomed in, only the visible samples and one more on each side are
// reduced, with buckets aligned to multiples of the stride.
TEST(CurveGraphPoints, AZoomedViewReducesTheVisibleSamplesWidenedByOne)
{
    Graph graph = makeGraph(CRect(0, 0, 100, 100), 100);
    std::vector<float> y(1000);
    std::vector<float> x(1000);
    for (int i = 0; i < 1000; ++i) {
        y[static_cast<size_t>(i)] = static_cast<float>((i * 37) % 101) / 100.f;
        x[static_cast<size_t>(i)] = 100.f * static_cast<float>(i) / 999.f;
    }
    graph->setXRange(20, 40);
    // Visible: samples 200 to 399; widened: 199 to 400; stride 201 / 100 + 1
    // = 3, so the buckets start at 198 and run while the start is at most 398.
    for (bool withX : {false, true}) {
        if (withX)
            graph->setCurveData(x.data(), y.data(), 1000);
        else
            graph->setEvenCurveData(0, 100, 1000, y.data());
        graph->rebuildPoints();
        const CPoint* points = graph->getPoints();
        std::vector<CPoint> expected;
        for (int start = 198; start <= 398; start += 3) {
            const float top =
                std::max({y[static_cast<size_t>(start)], y[static_cast<size_t>(start) + 1],
                          y[static_cast<size_t>(start) + 2]});
            const CPoint p =
                graph->valueToPixel(100.f * static_cast<float>(start + 1) / 999.f, top);
            if (expected.empty() || p.x > expected.back().x + 0.5)
                expected.push_back(p);
            else
                expected.back().y = std::max(expected.back().y, p.y);
        }
        ASSERT_EQ(graph->getPointCount(),
                  CXYGraph::kCorners + static_cast<int32_t>(expected.size()))
            << withX;
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_NEAR(points[CXYGraph::kCorners + i].y, expected[i].y, 0)
                << withX << " point " << i;
        EXPECT_EQ(points[2].x, -2); // closed beyond the left edge
    }
}

TEST(CurveGraphPoints, ACallersReductionChoosesTheBucketValue)
{
    Graph graph = makeGraph(CRect(0, 0, 300, 100), 300);
    std::vector<float> y(10000, 1.f);
    graph->setEvenCurveData(0, 100, 10000, y.data(),
                            [](const float*, int32_t, int32_t) { return 0.25f; });
    graph->rebuildPoints();
    ASSERT_GT(graph->getPointCount(), CXYGraph::kCorners);
    for (int i = CXYGraph::kCorners; i < graph->getPointCount(); ++i)
        ASSERT_EQ(graph->getPoints()[i].y, graph->valueToPixel(0, 0.25f).y);
}

TEST(CurveGraphPoints, FloorRowAndTooLittleData)
{
    Graph graph = makeGraph(CRect(10, 20, 110, 121), 100);
    struct Case
    {
        float floor;
        double row;
    } cases[] = {{1.f, 19}, {2.f, 19}, {0.f, 122}, {-1.f, 122}, {0.5f, 70}};
    for (const Case& c : cases) {
        graph->setFloorLevel(c.floor);
        EXPECT_EQ(graph->floorRow(), c.row) << c.floor;
    }
    // A floor at the top closes the polygon one pixel above the view.
    const float y[] = {0.2f, 0.4f, 0.3f};
    graph->setFloorLevel(1.f);
    graph->setEvenCurveData(0, 100, 3, y);
    graph->rebuildPoints();
    ASSERT_EQ(graph->getPointCount(), CXYGraph::kCorners + 3);
    EXPECT_EQ(graph->getPoints()[1].y, 19);
    EXPECT_EQ(graph->getPoints()[2].y, 19);

    graph->setEvenCurveData(0, 100, 1, y); // a single sample is no curve
    graph->rebuildPoints();
    EXPECT_EQ(graph->getPointCount(), 0);
    graph->setCurveData(nullptr, y, 3);
    graph->rebuildPoints();
    EXPECT_EQ(graph->getPointCount(), 0);
}

TEST(CurveGraphPoints, CurveValueInterpolatesBetweenSamples)
{
    Graph graph = makeGraph(CRect(0, 0, 100, 100), 100);
    const float y[] = {0.f, 1.f, 3.f};
    const float x[] = {0.f, 10.f, 40.f};
    graph->setEvenCurveData(0, 20, 3, y);
    struct Case
    {
        float x, even, uneven;
    } cases[] = {{0, 0, 0},        {5, 0.5f, 0.5f}, {10, 1, 1}, {15, 2, 4.f / 3},
                 {20, 3, 5.f / 3}, {25, 0, 2},      {-1, 0, 0}, {41, 0, 0}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(graph->getCurveValue(c.x), c.even) << c.x;
    graph->setCurveData(x, y, 3);
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(graph->getCurveValue(c.x), c.uneven) << c.x;
}

// Bar mode draws bars, with a gap of two pixels between neighbours, only
// while the buffer holds fewer than 64 entries (59 curve points); at 64 the
// same data is one polygon, without gaps.
TEST(CurveGraphDrawing, BarsBelowSixtyFourEntriesAPolygonFromThere)
{
    struct Case
    {
        int samples;
        bool bars;
    } cases[] = {{59, true}, {60, false}};
    for (const Case& c : cases) {
        OffscreenFixture fixture(300, 100);
        CXYGraph* graph = new CXYGraph(CRect(0, 0, 300, 100), nullptr, -1, nullptr, 300);
        graph->setXRangeHome(0, 100, true);
        graph->setYRangeHome(0, 1, true);
        graph->setXGridStep(0);
        graph->setYGridStep(0);
        graph->setDrawFrame(false);
        graph->setBarMode(1);
        graph->setDrawStyle(kDrawFilled);
        graph->setPointColor(CColor{0, 200, 255, 255});
        std::vector<float> y(static_cast<size_t>(c.samples), 0.5f);
        graph->setEvenCurveData(0, 100, c.samples, y.data());
        fixture.frame->addView(graph);
        fixture.frame->idle();
        ASSERT_EQ(graph->getPointCount(), CXYGraph::kCorners + c.samples) << c.samples;

        const CPoint* points = graph->getPoints();
        int gaps = 0;
        for (int i = CXYGraph::kCorners; i + 1 < graph->getPointCount(); ++i) {
            const double middle = (points[i].x + points[i + 1].x) / 2;
            const int column = static_cast<int>(std::floor(middle)) + 1;
            if (fixture.image()->getPixel(column, 80) == kBlackCColor)
                ++gaps;
        }
        const int between = c.samples - 1;
        EXPECT_EQ(gaps, c.bars ? between : 0) << c.samples;
        // Filled below the curve (row 50), empty above.
        EXPECT_EQ(fixture.image()->getPixel(points[CXYGraph::kCorners + 3].x, 80),
                  (CColor{0, 200, 255, 255}));
        EXPECT_EQ(fixture.image()->getPixel(points[CXYGraph::kCorners + 3].x, 20), kBlackCColor);
    }
}

TEST(CurveGraphZoom, DragZoomsIntoTheRectangleAndAClickGoesHome)
{
    RecordingListener listener;
    Graph graph = makeGraph(CRect(0, 0, 201, 101), 200, &listener);
    graph->addPointGroup(1, 2, -1, -1, CPlotAxes::kGroupVisible);
    graph->setParameterValue(1, 0.25f);
    graph->setParameterValue(2, 0.5f);
    EXPECT_TRUE(graph->getMouseEnabled());

    // Pressing on empty space and dragging draws the zoom rectangle.
    CPoint p(100, 10);
    EXPECT_EQ(graph->onMouseDown(p, kLButton), kMouseEventHandled);
    EXPECT_TRUE(graph->isZooming());
    p = CPoint(150, 60);
    EXPECT_EQ(graph->onMouseMoved(p, kLButton), kMouseEventHandled);
    EXPECT_EQ(graph->onMouseUp(p, kLButton), kMouseEventHandled);
    EXPECT_FALSE(graph->isZooming());
    EXPECT_FLOAT_EQ(graph->getXMin(), 50.f);
    EXPECT_FLOAT_EQ(graph->getXMax(), 75.f);
    EXPECT_FLOAT_EQ(graph->getYMin(), 0.4f);
    EXPECT_FLOAT_EQ(graph->getYMax(), 0.9f);
    EXPECT_TRUE(listener.edits.empty()); // zooming edits no parameter

    // The group's normalised values still mean the home ranges: x 0.25 is
    // x = 25, now left of the view; y 0.5 is y = 0.5, a fifth up the view.
    graph->rebuildPoints();
    EXPECT_EQ(graph->getGroupPoint(0), CPoint(-1, 80));

    // A plain click on empty space restores the home ranges.
    p = CPoint(180, 20);
    graph->onMouseDown(p, kLButton);
    graph->onMouseUp(p, kLButton);
    EXPECT_FLOAT_EQ(graph->getXMin(), 0.f);
    EXPECT_FLOAT_EQ(graph->getXMax(), 100.f);
    EXPECT_FLOAT_EQ(graph->getYMin(), 0.f);
    EXPECT_FLOAT_EQ(graph->getYMax(), 1.f);

    // A rectangle of no height zooms nowhere; zooming off does not start.
    p = CPoint(20, 50);
    graph->onMouseDown(p, kLButton);
    p = CPoint(80, 50);
    graph->onMouseMoved(p, kLButton);
    graph->onMouseUp(p, kLButton);
    EXPECT_FLOAT_EQ(graph->getXMax(), 100.f);
    graph->setZoomEnabled(false);
    p = CPoint(180, 20);
    EXPECT_EQ(graph->onMouseDown(p, kLButton), kMouseEventNotHandled);
    EXPECT_FALSE(graph->isZooming());

    // A press on the group's point drags the point, not a rectangle.
    graph->setZoomEnabled(true);
    p = graph->getGroupPoint(0);
    EXPECT_EQ(graph->onMouseDown(p, kLButton), kMouseEventHandled);
    EXPECT_FALSE(graph->isZooming());
}

TEST(CurveGraphZoom, ResizeRemapsThePoints)
{
    Graph graph = makeGraph(CRect(0, 0, 101, 101), 100);
    const float y[] = {0.f, 1.f};
    graph->setEvenCurveData(0, 100, 2, y);
    graph->rebuildPoints();
    EXPECT_EQ(graph->getPoints()[CXYGraph::kCorners + 1], CPoint(100, 0));
    graph->setViewSize(CRect(0, 0, 201, 51));
    EXPECT_EQ(graph->getMouseableArea(), CRect(0, 0, 201, 51));
    graph->rebuildPoints();
    EXPECT_EQ(graph->getPoints()[CXYGraph::kCorners + 1], CPoint(200, 0));
    EXPECT_FLOAT_EQ(graph->pixelToXValue(CPoint(200, 0)), 100.f);
}
