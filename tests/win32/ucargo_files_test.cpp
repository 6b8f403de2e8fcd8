// Folder creation, whole-file writing and deletion through the shell,
// against the real kernel and shell.
#include <gtest/gtest.h>

#include <string>

#include "install/ucargo.h"
#include "tests/win32/ucargo_test_util.h"

namespace pellion {
namespace {

using namespace testing_util;

class UcargoFiles : public ScratchFolderTest {};

// ---- FileExists, DirectoryExists --------------------------------------------

TEST_F(UcargoFiles, ExistenceTellsFilesFromFolders) {
    PutBytes(In("dosbox.exe"), "MZ");
    struct Case {
        std::string path;
        bool file, folder;
        const char* why;
    } cases[] = {
        {In("dosbox.exe"), true, false, "ordinary file"},
        {In("DOSBOX.EXE"), true, false, "names match without regard to case"},
        {dir_, false, true, "folder"},
        {dir_ + "\\", false, true, "folder with a trailing backslash"},
        {In("missing.exe"), false, false, "nothing there"},
        {"", false, false, "empty path"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.file) << c.why;
        EXPECT_EQ(DirectoryExists(c.path), c.folder) << c.why;
    }
}

// ---- EnsureFolder -----------------------------------------------------------

TEST_F(UcargoFiles, EnsureFolderCreatesAndReportsTheAbsolutePath) {
    PutBytes(In("file.txt"), "x");
    ASSERT_TRUE(::SetCurrentDirectoryW(Widen(dir_).c_str()));
    struct Case {
        std::string path;
        bool ok;
        std::string after;    // the in/out path afterwards
        std::string created;  // a folder that must exist afterwards ("" for none)
        const char* why;
    } cases[] = {
        {"sub\\", true, dir_ + "\\sub", dir_ + "\\sub", "relative: joined, backslash dropped"},
        {"rel\\deep\\\\", true, dir_ + "\\rel\\deep", dir_ + "\\rel\\deep", "relative, parents"},
        {In("new\\deep\\"), true, In("new\\deep\\"), In("new\\deep"), "absolute with parents"},
        {In("new\\deep\\"), true, In("new\\deep\\"), In("new\\deep"), "existing: true again"},
        {dir_, true, dir_, dir_, "existing, no trailing backslash"},
        {In("file.txt\\x\\"), false, In("file.txt\\x\\"), "", "a file is in the way"},
        {In("file.txt"), false, In("file.txt"), "", "the path itself is a file"},
        {"", false, "", "", "empty path names no folder"},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(EnsureFolder(path), c.ok) << c.why;
        EXPECT_EQ(path, c.after) << c.why;
        if (!c.created.empty()) {
            EXPECT_TRUE(IsFolder(c.created)) << c.why;
        }
    }
    EXPECT_FALSE(Exists(In("file.txt\\x"))) << "nothing created behind a file";
}

// ---- WriteWholeFile ---------------------------------------------------------

TEST_F(UcargoFiles, WriteWholeFileReplacesContentExactly) {
    const std::string binary("MZ\0\x01\xFF\r\n\x1A end", 11);
    struct Case {
        std::string before;  // existing content, "" for no file
        std::string content;
        const char* why;
    } cases[] = {
        {"", binary, "new file, any bytes (NUL, CR LF, EOF mark, 0xFF)"},
        {std::string(5000, 'o'), "short", "longer file is truncated, not overlaid"},
    };
    for (const auto& c : cases) {
        std::string path = In("out.bin");
        ::DeleteFileW(Widen(path).c_str());
        if (!c.before.empty()) PutBytes(path, c.before);
        EXPECT_TRUE(WriteWholeFile(path, c.content)) << c.why;
        EXPECT_EQ(ReadBytes(path), c.content) << c.why;
    }
}

TEST_F(UcargoFiles, WriteWholeFileWithEmptyContentDeletes) {
    std::string path = In("gone.txt");
    PutBytes(path, "something");
    EXPECT_TRUE(WriteWholeFile(path, ""));
    EXPECT_FALSE(Exists(path)) << "an existing file is removed";
    EXPECT_TRUE(WriteWholeFile(path, ""));
    EXPECT_FALSE(Exists(path)) << "and none is created";
}

TEST_F(UcargoFiles, WriteWholeFileLeavesAFileItCannotOpen) {
    std::string path = In("busy.txt");
    PutBytes(path, "kept");
    {
        // Open elsewhere with read sharing only: our unshared open must fail.
        win::UniqueFile other(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other);
        EXPECT_FALSE(WriteWholeFile(path, "replaced"));
    }
    EXPECT_EQ(ReadBytes(path), "kept");
    EXPECT_FALSE(WriteWholeFile(In("no\\such\\folder.txt"), "x")) << "missing folder";
    EXPECT_FALSE(Exists(In("no"))) << "no folder is made for it";
}

// ---- DeleteByMask -----------------------------------------------------------

TEST_F(UcargoFiles, DeleteByMaskRemovesEveryMatchFilesAndFolders) {
    for (const char* name : {"old.conf", "B.CONF", "dosbox.conf", "keep.txt", "conf"})
        PutBytes(In(name), name);
    ASSERT_TRUE(::CreateDirectoryW(Widen(In("dir.conf")).c_str(), nullptr));
    PutBytes(In("dir.conf\\inner.txt"), "inner");

    EXPECT_TRUE(DeleteByMask(In("*.conf")));
    struct Case {
        const char* name;
        bool remains;
        const char* why;
    } cases[] = {
        {"old.conf", false, "plain match"},
        {"B.CONF", false, "mask matches without regard to case"},
        {"dosbox.conf", false, "an existing configuration goes too"},
        {"dir.conf", false, "matching folder, with its content"},
        {"keep.txt", true, "other extension"},
        {"conf", true, "no dot, no match"},
    };
    for (const auto& c : cases) EXPECT_EQ(Exists(In(c.name)), c.remains) << c.name << ": " << c.why;
}

TEST_F(UcargoFiles, DeleteByMaskGoesToTheRecycleBin) {
    // Wine: the recycle bin is the freedesktop trash under the Unix home
    // (WINEHOMEDIR, "\??\Z:\..."), which the test harness creates: without
    // it Wine deletes for good. Windows keeps it in $Recycle.Bin instead.
    wchar_t home[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH))
        GTEST_SKIP() << "not running under Wine";
    std::string trash = Narrow(home);
    if (trash.rfind("\\??\\", 0) == 0) trash.erase(0, 4);
    trash += "\\.local\\share\\Trash\\files\\";
    std::string name = "trash-" + std::to_string(::GetTickCount()) + ".conf";
    PutBytes(In(name), "recycled");
    EXPECT_TRUE(DeleteByMask(In("trash-*.conf")));
    EXPECT_FALSE(Exists(In(name)));
    EXPECT_EQ(ReadBytes(trash + name), "recycled") << trash;
}

TEST_F(UcargoFiles, DeleteByMaskRefusesMasksThatAreNotOneEntry) {
    PutBytes(In("keep.txt"), "kept");
    // A NUL would end the first entry of the shell's list early and start a
    // second one: here a mask for every file of the folder.
    std::string smuggled = In("none.conf") + std::string(1, '\0') + In("*.txt");
    EXPECT_FALSE(DeleteByMask(smuggled));
    EXPECT_FALSE(DeleteByMask(""));
    EXPECT_EQ(ReadBytes(In("keep.txt")), "kept");
}

}  // namespace
}  // namespace pellion
