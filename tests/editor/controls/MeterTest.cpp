// The bar meter's zone segments, clamps, peak hold and the scale lines that
// fade near the peak line, read from off-screen renders; the drag meter's
// offset through its mouse and wheel; the needle's end points.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "editor/controls/AnalogVuMeter.h"
#include "editor/controls/VUMeter.h"

#include <cmath>
#include <numbers>

using namespace VSTGUI;
using vantelor_test::LambdaView;
using vantelor_test::near;
using vantelor_test::OffscreenFixture;
using vantelor_test::overBlack;
using vantelor_test::RecordingListener;
using vantelor_test::str;

namespace {

constexpr CColor kRed{255, 0, 0, 255};
constexpr CColor kGreen{0, 255, 0, 255};
constexpr CColor kBlue{0, 0, 255, 255};

// -60..0 on 201 rows: row = 200 * -value / 60.
CVUMeter* makeMeter(int8_t zones)
{
    return new CVUMeter(CRect(0, 0, 40, 201), -60, 0, nullptr, zones);
}

} // namespace

TEST(BarMeter, TheBarIsDrawnInZoneSegmentsUpToTheLevel)
{
    OffscreenFixture fixture(40, 201);
    CVUMeter* meter = makeMeter(3);
    meter->setYGridStep(0);
    const CColor colors[] = {kRed, kGreen, kBlue};
    const float limits[] = {-20, -6, 0};
    for (int i = 0; i < 3; ++i) {
        meter->setZoneColor(colors[i], i);
        meter->setZoneLimit(limits[i], i);
    }
    meter->setZoneColor(kRed, 3); // no such zone
    meter->setValue(-10);
    fixture.frame->addView(meter);
    struct Probe
    {
        int row;
        CColor color;
    } probes[] = {{195, overBlack({255, 0, 0, 96})},
                  {68, overBlack({255, 0, 0, 96})},
                  {66, overBlack({0, 255, 0, 96})},
                  {34, overBlack({0, 255, 0, 96})},
                  {32, kBlackCColor},
                  {5, kBlackCColor}};
    for (const Probe& p : probes)
        EXPECT_TRUE(near(fixture.pixel(20, p.row), p.color))
            << p.row << ": " << str(fixture.pixel(20, p.row));

    // Hanging from the top: from the level up to the top of the scale.
    meter->setInverted(true);
    meter->setValue(-10);
    fixture.frame->invalid();
    EXPECT_TRUE(near(fixture.pixel(20, 5), overBlack({0, 0, 255, 96})))
        << str(fixture.pixel(20, 5));
    EXPECT_TRUE(near(fixture.pixel(20, 25), overBlack({0, 255, 0, 96})))
        << str(fixture.pixel(20, 25));
    EXPECT_EQ(fixture.pixel(20, 60), kBlackCColor);
}

TEST(BarMeter, LevelsAreClampedAndThePeakIsHeld)
{
    CVUMeter* meter = makeMeter(1);
    meter->setUpperClamp(6);
    meter->setLowerClamp(-100);
    struct Case
    {
        float in, level, peak;
    } cases[] = {{-30, -30, -30}, {12, 6, 6}, {-200, -100, 6}, {-3, -3, 6}, {NAN, -3, 6}};
    for (const Case& c : cases) {
        meter->setValue(c.in);
        EXPECT_EQ(meter->getLevel(), c.level) << c.in;
        EXPECT_EQ(meter->getPeakLevel(), 0.f) << c.in; // tracked, not shown, without peak hold
    }
    EXPECT_FALSE(meter->getMouseEnabled());
    meter->setPeakHold(true); // starts afresh
    EXPECT_TRUE(meter->getMouseEnabled());
    for (const Case& c : cases) {
        meter->setValue(c.in);
        EXPECT_EQ(meter->getPeakLevel(), c.peak) << c.in;
    }
    // A click clears the peak.
    CPoint p(5, 5);
    EXPECT_EQ(meter->onMouseDown(p, kLButton), kMouseEventHandled);
    EXPECT_EQ(meter->getPeakLevel(), -100.f);
    // Inverted, the peak is the lowest level.
    meter->setInverted(true);
    meter->setValue(-20);
    meter->setValue(-10);
    EXPECT_EQ(meter->getPeakLevel(), -20.f);
    meter->forget();
}

// Scale lines every 10 (rows 0, 33, 67, 100, 133, 167): within 25 px of the
// peak line they are drawn at alpha 255 * distance / 36.
TEST(BarMeter, ScaleLinesFadeNearThePeakLine)
{
    const CColor axis{120, 140, 0, 255};
    struct Case
    {
        float peak; // peak row 200 * -peak / 60
        int row;
        uint8_t alpha;
    } cases[] = {{-24.6f, 100, 127}, {-21.f, 100, 255}, {-24.6f, 67, 106}, {-24.6f, 133, 255}};
    for (const Case& c : cases) {
        OffscreenFixture fixture(40, 201);
        CVUMeter* meter = makeMeter(1);
        meter->setPeakHold(true);
        meter->setShowYLabels(false, true);
        meter->setPeakLevel(c.peak);
        fixture.frame->addView(meter);
        const CColor expected = overBlack(CColor{axis.red, axis.green, axis.blue, c.alpha});
        EXPECT_TRUE(near(fixture.pixel(2, c.row), expected))
            << c.peak << " row " << c.row << ": " << str(fixture.pixel(2, c.row)) << " want "
            << str(expected);
    }
}

