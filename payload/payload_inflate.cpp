#include "payload/payload_inflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <utility>

#include "base/errors.h"
#include "payload/payload_format.h"

namespace pellion {
namespace {

// zlib's counters are 32-bit: hand it at most this much at a time.
constexpr size_t kMaxZlibChunk = size_t(1) << 30;

[[noreturn]] void Fail() {
    throw EDecompressionError("Error");
}

uInt Chunk(size_t n) {
    return uInt(std::min(n, kMaxZlibChunk));
}

// zlib's own memory comes from the program's allocator, zero-filled.
voidpf ZAlloc(voidpf, uInt items, uInt size) {
    return std::calloc(items, size);
}
void ZFree(voidpf, voidpf p) {
    std::free(p);
}

// Owns one inflate stream; inflateEnd runs on every way out.
class Inflater {
  public:
    Inflater() {
        stream_.zalloc = ZAlloc;
        stream_.zfree = ZFree;
        stream_.opaque = Z_NULL;
        const int ret = inflateInit2(&stream_, MAX_WBITS);
        if (ret == Z_MEM_ERROR) RaiseDecodeProblem(DecodeProblem::kNoMemory);
        if (ret != Z_OK) Fail();
        active_ = true;
    }
    ~Inflater() {
        if (active_) inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    z_stream& Stream() { return stream_; }
    void End() {
        active_ = false;
        if (inflateEnd(&stream_) != Z_OK) Fail();
    }

  private:
    z_stream stream_{};
    bool active_ = false;
};

class BufferSource : public InflateSource {
  public:
    BufferSource(const uint8_t* data, size_t length) : data_(data), left_(length) {}
    size_t Next(const uint8_t*& data) override {
        size_t n = std::min(left_, kMaxZlibChunk);
        data = data_;
        data_ += n;
        left_ -= n;
        return n;
    }

  private:
    const uint8_t* data_;
    size_t left_;
};

// The inflater's output: one block that grows by `step` whenever zlib has
// filled it. Once it has reached the limit, zlib gets one spare byte instead:
// if it writes there, the stream holds more than the limit allows.
class OutputBlock {
  public:
    OutputBlock(size_t first, size_t step, size_t limit, InflateTrace* trace)
        : block_(std::min(first, limit), '\0'), step_(step), limit_(limit), trace_(trace) {
        Record();
    }

    // Points zlib at the room left, growing the block first when it is full.
    void Offer(z_stream& z) {
        if (!probing_ && produced_ == block_.size()) {
            if (block_.size() >= limit_) {
                probing_ = true;
            } else {
                block_.resize(std::min(block_.size() + step_, limit_));
                Record();
            }
        }
        z.next_out = probing_ ? &probe_ : reinterpret_cast<Bytef*>(&block_[0]) + produced_;
        z.avail_out = probing_ ? 1 : Chunk(block_.size() - produced_);
    }

    // Counts what zlib wrote since Offer.
    void Took(size_t bytes) {
        if (probing_ && bytes) Fail();
        produced_ += bytes;
    }

    // The block cut to the bytes produced.
    std::string Finish() {
        block_.resize(produced_);
        return std::move(block_);
    }

  private:
    void Record() {
        if (trace_) trace_->blockSizes.push_back(block_.size());
    }

