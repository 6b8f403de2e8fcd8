// The rules the packer and the reader share: safe stored names, DOS
// date-times, the header's fields.
#include "payload/payload_format.h"

#include <gtest/gtest.h>

#include <string>

namespace pellion {
namespace {

TEST(PayloadFormat, BareFileNameRules) {
    using P = NameProblem;
    struct Row {
        std::string name;
        P problem;
    } rows[] = {
        {"pnx.exe", P::kNone},
        {"readme.txt", P::kNone},
        {"no extension", P::kNone},  // inner blank is fine
        {".hidden", P::kNone},       // leading dot is fine
        {"CONSOLE.TXT", P::kNone},   // starts like a device only
        {"COM0", P::kNone},          // only COM1-COM9 are devices
        {std::string(30, 'a'), P::kNone},
        {"", P::kEmpty},
        {std::string(31, 'a'), P::kTooLong},
        {".", P::kDotName},
        {"..", P::kDotName},
        {"sub/x.exe", P::kFolderPart},
        {"..\\x.exe", P::kFolderPart},
        {"C:x.exe", P::kDriveOrStream},
        {"x.exe:stream", P::kDriveOrStream},
        {"a<b", P::kForbiddenChar},
        {"what?", P::kForbiddenChar},
        {"a*", P::kForbiddenChar},
        {"a\"b", P::kForbiddenChar},
        {"a|b", P::kForbiddenChar},
        {std::string("a\tb"), P::kControlChar},
        {std::string("a\x7F"), P::kControlChar},
        {std::string("a\0b", 3), P::kControlChar},
        {"\xC3\xA9.txt", P::kNonAscii},
        {"name.", P::kTrailingDotOrBlank},
        {"name ", P::kTrailingDotOrBlank},
        {"...", P::kTrailingDotOrBlank},
        {"CON", P::kDeviceName},
        {"nul.txt", P::kDeviceName},   // any case, any extension
        {"NUL .txt", P::kDeviceName},  // blanks before the dot are dropped
        {"com1", P::kDeviceName},
        {"LPT9.log", P::kDeviceName},
        {"aux.tar.gz", P::kDeviceName},
        {"CONOUT$", P::kDeviceName},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CheckBareFileName(row.name), row.problem) << "'" << row.name << "'";
}

TEST(PayloadFormat, DosDateTimePacking) {
    struct Row {
        LocalDateTime t;
        bool fits;
        uint32_t packed;
    } rows[] = {
        {{1980, 1, 1, 0, 0, 0}, true, 0x00210000},       // earliest
        {{2004, 5, 11, 3, 14, 0}, true, 0x30AB19C0},     // the release date
        {{2004, 5, 11, 3, 14, 1}, true, 0x30AB19C0},     // odd second rounds down
        {{2107, 12, 31, 23, 59, 59}, true, 0xFF9FBF7D},  // latest: negative as int32
        {{2000, 2, 29, 12, 0, 0}, true, 0x285D6000},     // leap day
        {{1979, 12, 31, 23, 59, 58}, false, 0},          // before DOS time
        {{2108, 1, 1, 0, 0, 0}, false, 0},               // after it
        {{1900, 2, 29, 0, 0, 0}, false, 0},              // no leap day in 1900
        {{2001, 2, 29, 0, 0, 0}, false, 0},
        {{2004, 4, 31, 0, 0, 0}, false, 0},
        {{2004, 13, 1, 0, 0, 0}, false, 0},
        {{2004, 1, 1, 24, 0, 0}, false, 0},
        {{2004, 1, 1, 0, 60, 0}, false, 0},
    };
    for (const Row& row : rows) {
        int32_t packed = 12345;
        EXPECT_EQ(PackDosDateTime(row.t, packed), row.fits) << row.t.year << "-" << row.t.month;
        if (!row.fits) continue;
        EXPECT_EQ(uint32_t(packed), row.packed) << row.t.year;
        LocalDateTime back = UnpackDosDateTime(packed);
        EXPECT_EQ(back.year, row.t.year);
        EXPECT_EQ(back.day, row.t.day);
        EXPECT_EQ(back.second, row.t.second / 2 * 2);
    }
}

}  // namespace
}  // namespace pellion
