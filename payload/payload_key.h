#pragma once
// The payload key and the scrambling it drives. Stored byte p is the plain
// byte plus key[p mod key length], modulo 256; unscrambling subtracts.
// Portable; the SSE2 path is chosen at run time, so the installer still runs
// on a CPU without SSE2.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pellion {

inline constexpr size_t kPayloadKeyLength = 50;

// The seed of this build (the PAYLOAD_SEED build setting). The packer and the
// installer must be built with the same one.
uint32_t BuiltInPayloadSeed();

// Sets the process-wide generator (payload_random.h) to the build's seed and
// fills `key` with 50 draws of Random(256). Every call gives the same key and
// leaves the generator 50 draws past the seed.
void BuildPayloadKey(std::string& key);
// The same for any seed: the packer's --seed, tests.
std::string PayloadKeyFromSeed(uint32_t seed);

// buffer[p] -= key[p mod key length] for p in [0, count). Nothing happens for
// an empty key or a count of 0.
void UnscrambleBytes(std::string_view key, uint8_t* buffer, size_t count);
// buffer[p] += key[p mod key length]: what the packer does.
void ScrambleBytes(std::string_view key, uint8_t* buffer, size_t count);

// Unscrambles `count` bytes that stand at `position` in a stored resource:
// dst[i] = src[i] - key[(position + i) mod key length]; an empty key copies.
// src may equal dst.
void UnscrambleCopy(std::string_view key, size_t position, const uint8_t* src, uint8_t* dst,
                    size_t count);

namespace detail {
// The two implementations behind UnscrambleCopy, for tests and benchmarks.
void SubtractKeyScalar(std::string_view key, size_t position, const uint8_t* src, uint8_t* dst,
                       size_t count);
// False when this CPU (or build target) has no SSE2 or the key is too long
// for the vector pattern; nothing is written then.
bool SubtractKeyVector(std::string_view key, size_t position, const uint8_t* src, uint8_t* dst,
                       size_t count);
bool HasVectorUnit();
}  // namespace detail

}  // namespace pellion
