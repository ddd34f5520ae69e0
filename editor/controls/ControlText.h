// Bounded texts for the controls' labels and readouts: each writes into a
// buffer of n + 1 characters, at most n characters and a terminator at
// position n. A null buffer is left alone.
#pragma once

#include <cstddef>

namespace controls {

// printf-style; a longer result is cut to n characters. Returns the number
// of characters written.
int formatText(char* buffer, std::size_t n, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Copies at most n characters of source (a null source is empty).
void copyText(char* buffer, const char* source, std::size_t n);

// True when format takes exactly one double: plain text ("%%" allowed) and
// one f, F, e, E, g, G, a or A conversion with only flags, a decimal width and
// a decimal precision. A caller's label format is used only then; anything
// else could read arguments that are not there.
bool isSingleFloatFormat(const char* format);

} // namespace controls
