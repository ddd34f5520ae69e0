// The drawing context produces the documented pixels: lines on exact pixel
// rows in aliased mode, dashes, filled and stroked shapes, aligned text,
// gradients along their axis, and pictures found by name.
#include "ToolkitTestSupport.h"

#include "toolkit/CBitmap.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <vector>

using namespace VSTGUI;
using vantelor_test::OffscreenFixture;

namespace {

constexpr CColor kRed{255, 0, 0, 255};

bool isRed(const CColor& c)
{
    return c.red > 200 && c.green < 60 && c.blue < 60;
}

TEST(Drawing, AliasedLinesCoverExactlyTheirPixelRow)
{
    OffscreenFixture f;
    f.paint([](CDrawContext* c) {
        c->setDrawMode(kAliasing);
        c->setLineWidth(1);
        c->setFrameColor(kRed);
        c->drawLine(CPoint(0, 10), CPoint(63, 10));
    });
    for (int x : {0, 31, 62}) {
        EXPECT_TRUE(isRed(f.pixel(x, 10))) << x;
        EXPECT_EQ(f.pixel(x, 9), kBlackCColor) << x;
        EXPECT_EQ(f.pixel(x, 11), kBlackCColor) << x;
    }
}

TEST(Drawing, OnOffDashAlternatesAlongTheLine)
{
    OffscreenFixture f;
    f.paint([](CDrawContext* c) {
        c->setDrawMode(kAliasing);
        c->setLineStyle(kLineOnOffDash);
        c->setFrameColor(kRed);
        c->drawLine(CPoint(0, 5), CPoint(40, 5));
    });
    int on = 0;
    int off = 0;
    for (int x = 0; x < 40; ++x)
        (isRed(f.pixel(x, 5)) ? on : off)++;
    EXPECT_GT(on, 10);
    EXPECT_GT(off, 10);
}

TEST(Drawing, FilledAndStrokedShapes)
{
    OffscreenFixture f;
    f.paint([](CDrawContext* c) {
        c->setDrawMode(kAntiAliasing);
        c->setFillColor(kRed);
        c->setFrameColor(kWhiteCColor);
        c->setLineWidth(2);
        c->drawEllipse(CRect(4, 4, 36, 36), kDrawFilledAndStroked);
        c->setDrawMode(kAliasing);
        c->setLineWidth(1);
        c->drawRect(CRect(40, 40, 60, 60), kDrawStroked);
    });
    EXPECT_TRUE(isRed(f.pixel(20, 20)));    // ellipse centre: fill
    EXPECT_EQ(f.pixel(5, 5), kBlackCColor); // bounding-box corner stays outside the ellipse
    EXPECT_GT(f.pixel(20, 4).red, 100);     // rim: white stroke
    EXPECT_GT(f.pixel(20, 4).green, 100);
    // A framed rectangle covers the border pixels of the same filled one.
    EXPECT_EQ(f.pixel(40, 40), kWhiteCColor);
    EXPECT_EQ(f.pixel(59, 59), kWhiteCColor);
    EXPECT_EQ(f.pixel(60, 50), kBlackCColor);
    EXPECT_EQ(f.pixel(50, 50), kBlackCColor);
}

// Rightmost and leftmost columns that text pixels reached in a row band.
std::pair<int, int> inkColumns(OffscreenFixture& f, int top, int bottom, int width)
{
    int first = width;
    int last = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < width; ++x)
            if (f.pixel(x, y).red > 80) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST(Drawing, StringsAreAlignedInTheirRectangle)
{
    struct Case
    {
        CHoriTxtAlign align;
        int minFirst, maxFirst, minLast, maxLast;
    } cases[] = {
        {kLeftText, 10, 12, 20, 100},
        {kRightText, 10, 100, 95, 100},
        {kCenterText, 20, 50, 70, 100},
    };
    for (const Case& c : cases) {
        OffscreenFixture f(120, 30);
        f.paint([&](CDrawContext* ctx) {
            auto* font = new CFontDesc("Arial", 12);
            ctx->setFont(font);
            font->forget();
            ctx->setFontColor(kWhiteCColor);
            ctx->drawString("Width 50", CRect(10, 5, 100, 25), c.align);
        });
        auto [first, last] = inkColumns(f, 5, 25, 120);
        EXPECT_GE(first, c.minFirst) << c.align;
        EXPECT_LE(first, c.maxFirst) << c.align;
        EXPECT_GE(last, c.minLast) << c.align;
        EXPECT_LE(last, c.maxLast) << c.align;
    }
}

TEST(Drawing, LinearGradientFadesAlongItsAxis)
{
    OffscreenFixture f;
    f.paint([](CDrawContext* c) {
        CGraphicsPath* path = c->createGraphicsPath();
        path->addRect(CRect(0, 20, 64, 40));
        CGradient* gradient =
            path->createGradient(0, 1, CColor{255, 255, 255, 255}, CColor{255, 255, 255, 0});
        c->fillLinearGradient(path, *gradient, CPoint(0, 20), CPoint(0, 40));
        gradient->forget();
        path->forget();
    });
    const int top = f.pixel(10, 20).red;
    const int middle = f.pixel(10, 30).red;
    const int bottom = f.pixel(10, 39).red;
    EXPECT_GT(top, 230);
    EXPECT_GT(top, middle);
    EXPECT_GT(middle, bottom);
    EXPECT_LT(bottom, 30);
    EXPECT_EQ(f.pixel(10, 19), kBlackCColor); // outside the path
}

// A 2 x 4 picture: red upper half, transparent green lower half.
std::vector<uint8_t> twoStatePNG()
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 4);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, 1, 0, 0, 1);
    cairo_rectangle(cr, 0, 0, 2, 2);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 0, 1, 0, 1);
    cairo_rectangle(cr, 0, 2, 2, 2);
    cairo_fill(cr);
    cairo_destroy(cr);
    std::vector<uint8_t> bytes = vantelor_test::pngBytes(s);
    cairo_surface_destroy(s);
    return bytes;
}

