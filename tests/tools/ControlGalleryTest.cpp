// The control gallery draws every control: each cell of its picture holds
// pixels of the control's own colours, not only the panel behind it.
#include <gtest/gtest.h>

#include "../editor/controls/ControlsTestSupport.h"
#include "tools/gallery/Gallery.h"

#include <cmath>

using namespace VSTGUI;
using vantelor_test::OffscreenFixture;

TEST(ControlGallery, EveryCellShowsItsControl)
{
    OffscreenFixture fixture(gallery::kWidth, gallery::kHeight);
    gallery::Gallery gallery(fixture.frame);
    gallery.play(0.5);
    fixture.frame->idle();
    struct Cell
    {
        const char* name;
        CRect rect;
    } cells[] = {
        {"plot", {20, 40, 280, 220}},
        {"polar plot", {310, 40, 490, 220}},
        {"response graph", {520, 40, 770, 220}},
        {"bar graph", {20, 270, 280, 410}},
        {"peak meter", {310, 270, 360, 430}},
        {"inverted meter", {370, 270, 420, 430}},
        {"drag meter", {430, 270, 480, 430}},
        {"needle meter", {520, 270, 680, 360}},
        {"3-D plot", {700, 270, 770, 340}},
        {"strip knob", {20, 470, 68, 518}},
        {"bar knob", {220, 484, 360, 504}},
        {"switch", {434, 478, 466, 510}},
        {"option menu", {500, 484, 660, 504}},
    };
    const CColor panel{34, 37, 30, 255};
    for (const Cell& c : cells) {
        int drawn = 0;
        for (int y = static_cast<int>(c.rect.top); y < c.rect.bottom; ++y)
            for (int x = static_cast<int>(c.rect.left); x < c.rect.right; ++x)
                drawn += !vantelor_test::near(fixture.image()->getPixel(x, y), panel, 6);
        const double area = c.rect.getWidth() * c.rect.getHeight();
        EXPECT_GT(drawn, area * 0.05) << c.name;
    }
}

// Every control drawn at twice the scale is the same control: the picture
// is twice the size, and each cell halved is close to the 1x cell.
TEST(ControlGallery, EveryCellAtTwiceTheScaleMatchesItsCellAt1x)
{
    OffscreenFixture once(gallery::kWidth, gallery::kHeight);
    OffscreenFixture twice(gallery::kWidth, gallery::kHeight, nullptr, 2.0);
    gallery::Gallery galleryOnce(once.frame);
    gallery::Gallery galleryTwice(twice.frame);
    galleryOnce.play(0.5);
    galleryTwice.play(0.5);
    once.frame->idle();
    twice.frame->idle();
    ASSERT_EQ(twice.image()->getPixelWidth(), 2 * gallery::kWidth);
    ASSERT_EQ(twice.image()->getPixelHeight(), 2 * gallery::kHeight);
    auto level = [](const CColor& c) { return (c.red + c.green + c.blue) / 3.0; };
    for (int top = 0; top + 40 <= gallery::kHeight; top += 40)
        for (int left = 0; left + 40 <= gallery::kWidth; left += 40) {
            double error = 0;
            for (int y = top; y < top + 40; ++y)
                for (int x = left; x < left + 40; ++x) {
                    double halved = 0;
                    for (int d = 0; d < 4; ++d)
                        halved += level(twice.image()->getPixel(2 * x + d % 2, 2 * y + d / 2));
                    error += std::abs(halved / 4 - level(once.image()->getPixel(x, y)));
                }
            // Thin lines and small text land a little differently at 2x
            // (up to about 15 levels on average in a cell full of text); a
            // control drawn out of place or at the wrong size is far off.
            EXPECT_LT(error / 1600, 24.0) << "cell at " << left << "," << top;
        }
}
