// The frame routes the mouse to the right view (topmost takes the press,
// keeps the mouse until release, enter and exit follow the pointer), passes
// edit gestures and resize requests to its editor, and accepts redraw
// requests from other threads.
#include "ToolkitTestSupport.h"

#include "toolkit/CAnimKnob.h"
#include "toolkit/CKickButton.h"
#include "toolkit/CTextLabel.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace VSTGUI;
using vantelor_test::OffscreenFixture;

namespace {

// Records every mouse call as "name:event".
class RecordingView : public CControl
{
public:
    RecordingView(const CRect& size, std::string name, std::vector<std::string>& log,
                  CMouseEventResult downResult = kMouseEventHandled)
        : CControl(size), name_(std::move(name)), log_(log), downResult_(downResult)
    {}
    CMouseEventResult onMouseDown(CPoint&, const CButtonState& b) override
    {
        log_.push_back(name_ + ":down" + (b.isDoubleClick() ? "2" : ""));
        return downResult_;
    }
    CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override { return note("up"); }
    CMouseEventResult onMouseMoved(CPoint&, const CButtonState&) override { return note("moved"); }
    CMouseEventResult onMouseEntered(CPoint&, const CButtonState&) override
    {
        return note("entered");
    }
    CMouseEventResult onMouseExited(CPoint&, const CButtonState&) override
    {
        return note("exited");
    }
    bool onWheel(const CPoint&, const float& distance, const CButtonState&) override
    {
        log_.push_back(name_ + ":wheel" + std::to_string(static_cast<int>(distance)));
        return true;
    }

private:
    CMouseEventResult note(const char* what)
    {
        log_.push_back(name_ + ":" + what);
        return kMouseEventHandled;
    }
    std::string name_;
    std::vector<std::string>& log_;
    CMouseEventResult downResult_;
};

class RecordingEditor : public VSTGUIEditorInterface
{
public:
    void beginEdit(int32_t index) override { log.push_back("begin" + std::to_string(index)); }
    void endEdit(int32_t index) override { log.push_back("end" + std::to_string(index)); }
    bool beforeSizeChange(const CRect& newSize, const CRect&) override
    {
        log.push_back("size" + std::to_string(static_cast<int>(newSize.getWidth())));
        return hostResizes;
    }
    std::vector<std::string> log;
    bool hostResizes = true;
};

TEST(Views, MouseGoesToTheTopmostViewAndStaysUntilRelease)
{
    OffscreenFixture f(100, 100);
    std::vector<std::string> log;
    f.frame->addView(new RecordingView(CRect(0, 0, 60, 60), "below", log));
    f.frame->addView(new RecordingView(CRect(40, 40, 100, 100), "above", log));

    CPoint p(50, 50);
    f.frame->onMouseDown(p, kLButton);
    p = CPoint(5, 5); // dragged over the other view: the pressed one keeps the mouse
    f.frame->onMouseMoved(p, kLButton);
    f.frame->onMouseUp(p, kLButton);
    EXPECT_EQ(log, (std::vector<std::string>{"above:entered", "above:down", "above:moved",
                                             "above:up", "above:exited", "below:entered"}));
}

TEST(Views, AnUnhandledPressFallsThroughToTheViewBelow)
{
    OffscreenFixture f(100, 100);
    std::vector<std::string> log;
    f.frame->addView(new RecordingView(CRect(0, 0, 100, 100), "below", log));
    f.frame->addView(new RecordingView(CRect(0, 0, 100, 100), "above", log, kMouseEventNotHandled));
    auto* hidden = new RecordingView(CRect(0, 0, 100, 100), "disabled", log);
    hidden->setMouseEnabled(false);
    f.frame->addView(hidden);

    CPoint p(10, 10);
    log.clear();
    f.frame->onMouseDown(p, CButtonState(kLButton | kDoubleClick));
    f.frame->onMouseUp(p, kLButton);
    EXPECT_EQ(
        log, (std::vector<std::string>{"above:entered", "above:down2", "below:down2", "below:up"}));
}

TEST(Views, HoverAndWheelFollowThePointer)
{
    OffscreenFixture f(100, 100);
    std::vector<std::string> log;
    f.frame->addView(new RecordingView(CRect(0, 0, 50, 100), "left", log));
    f.frame->addView(new RecordingView(CRect(50, 0, 100, 100), "right", log));

    CPoint p(10, 10);
    f.frame->onMouseMoved(p, 0);
    p = CPoint(70, 10);
    f.frame->onMouseMoved(p, 0);
    EXPECT_TRUE(f.frame->onWheel(CPoint(70, 10), kMouseWheelAxisY, 2.f, 0));
    EXPECT_FALSE(
        f.frame->onWheel(CPoint(70, 10), kMouseWheelAxisX, 1.f, 0)); // horizontal not taken
    f.frame->onMouseExited(p, 0);
    EXPECT_EQ(
        log, (std::vector<std::string>{"left:entered", "left:moved", "left:exited", "right:entered",
                                       "right:moved", "right:wheel2", "right:exited"}));
}

TEST(Views, EditGesturesAndResizeGoThroughTheFrameToTheEditor)
{
    RecordingEditor editor;
    OffscreenFixture f(100, 100, &editor);
    auto* control = new CControl(CRect(0, 0, 10, 10), nullptr, 5);
    f.frame->addView(control);
    control->beginEdit();
    EXPECT_TRUE(control->isEditing());
    control->endEdit();
    EXPECT_FALSE(control->isEditing());

    EXPECT_TRUE(f.frame->setSize(120, 80));
    EXPECT_EQ(f.frame->getViewSize(), CRect(0, 0, 120, 80));
    EXPECT_EQ(f.frame->getPlatformFrame()->getSize(), CRect(0, 0, 120, 80));
    EXPECT_TRUE(f.frame->setSize(120, 80)); // unchanged: no request
    EXPECT_FALSE(f.frame->setSize(0, 80));
    EXPECT_EQ(editor.log, (std::vector<std::string>{"begin5", "end5", "size120"}));
}

TEST(Views, KickButtonShowsItsLowerImageOnlyWhilePressedOverIt)
{
    // The control's value selects the image; it follows the pointer while
    // the left button is held, and the change is reported on release.
    struct Listener : CControlListener
    {
        void valueChanged(CControl* c) override { values.push_back(c->getValue()); }
        std::vector<float> values;
    } listener;
    OffscreenFixture f(100, 100);
    auto* button = new CKickButton(CRect(10, 10, 30, 30), &listener, 3, nullptr);
    f.frame->addView(button);

    CPoint p(20, 20);
    EXPECT_EQ(f.frame->onMouseDown(p, kRButton), kMouseEventNotHandled);
    EXPECT_EQ(button->getValue(), 0.f);
    f.frame->onMouseDown(p, kLButton);
    EXPECT_EQ(button->getValue(), 1.f);
    p = CPoint(50, 50);
    f.frame->onMouseMoved(p, kLButton);
    EXPECT_EQ(button->getValue(), 0.f);
    f.frame->onMouseUp(p, kLButton);
    EXPECT_TRUE(listener.values.empty()); // released outside

    p = CPoint(20, 20);
    f.frame->onMouseDown(p, kLButton);
    f.frame->onMouseUp(p, kLButton);
    EXPECT_EQ(listener.values, (std::vector<float>{1.f, 0.f}));
}

TEST(Views, TextLabelDrawsItsTextOnlyWhenTransparent)
{
    OffscreenFixture f(100, 20);
    auto* label = new CTextLabel(CRect(0, 0, 100, 20), "label");
    label->setBackColor(CColor{0, 0, 255, 255});
    label->setFontColor(CColor{255, 255, 0, 255});
    f.frame->addView(label);
    EXPECT_EQ(f.pixel(99, 0), (CColor{0, 0, 255, 255}));
    label->setTransparency(true);
    label->setDirty();
    EXPECT_EQ(f.pixel(99, 0), kBlackCColor);
}

TEST(Views, RedrawRequestsFromAnotherThreadArriveAtTheNextIdle)
{
    OffscreenFixture f(16, 16);
    CColor color = kBlackCColor;
    f.paint([&color](CDrawContext* c) {
        c->setFillColor(color);
        c->drawRect(CRect(0, 0, 16, 16), kDrawFilled);
    });
    EXPECT_EQ(f.pixel(8, 8), kBlackCColor);
    color = kWhiteCColor;
    std::thread([&] {
        f.frame->setDirty(true);
        f.frame->invalidRect(CRect(0, 0, 4, 4)); // becomes a full redraw
    }).join();
    EXPECT_EQ(f.pixel(8, 8), kWhiteCColor);
}

} // namespace

