// The knob's response curve both ways, its wheel, keys and drag with the
// edits they send, its level bar and strip frames on an off-screen render,
// and the on/off button's clicks.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "editor/controls/MyAnimKnob.h"

#include <cmath>

using namespace VSTGUI;
using vantelor_test::Edit;
using vantelor_test::OffscreenFixture;
using vantelor_test::RecordingListener;

namespace {

CMyAnimKnob* makeKnob(CControlListener* listener, const CRect& size = CRect(0, 0, 40, 40))
{
    return new CMyAnimKnob(size, listener, 7, nullptr, CPoint(0, 0), CRect(0, 0, 0, 0));
}

VstKeyCode key(unsigned char virt, unsigned char modifier = 0)
{
    VstKeyCode code{};
    code.virt = virt;
    code.modifier = modifier;
    return code;
}

} // namespace

TEST(KnobCurve, OutsideValuesAreTheTravelToThePowerOneOverTheCurve)
{
    struct Case
    {
        float min, max, curve, outside, stored;
    } cases[] = {
        {0, 1, 2, 0.5f, 0.25f},    // the documented case
        {0, 1, 0.5f, 0.25f, 0.5f}, // a curve below 1 bends the other way
        {0, 1, 1, 0.3f, 0.3f},     // curve 1: plain
        {10, 20, 2, 15, 12.5f},    // any range
        {10, 20, 2, 5, 10},        // clamped into the range
        {10, 20, 2, 25, 20},
    };
    for (const Case& c : cases) {
        CMyAnimKnob* knob = makeKnob(nullptr);
        knob->setMin(c.min);
        knob->setMax(c.max);
        knob->setCurve(c.curve);
        knob->setValue(c.outside);
        EXPECT_FLOAT_EQ(knob->getStoredValue(), c.stored) << c.curve << " " << c.outside;
        EXPECT_FLOAT_EQ(knob->getValue(), std::clamp(c.outside, c.min, c.max))
            << c.curve << " " << c.outside;
        // Normalised: the same curve on 0..1 of the range.
        const float normalized = (std::clamp(c.outside, c.min, c.max) - c.min) / (c.max - c.min);
        EXPECT_FLOAT_EQ(knob->getValueNormalized(), normalized);
        knob->setValueNormalized(0);
        knob->setValueNormalized(normalized);
        EXPECT_FLOAT_EQ(knob->getStoredValue(), c.stored);
        knob->forget();
    }

    CMyAnimKnob* knob = makeKnob(nullptr);
    knob->setCurve(2);
    knob->setDefaultValue(0.5f);
    EXPECT_FLOAT_EQ(knob->getDefaultValue(), 0.25f); // stored like a value
    knob->setCurve(0);                               // not a curve: kept as it was
    knob->setCurve(NAN);
    EXPECT_FLOAT_EQ(knob->getCurve(), 2);
    knob->setValue(NAN);
    EXPECT_FLOAT_EQ(knob->getStoredValue(), 0.f);
    knob->forget();
}

TEST(KnobInput, WheelKeysAndDragSendOneEditEach)
{
    RecordingListener listener;
    CMyAnimKnob* knob = makeKnob(&listener);
    knob->setValue(0.5f);

    EXPECT_TRUE(knob->onWheel(CPoint(5, 5), 1.f, 0));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.55f);
    EXPECT_EQ(listener.edits,
              (std::vector<Edit>{{'b', 7, 0.55f}, {'v', 7, 0.55f}, {'e', 7, 0.55f}}));
    listener.edits.clear();
    EXPECT_TRUE(knob->onWheel(CPoint(5, 5), -1.f, kShift)); // a tenth with Shift
    EXPECT_FLOAT_EQ(knob->getValue(), 0.545f);

    struct KeyCase
    {
        VstKeyCode code;
        int32_t handled;
        float after;
    } keys[] = {
        {key(VKEY_UP), 1, 0.595f},     {key(VKEY_RIGHT), 1, 0.645f},
        {key(VKEY_DOWN), 1, 0.595f},   {key(VKEY_LEFT, MODIFIER_SHIFT), 1, 0.59f},
        {key(VKEY_RETURN), -1, 0.59f},
    };
    for (KeyCase& k : keys) {
        EXPECT_EQ(knob->onKeyDown(k.code), k.handled) << int(k.code.virt);
        EXPECT_NEAR(knob->getValue(), k.after, 1e-6f) << int(k.code.virt);
    }

    // A drag of 20 pixels up is a tenth of the range; with Shift ten times
    // finer (the knob's zoom factor).
    listener.edits.clear();
    knob->setValue(0.5f);
    CPoint p(20, 100);
    EXPECT_EQ(knob->onMouseDown(p, kLButton), kMouseEventHandled);
    p = CPoint(20, 80);
    knob->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
    p = CPoint(20, 60);
    knob->onMouseMoved(p, kLButton | kShift);
    p = CPoint(20, 40);
    knob->onMouseMoved(p, kLButton | kShift);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.62f);
    knob->onMouseUp(p, 0);
    ASSERT_FALSE(listener.edits.empty());
    EXPECT_EQ(listener.edits.front().kind, 'b');
    EXPECT_EQ(listener.edits.back().kind, 'e');
    knob->forget();

    // Without a listener the wheel is not the knob's.
    CMyAnimKnob* alone = makeKnob(nullptr);
    EXPECT_FALSE(alone->onWheel(CPoint(5, 5), 1.f, 0));
    alone->forget();
}

