#include "payload/payload_item.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

#include "base/errors.h"
#include "payload/payload_format.h"
#include "payload/payload_inflate.h"
#include "payload/payload_key.h"

namespace pellion {
namespace {

// Unscrambles the body on its way into zlib, a small piece at a time, for
// streams that are only checked (an item without a declared size).
class ScrambledSource : public InflateSource {
  public:
    static constexpr size_t kPiece = 64 * 1024;

    ScrambledSource(const uint8_t* stored, size_t begin, size_t end, std::string_view key)
        : stored_(stored), position_(begin), end_(end), key_(key), piece_(new uint8_t[kPiece]) {}

    size_t Next(const uint8_t*& data) override {
        size_t n = std::min(kPiece, end_ - position_);
        UnscrambleCopy(key_, position_, stored_ + position_, piece_.get(), n);
        position_ += n;
        data = piece_.get();
        return n;
    }

  private:
    const uint8_t* stored_;
    size_t position_;
    size_t end_;
    std::string_view key_;
    std::unique_ptr<uint8_t[]> piece_;
};

// What the install run may show of an unsafe stored name: ASCII printables,
// everything else as '?', so the report stays valid text.
std::string Printable(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
    return out;
}

}  // namespace

std::string EncodePayloadItem(std::string_view name, int32_t dateTime, std::string_view content,
                              std::string_view key) {
    if (CheckBareFileName(name) != NameProblem::kNone || content.size() > 0x7FFFFFFF)
        throw std::invalid_argument("payload item needs a bare file name and under 2 GiB");
    std::string body = DeflateBest(content);
    PayloadHeader header;
    header.bodyLength = uint32_t(body.size());
    header.declaredSize = int32_t(content.size());
    header.contentCrc = Crc32(content);
    header.dateTime = dateTime;
    header.name = std::string(name);
    uint8_t raw[kPayloadHeaderSize];
    EncodePayloadHeader(header, raw);

    std::string stored(reinterpret_cast<const char*>(raw), kPayloadHeaderSize);
    stored += body;
    ScrambleBytes(key, reinterpret_cast<uint8_t*>(&stored[0]), stored.size());
    return stored;
}

namespace {

// The body decoded into `content`, as DecodePayloadItem describes; raises
// EOutOfMemory without a name when a block cannot be had.
void InflateBody(const uint8_t* stored, size_t length, std::string_view key,
                 const PayloadHeader& header, std::string& content) {
    const size_t bodyLength = length - kPayloadHeaderSize;
    const bool sized = header.declaredSize > 0;
    const size_t expected = sized ? size_t(header.declaredSize) : 0;
    // Checked before anything is allocated: a corrupt length must not make
    // the installer ask for gigabytes.
    if (expected > MaxInflatedSize(bodyLength)) RaiseDecodeProblem(DecodeProblem::kBeyondBound);
    if (sized) {
        // The body unscrambled whole, then decoded whole into a block of the
        // declared size, which becomes the content.
        std::unique_ptr<uint8_t[]> body(new (std::nothrow) uint8_t[bodyLength ? bodyLength : 1]);
        if (!body) RaiseDecodeProblem(DecodeProblem::kNoMemory);
        UnscrambleCopy(key, kPayloadHeaderSize, stored + kPayloadHeaderSize, body.get(),
                       bodyLength);
        content = InflateWhole(body.get(), bodyLength, expected);
        return;
    }
    // Without a positive declared size the stream is still inflated (a
    // broken one is still an error), within what its length can hold, and
    // what it gives is dropped: the install run reports the item as
    // unreadable.
    ScrambledSource source(stored, kPayloadHeaderSize, length, key);
    const uint64_t bound = MaxInflatedSize(bodyLength);
    InflateFrom(source, bodyLength, 0, size_t(std::min<uint64_t>(bound, SIZE_MAX)));
    std::string().swap(content);
}

}  // namespace

void DecodePayloadItem(const uint8_t* stored, size_t length, std::string_view key,
                       std::string& fileName, int32_t& dateTime, std::string& content) {
    fileName.clear();
    if (length < kPayloadHeaderSize) throw EReadError("Stream read error");
    uint8_t raw[kPayloadHeaderSize];
    UnscrambleCopy(key, 0, stored, raw, kPayloadHeaderSize);
    PayloadHeader header;
    if (!DecodePayloadHeader(raw, header)) throw EReadError("Stream read error");
    dateTime = header.dateTime;
    if (CheckBareFileName(header.name) != NameProblem::kNone) {
        fileName = Printable(header.name);
        content.clear();
        return;
    }
    fileName = header.name;
    // A declared size within reach of the body can still be more than a
    // 32-bit process has room for, or other work holds the memory for now:
    // the item is not damaged, and the user is told what ran out.
    try {
        InflateBody(stored, length, key, header, content);
    } catch (const EOutOfMemory&) {
        throw EOutOfMemory(NotEnoughMemoryText(fileName));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(NotEnoughMemoryText(fileName));
    }
}

std::string NotEnoughMemoryText(std::string_view fileName) {
    return "Not enough memory to unpack " + std::string(fileName) + ".";
}

ItemMemory DecodeMemoryOf(const uint8_t* stored, size_t length, std::string_view key) {
    if (length < kPayloadHeaderSize) return {};
    uint8_t raw[kPayloadHeaderSize];
    UnscrambleCopy(key, 0, stored, raw, kPayloadHeaderSize);
    PayloadHeader header;
    if (!DecodePayloadHeader(raw, header) || CheckBareFileName(header.name) != NameProblem::kNone)
        return {};
    const uint64_t bodyLength = length - kPayloadHeaderSize;
    const uint64_t bound = MaxInflatedSize(bodyLength);
    if (header.declaredSize <= 0) return {ScrambledSource::kPiece + bound, 0};
    // Refused before anything is allocated.
    if (uint64_t(header.declaredSize) > bound) return {};
    return {bodyLength, uint64_t(header.declaredSize)};
}

}  // namespace pellion
