// What the source plot draws, read back from an off-screen render: circles
// placed and sized by the values, their fill by state, the crosshair's
// lines, shadows and readouts, and the grids of a general plot.
#include <gtest/gtest.h>

#include "../toolkit/ToolkitTestSupport.h"
#include "editor/VantelorPlot.h"
#include "toolkit/cairo/CairoDrawContext.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace VSTGUI;
using vantelor_test::LambdaView;
using vantelor_test::OffscreenFixture;

namespace {

constexpr CColor kStage{100, 100, 100, 255};

// c drawn over the stage grey.
CColor over(CColor c)
{
    auto mix = [&](int v) {
        return static_cast<uint8_t>((v * c.alpha + kStage.red * (255 - c.alpha) + 127) / 255);
    };
    return CColor{mix(c.red), mix(c.green), mix(c.blue), 255};
}

bool near(CColor a, CColor b, int tolerance = 2)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

std::string str(CColor c)
{
    return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

class NoListener : public CControlListener
{
public:
    void valueChanged(CControl*) override {}
};

// The product's plot in a window of the editor's size, over a plain grey
// stage, with L at azimuth -30 (column 118) and R at +30 (column 300).
class PlotPicture : public ::testing::Test
{
protected:
    PlotPicture() : window(414, 289)
    {
        window.frame->addView(
            new LambdaView(window.frame->getViewSize(), [](CDrawContext* context) {
                context->setFillColor(kStage);
                context->drawRect(context->getSurfaceRect(), kDrawFilled);
            }));
        plot = new CVantelorPlot(CRect(27, 21, 392, 234), &listener);
        window.frame->addView(plot);
        set({{0, 0.25f}, {1, 0.5f}, {2, 1}, {3, 0}, {4, 0.75f}, {5, 0.5f}, {6, 1}, {7, 0}});
    }
    void set(std::initializer_list<std::pair<int32_t, float>> values)
    {
        for (auto [tag, value] : values)
            plot->setParameterValue(tag, value);
    }
    CColor pixel(int x, int y) { return window.pixel(x, y); }
    // How far the circle around (cx, cy) reaches to the right: the last
    // changed pixel of its row.
    int reach(int cx, int cy)
    {
        int last = 0;
        for (int dx = 1; dx < 45; ++dx)
            if (!(pixel(cx + dx, cy) == kStage))
                last = dx;
        return last;
    }

    OffscreenFixture window;
    NoListener listener;
    CVantelorPlot* plot;
};

TEST_F(PlotPicture, CirclesSitOnTheValuesAndGrowWithTheWidth)
{
    struct Case
    {
        float width;
        int radius;
    } cases[] = {{0, 10}, {0.5f, 20}, {1, 30}, {7, 30}, {-1, 10}};
    for (const Case& c : cases) {
        set({{3, c.width}, {1, 0.75f}}); // L one quarter of the height above elevation 0
        EXPECT_EQ(plot->getGroupPoint(0), CPoint(118, 74));
        EXPECT_EQ(reach(118, 74), c.radius) << c.width;
        // The outline lies inside the drawn size, the stage shows beyond it.
        EXPECT_FALSE(near(pixel(118 + c.radius - 1, 74), kStage, 0)) << c.width;
        EXPECT_EQ(pixel(118 + c.radius + 1, 74), kStage) << c.width;
    }
}

TEST_F(PlotPicture, FillShowsSelectionAndState)
{
    // R was handed over last, so it is the selected source.
    EXPECT_EQ(pixel(300, 127), plot->selectedColor);
    EXPECT_TRUE(near(pixel(118, 127), over(plot->pointColor))) << str(pixel(118, 127));
    set({{2, 0.5f}}); // L off (0.5 is still off), and now the selected one
    EXPECT_TRUE(near(pixel(118, 127), over(plot->shadeColor))) << str(pixel(118, 127));
    EXPECT_TRUE(near(pixel(300, 127), over(plot->pointColor))) << str(pixel(300, 127));
    // The inactive outline is in the axis colour.
    EXPECT_TRUE(near(pixel(118 + 9, 127), plot->axisColor, 40)) << str(pixel(127, 127));
    // R is painted over L where they overlap.
    set({{0, 0.7f}, {2, 1}, {4, 0.7f}, {7, 1}});
    EXPECT_EQ(plot->getSelectedGroup(), 1);
    EXPECT_EQ(pixel(282, 127), plot->selectedColor);
}

TEST_F(PlotPicture, CrosshairLinesShadowsAndReadouts)
{
    // Nothing of the crosshair before the pointer comes.
    for (int x = 30; x < 390; x += 7)
        ASSERT_EQ(pixel(x, 60), kStage) << x;
    CPoint p(150, 60);
    window.frame->onMouseMoved(p, 0);
    ASSERT_TRUE(plot->isCrosshairVisible());

    int onRow = 0, onColumn = 0;
    for (int x = 27; x < 392; ++x)
        onRow += pixel(x, 60) == plot->axisColor;
    for (int y = 21; y < 234; ++y)
        onColumn += pixel(150, y) == plot->axisColor;
    EXPECT_GT(onRow, 120); // dashed: about every other pixel, less where the readouts are
    EXPECT_GT(onColumn, 70);

    // The shadows darken 20 px below the row and right of the column.
    EXPECT_LT(pixel(300, 65).red, kStage.red);
    EXPECT_EQ(pixel(300, 85), kStage);
    EXPECT_EQ(pixel(300, 55), kStage);
    EXPECT_LT(pixel(160, 200).red, kStage.red);
    EXPECT_EQ(pixel(140, 200), kStage);

    // Readouts in the selected colour: azimuth along the bottom left of the
    // column, elevation at the left edge above the row.
    auto readoutPixels = [&](CRect box) {
        int n = 0;
        for (int y = static_cast<int>(box.top); y < box.bottom; ++y)
            for (int x = static_cast<int>(box.left); x < box.right; ++x) {
                const CColor c = pixel(x, y);
                n += c.green > 180 && c.green > c.red + 30;
            }
        return n;
    };
    EXPECT_GT(readoutPixels(CRect(105, 223, 150, 232)), 10);
    EXPECT_GT(readoutPixels(CRect(29, 50, 69, 60)), 10);
    EXPECT_EQ(readoutPixels(CRect(151, 223, 196, 232)), 0);

    // Gone when the pointer leaves.
    p = CPoint(5, 5);
    window.frame->onMouseMoved(p, 0);
    EXPECT_FALSE(plot->isCrosshairVisible());
    EXPECT_EQ(pixel(300, 60), kStage);
}

// A render that also keeps the texts drawn, with their boxes.
class TextRecorder : public Cairo::DrawContext
{
public:
    using Cairo::DrawContext::DrawContext;
    using Cairo::DrawContext::drawString;
    void drawString(const char* string, const CRect& rect, const CHoriTxtAlign hAlign,
                    bool antialias) override
    {
        texts.emplace_back(string);
        Cairo::DrawContext::drawString(string, rect, hAlign, antialias);
    }
    std::vector<std::string> texts;
};

// The crosshair's readouts give the values under the pointer: the azimuth
// with one decimal and a sign only when negative, the elevation with one
// decimal and always a sign.
TEST_F(PlotPicture, CrosshairReadoutsShowTheValuesUnderThePointerWithTheirSigns)
{
    const struct
    {
        CPoint at;
        const char* azimuth;
        const char* elevation;
    } cases[] = {
        {CPoint(150, 60), "-19.5", "+37.9"}, // -60 + 120 x 123/364, 60 - 120 x 39/212
        {CPoint(300, 200), "30.0", "-41.3"}, // -60 + 120 x 273/364, 60 - 120 x 179/212
        {CPoint(209, 127), "0.0", "+0.0"},   // the centre of the stage
    };
    for (const auto& c : cases) {
        CPoint p = c.at;
        window.frame->onMouseMoved(p, 0);
        ASSERT_TRUE(plot->isCrosshairVisible());
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 414, 289);
        {
            TextRecorder context(surface);
            plot->draw(&context);
            for (const char* expected : {c.azimuth, c.elevation})
                EXPECT_NE(std::find(context.texts.begin(), context.texts.end(), expected),
                          context.texts.end())
                    << "readout " << expected << " at " << c.at.x << "," << c.at.y;
        }
        cairo_surface_destroy(surface);
    }
}

TEST(PlotGrids, LinearGridFrameAndLabels)
{
    OffscreenFixture window(220, 120);
    auto* plot = new CPlotAxes(CRect(10, 10, 211, 111), nullptr, -1);
    plot->setTransparency(false);
    plot->setXRange(0, 2000);
    plot->setXGridStep(500);
    plot->setYRange(-50, 50);
    plot->setYGridStep(25);
    window.frame->addView(plot);
    EXPECT_TRUE(near(window.pixel(20, 20), plot->shadeColor, 0)); // an opaque plot fills its view
    // Frame on every edge of the view.
    for (auto [x, y] : {std::pair{10, 50}, {210, 50}, {60, 10}, {60, 110}})
        EXPECT_EQ(window.pixel(x, y), plot->axisColor) << x << "," << y;
    // Dashed vertical lines at 500, 1000 and 1500 (columns 60, 110, 160);
    // horizontal ones at +25, 0, -25 (rows 35, 60, 85).
    for (int column : {60, 110, 160}) {
        int on = 0;
        for (int y = 12; y < 100; ++y)
            on += window.pixel(column, y) == plot->gridColor;
        EXPECT_GT(on, 30) << column;
    }
    for (int row : {35, 60, 85}) {
        int on = 0;
        for (int x = 50; x < 200; ++x)
            on += window.pixel(x, row) == plot->gridColor;
        EXPECT_GT(on, 50) << row;
    }
    // Labels in the axis colour: "1.5k" left of its line at the bottom,
    // "+25" at the left edge above its line.
    auto labelPixels = [&](CRect box) {
        int n = 0;
        for (int y = static_cast<int>(box.top); y < box.bottom; ++y)
            for (int x = static_cast<int>(box.left); x < box.right; ++x)
                n += window.pixel(x, y).green > 60;
        return n;
    };
    EXPECT_GT(labelPixels(CRect(125, 100, 159, 109)), 10);
    EXPECT_GT(labelPixels(CRect(12, 25, 40, 34)), 5);
}

TEST(PlotGrids, PolarAndLogarithmicGridsStayInTheirView)
{
    for (int32_t mode : {CPlotAxes::kPlotPolar, CPlotAxes::kPlotLogX}) {
        OffscreenFixture window(140, 140);
        auto* plot = new CPlotAxes(CRect(20, 20, 121, 121), nullptr, -1);
        plot->setPlotMode(mode);
        plot->setXRange(mode == CPlotAxes::kPlotLogX ? 20 : 0,
                        mode == CPlotAxes::kPlotLogX ? 20000 : 360);
        plot->setXGridOrigin(mode == CPlotAxes::kPlotLogX ? 10 : 0);
        plot->setXGridStep(mode == CPlotAxes::kPlotLogX ? 10 : 45);
        plot->setYRange(0, 1);
        plot->setYGridStep(0.25f);
        window.frame->addView(plot);
        int inside = 0, outside = 0;
        for (int y = 0; y < 140; ++y)
            for (int x = 0; x < 140; ++x) {
                const bool lit = window.pixel(x, y).green > 0;
                (x >= 20 && x < 121 && y >= 20 && y < 121 ? inside : outside) += lit;
            }
        EXPECT_GT(inside, 200) << mode;
        EXPECT_EQ(outside, 0) << mode;
        if (mode == CPlotAxes::kPlotLogX) {
            // Decade lines at 100, 1000 and 10000: a third of the width apart.
            for (int column : {20 + 23, 20 + 57, 20 + 90}) {
                int on = 0;
                for (int y = 22; y < 100; ++y)
                    on += window.pixel(column, y) == plot->gridColor;
                EXPECT_GT(on, 20) << column;
            }
        }
    }
}

} // namespace
