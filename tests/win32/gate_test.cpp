// The DOSBox search under Program Files, in the prefix's own folder.
#include "app/gate.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/text.h"
#include "base/win/wide.h"
#include "install/dosbox_path.h"
#include "install/ucargo.h"
#include "install/ucargo_text.h"

namespace pellion {
namespace {

using win::Widen;

class DosBoxSearch : public testing::Test {
  protected:
    void SetUp() override { root_ = NormalizeFolder(SpecialFolderPath(CSIDL_PROGRAM_FILES)); }
    void TearDown() override {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            ::SetFileAttributesW(Widen(*it).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!::DeleteFileW(Widen(*it).c_str())) ::RemoveDirectoryW(Widen(*it).c_str());
        }
    }
    std::string Folder(const std::string& name, DWORD attributes = 0) {
        std::string path = root_ + name;
        EXPECT_TRUE(::CreateDirectoryW(Widen(path).c_str(), nullptr)) << path;
        if (attributes) ::SetFileAttributesW(Widen(path).c_str(), attributes);
        made_.push_back(path);
        return path + "\\";
    }
    void File(const std::string& path) {
        WriteWholeFile(path, "MZ");
        made_.push_back(path);
    }
    std::string root_;
    std::vector<std::string> made_;
};

TEST_F(DosBoxSearch, FindsExecutableAndRecordsLowerCasedPath) {
    File(Folder("DOSBox-0.74") + "dosbox.exe");
    std::string path = "junk";
    EXPECT_TRUE(FindDosBox(path));
    EXPECT_EQ(path, AsciiLowerCase(root_) + "dosbox-0.74\\dosbox.exe");
    // The 32-bit program under WOW64 searches the 32-bit Program Files.
    bool wow64 = sizeof(void*) == 4 &&
                 std::string(getenv("PELLION_EXPECT_ARCH") ? getenv("PELLION_EXPECT_ARCH") : "") ==
                     "win64";
    if (wow64) {
        EXPECT_EQ(path, "c:\\program files (x86)\\dosbox-0.74\\dosbox.exe");
    }
}

TEST_F(DosBoxSearch, NothingMatchingAnswersFalseWithEmptyPath) {
    std::string path = "junk";
    EXPECT_FALSE(FindDosBox(path));
    EXPECT_EQ(path, "");
}

TEST_F(DosBoxSearch, HiddenAndSystemFoldersAreSkipped) {
    File(Folder("DOSBox-hidden", FILE_ATTRIBUTE_HIDDEN) + "dosbox.exe");
    File(Folder("DOSBox-system", FILE_ATTRIBUTE_SYSTEM) + "dosbox.exe");
    std::string path;
    EXPECT_FALSE(FindDosBox(path));
    EXPECT_EQ(path, "");
}

TEST_F(DosBoxSearch, FirstMatchingEntryDecidesEvenWithoutExecutable) {
    // Wine lists entries alphabetically: the bare file comes first.
    File(root_ + "a dosbox note.txt");
    File(Folder("DOSBox-0.74") + "dosbox.exe");
    std::string path;
    EXPECT_FALSE(FindDosBox(path));
    EXPECT_EQ(path, AsciiLowerCase(root_) + "a dosbox note.txt\\dosbox.exe");
}

TEST_F(DosBoxSearch, MixedCaseNameInsideLongerNameMatches) {
    File(Folder("MyDOSBoxTools") + "dosbox.exe");
    std::string path;
    EXPECT_TRUE(FindDosBox(path));
    EXPECT_EQ(path, AsciiLowerCase(root_) + "mydosboxtools\\dosbox.exe");
}

TEST_F(DosBoxSearch, GateOn32BitWindowsMakesNoSearch) {
    if (Is64BitWindows()) GTEST_SKIP() << "the 64-bit gate is driven end to end";
    File(Folder("DOSBox-0.74") + "dosbox.exe");
    DosBoxPath.clear();
    EXPECT_TRUE(StartupGate());  // this test's command line holds no switch
    EXPECT_EQ(DosBoxPath, "");
}

}  // namespace
}  // namespace pellion
