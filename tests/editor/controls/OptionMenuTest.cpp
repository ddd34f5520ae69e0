// The option menu's whole-entry values both ways, the toolkit menu's
// entries and current index, and what a click does where no pop-up exists.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "editor/controls/MyOptionMenu.h"

#include <cmath>

using namespace VSTGUI;
using vantelor_test::OffscreenFixture;
using vantelor_test::RecordingListener;

namespace {

CMyOptionMenu* makeMenu(int entries, CControlListener* listener = nullptr)
{
    auto* menu = new CMyOptionMenu(CRect(0, 0, 100, 20), listener, 5);
    const char* names[] = {"Sine", "Triangle", "Square", "Noise", "Saw"};
    for (int i = 0; i < entries; ++i)
        menu->addEntry(names[i]);
    return menu;
}

} // namespace

TEST(OptionMenuValues, EntriesMapEvenlyOntoZeroToOne)
{
    CMyOptionMenu* menu = makeMenu(4);
    struct Normalized
    {
        float in;
        float entry;
    } toEntry[] = {{0.5f, 2}, {0.f, 0}, {1.f, 3}, {0.16f, 0}, {0.17f, 1}, {-1.f, 0}, {2.f, 3}};
    for (const Normalized& c : toEntry) {
        menu->setValueNormalized(c.in);
        EXPECT_EQ(menu->getValue(), c.entry) << c.in;
        EXPECT_EQ(menu->getCurrentIndex(), static_cast<int32_t>(c.entry)) << c.in;
    }
    struct Back
    {
        float entry;
        float normalized;
    } toNormalized[] = {{3, 1.f}, {0, 0.f}, {1, 1.f / 3}, {2, 2.f / 3}};
    for (const Back& c : toNormalized) {
        menu->setValue(c.entry);
        EXPECT_FLOAT_EQ(menu->getValueNormalized(), c.normalized) << c.entry;
    }

    // Whole entries only: rounded inside the list, ignored outside it.
    struct Set
    {
        float in;
        float entry;
    } sets[] = {{1.4f, 1}, {2.6f, 3}, {4, 3}, {-0.5f, 3}, {NAN, 3}, {0.49f, 0}};
    for (const Set& c : sets) {
        menu->setValue(c.in);
        EXPECT_EQ(menu->getValue(), c.entry) << c.in;
    }
    menu->forget();

    CMyOptionMenu* single = makeMenu(1);
    EXPECT_EQ(single->getValueNormalized(), 0.f);
    single->setValueNormalized(1.f);
    EXPECT_EQ(single->getValue(), 0.f);
    single->forget();
}

TEST(OptionMenuEntries, InsertRemoveAndSeparators)
{
    auto* menu = new COptionMenu(CRect(0, 0, 100, 20), nullptr, 1);
    EXPECT_EQ(menu->getCurrent(), nullptr);
    menu->setValue(0); // no entries: nothing to choose
    EXPECT_EQ(menu->getCurrentIndex(), -1);
    menu->addEntry("a");
    menu->addSeparator();
    menu->addEntry("c");
    menu->addEntry("first", 0);
    EXPECT_EQ(menu->getNbEntries(), 4);
    EXPECT_EQ(menu->getMax(), 3.f);
    EXPECT_STREQ(menu->getEntry(0)->getTitle(), "first");
    EXPECT_FALSE(menu->getEntry(2)->isEnabled());
    // Indices with and without the separator.
    EXPECT_TRUE(menu->setCurrent(2, false));
    EXPECT_STREQ(menu->getCurrent()->getTitle(), "c");
    EXPECT_EQ(menu->getCurrentIndex(true), 3);
    EXPECT_EQ(menu->getCurrentIndex(false), 2);
    EXPECT_TRUE(menu->removeEntry(3));
    EXPECT_EQ(menu->getCurrentIndex(true), 2); // the last entry left
    EXPECT_FALSE(menu->removeEntry(7));
    for (float outside : {3.f, 1e30f, -1e30f, INFINITY}) {
        menu->setValue(outside);
        EXPECT_EQ(menu->getCurrentIndex(true), 2) << outside;
    }
    // A pick of a separator is no pick.
    menu->popupClosed(2);
    EXPECT_EQ(menu->getCurrentIndex(true), 2);
    menu->forget();
}

TEST(OptionMenuDrawing, CurrentEntryAndBorder)
{
    OffscreenFixture fixture(100, 20);
    RecordingListener listener;
    CMyOptionMenu* menu = makeMenu(3, &listener);
    menu->setHoriAlign(kLeftText);
    menu->setDrawBorder(true);
    menu->setBorderColor(CColor{255, 0, 0, 255});
    fixture.frame->addView(menu);
    EXPECT_EQ(fixture.pixel(50, 0), kRedCColor);
    EXPECT_EQ(fixture.pixel(0, 10), kRedCColor);
    // Some text of the current entry in the menu's colour near the left.
    auto lit = [&] {
        int count = 0;
        for (int x = 2; x < 60; ++x)
            for (int y = 3; y < 17; ++y)
                count += fixture.image()->getPixel(x, y).green > 100;
        return count;
    };
    fixture.frame->idle();
    EXPECT_GT(lit(), 10);

    // Off-screen there is no pop-up: a click is taken and changes nothing.
    CPoint p(50, 10);
    EXPECT_EQ(fixture.frame->onMouseDown(p, kLButton), kMouseEventHandled);
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_TRUE(listener.edits.empty());
    // The pop-up's report is one edit.
    menu->popupClosed(2);
    EXPECT_EQ(listener.values(), (std::vector<float>{2.f}));
    EXPECT_EQ(listener.edits.front().kind, 'b');
    EXPECT_EQ(listener.edits.back().kind, 'e');
}