    std::string block_;
    size_t produced_ = 0;
    const size_t step_, limit_;
    InflateTrace* trace_;
    bool probing_ = false;
    Bytef probe_ = 0;
};

}  // namespace

std::string InflateFrom(InflateSource& source, size_t length, size_t estimate, size_t limit,
                        InflateTrace* trace) {
    if (length == 0) Fail();  // not even a zlib header
    const size_t step = (length + 255) & ~size_t(255);
    OutputBlock out(estimate ? estimate : step, step, limit, trace);
    Inflater inflater;
    z_stream& z = inflater.Stream();
    bool sourceDone = false;
    for (;;) {
        if (z.avail_in == 0 && !sourceDone) {
            const uint8_t* data = nullptr;
            size_t n = source.Next(data);
            sourceDone = n == 0;
            z.next_in = const_cast<Bytef*>(data);
            z.avail_in = Chunk(n);
        }
        out.Offer(z);
        const uInt inBefore = z.avail_in, outBefore = z.avail_out;
        int ret = inflate(&z, Z_NO_FLUSH);
        out.Took(outBefore - z.avail_out);
        if (ret == Z_STREAM_END) break;
        if (ret == Z_MEM_ERROR) RaiseDecodeProblem(DecodeProblem::kNoMemory);
        if (ret != Z_OK && ret != Z_BUF_ERROR) Fail();
        // The input has ended before the stream did.
        if (sourceDone && inBefore == 0 && outBefore == z.avail_out) Fail();
    }
    inflater.End();
    return out.Finish();
}

std::string InflateBuffer(const uint8_t* input, size_t length, size_t estimate, size_t limit,
                          InflateTrace* trace) {
    BufferSource source(input, length);
    return InflateFrom(source, length, estimate, limit, trace);
}

namespace {

// Every way a whole stream can be damaged, and what the reader raises for
// it. All are a damaged item to the user, so all read "Error". A lack of
// memory is no damage: it has an error of its own.
struct ProblemError {
    DecodeProblem problem;
    const char* text;
};
constexpr ProblemError kProblemErrors[] = {
    {DecodeProblem::kNotAStream, "Error"},  {DecodeProblem::kShortResult, "Error"},
    {DecodeProblem::kLongResult, "Error"},  {DecodeProblem::kTrailingBytes, "Error"},
    {DecodeProblem::kBeyondBound, "Error"},
};

// libdeflate's answer, with the bytes it took and gave, as a problem; false
// when there is none.
bool ProblemOf(libdeflate_result result, size_t length, size_t taken, size_t size, size_t given,
               DecodeProblem& problem) {
    switch (result) {
        case LIBDEFLATE_SUCCESS:
            if (given != size) {
                problem = DecodeProblem::kShortResult;
            } else if (taken != length) {
                problem = DecodeProblem::kTrailingBytes;
            } else {
                return false;
            }
            return true;
        case LIBDEFLATE_INSUFFICIENT_SPACE:
            problem = DecodeProblem::kLongResult;
            return true;
        case LIBDEFLATE_SHORT_OUTPUT:
            problem = DecodeProblem::kShortResult;
            return true;
        default:  // LIBDEFLATE_BAD_DATA and anything a later version adds
            problem = DecodeProblem::kNotAStream;
            return true;
    }
}

// The decoder's state (about 32 KiB), freed on every way out.
struct Decompressor {
    Decompressor() : d(libdeflate_alloc_decompressor()) {
        if (!d) RaiseDecodeProblem(DecodeProblem::kNoMemory);
    }
    ~Decompressor() { libdeflate_free_decompressor(d); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    libdeflate_decompressor* d;
};

}  // namespace

void RaiseDecodeProblem(DecodeProblem problem) {
    if (problem == DecodeProblem::kNoMemory) throw EOutOfMemory("Not enough memory");
    for (const ProblemError& row : kProblemErrors)
        if (row.problem == problem) throw EDecompressionError(row.text);
    throw EDecompressionError("Error");
}

std::string InflateWhole(const uint8_t* input, size_t length, size_t size) {
    if (size > MaxInflatedSize(length)) RaiseDecodeProblem(DecodeProblem::kBeyondBound);
    std::string out;
    try {
        out.resize(size);
    } catch (const std::bad_alloc&) {
        RaiseDecodeProblem(DecodeProblem::kNoMemory);
    } catch (const std::length_error&) {
        RaiseDecodeProblem(DecodeProblem::kNoMemory);
    }
    Decompressor decompressor;
    size_t taken = 0, given = 0;
    // An empty input is no stream; libdeflate is not asked about it.
    const libdeflate_result result =
        length == 0 ? LIBDEFLATE_BAD_DATA
                    : libdeflate_zlib_decompress_ex(decompressor.d, input, length, &out[0], size,
                                                    &taken, &given);
    DecodeProblem problem;
    if (ProblemOf(result, length, taken, size, given, problem)) {
        std::string().swap(out);
        RaiseDecodeProblem(problem);
    }
    return out;
}

std::string DeflateBest(std::string_view content) {
    uLongf size = compressBound(uLong(content.size()));
    std::string out(size, '\0');
    int ret = compress2(reinterpret_cast<Bytef*>(&out[0]), &size,
                        reinterpret_cast<const Bytef*>(content.data()), uLong(content.size()),
                        Z_BEST_COMPRESSION);
    if (ret != Z_OK) Fail();
    out.resize(size);
    return out;
}

uint32_t Crc32(std::string_view bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    const Bytef* p = reinterpret_cast<const Bytef*>(bytes.data());
    for (size_t left = bytes.size(); left;) {
        uInt n = Chunk(left);
        crc = crc32(crc, p, n);
        p += n;
        left -= n;
    }
    return uint32_t(crc);
}

}  // namespace pellion
