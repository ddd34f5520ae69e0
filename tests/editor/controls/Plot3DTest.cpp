// The 3-D plot's projection of points for a few rotations and distances.
#include <gtest/gtest.h>

#include "editor/controls/Plot3D.h"

#include <numbers>

using namespace VSTGUI;

TEST(Plot3D, ProjectsThroughTheRotationAndThePerspective)
{
    // Centre (100, 60), scale m = min(200, 120) / 2 = 60.
    auto* plot = new C3DPlot(CRect(0, 0, 200, 120));
    EXPECT_FALSE(plot->getMouseEnabled());
    constexpr float kQuarter = std::numbers::pi_v<float> / 2;
    struct Case
    {
        float yaw, pitch, distance;
        float x, y, z;
        CPoint pixel;
    } cases[] = {
        {0, 0, 2, 1, 0, 0, {160, 60}},        // depth 0: no perspective
        {0, 0, 2, 0, 1, 0, {100, 0}},         // up is up
        {kQuarter, 0, 2, 0, 0, 1, {160, 60}}, // a quarter turn brings z to the right
        {0, kQuarter, 2, 0, 0, 1, {100, 0}},  // a quarter tilt brings z up
        {0, 0, 2, 0.5f, 0, 1, {120, 60}},     // depth 1: two thirds (trunc 20)
        {0, 0, 2, 0.5f, 0, -1, {160, 60}},    // nearer: twice the size
        {0, 0, 4, 1, 1, 2, {140, 20}},        // depth 2 at distance 4: two thirds
        {0, 0, 2, 1, 0, -2, {100, 60}},       // at the viewer: the centre, not infinity
    };
    for (const Case& c : cases) {
        plot->setRotation(c.yaw, c.pitch, c.distance);
        EXPECT_EQ(plot->project(c.x, c.y, c.z), c.pixel) << c.x << "," << c.y << "," << c.z;
    }
    plot->forget();
}
