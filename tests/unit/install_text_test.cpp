// The install run's texts as the user sees them, and its folder rules.
#include "install/install_text.h"

#include <gtest/gtest.h>

#include <string>

namespace pellion {
namespace {

TEST(InstallText, WholeTextsLetterForLetter) {
    const struct {
        std::string actual;
        const char* expected;
    } rows[] = {
        {DriveProblemMessage(), "Install Directory is not on a valid device."},
        {CancelMessage(3, 6), "Installation cancelled. 3 of 6 files were installed."},
        {MenuProgramText(),
         "\r\n\r\nTo run Pellion, start the Tovarin Menu program,\r\nand click the V icon."},
        {SiblingProductText(),
         "Pellion, version 3.14, was installed successfully.\r\n\r\n"
         "To run Pellion, first run Corvanel, then press the function key F7."},
        // Lone line feeds, each of the first three after a blank.
        {ShortcutQuestionText(),
         "Pellion, version 3.14, was installed successfully.\n\n"
         "Normally Pellion is run from inside Corvanel by pressing the function key, F7. "
         "If you are not \ninstalling Corvanel, you need a shortcut on the \ndesktop to run "
         "this wheel program. \n\nClick NO if you do NOT want the V shortcut created."},
        {AfterYesText(), "To run Pellion, click the V icon on your desktop."},
        {AfterNoText(), "To run Pellion, start Corvanel and press function key F7."},
    };
    for (const auto& row : rows) EXPECT_EQ(row.actual, row.expected);
}

TEST(InstallText, ReadErrorsOneLineEachFirstWithoutLineBreak) {
    ReadErrorReport report;
    EXPECT_TRUE(report.Empty());
    report.Add("rs_hlp", "pnx.hlp");
    EXPECT_EQ(report.Text(), "Error Reading resource item rs_hlp, Filename pnx.hlp");
    report.Add("rs_icon", "");
    EXPECT_FALSE(report.Empty());
    EXPECT_EQ(report.Text(),
              "Error Reading resource item rs_hlp, Filename pnx.hlp\r\n"
              "Error Reading resource item rs_icon, Filename ");
}

TEST(InstallText, WriteFailuresOneLineEach) {
    EXPECT_EQ(WriteFailureReport({{"C:\\kx\\pnx.exe", "Access denied."},
                                  {"C:\\kx\\v.ico", "There is not enough space on the disk."}}),
              "Error writing file C:\\kx\\pnx.exe: Access denied.\r\n"
              "Error writing file C:\\kx\\v.ico: There is not enough space on the disk.");
}

TEST(InstallText, DriveRules) {
    EXPECT_EQ(DriveRootOf("C:\\tovarin\\kx"), "C:\\");
    EXPECT_EQ(DriveRootOf("C:"), "C:");
    EXPECT_EQ(DriveRootOf("\\\\server\\share"), "\\\\s");
    const struct {
        unsigned type;
        bool usable;
    } types[] = {{0, false}, {1, false}, {2, true}, {3, true}, {4, true}, {5, false}, {6, false}};
    for (const auto& t : types) EXPECT_EQ(IsUsableDriveType(t.type), t.usable) << t.type;
    EXPECT_EQ(FinishProblemText("a, "), "a.");
    EXPECT_EQ(FinishProblemText("x"), "x");
}

// Windows' two limits: with the names this installer writes the file limit
// binds, with a one-letter name the folder limit. Lengths count UTF-16 units.
TEST(InstallText, FolderLengthWithinWindowsLimits) {
    const std::string longest = LongestWrittenName();
    EXPECT_EQ(longest, "veskpnx.exe.99.~pellion");
    EXPECT_EQ(FolderTooLongMessage(),
              "Install Directory name is too long: it may have at most 235 characters.");
    const struct {
        size_t units, letterUnits;  // of the folder (no backslash) and of its last letter
        const char* letter;
        std::string name;
        bool fits;
    } rows[] = {
        {235, 1, "k", longest, true},                  // files' paths 259
        {236, 1, "k", longest, false},                 // 260
        {247, 1, "k", "x", true},                      // folder 247
        {248, 1, "k", "x", false},                     // 248
        {235, 1, "\xC3\xA9", longest, true},           // é: two bytes, one unit
        {236, 2, "\xF0\x9D\x84\x9E", longest, false},  // 𝄞: two units
    };
    for (const auto& row : rows) {
        const std::string folder =
            "C:\\" + std::string(row.units - 3 - row.letterUnits, 'k') + row.letter + "\\";
        EXPECT_EQ(FolderPathsFit(folder, row.name), row.fits) << row.units << " " << row.name;
    }
}

TEST(InstallText, MenuProgramParent) {
    const struct {
        const char* folder;
        const char* parent;
        const char* why;
    } rows[] = {
        {"C:\\tovarin\\kx\\", "C:\\tovarin\\", "the usual case"},
        {"C:\\tovarin\\kx", "C:\\tovarin\\", "no trailing backslash"},
        {"C:\\kx\\", "", "parent is the drive root"},
        {"D:\\", "", "the folder is a drive root"},
        {"\\", "", "a lone backslash"},
        {"kx\\", "", "no backslash before the last character"},
        {"", "", "empty"},
        {"\\\\server\\share\\kx\\", "\\\\server\\share\\", "share names have parents too"},
        {"C:\\a b\\c d\\", "C:\\a b\\", "blanks are ordinary"},
    };
    for (const auto& row : rows) EXPECT_EQ(MenuProgramParent(row.folder), row.parent) << row.why;
}

TEST(InstallText, TotalIsShownUnsigned) {
    EXPECT_EQ(AddToTotal(0, 5), 5);
    EXPECT_EQ(uint32_t(AddToTotal(0x7FFFFFFF, 2)), 0x80000001u);
}

TEST(InstallText, TemporaryFilesOfAName) {
    EXPECT_EQ(TemporaryFileName("C:\\kx\\pnx.exe", 3), "C:\\kx\\pnx.exe.3.~pellion");
    for (const char* name : {"pnx.exe.3.~pellion", "PNX.EXE.42.~PELLION", "pnx.exe.0.~pellion"})
        EXPECT_TRUE(IsTemporaryFileOf(name, "pnx.exe")) << name;
    for (const char* name :
         {"pnx.exe.~pellion", "pnx.exe.x.~pellion", "pnx.exe.3.~pellion.bak", "notes.~pellion",
          "xpnx.exe.3.~pellion", "pnx.exe", "pnx.exe.3-~pellion", "veskpnx.exe.3.~pellion"})
        EXPECT_FALSE(IsTemporaryFileOf(name, "pnx.exe")) << name;
}

}  // namespace
}  // namespace pellion