// Keys go to the view that took the focus with a click: a knob wants it, and
// a click elsewhere or the knob's removal takes it away again.
TEST(Keys, TheClickedKnobTakesTheKeys)
{
    OffscreenFixture fixture(100, 50);
    auto* knob = new CAnimKnob(CRect(0, 0, 40, 40), nullptr, 1, nullptr);
    knob->setWheelInc(0.1f);
    knob->setValue(0.5f);
    fixture.frame->addView(knob);
    VstKeyCode up{};
    up.virt = VKEY_UP;
    EXPECT_EQ(fixture.frame->onKeyDown(up), -1); // nothing has the focus yet

    CPoint p(20, 20);
    fixture.frame->onMouseDown(p, kLButton);
    fixture.frame->onMouseUp(p, kLButton);
    EXPECT_EQ(fixture.frame->getFocusView(), knob);
    EXPECT_EQ(fixture.frame->onKeyDown(up), 1);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
    VstKeyCode letter{};
    letter.character = 'a';
    EXPECT_EQ(fixture.frame->onKeyDown(letter), -1);

    p = CPoint(80, 20); // empty space
    fixture.frame->onMouseDown(p, kLButton);
    EXPECT_EQ(fixture.frame->getFocusView(), nullptr);
    fixture.frame->setFocusView(knob);
    fixture.frame->removeView(knob);
    EXPECT_EQ(fixture.frame->getFocusView(), nullptr);
    EXPECT_EQ(fixture.frame->onKeyDown(up), -1);
}

// A vertical drag moves the knob by its travel: 200 pixels cover the range,
// the zoom factor times that with Shift.
TEST(Keys, KnobDragAndStrip)
{
    auto* knob = new CAnimKnob(CRect(0, 0, 40, 40), nullptr, 1, 5, 40, nullptr);
    knob->setZoomFactor(4);
    CPoint p(10, 300);
    EXPECT_EQ(knob->onMouseDown(p, kLButton), kMouseEventHandled);
    p = CPoint(10, 250);
    knob->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.25f);
    EXPECT_EQ(knob->getFrameIndex(), 1);
    p = CPoint(10, 150);
    knob->onMouseMoved(p, kLButton | kShift);
    p = CPoint(10, 50);
    knob->onMouseMoved(p, kLButton | kShift);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    p = CPoint(10, -1000);
    knob->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f);
    EXPECT_EQ(knob->getFrameIndex(), 4);
    knob->onMouseUp(p, 0);
    knob->setInverseBitmap(true);
    EXPECT_EQ(knob->getFrameIndex(), 0);
    knob->forget();
}
