// The LV2 UI through a stand-in for a host on a real X server: it opens in the
// host's parent window and asks for its size, a drag writes the ports inside
// touch gestures with the values the plot's mapping gives, a port event from
// the host moves the plot, and it opens and closes a hundred times.
#include <gtest/gtest.h>

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "product/VantelorDescription.h"
#include "tests/lv2/Lv2Host.h"
#include "tests/support/PluginModule.h"
#include "tests/toolkit/X11TestSupport.h"
#include "toolkit/CGraphics.h"

namespace {

using namespace vantelor_test;

constexpr VSTGUI::CColor kSelected{194, 250, 5, 255};

// What the host saw of the UI, in order: "touch0+", "write0=<units>", "touch0-".
struct HostRecord
{
    std::vector<std::string> calls;
    int resizedWidth = 0;
    int resizedHeight = 0;
};

class UiHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!window.display)
            GTEST_SKIP() << "no X server";
        ASSERT_TRUE(module.loaded()) << module.error();
        auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(module.symbol("lv2ui_descriptor"));
        ASSERT_NE(entry, nullptr);
        descriptor = entry(0);
        ASSERT_NE(descriptor, nullptr);
        EXPECT_STREQ(descriptor->URI, vantelor_lv2::kUiUri);
        EXPECT_EQ(entry(1), nullptr);
        idle = static_cast<const LV2UI_Idle_Interface*>(
            descriptor->extension_data(LV2_UI__idleInterface));
        ASSERT_NE(idle, nullptr);
    }
    void TearDown() override { close(); }

    // Opens the UI; with a scale above 0 the host offers it as ui:scaleFactor
    // among its options, as hosts on scaled displays do.
    void open(float scale = 0)
    {
        resize = {&record, [](LV2UI_Feature_Handle h, int w, int hgt) {
                      static_cast<HostRecord*>(h)->resizedWidth = w;
                      static_cast<HostRecord*>(h)->resizedHeight = hgt;
                      return 0;
                  }};
        touch = {&record, [](LV2UI_Feature_Handle h, uint32_t port, bool grabbed) {
                     static_cast<HostRecord*>(h)->calls.push_back("touch" + std::to_string(port) +
                                                                  (grabbed ? "+" : "-"));
                 }};
        parentFeature = {LV2_UI__parent, window.parent()};
        resizeFeature = {LV2_UI__resize, &resize};
        touchFeature = {LV2_UI__touch, &touch};
        urids.handle = &uridTable;
        urids.map = [](LV2_URID_Map_Handle h, const char* uri) {
            auto* table = static_cast<std::map<std::string, LV2_URID>*>(h);
            return table->emplace(uri, static_cast<LV2_URID>(table->size() + 1)).first->second;
        };
        scaleValue = scale;
        options[0] = {LV2_OPTIONS_INSTANCE,
                      0,
                      urids.map(urids.handle, LV2_UI__scaleFactor),
                      sizeof(float),
                      urids.map(urids.handle, LV2_ATOM__Float),
                      &scaleValue};
        options[1] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
        mapFeature = {LV2_URID__map, &urids};
        optionsFeature = {LV2_OPTIONS__options, options};
        const LV2_Feature* features[] = {&parentFeature,
                                         &resizeFeature,
                                         &touchFeature,
                                         scale > 0 ? &mapFeature : nullptr,
                                         scale > 0 ? &optionsFeature : nullptr,
                                         nullptr};
        handle = descriptor->instantiate(
            descriptor, vantelor_lv2::kPluginUri, VANTELOR_LV2_BUNDLE,
            [](LV2UI_Controller c, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
                auto* r = static_cast<HostRecord*>(const_cast<void*>(c));
                if (size == sizeof(float) && format == 0)
                    r->calls.push_back("write" + std::to_string(port) + "=" +
                                       std::to_string(*static_cast<const float*>(buffer)));
            },
            &record, &widget, features);
    }
    void close()
    {
        if (handle)
            descriptor->cleanup(handle);
        handle = nullptr;
    }
    void pump() { idle->idle(handle); }
    void portEvent(uint32_t port, float units)
    {
        descriptor->port_event(handle, port, sizeof units, 0, &units);
    }
    std::vector<std::string> calls(size_t expected)
    {
        pumpUntil([&] { pump(); }, [&] { return record.calls.size() >= expected; });
        return record.calls;
    }
    VSTGUI::CColor shown(int x, int y) { return window.shown(x, y); }

    HostWindow window{500, 400};
    PluginModule module{VANTELOR_LV2_BUNDLE "/"
                                            "HF_Vantelor_ui.so"};
    const LV2UI_Descriptor* descriptor = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    HostRecord record;
    LV2UI_Resize resize{};
    LV2UI_Touch touch{};
    LV2_Feature parentFeature{}, resizeFeature{}, touchFeature{};
    std::map<std::string, LV2_URID> uridTable;
    LV2_URID_Map urids{};
    float scaleValue = 0;
    LV2_Options_Option options[2]{};
    LV2_Feature mapFeature{}, optionsFeature{};
    LV2UI_Widget widget = nullptr;
    LV2UI_Handle handle = nullptr;
};

