// The product's state as VST3 and CLAP hosts store it in their sessions: the
// current program and the current values, in a versioned binary form that
// reads the same on every machine.
//
// Layout, every number little-endian whatever the machine:
//   offset  size  field
//        0     4  magic: the bytes "HFVS"
//        4     4  format version (unsigned; this build writes 1)
//        8     4  size of the whole state in bytes (unsigned; 88 in version 1)
//       12     4  current program (signed, 0..31)
//       16     4  number of values (unsigned; 8 in version 1)
//       20    64  the values in units, parameter order, each an IEEE double
//       84     4  checksum: 32-bit FNV-1a of bytes 0..83
// A version this build wrote once is read by every later build; a newer one
// is refused, as is anything truncated, foreign or damaged.
#pragma once

#include <cstddef>
#include <cstdint>

#include "product/VantelorDescription.h"

namespace vantelor {

struct ProductState
{
    int32_t program = 0;
    // In units; double, so that a width's fraction survives the percentage
    // exactly.
    double values[kNumVantelorParameters] = {};
};

enum class StateResult
{
    ok,
    // Shorter than its header or its size says, or no bytes at all.
    truncated,
    // Not our state: another magic number.
    foreign,
    // Written by a newer build, in a format version this one does not know.
    newerVersion,
    // Ours, but damaged: a wrong checksum, size or count, a program out of
    // range, or a value that is not a number or outside its range.
    corrupted,
};

const char* describe(StateResult result);

inline constexpr uint32_t kStateVersion = 1;
inline constexpr std::size_t kStateSize = 88;

// Writes the state into `out`, which holds at least kStateSize bytes.
// Returns the number of bytes written.
std::size_t writeState(const ProductState& state, uint8_t* out);
// Reads a state of `size` bytes. *state changes only when the result is ok.
StateResult readState(const uint8_t* data, std::size_t size, ProductState* state);

} // namespace vantelor
