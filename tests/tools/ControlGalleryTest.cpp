// The control gallery draws every control: each cell of its picture holds
// pixels of the control's own colours, not only the panel behind it.
#include <gtest/gtest.h>

#include "../editor/controls/ControlsTestSupport.h"
#include "tools/gallery/Gallery.h"

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
