// Every filter design the panner makes, at every integer sample rate from
// 22050 to 192000 Hz and every whole elevation from -60 to 60 degrees, in
// both of its voicings (a full redesign and an elevation move), hashed bit
// for bit. The Linux and Windows builds must print the same lines: their
// coefficients, and so their audio, are the same.
//
// vantelor_design_sweep [FIRST_RATE LAST_RATE [RATES_PER_LINE]]
#include "engine/CCPanner.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

struct Hash
{
    uint64_t value = kHashStart;

    void add(float x) { value = hashWord(value, x); }
    void add(int n) { add(static_cast<float>(n)); }
    void add(const CBiQuad& q)
    {
        add(q.getB0());
        add(q.getB1());
        add(q.getB2());
        add(q.getA1());
        add(q.getA2());
    }
};

void addRateDesigns(Hash& hash, const CCCPanner& panner)
{
    hash.add(panner.getOutsideBassShelf());
    hash.add(panner.getFarShelf());
    hash.add(panner.getCrossShelf());
    hash.add(panner.getAzimuthSmoother().getCoefficient());
    hash.add(panner.getFarDelay());
    hash.add(panner.getCrossDelay());
}

} // namespace

int main(int argc, char** argv)
{
    long first = 22050;
    long last = 192000;
    long perLine = 10000;
    if (argc >= 3) {
        first = std::strtol(argv[1], nullptr, 10);
        last = std::strtol(argv[2], nullptr, 10);
    }
    if (argc >= 4)
        perLine = std::strtol(argv[3], nullptr, 10);
    if (first < 22050 || last > 192000 || first > last || perLine < 1) {
        std::fprintf(stderr,
                     "usage: vantelor_design_sweep [FIRST_RATE LAST_RATE [RATES_PER_LINE]]\n");
        return 2;
    }

    CCCPanner panner;
    Hash total;
    Hash line;
    long lineStart = first;
    for (long rate = first; rate <= last; ++rate) {
        panner.setSampleRate(static_cast<float>(rate));
        addRateDesigns(line, panner);
        for (int e = -60; e <= 60; ++e) {
            // An elevation move, then the full redesign at that elevation.
            panner.setElevation(static_cast<float>(e));
            line.add(panner.getElevationPeak());
            line.add(panner.getElevationShelf());
            panner.updateFilters();
            line.add(panner.getElevationPeak());
            line.add(panner.getElevationShelf());
        }
        if (rate - lineStart + 1 == perLine || rate == last) {
            std::printf("%ld-%ld %016" PRIx64 "\n", lineStart, rate, line.value);
            total.add(static_cast<float>(line.value & 0xffffffu));
            total.value ^= line.value;
            line = Hash();
            lineStart = rate + 1;
        }
    }
    std::printf("all %016" PRIx64 "\n", total.value);
    return 0;
}
