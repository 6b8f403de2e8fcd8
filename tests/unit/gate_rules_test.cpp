#include "app/gate_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace pellion {
namespace {

TEST(GateRules, SwitchIsCaseInsensitiveSubstringOfWholeCommandLine) {
    struct Row {
        const char* commandLine;
        bool forces;
    } rows[] = {
        {"\"C:\\cd\\setup.exe\"", false},
        {"\"C:\\cd\\setup.exe\" /t", true},
        {"\"C:\\cd\\setup.exe\" /T", true},    // upper case
        {"\"C:\\cd\\setup.exe\" /tx", true},   // start of a longer argument
        {"setup.exe -t", false},               // only the slash form
        {"\"C:\\a/tools\\setup.exe\"", true},  // anywhere, even in the program path
        {"", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CommandLineForcesNotice(row.commandLine), row.forces) << row.commandLine;
}

TEST(GateRules, DosBoxEntryMatchesLowerCasedName) {
    struct Row {
        const char* name;
        bool matches;
    } rows[] = {
        {"DOSBox-0.74", true},       {"MyDOSBoxTools", true},  // inside a longer name, mixed case
        {"dosbox readme.txt", true},                           // an ordinary file counts too
        {"DOS Box", false},          {"Common Files", false},
    };
    for (const Row& row : rows) EXPECT_EQ(IsDosBoxEntry(row.name), row.matches) << row.name;
}

TEST(GateRules, ExecutablePathIsLowerCasedUnderRoot) {
    EXPECT_EQ(DosBoxExePath("c:\\program files (x86)\\", "DOSBox-0.74"),
              "c:\\program files (x86)\\dosbox-0.74\\dosbox.exe");
    // Only ASCII letters change case; other UTF-8 bytes pass through.
    EXPECT_EQ(DosBoxExePath("c:\\programme\\", "DOSBox-\xC3\x9C"),
              "c:\\programme\\dosbox-\xC3\x9C\\dosbox.exe");
}

TEST(GateRules, NoticeTextKeepsItsLineFeedsAndDoubleBlank) {
    std::string text = kNoticeText;
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.find("programs.\n\nPellion cannot"), std::string::npos);
    EXPECT_NE(text.find("computer.\n\nClick OK"), std::string::npos);
    EXPECT_NE(text.find("website.  Download"), std::string::npos);
    EXPECT_EQ(kNoticeFlags, 49u);
}

}  // namespace
}  // namespace pellion
