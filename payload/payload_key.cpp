#include "payload/payload_key.h"

#include <cstring>

#include "payload/payload_random.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define PELLION_HAVE_SSE2_PATH 1
#endif

namespace pellion {
namespace {

static_assert(uint64_t(PAYLOAD_SEED) <= 0xFFFFFFFFu, "PAYLOAD_SEED must fit in 32 bits");

// A key repeated out to a multiple of 16 bytes, so whole 16-byte vectors can
// be subtracted without tracking the key index per byte. For the 50-byte key
// the period is 400 bytes.
constexpr size_t kMaxPattern = 4096;

size_t Gcd(size_t a, size_t b) {
    while (b) {
        size_t t = a % b;
        a = b;
        b = t;
    }
    return a;
}

#if PELLION_HAVE_SSE2_PATH
// Built for SSE2 whatever the compiler's default target; called only after
// the CPU has been asked.
__attribute__((target("sse2"))) void SubtractPatternSse2(const uint8_t* pattern, size_t period,
                                                         const uint8_t* src, uint8_t* dst,
                                                         size_t count) {
    size_t p = 0;
    for (; count - p >= period; p += period) {
        for (size_t i = 0; i < period; i += 16) {
            __m128i data = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + p + i));
            __m128i key = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + p + i), _mm_sub_epi8(data, key));
        }
    }
    for (size_t i = 0; p < count; ++p, ++i) dst[p] = uint8_t(src[p] - pattern[i]);
}
#endif

}  // namespace

uint32_t BuiltInPayloadSeed() {
    return uint32_t(PAYLOAD_SEED);
}

std::string PayloadKeyFromSeed(uint32_t seed) {
    std::string key(kPayloadKeyLength, '\0');
    // Seed and draws follow at once: nothing else may draw in between.
    SetRandSeed(seed);
    for (char& c : key) c = char(Random(256));
    return key;
}

void BuildPayloadKey(std::string& key) {
    key = PayloadKeyFromSeed(BuiltInPayloadSeed());
}

void UnscrambleBytes(std::string_view key, uint8_t* buffer, size_t count) {
    UnscrambleCopy(key, 0, buffer, buffer, count);
}

void ScrambleBytes(std::string_view key, uint8_t* buffer, size_t count) {
    if (key.empty()) return;
    for (size_t p = 0; p < count; ++p)
        buffer[p] = uint8_t(buffer[p] + uint8_t(key[p % key.size()]));
}

void UnscrambleCopy(std::string_view key, size_t position, const uint8_t* src, uint8_t* dst,
                    size_t count) {
    if (count == 0) return;
    if (key.empty()) {
        if (src != dst) std::memmove(dst, src, count);
        return;
    }
    if (detail::SubtractKeyVector(key, position, src, dst, count)) return;
    detail::SubtractKeyScalar(key, position, src, dst, count);
}

namespace detail {

void SubtractKeyScalar(std::string_view key, size_t position, const uint8_t* src, uint8_t* dst,
                       size_t count) {
    if (key.empty()) return;
    size_t k = position % key.size();
    for (size_t p = 0; p < count; ++p) {
        dst[p] = uint8_t(src[p] - uint8_t(key[k]));
        if (++k == key.size()) k = 0;
    }
}

bool HasVectorUnit() {
#if PELLION_HAVE_SSE2_PATH
    static const bool has = __builtin_cpu_supports("sse2");
    return has;
#else
    return false;
#endif
}

bool SubtractKeyVector(std::string_view key, size_t position, const uint8_t* src, uint8_t* dst,
                       size_t count) {
#if PELLION_HAVE_SSE2_PATH
    if (key.empty() || !HasVectorUnit()) return false;
    size_t period = key.size() / Gcd(key.size(), 16) * 16;
    if (period > kMaxPattern) return false;
    uint8_t pattern[kMaxPattern];
    size_t k = position % key.size();
    for (size_t i = 0; i < period; ++i) {
        pattern[i] = uint8_t(key[k]);
        if (++k == key.size()) k = 0;
    }
    SubtractPatternSse2(pattern, period, src, dst, count);
    return true;
#else
    return false;
#endif
}

}  // namespace detail
}  // namespace pellion
