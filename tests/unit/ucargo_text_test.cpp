// Folder-path forms, name and text operations of the helper module.
#include "install/ucargo_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pellion {
namespace {

struct TextCase {
    const char* input;
    const char* expected;
    const char* why;
};

TEST(NormalizeFolder, EndsInExactlyOneBackslash) {
    const TextCase cases[] = {
        {"", "", "empty stays empty"},
        {"C:", "C:\\", "drive gets its root backslash"},
        {"C:\\", "C:\\", "already normal"},
        {"C:\\dir", "C:\\dir\\", "backslash appended"},
        {"C:\\dir\\\\\\", "C:\\dir\\", "trailing run shrinks to one"},
        {"\\", "\\", "lone backslash stays"},
        {"\\\\\\\\", "\\", "only backslashes give one"},
        {"\\\\server\\share", "\\\\server\\share\\", "UNC leading pair untouched"},
        {"a\\\\b", "a\\\\b\\", "inner doubles untouched"},
        {"C:/dir/", "C:/dir/\\", "forward slash is no separator here"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeFolder(c.input), c.expected) << c.why;
}

TEST(StripTrailingBackslashes, DropsEveryTrailingBackslash) {
    const TextCase cases[] = {
        {"C:\\dir\\\\", "C:\\dir", "run of two"},
        {"C:\\", "C:", "even the root one"},
        {"\\", "", "lone backslash"},
        {"\\\\\\", "", "only backslashes"},
        {"", "", "empty"},
        {"C:\\a\\b", "C:\\a\\b", "none to drop"},
        {"\\\\srv\\x\\", "\\\\srv\\x", "leading ones stay"},
    };
    for (const auto& c : cases) EXPECT_EQ(StripTrailingBackslashes(c.input), c.expected) << c.why;
}

TEST(FileBaseName, LowerCasedNameBeforeFirstDot) {
    const TextCase cases[] = {
        {"v.ico", "v", "the shortcut icon"},
        {"Archive.Tar.GZ", "archive", "first dot cuts"},
        {"README", "readme", "no dot"},
        {".hidden", "", "leading dot leaves nothing"},
        {"C:\\A.B\\c.d", "c", "dots in the folder part do not count"},
        {"D:NAME.TXT", "name", "colon ends the folder part"},
        {"C:\\dir\\", "", "no file-name part"},
        {"\xC3\x89T\xC3\x89.txt", "\xC3\x89t\xC3\x89", "only ASCII letters change case"},
    };
    for (const auto& c : cases) EXPECT_EQ(FileBaseName(c.input), c.expected) << c.why;
}

TEST(TitleCase, UpperCasesAfterEveryNonWordCharacter) {
    const TextCase cases[] = {
        {"hELLO wORLD", "Hello World", "blank breaks words"},
        {"x-ray", "X-ray", "hyphen is a word character"},
        {"o'neil", "O'Neil", "apostrophe breaks"},
        {"abc0def", "Abc0Def", "digit 0 breaks"},
        {"abc1def", "Abc1def", "digits 1-9 do not"},
        {"a9b", "A9b", "nor does 9"},
        {"v", "V", "single letter"},
        {"", "", "empty"},
        {"a_b.c", "A_B.C", "underscore and dot break"},
        {"  lead", "  Lead", "leading blanks"},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9T\xC3\xA9", "bytes above 127 break, are kept"},
        {"V DOSBOX", "V Dosbox", "upper-case input is lowered first"},
    };
    for (const auto& c : cases) EXPECT_EQ(TitleCase(c.input), c.expected) << c.why;
}

TEST(SplitFirstToken, CutsAtFirstDelimiter) {
    struct Case {
        std::string list;
        std::string delimiters;
        const char* token;
        const char* rest;
        const char* why;
    } cases[] = {
        {"a,b", ",", "a", "b", "one delimiter"},
        {",b", ",", "", "b", "leading delimiter: empty token"},
        {"abc", ",", "abc", "", "no delimiter: whole text"},
        {"", ",", "", "", "empty list"},
        {"a,,b", ",", "a", ",b", "only one delimiter is consumed"},
        {"a,", ",", "a", "", "trailing delimiter"},
        {"a;b,c", ";,", "a", "b,c", "set: first of any"},
        {"a,b;c", ";,", "a", "b;c", "set: order in the set does not matter"},
        {"a,b", "", "a,b", "", "empty set matches nothing"},
        {std::string("x\0y", 3), std::string(1, '\0'), "x", "y", "NUL as the delimiter"},
    };
    for (const auto& c : cases) {
        // Junk in the token proves it is written, not appended to.
        std::string list = c.list, token = "junk";
        SplitFirstToken(list, c.delimiters, token);
        EXPECT_EQ(token, c.token) << c.why;
        EXPECT_EQ(list, c.rest) << c.why;
    }
}

TEST(SplitFirstToken, WalksThePayloadList) {
    std::string list = "rs_cmd,rs_exe,rs_hlp,rs_icon,rs_readme,rs_lpf32";
    std::vector<std::string> tokens;
    for (int i = 0; i < 6; ++i) {
        std::string token;
        SplitFirstToken(list, ",", token);
        tokens.push_back(token);
    }
    EXPECT_EQ(tokens, (std::vector<std::string>{"rs_cmd", "rs_exe", "rs_hlp", "rs_icon",
                                                "rs_readme", "rs_lpf32"}));
    EXPECT_EQ(list, "");
}

TEST(AbsoluteFolder, RelativePathsJoinTheCurrentFolder) {
    struct Case {
        const char* path;
        const char* current;
        const char* expected;
        bool absolute;
        const char* why;
    } cases[] = {
        {"sub\\", "C:\\work", "C:\\work\\sub", false, "relative loses its backslash"},
        {"sub\\deeper", "C:\\work\\", "C:\\work\\sub\\deeper", false, "current already normal"},
        {"a", "C:\\", "C:\\a", false, "current is a root"},
        {"D:\\new\\deep\\", "C:\\work", "D:\\new\\deep\\", true, "absolute unchanged"},
        {"\\x", "C:\\work", "\\x", true, "rooted without drive"},
        {"\\\\srv\\share", "C:\\work", "\\\\srv\\share", true, "UNC"},
        {"C:x", "D:\\work", "C:x", true, "drive-relative counts as absolute"},
        {"/x", "C:\\work", "C:\\work\\/x", false, "slash does not make it absolute"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAbsolutePath(c.path), c.absolute) << c.why;
        EXPECT_EQ(AbsoluteFolder(c.path, c.current), c.expected) << c.why;
    }
}

TEST(FolderCreationSteps, OutermostFirstWithoutTheRoot) {
    using Steps = std::vector<std::string>;
    struct Case {
        const char* folder;
        Steps steps;
        const char* why;
    } cases[] = {
        {"D:\\new\\deep\\", {"D:\\new", "D:\\new\\deep"}, "drive path, trailing backslash"},
        {"C:\\a", {"C:\\a"}, "one level"},
        {"C:\\", {}, "root alone"},
        {"C:", {}, "drive alone"},
        {"C:x\\y", {"C:x", "C:x\\y"}, "drive-relative"},
        {"\\top\\sub", {"\\top", "\\top\\sub"}, "rooted without drive"},
        {"\\\\srv\\share\\a\\b", {"\\\\srv\\share\\a", "\\\\srv\\share\\a\\b"}, "UNC root kept"},
        {"\\\\srv\\share", {}, "UNC root alone"},
        {"\\\\srv", {}, "server without share"},
        {"C:\\a\\\\b", {"C:\\a", "C:\\a\\\\b"}, "doubled separator is no step"},
        {"C:/a/b", {"C:/a", "C:/a/b"}, "forward slashes separate too"},
        {"", {}, "empty"},
    };
    for (const auto& c : cases) EXPECT_EQ(FolderCreationSteps(c.folder), c.steps) << c.why;
}

TEST(CenteredLeft, TruncatesTowardZero) {
    struct Case {
        int parent, control, left;
        const char* why;
    } cases[] = {
        {200, 101, 49, "odd difference rounds down"},
        {200, 100, 50, "even difference"},
        {492, 492, 0, "same width"},
        {200, 301, -50, "wider control: toward zero, not -51"},
        {185, 0, 92, "zero-width control"},
    };
    for (const auto& c : cases) EXPECT_EQ(CenteredLeft(c.parent, c.control), c.left) << c.why;
}

}  // namespace
}  // namespace pellion
