// The DLL's window under Wine against the Linux build's off-screen picture
// of the same window: the same picture, label, link button, grid and
// sources, pixel for pixel but for anti-aliased edges and glyph shapes
// (Wine draws shapes without anti-aliasing, and its text comes from
// another rasteriser). Prints how many pixels differ and where.
//
// vantelor_window_matches_linux PLUGIN.dll LINUX.png
#include "tests/support/PluginModule.h"
#include "tests/windows/WindowsHost.h"

#include <cstdio>

using namespace windows_test;

namespace {

struct Region
{
    const char* name;
    RECT r;
    double minimumShare; // of pixels within kTolerance
};

constexpr int kTolerance = 48;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vantelor_window_matches_linux PLUGIN.dll LINUX.png\n");
        return 2;
    }
    const Pixels linux = decodePNGFile(argv[2]);
    if (linux.width == 0) {
        std::fprintf(stderr, "error: cannot read %s\n", argv[2]);
        return 2;
    }
    const vantelor_test::PluginModule module(argv[1]);
    const vantelor_test::PluginEntry entry = module.entry();
    AEffect* effect = entry ? entry(freshHost()) : nullptr;
    if (!effect) {
        std::fprintf(stderr, "error: cannot load %s\n", argv[1]);
        return 2;
    }
    HostWindow host(500, 400);
    if (!host.window) {
        std::fprintf(stderr, "SKIP: no host window: Wine needs an X display\n");
        return 77;
    }
    if (effect->dispatcher(effect, effEditOpen, 0, 0, host.window, 0) != 1 ||
        host.children().size() != 1) {
        std::fprintf(stderr, "error: the editor did not open\n");
        return 1;
    }
    const HWND child = host.children()[0];
    auto idle = [&] { effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0); };
    // Shown once the selected source (R, at column 300) is drawn.
    pumpUntil(idle, [&] { return capture(child).at(300, 127) == 0xC2FA05; });
    const Pixels windows = capture(child);
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0);

    if (windows.width != linux.width || windows.height != linux.height) {
        std::printf("FAIL: the window is %dx%d, the Linux picture %dx%d\n", windows.width,
                    windows.height, linux.width, linux.height);
        return 1;
    }
    const Region regions[] = {
        {"whole window", {0, 0, windows.width, windows.height}, 0.99},
        {"plot", {27, 21, 392, 234}, 0.995},
        {"label", {0, 271, 404, 289}, 0.9},
        {"link button", {197, 269, 217, 289}, 0.99},
    };
    bool ok = true;
    for (const Region& region : regions) {
        int total = 0, close = 0, exact = 0;
        for (int y = region.r.top; y < region.r.bottom; ++y) {
            for (int x = region.r.left; x < region.r.right; ++x) {
                const int d = channelDistance(windows.at(x, y), linux.at(x, y));
                ++total;
                close += d <= kTolerance;
                exact += d == 0;
            }
        }
        const double share = static_cast<double>(close) / total;
        const bool passed = share >= region.minimumShare;
        ok = ok && passed;
        std::printf("%-12s %6d pixels: %6.2f%% within %d, %6.2f%% exact (needs %.0f%% within) %s\n",
                    region.name, total, 100.0 * share, kTolerance, 100.0 * exact / total,
                    100.0 * region.minimumShare, passed ? "ok" : "FAIL");
    }
    return ok ? 0 : 1;
}
