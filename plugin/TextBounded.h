// Bounded text routines for every text the program produces. Each writes into
// a buffer of n + 1 characters: at most n characters, then a terminator at
// position n. A null buffer is left alone; a null source counts as empty.
#pragma once

#include <cstdarg>
#include <cstddef>

// printf-style formatting; a longer result is cut to n characters.
// Returns the number of characters written (at most n).
int formatBounded(char* buffer, std::size_t n, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
int formatBoundedV(char* buffer, std::size_t n, const char* format, std::va_list args)
    __attribute__((format(printf, 3, 0)));

// Copies at most n characters of source (reading no further), fills the rest
// up to position n with zero bytes and terminates at position n.
void copyBounded(char* buffer, const char* source, std::size_t n);

// Copies at most n characters of source and terminates right after them, so
// a short text writes no more of the buffer than it needs. Used for buffers
// that belong to the host.
void putBounded(char* buffer, const char* source, std::size_t n);

// Appends source to the text already in buffer so that the whole text keeps at
// most n characters; terminates at position n.
void appendBounded(char* buffer, const char* source, std::size_t n);

// Length of text, looking at no more than n characters.
std::size_t lengthBounded(const char* text, std::size_t n);

// True when format is safe to use with exactly one double argument: plain text
// ("%%" allowed) and one conversion of f, F, e, E, g, G, a or A with only flags,
// a decimal width and a decimal precision. Rejects "*", "%n", "%s", length
// modifiers and a second conversion, which would read arguments that are not there.
bool isSingleFloatFormat(const char* format);
