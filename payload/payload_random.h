#pragma once
// The program's process-wide random generator: the runtime's linear
// congruential one. The payload key is drawn from it, and so are the shaded
// panel headers, which continue from wherever the last key left it.
// Not guarded: only the GUI thread draws.

#include <cstdint>

namespace pellion {

// Each draw first advances seed := seed * 134775813 + 1 (mod 2^32).
inline constexpr uint32_t kRandMultiplier = 0x08088405;

void SetRandSeed(uint32_t seed);
uint32_t RandSeed();

// Next draw in [0, range): the upper 32 bits of the 64-bit product of the
// advanced seed and `range`; for 256 that is the new seed's top byte.
uint32_t Random(uint32_t range);

}  // namespace pellion