// A peak above every zone limit takes the last zone's colour (there is no
// zone beyond it to read).
TEST(BarMeter, APeakAboveEveryZoneHasTheLastZonesColour)
{
    OffscreenFixture fixture(40, 201);
    CVUMeter* meter = new CVUMeter(CRect(0, 0, 40, 201), -60, 6, nullptr, 3);
    meter->setYGridStep(0);
    meter->setShowYLabels(false, true);
    const CColor colors[] = {kRed, kGreen, kBlue};
    const float limits[] = {-20, -6, 0};
    for (int i = 0; i < 3; ++i) {
        meter->setZoneColor(colors[i], i);
        meter->setZoneLimit(limits[i], i);
    }
    meter->setPeakHold(true);
    meter->setValue(3); // row 200 * 3 / 66 = 9
    fixture.frame->addView(meter);
    EXPECT_EQ(meter->zoneIndex(3), 3);
    EXPECT_EQ(fixture.pixel(20, 9), kBlue) << str(fixture.pixel(20, 9));
}

TEST(DragMeter, DraggingShiftsTheScaleAndSendsTheOffset)
{
    RecordingListener listener;
    auto* meter = new CVUDragMeter(CRect(0, 0, 40, 100), -60, 0, nullptr, 1, &listener, 9);
    EXPECT_EQ(meter->getValue(), 0.f);
    EXPECT_EQ(meter->getLevel(), 0.f);
    EXPECT_TRUE(meter->getMouseEnabled());

    // Down by half the height: half the drag range of 20.
    CPoint p(10, 10);
    meter->onMouseDown(p, kLButton);
    p = CPoint(10, 60);
    meter->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(meter->getValue(), 0.5f);
    EXPECT_FLOAT_EQ(meter->getYMin(), -50.f);
    EXPECT_FLOAT_EQ(meter->getYMax(), 10.f);
    // With Shift ten times finer; never beyond 0..1.
    p = CPoint(10, 110);
    meter->onMouseMoved(p, kLButton | kShift);
    EXPECT_FLOAT_EQ(meter->getValue(), 0.55f);
    p = CPoint(10, 400);
    meter->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(meter->getValue(), 1.f);
    meter->onMouseUp(p, 0);
    EXPECT_EQ(listener.values(), (std::vector<float>{0.5f, 0.55f, 1.f}));
    EXPECT_EQ(listener.edits.front(), (vantelor_test::Edit{'b', 9, 0.5f}));

    // The wheel, and Control-click back to the default.
    meter->onWheel(p, -2.f, 0);
    EXPECT_FLOAT_EQ(meter->getValue(), 0.9f);
    meter->setDefaultValue(0.25f);
    meter->onMouseDown(p, kLButton | kControl);
    EXPECT_FLOAT_EQ(meter->getValue(), 0.25f);
    EXPECT_FLOAT_EQ(meter->getYMin(), -55.f);
    meter->setDragRange(40);
    EXPECT_FLOAT_EQ(meter->getYMin(), -50.f);
    meter->setRawLevel(500); // as given
    EXPECT_EQ(meter->getLevel(), 500.f);
    meter->forget();
}

TEST(NeedleMeter, TheNeedleSwingsBetweenTheBottomCorners)
{
    // Needle of 100 px on a view 100 wide: 30 degrees each way.
    CAnalogVuMeter meterView(CRect(0, 0, 100, 50), 100);
    EXPECT_FLOAT_EQ(meterView.getMaxAngle(), std::numbers::pi_v<float> / 6);
    CPoint tip;
    CPoint foot;
    meterView.getNeedleLine(tip, foot); // value 0
    const CPoint leftTip = tip;
    EXPECT_LT(tip.x, 10);
    EXPECT_EQ(foot.y, 50);
    meterView.setNeedleValue(0.5f);
    meterView.getNeedleLine(tip, foot);
    EXPECT_EQ(tip, CPoint(50, 0));
    EXPECT_EQ(foot, CPoint(50, 50));
    meterView.setNeedleValue(7); // clamped to the right end
    meterView.getNeedleLine(tip, foot);
    EXPECT_NEAR(tip.x, 100 - leftTip.x, 1e-4);
    EXPECT_NEAR(tip.y, leftTip.y, 1e-4);
    // The parabola is within 0.06 of the sine, and exact at its extremes.
    for (float a = -7.f; a < 7.f; a += 0.01f)
        ASSERT_NEAR(CAnalogVuMeter::parabolicSine(a), std::sin(a), 0.06f) << a;
    EXPECT_FLOAT_EQ(CAnalogVuMeter::parabolicSine(std::numbers::pi_v<float> / 2), 1.f);

    // A needle too short to reach the corners swings a quarter turn.
    CAnalogVuMeter shortNeedle(CRect(0, 0, 100, 50), 10);
    EXPECT_FLOAT_EQ(shortNeedle.getMaxAngle(), std::numbers::pi_v<float> / 2);
}

TEST(NeedleMeter, DrawsOneLine)
{
    OffscreenFixture fixture(100, 50);
    fixture.frame->addView(new LambdaView(CRect(0, 0, 100, 50), [](CDrawContext* context) {
        context->setFillColor(kWhiteCColor);
        context->drawRect(CRect(0, 0, 100, 50), kDrawFilled);
    }));
    auto* needle = new CAnalogVuMeter(CRect(0, 0, 100, 50), 100);
    needle->setNeedleValue(0.5f);
    fixture.frame->addView(needle);
    EXPECT_LT(fixture.pixel(50, 25).red, 200); // the needle, dark over white
    EXPECT_EQ(fixture.pixel(30, 25), kWhiteCColor);
}
