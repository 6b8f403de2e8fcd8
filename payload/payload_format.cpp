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

tNameProblem CharacterProblem(unsigned char c) {
    if (c < 0x20 || c == 0x7F) return tNameProblem::kControlChar;
    if (c >= 0x80) return tNameProblem::kNonAscii;
    if (c == '/' || c == '\\') return tNameProblem::kFolderPart;
    if (c == ':') return tNameProblem::kDriveOrStream;
    if (std::strchr("<>\"|?*", c)) return tNameProblem::kForbiddenChar;
    return tNameProblem::kNone;
}

bool IsLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

}  // namespace

bool DecodePayloadHeader(const uint8_t (&raw)[kPayloadHeaderSize], tPayloadHeader& header) {
    tRawPayloadHeader h;
    std::memcpy(&h, raw, sizeof h);
    if (h.nameLength > kMaxPayloadNameLength) return false;
    header.bodyLength = LoadLe32(h.bodyLength);
    header.declaredSize = int32_t(LoadLe32(h.declaredSize));
    header.contentCrc = LoadLe32(h.contentCrc);
    header.dateTime = int32_t(LoadLe32(h.dateTime));
    header.name.assign(reinterpret_cast<const char*>(h.name), h.nameLength);
    return true;
}

void EncodePayloadHeader(const tPayloadHeader& header, uint8_t (&raw)[kPayloadHeaderSize]) {
    tRawPayloadHeader h{};
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

tNameProblem CheckBareFileName(std::string_view name) {
    if (name.empty()) return tNameProblem::kEmpty;
    if (name.size() > kMaxPayloadNameLength) return tNameProblem::kTooLong;
    if (name == "." || name == "..") return tNameProblem::kDotName;
    for (char c : name) {
        tNameProblem problem = CharacterProblem(static_cast<unsigned char>(c));
        if (problem != tNameProblem::kNone) return problem;
    }
    // Windows drops a trailing dot or blank, so the file would get another
    // name than the one stored.
    if (name.back() == '.' || name.back() == ' ') return tNameProblem::kTrailingDotOrBlank;
    if (IsDeviceName(name)) return tNameProblem::kDeviceName;
    return tNameProblem::kNone;
}

const char* NameProblemText(tNameProblem problem) {
    switch (problem) {
        case tNameProblem::kNone:
            return "a bare file name";
        case tNameProblem::kEmpty:
            return "empty name";
        case tNameProblem::kTooLong:
            return "name longer than 30 characters";
        case tNameProblem::kDotName:
            return "not a file name (\".\" or \"..\")";
        case tNameProblem::kFolderPart:
            return "not a bare file name (has a folder part)";
        case tNameProblem::kDriveOrStream:
            return "not a bare file name (has a drive or colon)";
        case tNameProblem::kForbiddenChar:
            return "name has a character Windows forbids (<>\"|?*)";
        case tNameProblem::kControlChar:
            return "name has a control character";
        case tNameProblem::kNonAscii:
            return "name has a non-ASCII character";
        case tNameProblem::kTrailingDotOrBlank:
            return "name ends in a dot or blank";
        case tNameProblem::kDeviceName:
            return "name is a reserved device name";
    }
    return "bad name";
}

bool PackDosDateTime(const tLocalDateTime& t, int32_t& packed) {
    if (t.year < 1980 || t.year > 2107 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59)
        return false;
    uint32_t date = uint32_t(t.year - 1980) << 9 | uint32_t(t.month) << 5 | uint32_t(t.day);
    uint32_t time = uint32_t(t.hour) << 11 | uint32_t(t.minute) << 5 | uint32_t(t.second / 2);
    packed = int32_t(date << 16 | time);
    return true;
}

tLocalDateTime UnpackDosDateTime(int32_t packed) {
    uint32_t v = uint32_t(packed);
    tLocalDateTime t;
    t.year = 1980 + int(v >> 25);
    t.month = int(v >> 21 & 0xF);
    t.day = int(v >> 16 & 0x1F);
    t.hour = int(v >> 11 & 0x1F);
    t.minute = int(v >> 5 & 0x3F);
    t.second = int(v & 0x1F) * 2;
    return t;
}

}  // namespace pellion