std::vector<uint8_t> gPicture;

bool testLookup(const char* name, CResourceData& out)
{
    if (std::string(name) == "states.png") {
        out.data = gPicture.data();
        out.size = gPicture.size();
        return true;
    }
    if (std::string(name) == "broken.png") {
        static const uint8_t junk[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
        out.data = junk;
        out.size = sizeof(junk);
        return true;
    }
    return false;
}

TEST(Drawing, BitmapsAreFoundByNameAndDrawnFromAnOffset)
{
    gPicture = twoStatePNG();
    setResourceLookup(testLookup);
    auto* bitmap = new CBitmap("states.png");
    EXPECT_EQ(bitmap->getWidth(), 2);
    EXPECT_EQ(bitmap->getHeight(), 4);
    OffscreenFixture f(8, 8);
    f.paint([bitmap](CDrawContext* c) {
        bitmap->draw(c, CRect(0, 0, 2, 2));
        bitmap->draw(c, CRect(4, 0, 6, 2), CPoint(0, 2));
    });
    EXPECT_EQ(f.pixel(1, 1), kRed);
    EXPECT_EQ(f.pixel(5, 1), (CColor{0, 255, 0, 255}));
    EXPECT_EQ(f.pixel(1, 2), kBlackCColor); // clipped to the destination
    bitmap->forget();

    // Unknown and undecodable pictures have size 0 and draw nothing.
    for (const char* name : {"missing.png", "broken.png"}) {
        auto* none = new CBitmap(name);
        EXPECT_EQ(none->getWidth(), 0) << name;
        EXPECT_EQ(none->getHeight(), 0) << name;
        OffscreenFixture g(4, 4);
        g.paint([none](CDrawContext* c) { none->draw(c, CRect(0, 0, 4, 4)); });
        EXPECT_EQ(g.pixel(1, 1), kBlackCColor);
        none->forget();
    }
    setResourceLookup(nullptr);
}

} // namespace
