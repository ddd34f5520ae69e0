// The editor command on a real X server: a plug-in's editor opens in a window
// of the size it asks for, is idled, and is saved as a PNG before closing;
// with --scale it opens as a host on a scaled display opens it.
#include "HostRunner.h"
#include "tools/host/PluginInstance.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace vst2host::testing {
namespace {

TEST(EditorWindow, ShowsAndCapturesTheEditorOfAPluginWeDidNotWrite)
{
    const std::string plugin = "/usr/lib/vst/ZamEQ2-vst.so";
    ASSERT_TRUE(std::filesystem::exists(plugin)) << "zam-plugins is not installed";
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X server (DISPLAY is not set)";

    int width = 0;
    int height = 0;
    {
        PluginInstance instance(plugin);
        ERect* rect = nullptr;
        instance.dispatch(effEditGetRect, 0, 0, &rect);
        ASSERT_NE(rect, nullptr);
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
    }

    ScratchDirectory dir;
    const std::string png = dir.path("editor.png");
    const HostRun run = runHost({"editor", plugin, "--seconds", "1", "--screenshot", png});
    ASSERT_EQ(run.status, 0) << run.err;
    cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), width);
    EXPECT_EQ(cairo_image_surface_get_height(image), height);

    // The editor drew something: the picture is not one flat colour.
    cairo_surface_flush(image);
    const auto* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const auto pixel = [&](int x, int y) {
        return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF;
    };
    int differing = 0;
    for (int y = 0; y < height; y += 4)
        for (int x = 0; x < width; x += 4)
            differing += pixel(x, y) != pixel(0, 0);
    EXPECT_GT(differing, 100);
    cairo_surface_destroy(image);
}

TEST(EditorWindow, ScaleAsksTheEditorForTheDisplaysScale)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X server (DISPLAY is not set)";
    struct Case
    {
        const char* scale;
        int width, height;
    } cases[] = {{"1", 414, 289}, {"1.5", 621, 434}, {"2", 828, 578}};
    ScratchDirectory dir;
    for (const Case& c : cases) {
        const std::string png = dir.path(std::string("editor-") + c.scale + ".png");
        const HostRun run = runHost({"editor", VANTELOR_PLUGIN, "--seconds", "0.3", "--scale",
                                     c.scale, "--screenshot", png});
        ASSERT_EQ(run.status, 0) << c.scale << ": " << run.err;
        cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
        ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS) << c.scale;
        EXPECT_EQ(cairo_image_surface_get_width(image), c.width) << c.scale;
        EXPECT_EQ(cairo_image_surface_get_height(image), c.height) << c.scale;
        cairo_surface_destroy(image);
    }
    // Outside 1..4 is refused as a usage error.
    EXPECT_EQ(runHost({"editor", VANTELOR_PLUGIN, "--scale", "5"}).status, 2);
}

} // namespace
} // namespace vst2host::testing
