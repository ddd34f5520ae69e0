#pragma once

// The signs of the denormal noise, many draws at a time. The sign is bit 17
// of the generator's state, and the state's low 18 bits are a generator of
// their own (the low bits of a product or a sum depend on the operands' low
// bits alone) with the full period of 2^18 states. So the signs repeat
// every 2^18 draws: one period is tabled when the library is loaded, and a
// run of signs is read from the table where the state stands in the period.

#include <cstdint>

constexpr uint32_t kNoisePeriod = 1u << 18;

// Where the low 18 bits of `state` stand in the period that starts at
// state 0: the number of steps from 0 to them (eighteen steps of work).
uint32_t noisePeriodPlace(uint32_t state);

// Writes the signs of the `words` x 64 states after the one at `place` in
// the period: bit q (bit q % 8 of byte q / 8) is set where the (q+1)-th
// state after it gives positive noise. At most kMaxNoiseSignWords words;
// allocation-free and safe on the audio thread.
constexpr int kMaxNoiseSignWords = 64;
void noiseSignsAfter(uint32_t place, int words, uint8_t* out);
