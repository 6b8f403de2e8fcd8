#pragma once
// The one place that talks to zlib and libdeflate. Every decoding failure
// becomes an EDecompressionError with the text "Error", except a block that
// cannot be had (EOutOfMemory, see RaiseDecodeProblem). Portable.

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

// What can be wrong with a stream decoded whole; each maps to the error the
// reader raises for it (one table, in payload_inflate.cpp): kNoMemory to
// EOutOfMemory "Not enough memory", which DecodePayloadItem names the item
// in, the others to EDecompressionError "Error".
enum class DecodeProblem {
    kNotAStream,     // no zlib header, a damaged stream or a failed Adler-32
    kShortResult,    // the stream ends before the declared size is reached
    kLongResult,     // the stream holds more than the declared size
    kTrailingBytes,  // bytes follow the end of the stream
    kBeyondBound,    // a declared size no body of this length can give
    kNoMemory,       // the block for the declared size cannot be had
};
[[noreturn]] void RaiseDecodeProblem(DecodeProblem problem);

// Decodes one whole zlib stream of `length` bytes, which must give exactly
// `size` bytes and end where the input ends, straight into a block of that
// size (libdeflate's whole-buffer decoder: no growth, no second copy).
// Raises as RaiseDecodeProblem does; a size beyond 1032:1 of the input is
// refused before anything is allocated.
std::string InflateWhole(const uint8_t* input, size_t length, size_t size);

// One zlib stream at the best compression: what the packer stores.
std::string DeflateBest(std::string_view content);
// zlib's CRC-32 of a byte string.
uint32_t Crc32(std::string_view bytes);

}  // namespace pellion
