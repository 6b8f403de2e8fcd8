#include "payload/payload_format.h"

#include <cstring>

namespace pellion {
namespace {

uint32_t LoadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreLe32(uint32_t v, uint8_t* p) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// Windows maps these names to devices whatever the extension, and also with
// blanks before the extension ("NUL .txt").
bool IsDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    std::string upper;
    for (char c : stem) upper += Upper(c);
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (upper == device) return true;
    return upper.size() == 4 &&
           (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

NameProblem CharacterProblem(unsigned char c) {
    if (c < 0x20 || c == 0x7F) return NameProblem::kControlChar;
    if (c >= 0x80) return NameProblem::kNonAscii;
    if (c == '/' || c == '\\') return NameProblem::kFolderPart;
    if (c == ':') return NameProblem::kDriveOrStream;
    if (std::strchr("<>\"|?*", c)) return NameProblem::kForbiddenChar;
    return NameProblem::kNone;
}

bool IsLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

}  // namespace

bool DecodePayloadHeader(const uint8_t (&raw)[kPayloadHeaderSize], PayloadHeader& header) {
    RawPayloadHeader h;
    std::memcpy(&h, raw, sizeof h);
    if (h.nameLength > kMaxPayloadNameLength) return false;
    header.bodyLength = LoadLe32(h.bodyLength);
    header.declaredSize = int32_t(LoadLe32(h.declaredSize));
    header.contentCrc = LoadLe32(h.contentCrc);
    header.dateTime = int32_t(LoadLe32(h.dateTime));
    header.name.assign(reinterpret_cast<const char*>(h.name), h.nameLength);
    return true;
}

void EncodePayloadHeader(const PayloadHeader& header, uint8_t (&raw)[kPayloadHeaderSize]) {
    RawPayloadHeader h{};
    StoreLe32(header.bodyLength, h.bodyLength);
    StoreLe32(uint32_t(header.declaredSize), h.declaredSize);
    StoreLe32(header.contentCrc, h.contentCrc);
    StoreLe32(uint32_t(header.dateTime), h.dateTime);
    size_t length =
        header.name.size() < kMaxPayloadNameLength ? header.name.size() : kMaxPayloadNameLength;
    h.nameLength = uint8_t(length);
    std::memcpy(h.name, header.name.data(), length);
    std::memcpy(raw, &h, sizeof h);
}

NameProblem CheckBareFileName(std::string_view name) {
    if (name.empty()) return NameProblem::kEmpty;
    if (name.size() > kMaxPayloadNameLength) return NameProblem::kTooLong;
    if (name == "." || name == "..") return NameProblem::kDotName;
    for (char c : name) {
        NameProblem problem = CharacterProblem(static_cast<unsigned char>(c));
        if (problem != NameProblem::kNone) return problem;
    }
    // Windows drops a trailing dot or blank, so the file would get another
    // name than the one stored.
    if (name.back() == '.' || name.back() == ' ') return NameProblem::kTrailingDotOrBlank;
    if (IsDeviceName(name)) return NameProblem::kDeviceName;
    return NameProblem::kNone;
}

const char* NameProblemText(NameProblem problem) {
    switch (problem) {
        case NameProblem::kNone:
            return "a bare file name";
        case NameProblem::kEmpty:
            return "empty name";
        case NameProblem::kTooLong:
            return "name longer than 30 characters";
        case NameProblem::kDotName:
            return "not a file name (\".\" or \"..\")";
        case NameProblem::kFolderPart:
            return "not a bare file name (has a folder part)";
        case NameProblem::kDriveOrStream:
            return "not a bare file name (has a drive or colon)";
        case NameProblem::kForbiddenChar:
            return "name has a character Windows forbids (<>\"|?*)";
        case NameProblem::kControlChar:
            return "name has a control character";
        case NameProblem::kNonAscii:
            return "name has a non-ASCII character";
        case NameProblem::kTrailingDotOrBlank:
            return "name ends in a dot or blank";
        case NameProblem::kDeviceName:
            return "name is a reserved device name";
    }
    return "bad name";
}

bool PackDosDateTime(const LocalDateTime& t, int32_t& packed) {
    if (t.year < 1980 || t.year > 2107 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59)
        return false;
    uint32_t date = uint32_t(t.year - 1980) << 9 | uint32_t(t.month) << 5 | uint32_t(t.day);
    uint32_t time = uint32_t(t.hour) << 11 | uint32_t(t.minute) << 5 | uint32_t(t.second / 2);
    packed = int32_t(date << 16 | time);
    return true;
}

LocalDateTime UnpackDosDateTime(int32_t packed) {
    uint32_t v = uint32_t(packed);
    LocalDateTime t;
    t.year = 1980 + int(v >> 25);
    t.month = int(v >> 21 & 0xF);
    t.day = int(v >> 16 & 0x1F);
    t.hour = int(v >> 11 & 0x1F);
    t.minute = int(v >> 5 & 0x3F);
    t.second = int(v & 0x1F) * 2;
    return t;
}

}  // namespace pellion
