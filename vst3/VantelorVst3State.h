// The component's state as VST3 hosts store it: the product's versioned
// state, followed by a block of this format's own (the host's bypass, which
// hosts expect a preset to bring back). A state without the block, as the
// other formats write it, reads with the bypass off.
//
// The block, every number little-endian:
//   offset  size  field
//        0     4  magic: the bytes "HFV3"
//        4     4  flags (unsigned; bit 0: bypassed)
#pragma once

#include <cstddef>
#include <cstdint>

#include "product/VantelorState.h"

namespace vantelor_vst3 {

inline constexpr std::size_t kFormatBlockSize = 8;
inline constexpr std::size_t kComponentStateSize = vantelor::kStateSize + kFormatBlockSize;

// Writes the state into `out` (kComponentStateSize bytes); returns the size.
std::size_t writeComponentState(const vantelor::ProductState& state, bool bypassed, uint8_t* out);
// Reads a state of `size` bytes; *state and *bypassed change only when the
// result is ok. Bytes after the product's state that are not the block make
// the state corrupted.
vantelor::StateResult readComponentState(const uint8_t* data, std::size_t size,
                                         vantelor::ProductState* state, bool* bypassed);

} // namespace vantelor_vst3
