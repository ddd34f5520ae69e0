// The Windows module's window in a host's HWND under Wine: it embeds as the
// host's one child at 414x289 and at the scales the host sets, asks the
// host's timer support for its idle (no file descriptor on Windows), and
// leaves nothing behind when destroyed.
#include <gtest/gtest.h>

#include "tests/windows/WindowsHost.h"
#include "tools/host/clap/ClapHost.h"

namespace {

using clap_host::ClapInstance;
using clap_host::ClapModule;
using windows_test::HostWindow;

TEST(ClapWindowWin32, EmbedsInTheHostsWindowAtEachScale)
{
    HostWindow host(900, 650);
    if (!host.window)
        GTEST_SKIP() << "no host window: Wine needs an X display";
    const ClapModule module(VANTELOR_CLAP_PLUGIN);
    ASSERT_TRUE(module.loaded()) << module.error();
    ClapInstance plugin(module);
    const auto* gui = plugin.extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    ASSERT_NE(gui, nullptr);
    EXPECT_TRUE(gui->is_api_supported(plugin.get(), CLAP_WINDOW_API_WIN32, false));
    EXPECT_FALSE(gui->is_api_supported(plugin.get(), CLAP_WINDOW_API_X11, false));
    EXPECT_EQ(plugin.extension<void>(CLAP_EXT_POSIX_FD_SUPPORT), nullptr);
    const struct
    {
        double scale;
        LONG width, height;
    } cases[] = {{1.0, 414, 289}, {1.5, 621, 434}, {2.0, 828, 578}};
    for (const auto& c : cases) {
        ASSERT_TRUE(gui->create(plugin.get(), CLAP_WINDOW_API_WIN32, false));
        ASSERT_TRUE(gui->set_scale(plugin.get(), c.scale));
        clap_window_t parent{};
        parent.api = CLAP_WINDOW_API_WIN32;
        parent.win32 = host.window;
        ASSERT_TRUE(gui->set_parent(plugin.get(), &parent)) << c.scale;
        ASSERT_TRUE(gui->show(plugin.get()));
        uint32_t w = 0, h = 0;
        ASSERT_TRUE(gui->get_size(plugin.get(), &w, &h));
        EXPECT_EQ(static_cast<LONG>(w), c.width) << c.scale;
        EXPECT_EQ(static_cast<LONG>(h), c.height) << c.scale;
        const auto children = host.children();
        ASSERT_EQ(children.size(), 1u) << c.scale;
        RECT r{};
        GetClientRect(children[0], &r);
        EXPECT_EQ(r.right, c.width) << c.scale;
        EXPECT_EQ(r.bottom, c.height) << c.scale;
        EXPECT_EQ(plugin.record.timers.size(), 1u);
        for (int i = 0; i < 5; ++i) {
            plugin.runLoopOnce();
            windows_test::pumpMessages();
        }
        gui->destroy(plugin.get());
        windows_test::pumpMessages();
        EXPECT_TRUE(host.children().empty()) << c.scale;
        EXPECT_TRUE(plugin.record.timers.empty());
    }
}

} // namespace
