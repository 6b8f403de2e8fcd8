#include "base/command_line.h"

#include <gtest/gtest.h>

namespace pellion {
namespace {

TEST(CommandLine, ArgumentsFollowTheProgramName) {
    EXPECT_EQ(ArgumentsOf("\"C:\\a b\\setup.exe\"  /S "), "/S");
    EXPECT_EQ(ArgumentsOf("setup.exe /D=C:\\x"), "/D=C:\\x");
    EXPECT_EQ(ArgumentsOf("\"C:\\a b\\setup.exe\""), "");
    EXPECT_EQ(ArgumentsOf("\"unclosed /S"), "");
}

TEST(CommandLine, Switches) {
    struct Row {
        const char* arguments;
        bool silent, usage;
        const char* log;
        const char* folder;
        const char* unknown;
    } rows[] = {
        {"", false, false, "", "", ""},
        {"/S", true, false, "", "", ""},
        {"/s /?", true, true, "", "", ""},  // any case
        // /D= takes the rest of the line, blanks and all, after the others.
        {"/S /LOG=C:\\r.log /D=C:\\My Games\\kx ", true, false, "C:\\r.log", "C:\\My Games\\kx", ""},
        {"/d=D:\\x /S", false, false, "", "D:\\x /S", ""},  // nothing after /D= is a switch
        // A caller that quotes what holds a blank.
        {"/S \"/D=C:\\My Games\"", true, false, "", "C:\\My Games", ""},
        {"/D=\"C:\\My Games\"", false, false, "", "C:\\My Games", ""},
        {"/LOG=\"C:\\my logs\\r.log\" /S", true, false, "C:\\my logs\\r.log", "", ""},
        {"/S /X", true, false, "", "", "/X"},        // not understood
        {"/S /Silent", true, false, "", "", "/Silent"},
        {"/LOG= /S", true, false, "", "", "/LOG="},  // a log needs a name
        {"/S /D=", true, false, "", "", "/D="},      // and a folder a folder
        {"/S /T", true, false, "", "", ""},          // the notice switch is the gate's
        {"/S /test", true, false, "", "", ""},
    };
    for (const Row& row : rows) {
        const Switches s = ParseSwitches(row.arguments);
        EXPECT_EQ(s.silent, row.silent) << row.arguments;
        EXPECT_EQ(s.usage, row.usage) << row.arguments;
        EXPECT_EQ(s.log, row.log) << row.arguments;
        EXPECT_EQ(s.folder, row.folder) << row.arguments;
        EXPECT_EQ(s.hasFolder, *row.folder != '\0') << row.arguments;
        EXPECT_EQ(s.unknown, row.unknown) << row.arguments;
    }
}

TEST(CommandLine, OnlyOurSwitchesMakeAnUnknownArgumentAnError) {
    // Without a switch of ours the run goes on as it always has.
    EXPECT_FALSE(ParseSwitches("/t").Refused());
    EXPECT_FALSE(ParseSwitches("whatever /x").Refused());
    EXPECT_TRUE(ParseSwitches("/S /x").Refused());
    EXPECT_TRUE(ParseSwitches("/LOG=a.log extra").Refused());
    EXPECT_FALSE(ParseSwitches("/S /LOG=a.log").Refused());
}

}  // namespace
}  // namespace pellion
