// clap-apply: renders an audio file through a CLAP plug-in, as lilv's
// lv2apply does for LV2: the file's rate, one of the plug-in's presets (its
// load key) as the starting state, blocks of 512 frames, the output in the
// input's format.
//   clap-apply PLUGIN.clap INPUT OUTPUT [PRESET-KEY]
// Errors are one line on standard error and exit status 2.
#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/host/clap/ClapHost.h"

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "clap-apply: %s\n", message.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || argc > 5)
        return fail("usage: clap-apply PLUGIN.clap INPUT OUTPUT [PRESET-KEY]");
    clap_host::ClapModule module(argv[1]);
    if (!module.loaded())
        return fail(module.error());
    SF_INFO info{};
    SNDFILE* in = sf_open(argv[2], SFM_READ, &info);
    if (!in)
        return fail(std::string("cannot read ") + argv[2] + ": " + sf_strerror(nullptr));
    if (info.channels != 2) {
        sf_close(in);
        return fail("the input must have two channels");
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames) * 2);
    sf_readf_float(in, frames.data(), info.frames);
    sf_close(in);

    clap_host::ClapInstance plugin(module);
    if (!plugin.valid())
        return fail("the plug-in could not be made");
    if (argc == 5 && !plugin.loadPreset(argv[4]))
        return fail(std::string("no preset ") + argv[4]);
    if (!plugin.activate(info.samplerate, 1, 512) || !plugin.startProcessing())
        return fail("the plug-in did not start");
    std::vector<float> l(512), r(512), ol(512), orr(512);
    float* inputs[2] = {l.data(), r.data()};
    float* outputs[2] = {ol.data(), orr.data()};
    for (sf_count_t at = 0; at < info.frames; at += 512) {
        const sf_count_t n = std::min<sf_count_t>(512, info.frames - at);
        for (sf_count_t i = 0; i < n; ++i) {
            l[i] = frames[2 * (at + i)];
            r[i] = frames[2 * (at + i) + 1];
        }
        plugin.process(inputs, outputs, static_cast<uint32_t>(n));
        for (sf_count_t i = 0; i < n; ++i) {
            frames[2 * (at + i)] = ol[i];
            frames[2 * (at + i) + 1] = orr[i];
        }
    }
    // Opening for writing sets the count in `info` to 0.
    const sf_count_t count = info.frames;
    SNDFILE* out = sf_open(argv[3], SFM_WRITE, &info);
    if (!out)
        return fail(std::string("cannot write ") + argv[3] + ": " + sf_strerror(nullptr));
    sf_writef_float(out, frames.data(), count);
    sf_close(out);
    return 0;
}
