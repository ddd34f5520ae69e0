#include "vst3/VantelorVst3State.h"

#include <cstring>

namespace vantelor_vst3 {

namespace {

constexpr uint8_t kBlockMagic[4] = {'H', 'F', 'V', '3'};
constexpr uint32_t kBypassed = 1u << 0;

uint32_t readU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

} // namespace

std::size_t writeComponentState(const vantelor::ProductState& state, bool bypassed, uint8_t* out)
{
    const std::size_t size = vantelor::writeState(state, out);
    uint8_t* block = out + size;
    std::memcpy(block, kBlockMagic, sizeof kBlockMagic);
    const uint32_t flags = bypassed ? kBypassed : 0u;
    for (int i = 0; i < 4; ++i)
        block[4 + i] = static_cast<uint8_t>(flags >> (8 * i));
    return size + kFormatBlockSize;
}

vantelor::StateResult readComponentState(const uint8_t* data, std::size_t size,
                                         vantelor::ProductState* state, bool* bypassed)
{
    // The product's state says its own size in its header; what follows it
    // is this format's block.
    std::size_t productSize = size;
    if (data && size >= 12) {
        const uint32_t declared = readU32(data + 8);
        if (declared < size)
            productSize = declared;
    }
    vantelor::ProductState read;
    const vantelor::StateResult result = vantelor::readState(data, productSize, &read);
    if (result != vantelor::StateResult::ok)
        return result;
    const std::size_t rest = size - productSize;
    bool bypass = false;
    if (rest != 0) {
        const uint8_t* block = data + productSize;
        if (rest != kFormatBlockSize || std::memcmp(block, kBlockMagic, sizeof kBlockMagic) != 0)
            return vantelor::StateResult::corrupted;
        bypass = (readU32(block + 4) & kBypassed) != 0;
    }
    *state = read;
    *bypassed = bypass;
    return vantelor::StateResult::ok;
}

} // namespace vantelor_vst3
