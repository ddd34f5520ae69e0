// Texts across the VST3 boundary: the format's fixed-size UTF-16 fields and
// its fixed-size 8-bit ones, always terminated, cut where they do not fit.
#pragma once

#include <cstddef>

#include "vst3/Vst3Interface.h"

namespace vantelor_vst3 {

// Copies an ASCII or UTF-8 text into a UTF-16 field of `capacity` units
// (terminator included); bytes above 127 are widened one by one, which is
// exact for ASCII, the only texts the product has.
void copyToUtf16(vst3::char16* field, std::size_t capacity, const char* text);
// Copies a text into an 8-bit field of `capacity` bytes (terminator
// included).
void copyToChar8(char* field, std::size_t capacity, const char* text);
// Reads a UTF-16 text of at most `capacity` units (stopping at its
// terminator) into ASCII; false for a null text, one that does not fit in
// `outCapacity` bytes with its terminator, or one with any character
// outside ASCII.
bool utf16ToAscii(const vst3::char16* text, std::size_t capacity, char* out,
                  std::size_t outCapacity);

} // namespace vantelor_vst3
