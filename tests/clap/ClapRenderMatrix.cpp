// Renders every factory program with value and modulation events at random
// frames through a .clap module, at three rates, and prints a hash of each
// output: the Linux and the Windows builds of the plug-in must print the same
// lines.
//   clap_render_matrix PLUGIN.clap
#include <cinttypes>
#include <cstdio>

#include "tests/clap/ClapRender.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: clap_render_matrix PLUGIN.clap\n");
        return 2;
    }
    clap_host::ClapModule module(argv[1]);
    if (!module.loaded()) {
        std::fprintf(stderr, "%s\n", module.error().c_str());
        return 1;
    }
    const double rates[] = {44100.0, 48000.0, 96000.0};
    for (double rate : rates) {
        for (int program = 0; program < vantelor::kNumVantelorFactoryPrograms; ++program) {
            const clap_test::Scenario s =
                clap_test::makeScenario(program, rate, 1000u + static_cast<uint32_t>(program));
            clap_test::StereoOut out;
            if (!clap_test::renderClap(module, s, out)) {
                std::fprintf(stderr, "program %d at %.0f Hz: the render failed\n", program, rate);
                return 1;
            }
            std::printf("rate %.0f program %d frames %zu hash %016" PRIx64 "\n", rate, program,
                        out.left.size(), clap_test::hashOf(out));
        }
    }
    return 0;
}
