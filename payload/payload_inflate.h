#pragma once
// The one place that talks to zlib. Every zlib failure becomes an
// EDecompressionError with the text "Error". Portable.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

inline constexpr size_t kNoInflateLimit = std::numeric_limits<size_t>::max();

// Hands compressed input to the inflater piece by piece, so a scrambled
// resource can be unscrambled on its way in instead of copied whole first.
class InflateSource {
  public:
    virtual ~InflateSource() = default;
    // Points `data` at the next piece and answers its length; 0 at the end.
    virtual size_t Next(const uint8_t*& data) = 0;
};

// The sizes the output block had, for tests of the growth rule.
struct InflateTrace {
    std::vector<size_t> blockSizes;
};

// Inflates one zlib stream (zlib header, 15-bit window) of `length` bytes.
// The output block starts at `estimate` bytes, or at step = length rounded
// up to a multiple of 256 when the estimate is 0, and grows by step whenever
// zlib has filled it; the result is the block cut to the bytes produced.
// A stream that would produce more than `limit` bytes raises
// EDecompressionError as soon as it does, so a lying length cannot make the
// caller allocate or work without bound.
std::string InflateBuffer(const uint8_t* input, size_t length, size_t estimate,
                          size_t limit = kNoInflateLimit, InflateTrace* trace = nullptr);
// The same over input that arrives in pieces totalling `length` bytes.
std::string InflateFrom(InflateSource& source, size_t length, size_t estimate, size_t limit,
                        InflateTrace* trace = nullptr);

// One zlib stream at the best compression: what the packer stores.
std::string DeflateBest(std::string_view content);
// zlib's CRC-32 of a byte string.
uint32_t Crc32(std::string_view bytes);

}  // namespace pellion
