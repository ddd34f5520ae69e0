#include "dsp/NoiseSigns.h"

#include <cstring>

#include "dsp/NumericHelpers.h"

namespace {
constexpr int kPeriodBits = 18;
constexpr uint32_t kPeriod = kNoisePeriod;
static_assert(kPeriod == 1u << kPeriodBits);
constexpr uint32_t kPeriodMask = kPeriod - 1u;
constexpr int kPeriodBytes = static_cast<int>(kPeriod / 8);
// The first bytes again after the period, so that a run read from any
// place continues across the period's end.
constexpr int kWrapBytes = 8 * (kMaxNoiseSignWords + 1);

struct SignTable
{
    SignTable()
    {
        std::memset(bits, 0, sizeof bits);
        CNoiseGenerator generator;
        // Bit n: the sign of the state n steps after state 0.
        uint32_t state = 0;
        for (uint32_t n = 0; n < kPeriod; ++n) {
            if (((state >> kNoiseSignShift) & kNoiseSignBit) != 0)
                bits[n / 8] = static_cast<uint8_t>(bits[n / 8] | 1u << (n % 8));
            state = generator.next();
        }
        std::memcpy(bits + kPeriodBytes, bits, kWrapBytes);
    }

    uint8_t bits[kPeriodBytes + kWrapBytes];
};

// Built when the library is loaded, before any engine can ask for it.
const SignTable kSigns;

// The generator's 2^k-step jumps, k = 0 .. 17.
struct Doublings
{
    CNoiseJump jump[kPeriodBits];
};

constexpr Doublings makeDoublings()
{
    Doublings d{};
    for (int k = 0; k < kPeriodBits; ++k)
        d.jump[k] = CNoiseJump::steps(1 << k);
    return d;
}

constexpr Doublings kDoublings = makeDoublings();
} // namespace

uint32_t noisePeriodPlace(uint32_t state)
{
    // Bit k of the place decides bit k of the state reached from 0: a jump
    // of 2^k steps flips it (the generator has the full period) and leaves
    // the bits below alone.
    uint32_t reached = 0;
    uint32_t place = 0;
    for (int k = 0; k < kPeriodBits; ++k) {
        // Without a branch: which way each bit goes is a coin toss.
        const uint32_t differs = ((reached ^ state) >> k) & 1u;
        const uint32_t jumped = kDoublings.jump[k].apply(reached);
        reached = differs != 0 ? jumped : reached;
        place |= differs << k;
    }
    return place;
}

void noiseSignsAfter(uint32_t place, int words, uint8_t* out)
{
    if (words <= 0 || out == nullptr)
        return;
    if (words > kMaxNoiseSignWords)
        words = kMaxNoiseSignWords;
    const uint32_t first = (place + 1u) & kPeriodMask;
    const uint8_t* const from = kSigns.bits + first / 8;
    const int shift = static_cast<int>(first % 8);
    for (int w = 0; w < words; ++w) {
        uint64_t low;
        std::memcpy(&low, from + 8 * w, sizeof low);
        uint64_t word = low >> shift;
        if (shift != 0)
            word |= static_cast<uint64_t>(from[8 * w + 8]) << (64 - shift);
        std::memcpy(out + 8 * w, &word, sizeof word);
    }
}
