#include "dsp/FourSampler.h"

namespace {
// Low-pass designed for the four-times rate; the numerator is
// symmetric.
constexpr double kB[C4Sampler::kOrder + 1] = {
    0.00019530718893299385, 7.012552316649083e-05, 0.0004444868335429697,
    0.00030485289405630413, 0.0005203842872564928, 0.0003048528940563009,
    0.0004444868335429663,  7.0125523166491e-05,   0.00019530718893298843,
};
constexpr double kA[C4Sampler::kOrder + 1] = {
    1.0,
    -5.865324808584427,
    15.849351954423785,
    -25.58592030294877,
    26.877494439438948,
    -18.76460690799316,
    8.489069193518544,
    -2.2733940177638265,
    0.27589509997729156,
};
} // namespace

C4Sampler::C4Sampler()
{
    for (int k = 0; k <= kOrder; ++k) {
        b[k] = kB[k];
        a[k] = kA[k];
    }
}

C4Sampler::~C4Sampler() = default;

void C4Sampler::reset()
{
    y = 0.0;
    for (double& v : s)
        v = 0.0;
}