// The wheel steps evenly in the knob's travel, so on a curve of 2 a notch
// at the bottom moves the value by more, but never leaps across the range.
TEST(KnobInput, WheelOnACurveStepsByTheCurvesSlope)
{
    RecordingListener listener;
    CMyAnimKnob* knob = makeKnob(&listener);
    knob->setCurve(2);
    knob->setValue(0.81f); // travel 0.6561: slope factor 1 / 0.81
    knob->onWheel(CPoint(5, 5), 1.f, 0);
    EXPECT_NEAR(knob->getValue(), 0.81f + 0.05f / 0.81f, 1e-5f);
    knob->setValue(0);
    knob->onWheel(CPoint(5, 5), 1.f, 0);
    EXPECT_NEAR(knob->getValue(), 0.05f * std::sqrt(10.f), 1e-5f);
    knob->forget();
}

TEST(KnobDrawing, WithoutAStripALevelBarShowsTheTravel)
{
    OffscreenFixture fixture(100, 20);
    auto* knob = makeKnob(nullptr, CRect(0, 0, 100, 20));
    knob->setBarColor(CColor{255, 0, 0, 255});
    knob->setCurve(2);
    knob->setValue(0.5f); // travel a quarter
    fixture.frame->addView(knob);
    EXPECT_EQ(fixture.pixel(10, 10), kRedCColor);
    EXPECT_EQ(fixture.pixel(24, 10), kRedCColor);
    EXPECT_EQ(fixture.pixel(25, 10), kBlackCColor);
    EXPECT_EQ(fixture.pixel(90, 10), kBlackCColor);

    knob->setDrawBorder(true);
    knob->setBorderColor(CColor{0, 0, 255, 255});
    knob->setTransparency(false);
    knob->setBackgroundColor(CColor{0, 255, 0, 255});
    fixture.frame->invalid();
    EXPECT_EQ(fixture.pixel(0, 10), (CColor{0, 0, 255, 255}));
    EXPECT_EQ(fixture.pixel(90, 10), (CColor{0, 255, 0, 255}));
}

TEST(KnobDrawing, AStripShowsTheFrameNearestToTheTravel)
{
    const std::vector<CColor> colors = {{255, 0, 0, 255},
                                        {0, 255, 0, 255},
                                        {0, 0, 255, 255},
                                        {255, 255, 0, 255},
                                        {255, 0, 255, 255}};
    vantelor_test::StripPicture picture(20, colors);
    auto* strip = new CBitmap("strip.png");
    ASSERT_TRUE(strip->isLoaded());
    OffscreenFixture fixture(20, 20);
    auto* knob =
        new CMyAnimKnob(CRect(0, 0, 20, 20), nullptr, 1, strip, CPoint(0, 0), CRect(0, 0, 0, 0));
    strip->forget();
    EXPECT_EQ(knob->getNumSubPixmaps(), 5);
    fixture.frame->addView(knob);
    struct Case
    {
        float travel;
        int frame;
    } cases[] = {{0, 0}, {0.12f, 0}, {0.13f, 1}, {0.5f, 2}, {0.9f, 4}, {1, 4}};
    for (const Case& c : cases) {
        knob->setValueNormalized(c.travel);
        fixture.frame->invalid();
        EXPECT_EQ(fixture.pixel(10, 10), colors[static_cast<size_t>(c.frame)]) << c.travel;
    }
}

TEST(KnobLayout, SetViewRectMovesTheLabelWithTheKnob)
{
    auto* knob = new CMyAnimKnob(CRect(10, 10, 50, 50), nullptr, 1, nullptr, CPoint(0, 0),
                                 CRect(0, 30, 40, 40));
    EXPECT_EQ(knob->getLabelRect(), CRect(10, 40, 50, 50));
    knob->setViewRect(CRect(110, 20, 150, 60));
    EXPECT_EQ(knob->getLabelRect(), CRect(110, 50, 150, 60));
    EXPECT_EQ(knob->getMouseableArea(), CRect(110, 20, 150, 60));
    knob->setLabel("Frequency");
    EXPECT_STREQ(knob->getLabel(), "Frequenc"); // eight characters
    knob->forget();
}

TEST(OnOffButton, LeftClickTogglesOtherButtonsAndTheWheelChangeNothing)
{
    RecordingListener listener;
    auto* button =
        new CMyOnOffButton(CRect(0, 0, 20, 20), &listener, 3, nullptr, CPoint(0, 0), CRect());
    EXPECT_EQ(button->getValue(), 0.f);
    CPoint p(5, 5);
    struct Case
    {
        int32_t buttons;
        float after;
        size_t edits;
    } cases[] = {{kRButton, 0, 0}, {kLButton, 1, 3}, {kMButton, 1, 3}, {kLButton, 0, 6}};
    for (const Case& c : cases) {
        EXPECT_EQ(button->onMouseDown(p, c.buttons), kMouseEventHandled);
        EXPECT_EQ(button->onMouseUp(p, c.buttons), kMouseEventHandled);
        EXPECT_EQ(button->getValue(), c.after) << c.buttons;
        EXPECT_EQ(listener.edits.size(), c.edits) << c.buttons;
    }
    EXPECT_EQ(button->onMouseMoved(p, kLButton), kMouseEventHandled);
    EXPECT_TRUE(button->onWheel(p, 1.f, 0));
    EXPECT_EQ(button->getValue(), 0.f);
    EXPECT_EQ(listener.values(), (std::vector<float>{1.f, 0.f}));
    button->forget();
}
