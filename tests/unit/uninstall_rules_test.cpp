#include "install/uninstall_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/uninstall_text.h"

namespace pellion {
namespace {

using Strings = std::vector<std::string>;

ProtectedFolders SampleFolders() {
    ProtectedFolders p;
    p.windows = "C:\\Windows";
    p.programFiles = {"C:\\Program Files", "C:\\Program Files (x86)\\"};
    p.profile = "C:\\Users\\ann";
    p.desktop = "C:\\Users\\ann\\Desktop";
    return p;
}

TEST(UninstallRules, RemovalRefusal) {
    struct Row {
        const char* folder;
        bool refused;
    } rows[] = {
        {"C:\\", true},                           // a drive's root
        {"d:", true},                             // the same without its backslash
        {"\\\\server\\share\\", true},            // a share's root
        {"\\\\server\\share", true},              // the same without its backslash
        {"\\\\server\\share\\kx\\", false},       // a folder on a share
        {"c:\\WINDOWS\\", true},                  // the Windows folder in other case
        {"C:\\Program Files", true},              // without a trailing backslash
        {"C:\\Program Files\\", true},            // with one
        {"c:\\program files (x86)", true},        // the second Program Files folder
        {"C:\\Program Files\\Tovarin\\", false},  // a folder inside one
        {"C:\\Users\\ann\\", true},               // the profile
        {"C:\\Users\\ann\\Desktop", true},        // the desktop
        {"C:\\Users\\ann\\Games\\kx", false},     // a plain folder in the profile
        {"C:\\kx\\", false},                      // the usual place
        {"C:\\kx\\..\\Windows\\", true},          // a ".." part
        {"C:\\kx\\.\\", true},                    // a "." part
    };
    const ProtectedFolders protect = SampleFolders();
    for (const Row& row : rows)
        EXPECT_EQ(!RemovalRefusal(row.folder, protect).empty(), row.refused) << row.folder;
    // Empty members protect nothing.
    EXPECT_EQ(RemovalRefusal("C:\\kx", ProtectedFolders{}), "");
}

UninstallEntry TamperedEntry() {
    UninstallEntry e;
    e.installLocation = "C:\\kx";
    e.files = {"PELLION.EXE",   "..\\x",       "C:\\x",        "a\\b", "a/b", "",
               "Uninstall.EXE", "dosbox.conf", "uninstall.exe"};
    e.shortcuts = {
        "C:\\Users\\ann\\Desktop\\Pellion.lnk",   // kept
        "C:\\Users\\ann\\Desktop\\Print F.LNK",   // kept: extension case
        "C:\\Users\\ann\\Desktop\\evil.exe",      // not a shortcut
        "Pellion.lnk",                            // not a full path
        "C:\\Users\\ann\\..\\bob\\x.lnk",         // a ".." part
        "C:\\Users\\ann\\notes.txt:x.lnk",        // a stream of another file
        "\\\\server\\share\\links\\Pellion.lnk",  // kept: on a share
    };
    return e;
}

TEST(UninstallRules, PlanRemovalOfOwnEntry) {
    const RemovalPlan plan = PlanRemoval("C:\\kx", TamperedEntry(), true);
    EXPECT_EQ(plan.files,
              (Strings{"C:\\kx\\PELLION.EXE", "C:\\kx\\dosbox.conf", "C:\\kx\\uninstall.exe"}));
    EXPECT_EQ(plan.shortcuts, (Strings{"C:\\Users\\ann\\Desktop\\Pellion.lnk",
                                       "C:\\Users\\ann\\Desktop\\Print F.LNK",
                                       "\\\\server\\share\\links\\Pellion.lnk"}));
    EXPECT_TRUE(plan.removeEntry);
}

TEST(UninstallRules, PlanRemovalOfAnotherFoldersEntry) {
    UninstallEntry entry = TamperedEntry();
    entry.files = {"PELLION.EXE"};  // no uninstaller recorded: it still goes, last
    const RemovalPlan plan = PlanRemoval("D:\\old\\", entry, false);
    EXPECT_EQ(plan.files, (Strings{"D:\\old\\PELLION.EXE", "D:\\old\\uninstall.exe"}));
    EXPECT_TRUE(plan.shortcuts.empty());
    EXPECT_FALSE(plan.removeEntry);
}

TEST(UninstallRules, MakeUninstallEntry) {
    InstallRecord facts;
    facts.folder = "C:\\kx";
    facts.files = {"PELLION.EXE", "uninstall.exe"};
    facts.shortcuts = {"C:\\Users\\ann\\Desktop\\Pellion.lnk"};
    facts.bytes = 1025;
    const InstallDate date{2024, 3, 5};
    const UninstallEntry e = MakeUninstallEntry(facts, date);
    EXPECT_EQ(e.displayName, "Tovarin Pellion 3.14");
    EXPECT_EQ(e.displayVersion, "3.14");
    EXPECT_EQ(e.publisher, "Tovarin");
    EXPECT_EQ(e.installLocation, "C:\\kx");
    EXPECT_EQ(e.displayIcon, "C:\\kx\\v.ico");
    EXPECT_EQ(e.uninstallString, "\"C:\\kx\\uninstall.exe\"");
    EXPECT_EQ(e.quietUninstallString, "\"C:\\kx\\uninstall.exe\" /S");
    EXPECT_EQ(e.installDate, "20240305");
    EXPECT_EQ(e.estimatedSizeKiB, 2u);  // 1025 bytes round up
    EXPECT_EQ(e.files, facts.files);
    EXPECT_EQ(e.shortcuts, facts.shortcuts);

    struct Row {
        const char* folder;
        uint64_t bytes;
        const char* location;
        uint32_t kib;
    } rows[] = {
        {"C:\\", 0, "C:\\", 0},                       // a root keeps its backslash
        {"C:\\kx\\\\", 1024, "C:\\kx", 1},            // doubled backslash, exact KiB
        {"D:\\g", 1ull << 50, "D:\\g", 0xFFFFFFFFu},  // beyond 32 bits: the largest
    };
    for (const Row& row : rows) {
        facts.folder = row.folder;
        facts.bytes = row.bytes;
        const UninstallEntry entry = MakeUninstallEntry(facts, date);
        EXPECT_EQ(entry.installLocation, row.location) << row.folder;
        EXPECT_EQ(entry.estimatedSizeKiB, row.kib) << row.folder;
    }
}

TEST(UninstallText, CleanupArguments) {
    CleanupRequest request;
    ASSERT_TRUE(ParseCleanupArguments(CleanupArguments(1234, "C:\\my games\\kx\\"), request));
    EXPECT_EQ(request.processHandle, 1234u);
    EXPECT_EQ(request.folder, "C:\\my games\\kx\\");  // blanks kept

    const char* refused[] = {
        "/S",                                       // an ordinary command line
        "/CLEANUP= /D=C:\\kx",                      // no number
        "/CLEANUP=0 /D=C:\\kx",                     // no handle
        "/CLEANUP=12x /D=C:\\kx",                   // not a number
        "/CLEANUP=12 /D=kx",                        // a relative folder
        "/CLEANUP=12 /S /D=C:\\kx",                 // anything more
        "/CLEANUP=12",                              // no folder
        "/CLEANUP=99999999999999999999 /D=C:\\kx",  // beyond 64 bits
    };
    for (const char* line : refused) EXPECT_FALSE(ParseCleanupArguments(line, request)) << line;
}

}  // namespace
}  // namespace pellion
