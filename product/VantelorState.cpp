#include "product/VantelorState.h"

#include <cmath>
#include <cstring>

namespace vantelor {

namespace {

constexpr uint8_t kMagic[4] = {'H', 'F', 'V', 'S'};
constexpr std::size_t kHeaderSize = 12; // magic, version, size
constexpr std::size_t kChecksumOffset = kStateSize - 4;

void putU32(uint8_t* out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t getU32(const uint8_t* in)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(in[i]) << (8 * i);
    return v;
}

void putF64(uint8_t* out, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

double getF64(const uint8_t* in)
{
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<uint64_t>(in[i]) << (8 * i);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint32_t checksum(const uint8_t* data, std::size_t size)
{
    uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= data[i];
        hash *= 16777619u;
    }
    return hash;
}

bool valueFits(int32_t index, double value)
{
    const ParameterDescription& p = kVantelorParameters[index];
    if (!std::isfinite(value) || value < p.min || value > p.max)
        return false;
    return p.kind != Kind::toggle || value == 0.0 || value == 1.0;
}

} // namespace

const char* describe(StateResult result)
{
    switch (result) {
    case StateResult::ok:
        return "ok";
    case StateResult::truncated:
        return "the state is truncated";
    case StateResult::foreign:
        return "the state is not HF_Vantelor's";
    case StateResult::newerVersion:
        return "the state was written by a newer version";
    case StateResult::corrupted:
        return "the state is damaged";
    }
    return "unknown";
}

std::size_t writeState(const ProductState& state, uint8_t* out)
{
    std::memcpy(out, kMagic, sizeof kMagic);
    putU32(out + 4, kStateVersion);
    putU32(out + 8, static_cast<uint32_t>(kStateSize));
    putU32(out + 12, static_cast<uint32_t>(state.program));
    putU32(out + 16, kNumVantelorParameters);
    for (int i = 0; i < kNumVantelorParameters; ++i)
        putF64(out + 20 + 8 * i, state.values[i]);
    putU32(out + kChecksumOffset, checksum(out, kChecksumOffset));
    return kStateSize;
}

StateResult readState(const uint8_t* data, std::size_t size, ProductState* state)
{
    if (!data || size < sizeof kMagic)
        return StateResult::truncated;
    if (std::memcmp(data, kMagic, sizeof kMagic) != 0)
        return StateResult::foreign;
    if (size < kHeaderSize)
        return StateResult::truncated;
    const uint32_t version = getU32(data + 4);
    if (version > kStateVersion)
        return StateResult::newerVersion;
    if (version == 0)
        return StateResult::corrupted;
    const uint32_t declared = getU32(data + 8);
    if (declared != kStateSize)
        return StateResult::corrupted;
    if (size < kStateSize)
        return StateResult::truncated;
    if (size > kStateSize || getU32(data + kChecksumOffset) != checksum(data, kChecksumOffset))
        return StateResult::corrupted;
    ProductState read;
    read.program = static_cast<int32_t>(getU32(data + 12));
    if (read.program < 0 || read.program >= kNumProgramSlots ||
        getU32(data + 16) != kNumVantelorParameters)
        return StateResult::corrupted;
    for (int i = 0; i < kNumVantelorParameters; ++i) {
        read.values[i] = getF64(data + 20 + 8 * i);
        if (!valueFits(i, read.values[i]))
            return StateResult::corrupted;
    }
    if (state)
        *state = read;
    return StateResult::ok;
}

} // namespace vantelor