std::string write(int port, float normalised)
{
    return "write" + std::to_string(port) + "=" + std::to_string(vantelorToUnits(port, normalised));
}

TEST_F(UiHost, OpensInTheParentAndADragWritesThePortsInsideTouchGestures)
{
    open();
    ASSERT_NE(handle, nullptr);
    const Window child = window.onlyChild();
    ASSERT_NE(child, 0u);
    EXPECT_EQ(reinterpret_cast<Window>(widget), child);
    EXPECT_EQ(record.resizedWidth, 414);
    EXPECT_EQ(record.resizedHeight, 289);
    // The host sends the current values, as hosts do after instantiating.
    for (int i = 0; i < kNumVantelorParameters; ++i)
        portEvent(static_cast<uint32_t>(i), kVantelorFactoryPrograms[0].values[i]);
    pump();

    // Drag L (azimuth -30 at column 118, elevation 0 at row 127) 100 px
    // right and 40 px down.
    window.move(118, 127);
    pump();
    window.button(1, true);
    pump();
    window.move(218, 167);
    pump();
    window.button(1, false);
    const float azimuth = static_cast<float>(191.0 / 364);
    const float elevation = static_cast<float>(1 - 146.0 / 212);
    const std::vector<std::string> expected = {"touch0+", write(0, azimuth),   "touch0-",
                                               "touch1+", write(1, elevation), "touch1-"};
    EXPECT_EQ(calls(6), expected);
    EXPECT_EQ(gXErrors, 0);
}

TEST_F(UiHost, APortEventFromTheHostMovesThePlot)
{
    open();
    ASSERT_NE(handle, nullptr);
    for (int i = 0; i < kNumVantelorParameters; ++i)
        portEvent(static_cast<uint32_t>(i), kVantelorFactoryPrograms[0].values[i]);
    // R (selected at open) sits at column 300; azimuth 0.9 of the range puts
    // it at 355.
    ASSERT_TRUE(pumpUntil([&] { pump(); }, [&] { return shown(300, 127) == kSelected; }));
    portEvent(kAziR, vantelorToUnits(kAziR, 0.9f)); // control ports follow the parameters
    ASSERT_TRUE(pumpUntil([&] { pump(); }, [&] { return shown(355, 127) == kSelected; }));
    EXPECT_NE(shown(300, 127), kSelected);
    // Events the UI does not understand change nothing.
    const double notAFloat = 1.0;
    descriptor->port_event(handle, kAziR, sizeof notAFloat, 0, &notAFloat);
    descriptor->port_event(handle, vantelor_lv2::kOutLeft, sizeof(float), 0, &notAFloat);
    descriptor->port_event(handle, 99, sizeof(float), 0, &notAFloat);
    pump();
    EXPECT_EQ(shown(355, 127), kSelected);
    EXPECT_TRUE(record.calls.empty()); // host changes are never written back
}

TEST_F(UiHost, OpensAtTheScaleTheHostOffers)
{
    // Factor offered, size asked of the host (a half pixel rounds up);
    // nonsense is no offer.
    const struct
    {
        float scale;
        int width, height;
    } cases[] = {{2.0f, 828, 578}, {1.5f, 621, 434}, {1.0f, 414, 289}, {-1.0f, 414, 289}};
    for (const auto& c : cases) {
        record = {};
        open(c.scale);
        ASSERT_NE(handle, nullptr) << c.scale;
        EXPECT_EQ(record.resizedWidth, c.width) << c.scale;
        EXPECT_EQ(record.resizedHeight, c.height) << c.scale;
        close();
    }
    EXPECT_EQ(gXErrors, 0);
}

TEST_F(UiHost, OpensAndClosesAHundredTimesAndRefusesWithoutAParent)
{
    for (int i = 0; i < 100; ++i) {
        open();
        ASSERT_NE(handle, nullptr) << i;
        pump();
        close();
    }
    EXPECT_EQ(window.onlyChild(), 0u);
    EXPECT_EQ(gXErrors, 0);

    const LV2_Feature* none[] = {nullptr};
    LV2UI_Widget w = nullptr;
    EXPECT_EQ(descriptor->instantiate(descriptor, vantelor_lv2::kPluginUri, VANTELOR_LV2_BUNDLE,
                                      nullptr, nullptr, &w, none),
              nullptr);
    EXPECT_EQ(descriptor->instantiate(descriptor, "urn:another-plugin", VANTELOR_LV2_BUNDLE,
                                      nullptr, nullptr, &w, none),
              nullptr);
}

} // namespace
