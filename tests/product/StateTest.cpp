// The product's versioned state: what it writes reads back to the same sound,
// the layout is the documented one on every machine, and a state that is
// empty, truncated, foreign, newer or damaged is refused and changes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "product/VantelorProcessor.h"
#include "product/VantelorState.h"

using vantelor::CVantelorDsp;
using vantelor::ProductState;
using vantelor::StateResult;

namespace {

std::vector<uint8_t> bytesOf(const ProductState& state)
{
    std::vector<uint8_t> bytes(vantelor::kStateSize);
    EXPECT_EQ(vantelor::writeState(state, bytes.data()), vantelor::kStateSize);
    return bytes;
}

std::vector<float> render(CVantelorDsp& dsp)
{
    std::vector<float> inL(2048), inR(2048), left(2048), right(2048);
    for (size_t i = 0; i < inL.size(); ++i) {
        inL[i] = std::sin(0.01f * static_cast<float>(i));
        inR[i] = std::cos(0.013f * static_cast<float>(i));
    }
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {left.data(), right.data()};
    dsp.processor.process(in, out, 2048);
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

// A session stored and reloaded sounds the same: every factory program, and
// random values set normalised, as VST3 hosts set them (a width's fraction
// survives its percentage exactly).
TEST(ProductState, RoundTripRestoresTheSoundExactly)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int trial = 0; trial < 8 + 40; ++trial) {
        CVantelorDsp original;
        for (int i = 0; i < kNumVantelorParameters; ++i) {
            if (trial < 8)
                original.processor.setUnits(i, kVantelorFactoryPrograms[trial].values[i]);
            else
                original.processor.setValue(i, unit(random));
        }
        ProductState state;
        state.program = trial % vantelor::kNumProgramSlots;
        original.processor.captureValues(state);
        const std::vector<uint8_t> bytes = bytesOf(state);

        ProductState read;
        ASSERT_EQ(vantelor::readState(bytes.data(), bytes.size(), &read), StateResult::ok);
        EXPECT_EQ(read.program, state.program);
        CVantelorDsp restored;
        restored.processor.restoreValues(read);
        original.processor.start(48000.0f);
        restored.processor.start(48000.0f);
        for (int i = 0; i < kNumVantelorParameters; ++i)
            EXPECT_EQ(restored.processor.exactUnits(i), original.processor.exactUnits(i)) << i;
        EXPECT_EQ(render(restored), render(original)) << "trial " << trial;
    }
}

// The bytes of the first format version, as every build must keep reading
// them: magic, version, size, program, count, the values as little-endian
// doubles, the checksum.
TEST(ProductState, LayoutIsLittleEndianWhateverTheMachine)
{
    ProductState state;
    state.program = 3;
    for (int i = 0; i < kNumVantelorParameters; ++i)
        state.values[i] = kVantelorFactoryPrograms[3].values[i];
    const std::vector<uint8_t> bytes = bytesOf(state);
    const uint8_t header[20] = {'H', 'F', 'V', 'S', 1, 0, 0, 0, 88, 0,
                                0,   0,   3,   0,   0, 0, 8, 0, 0,  0};
    EXPECT_EQ(std::memcmp(bytes.data(), header, sizeof header), 0);
    // -55.0 is 0xC04B800000000000.
    const uint8_t minus55[8] = {0, 0, 0, 0, 0, 0x80, 0x4B, 0xC0};
    EXPECT_EQ(std::memcmp(bytes.data() + 20, minus55, 8), 0);

    // A state written once by this version reads back in every later one.
    const std::vector<uint8_t> stored = bytes;
    ProductState read;
    ASSERT_EQ(vantelor::readState(stored.data(), stored.size(), &read), StateResult::ok);
    EXPECT_EQ(read.values[0], -55.0);
    EXPECT_EQ(read.values[3], 10.0);
}

void resign(std::vector<uint8_t>& bytes)
{
    // FNV-1a over everything before the checksum, as the writer signs it.
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i + 4 < vantelor::kStateSize; ++i) {
        hash ^= bytes[i];
        hash *= 16777619u;
    }
    for (int i = 0; i < 4; ++i)
        bytes[vantelor::kStateSize - 4 + i] = static_cast<uint8_t>(hash >> (8 * i));
}

TEST(ProductState, RefusedStatesChangeNothing)
{
    ProductState good;
    good.program = 5;
    for (int i = 0; i < kNumVantelorParameters; ++i)
        good.values[i] = kVantelorFactoryPrograms[5].values[i];
    const std::vector<uint8_t> valid = bytesOf(good);

    struct Case
    {
        const char* what;
        std::vector<uint8_t> bytes;
        StateResult expected;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, StateResult::truncated});
    for (size_t n = 1; n < valid.size(); ++n)
        cases.push_back({"truncated", std::vector<uint8_t>(valid.begin(), valid.begin() + n),
                         StateResult::truncated});
    auto changed = [&](const char* what, StateResult expected, auto edit, bool sign) {
        std::vector<uint8_t> bytes = valid;
        edit(bytes);
        if (sign)
            resign(bytes);
        cases.push_back({what, bytes, expected});
    };
    changed(
        "wrong magic", StateResult::foreign, [](auto& b) { b[0] = 'X'; }, true);
    changed(
        "another plug-in's chunk", StateResult::foreign,
        [](auto& b) { std::memcpy(b.data(), "VstW", 4); }, false);
    changed(
        "newer version", StateResult::newerVersion, [](auto& b) { b[4] = 2; }, true);
    changed(
        "version 0", StateResult::corrupted, [](auto& b) { b[4] = 0; }, true);
    changed(
        "one bit flipped", StateResult::corrupted, [](auto& b) { b[30] ^= 4; }, false);
    changed(
        "wrong size", StateResult::corrupted, [](auto& b) { b[8] = 90; }, true);
    changed(
        "program out of range", StateResult::corrupted, [](auto& b) { b[12] = 32; }, true);
    changed(
        "wrong count", StateResult::corrupted, [](auto& b) { b[16] = 9; }, true);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& [index, value] :
         {std::pair{0, nan}, {3, inf}, {1, 60.5}, {7, -1.0}, {2, 0.5}}) {
        changed(
            "value outside what it can be", StateResult::corrupted,
            [index = index, value = value](auto& b) {
                uint64_t bits;
                std::memcpy(&bits, &value, 8);
                for (int i = 0; i < 8; ++i)
                    b[20 + 8 * index + i] = static_cast<uint8_t>(bits >> (8 * i));
            },
            true);
    }
    std::vector<uint8_t> longer = valid;
    longer.push_back(0);
    cases.push_back({"trailing bytes", longer, StateResult::corrupted});

    for (const Case& c : cases) {
        ProductState untouched;
        untouched.program = 17;
        untouched.values[0] = 12.5;
        const StateResult result = vantelor::readState(c.bytes.empty() ? nullptr : c.bytes.data(),
                                                       c.bytes.size(), &untouched);
        EXPECT_EQ(result, c.expected) << c.what << " (" << c.bytes.size() << " bytes)";
        EXPECT_EQ(untouched.program, 17) << c.what;
        EXPECT_EQ(untouched.values[0], 12.5) << c.what;
        EXPECT_NE(std::string(vantelor::describe(result)), "") << c.what;
    }
}

} // namespace
