#pragma once
// Stored form of one payload resource, shared by the packer (tools/) and the
// installer's reader. Portable: never includes <windows.h>.
//
// The whole resource, header and body alike, is scrambled with the payload
// key (payload_key.h): stored byte p = plain byte p + key[p mod 50], mod 256.
// After unscrambling it reads, all integers little-endian:
//
//   offset  size  field
//   ------  ----  ------------------------------------------------------------
//        0     4  body length: bytes of the zlib stream at offset 47
//                 (written by the packer for tools; the reader ignores it)
//        4     4  declared size: signed, exact length of the inflated content
//        8     4  content CRC-32 (written by the packer for tools; the reader
//                 ignores it)
//       12     4  date-time: packed DOS date (upper 16 bits) and time (lower
//                 16 bits), local time
//       16     1  name length, 0 to 30
//       17    30  name: ASCII, a bare file name; positions past the length
//                 are ignored (the packer writes zeros there)
//       47     n  body: one zlib stream (RFC 1950), n = resource length - 47
//
// No padding: the body starts at the odd offset 47.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pellion {

// The raw header exactly as stored; byte arrays keep it free of alignment
// and byte-order questions.
struct RawPayloadHeader {
    uint8_t bodyLength[4];
    uint8_t declaredSize[4];
    uint8_t contentCrc[4];
    uint8_t dateTime[4];
    uint8_t nameLength;
    uint8_t name[30];
};

inline constexpr size_t kPayloadHeaderSize = 47;
inline constexpr size_t kMaxPayloadNameLength = 30;

static_assert(sizeof(RawPayloadHeader) == kPayloadHeaderSize, "header is 47 bytes, unpadded");
static_assert(offsetof(RawPayloadHeader, declaredSize) == 4, "declared size at 4");
static_assert(offsetof(RawPayloadHeader, dateTime) == 12, "date-time at 12");
static_assert(offsetof(RawPayloadHeader, nameLength) == 16, "name length at 16");
static_assert(sizeof(RawPayloadHeader::name) == kMaxPayloadNameLength, "30 name positions");

// The header's fields as numbers.
struct PayloadHeader {
    uint32_t bodyLength = 0;
    int32_t declaredSize = 0;
    uint32_t contentCrc = 0;
    int32_t dateTime = 0;
    std::string name;
};

// Reads the fields of an unscrambled header. A name length above 30 does not
// fit the header: answers false and leaves `header` unspecified.
bool DecodePayloadHeader(const uint8_t (&raw)[kPayloadHeaderSize], PayloadHeader& header);

// Writes the fields into an unscrambled header; the name must be at most 30
// bytes (the packer checks names first).
void EncodePayloadHeader(const PayloadHeader& header, uint8_t (&raw)[kPayloadHeaderSize]);

// Deflate's largest expansion is 1032 output bytes per input byte, so a body
// of n bytes can never inflate to more than this.
inline constexpr uint64_t kMaxInflateRatio = 1032;
inline uint64_t MaxInflatedSize(uint64_t bodyLength) {
    return bodyLength * kMaxInflateRatio;
}

// Why a stored name may not be used as a file name in the install folder.
enum class NameProblem {
    kNone,
    kEmpty,
    kTooLong,        // more than 30 characters
    kDotName,        // "." or ".."
    kFolderPart,     // a slash or backslash
    kDriveOrStream,  // a colon: "C:x", "x:stream"
    kForbiddenChar,  // < > " | ? *
    kControlChar,    // 0x00-0x1F, 0x7F
    kNonAscii,       // meaning would depend on the installing system's code page
    kTrailingDotOrBlank,
    kDeviceName,  // CON, NUL.txt, COM1 ...
};

// The rules both the packer and the reader apply to a stored name.
NameProblem CheckBareFileName(std::string_view name);
// A short English description of a problem, for the packer's messages.
const char* NameProblemText(NameProblem problem);

// A local calendar date-time as the packer gets it from a file or a command
// line.
struct LocalDateTime {
    int year = 1980, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

// Packs a date-time into the DOS form (seconds are kept to 2-second steps,
// an odd second rounds down). False when the value is not a calendar
// date-time or lies outside 1980-01-01 00:00:00 .. 2107-12-31 23:59:59.
bool PackDosDateTime(const LocalDateTime& t, int32_t& packed);
LocalDateTime UnpackDosDateTime(int32_t packed);

}  // namespace pellion
