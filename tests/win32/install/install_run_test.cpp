// The install run in-process, with a scripted stand-in for the progress
// window and the dialogs answered from a timer: what lands on disk, what
// the window is told, and what the user is shown, on the paths that do not
// need the real window.
#include "install/install_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "base/win/unique_handle.h"
#include "base/win/win_error.h"
#include "install/install_file.h"
#include "install/install_text.h"
#include "install/ucargo.h"
#include "payload/payload_list.h"
#include "payload/payload_reader.h"
#include "tests/win32/dialogs/dialogs_script.h"
#include "tests/win32/ucargo_test_util.h"
#include "ui/install_messages.h"

namespace pellion {
namespace {

using namespace testing_util;

// What the run did to its progress window, in order.
struct ProgressLog {
    std::vector<std::string> calls;
    int cancelAfterFiles = -1;  // the user presses Cancel during this file
    bool cancelWhileReading = false;
    int files = 0;
    bool cancelled = false;
    bool alive = false;
};

class ScriptedProgress : public InstallProgress {
  public:
    explicit ScriptedProgress(ProgressLog& log) : log_(log) { log_.alive = true; }
    ~ScriptedProgress() override { log_.alive = false; }
    void SetProgramName(const std::string& t) override { log_.calls.push_back("name " + t); }
    void SetStage(const std::string& t) override { log_.calls.push_back("stage " + t); }
    void Show() override { log_.calls.push_back("show"); }
    void SetTotal(int32_t total) override {
        log_.calls.push_back("total " + std::to_string(total));
    }
    void SetCurrentFile(const std::string& path) override {
        log_.calls.push_back("file " + path);
        ++log_.files;
    }
    void SetPosition(int32_t position) override {
        log_.calls.push_back("position " + std::to_string(position));
        if (log_.files == log_.cancelAfterFiles) log_.cancelled = true;
    }
    // Messages are processed only while the items are read.
    void ProcessMessages() override { log_.cancelled |= log_.cancelWhileReading; }
    bool Cancelled() const override { return log_.cancelled; }
    void WaitForOk() override { log_.calls.push_back("wait"); }

  private:
    ProgressLog& log_;
};

// Every dialog the run shows: its title and texts, whether the progress
// window was still there, answered with the next of `answers` (button ids).
struct ShownDialog {
    std::string title, text;
    bool progressAlive;
};

class DialogAnswers {
  public:
    DialogAnswers(std::vector<int> answers, const ProgressLog& log)
        : answers_(std::move(answers)), log_(log) {
        self() = this;
        timer_ = ::SetTimer(nullptr, 0, 10, &Tick);
    }
    ~DialogAnswers() {
        ::KillTimer(nullptr, timer_);
        self() = nullptr;
    }
    std::vector<ShownDialog> shown;

  private:
    static DialogAnswers*& self() {
        static DialogAnswers* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogAnswers* s = self();
        HWND d = s ? test::FindDialog() : nullptr;
        if (!d || d == s->last_) return;
        s->last_ = d;
        test::Snapshot snap = test::Take(d);
        std::string text;
        for (const test::Control& c : snap.controls)
            if (c.cls == L"Static" && c.text.size() > text.size()) text = c.text;
        s->shown.push_back({snap.title, text, s->log_.alive});
        int answer = s->shown.size() <= s->answers_.size() ? s->answers_[s->shown.size() - 1] : 1;
        test::PostPress(d, answer);
    }
    std::vector<int> answers_;
    const ProgressLog& log_;
    HWND last_ = nullptr;
    UINT_PTR timer_ = 0;
};

struct PayloadFile {
    std::string name, content;
    int32_t dateTime;
};

std::vector<PayloadFile> Payload() {
    std::vector<PayloadFile> items;
    std::string list = kPayloadList, resource;
    while (!list.empty()) {
        SplitFirstToken(list, ",", resource);
        PayloadFile item;
        ReadPayloadItem(resource, item.name, item.dateTime, item.content);
        items.push_back(item);
    }
    return items;
}

int32_t LastWriteDosTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return -1;
    FILETIME local;
    WORD date = 0, time = 0;
    ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    ::FileTimeToDosDateTime(&local, &date, &time);
    return int32_t((uint32_t(date) << 16) | time);
}

std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    win::UniqueFind find(::FindFirstFileW(Widen(folder + "*").c_str(), &found));
    if (!find) return names;
    do {
        std::string name = Narrow(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileW(find.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

class InstallRun : public ScratchFolderTest {
  protected:
    // The menu program in the parent makes the closing step the same on
    // both kinds of system: one titled hint, no set-up, no question.
    void SetUp() override {
        ScratchFolderTest::SetUp();
        PutBytes(In("kxmenu.exe"), "MZ");
        folder_ = In("kx") + "\\";
    }
    bool Run(std::vector<int> answers = {}) {
        DialogAnswers dialogs(std::move(answers), log_);
        bool result = RunInstall(
            folder_,
            [this] { return std::unique_ptr<InstallProgress>(new ScriptedProgress(log_)); },
            DialogMessages());
        shown_ = dialogs.shown;
        return result;
    }
    std::vector<std::string> ProductNames(size_t count) const {
        std::vector<std::string> names;
        for (size_t i = 0; i < count; ++i) names.push_back(payload_[i].name);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder_;
    ProgressLog log_;
    std::vector<ShownDialog> shown_;
    const std::vector<PayloadFile> payload_ = Payload();
};

TEST_F(InstallRun, WritesAndDatesEveryFileThenShowsTheMenuHint) {
    ASSERT_EQ(payload_.size(), kPayloadItemCount);
    PutBytes(In("kx.old"), "");  // a neighbour the run must leave alone
    ASSERT_TRUE(::CreateDirectoryW(Widen(In("kx")).c_str(), nullptr));
    PutBytes(folder_ + payload_[0].name, "an older copy, longer than nothing");
    EXPECT_TRUE(Run());

    std::vector<std::string> expected = {"name Pellion", "stage Installing ...", "show"};
    int32_t total = 0;
    for (const PayloadFile& item : payload_) total += int32_t(item.content.size());
    expected.push_back("total " + std::to_string(total));
    int32_t sum = 0;
    for (const PayloadFile& item : payload_) {
        sum += int32_t(item.content.size());
        expected.push_back("file " + folder_ + item.name);
        expected.push_back("position " + std::to_string(sum));
    }
    expected.push_back("wait");
    EXPECT_EQ(log_.calls, expected);

    for (const PayloadFile& item : payload_) {
        EXPECT_EQ(ReadBytes(folder_ + item.name), item.content) << item.name;
        EXPECT_EQ(LastWriteDosTime(folder_ + item.name), item.dateTime) << item.name;
    }
    EXPECT_EQ(Listing(folder_), ProductNames(kPayloadItemCount)) << "no temporary file is left";
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].title, "Pellion");
    EXPECT_EQ(shown_[0].text, MenuProgramText());
    EXPECT_FALSE(shown_[0].progressAlive) << "the final text comes after the window is gone";
}

TEST_F(InstallRun, CancelDuringTheThirdFileKeepsThreeAndSaysSo) {
    log_.cancelAfterFiles = 3;
    EXPECT_FALSE(Run());
    EXPECT_EQ(log_.calls.back(), "wait") << "WaitForOk is called after a cancel too";
    EXPECT_EQ(Listing(folder_), ProductNames(3));
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].title, "Pellion");
    EXPECT_EQ(shown_[0].text, "Installation cancelled. 3 of 6 files were installed.");
    EXPECT_FALSE(shown_[0].progressAlive);
}

TEST_F(InstallRun, CancelWhileReadingWritesNothing) {
    log_.cancelWhileReading = true;
    EXPECT_FALSE(Run());
    EXPECT_EQ(log_.files, 0);
    EXPECT_EQ(Listing(folder_), std::vector<std::string>());
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, "Installation cancelled. 0 of 6 files were installed.");
}

TEST_F(InstallRun, FileInUseIsReportedByNameAndLeftAsItWas) {
    ASSERT_TRUE(::CreateDirectoryW(Widen(In("kx")).c_str(), nullptr));
    const std::string held = folder_ + payload_[3].name;
    PutBytes(held, "old bytes");
    {
        win::UniqueFile lock(::CreateFileW(Widen(held).c_str(), GENERIC_READ, 0, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        EXPECT_FALSE(Run());
    }
    EXPECT_EQ(ReadBytes(held), "old bytes");
    EXPECT_EQ(std::count(log_.calls.begin(), log_.calls.end(), "wait"), 0)
        << "the window's OK state would announce a success";
    ASSERT_EQ(shown_.size(), 1u) << "one report, no closing step";
    EXPECT_EQ(shown_[0].text.rfind("Error writing file " + held + ": ", 0), 0u) << shown_[0].text;
    EXPECT_TRUE(shown_[0].progressAlive);
    EXPECT_EQ(Listing(folder_), ProductNames(kPayloadItemCount)) << "the others are in place";
}

// The move Windows makes: it refuses a read-only target (Wine does not).
bool MoveAsWindowsDoes(const wchar_t* from, const wchar_t* to) {
    const DWORD attributes = ::GetFileAttributesW(to);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return ::MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}

// An older copy from a CD is read-only: replaced all the same, except a file
// that is in use, which keeps its bytes and its flag and is named.
TEST_F(InstallRun, ReadOnlyOlderFilesAreReplaced) {
    SetReplacingMoveForTesting(&MoveAsWindowsDoes);
    struct Restore {
        ~Restore() { SetReplacingMoveForTesting(nullptr); }
    } restore;
    ASSERT_TRUE(::CreateDirectoryW(Widen(In("kx")).c_str(), nullptr));
    for (const auto& item : payload_) {
        PutBytes(folder_ + item.name, "older");
        ::SetFileAttributesW(Widen(folder_ + item.name).c_str(),
                             FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    }
    const std::string held = folder_ + payload_[3].name;
    for (bool holding : {true, false}) {
        SCOPED_TRACE(holding ? "one file in use" : "nothing in use");
        shown_.clear();
        win::UniqueFile lock(holding ? ::CreateFileW(Widen(held).c_str(), GENERIC_READ, 0, nullptr,
                                                     OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE);
        EXPECT_EQ(Run(), !holding);
        lock.Reset();
        const DWORD attributes = ::GetFileAttributesW(Widen(held).c_str());
        if (holding)  // the flag is back, and nothing else of it changed
            EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE),
                      DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
        else
            EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u);
        EXPECT_EQ(ReadBytes(held) == "older", holding);
        if (holding) {
            ASSERT_FALSE(shown_.empty());
            EXPECT_EQ(shown_[0].text.rfind("Error writing file " + held + ": ", 0), 0u);
        }
    }
    for (const auto& item : payload_) EXPECT_EQ(ReadBytes(folder_ + item.name), item.content);
}

TEST_F(InstallRun, FolderThatCannotBeMadeIsReportedOnceWithItsReason) {
    PutBytes(In("kx"), "a file where the folder should be");
    EXPECT_FALSE(Run());
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text,
              "Error writing file " + folder_ + ": " + win::SystemMessage(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadBytes(In("kx")), "a file where the folder should be");
}

// A run that was killed left its temporary files: the next run removes
// those of the product's names and nothing else.
TEST_F(InstallRun, LeftoverTemporaryFilesOfTheProductGo) {
    ASSERT_TRUE(::CreateDirectoryW(Widen(In("kx")).c_str(), nullptr));
    const std::string left = payload_[0].name + ".3.~pellion";
    PutBytes(folder_ + left, "half a file");
    PutBytes(folder_ + "notes.~pellion", "the user's");
    EXPECT_TRUE(Run());
    std::vector<std::string> expected = ProductNames(kPayloadItemCount);
    expected.push_back("notes.~pellion");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listing(folder_), expected);
}

TEST_F(InstallRun, MenuProgramOnlyInAParentThatIsNoDriveRoot) {
    EXPECT_TRUE(HasMenuProgram(In("kx") + "\\"));
    EXPECT_TRUE(HasMenuProgram(In("kx")));
    EXPECT_FALSE(HasMenuProgram(In("kx") + "\\deeper\\"));
    EXPECT_FALSE(HasMenuProgram("C:\\kx\\")) << "C:\\ is a drive root";
    EXPECT_FALSE(HasMenuProgram("C:\\"));
}

TEST(ValidateInstallFolder, DriveOfTheFirstThreeCharacters) {
    const struct {
        const char* folder;
        bool accepted;
    } rows[] = {
        {"C:\\any\\folder", true},
        {"c:\\", true},
        {"", false},
        {"kx", false},
        {"\\\\server\\share\\kx", false},
        {"Q:\\no such drive", false},
    };
    for (const auto& row : rows) {
        ProgressLog unused;
        DialogAnswers dialogs({1}, unused);
        EXPECT_EQ(ValidateInstallFolder(row.folder, DialogMessages()), row.accepted) << row.folder;
        if (row.accepted) {
            EXPECT_TRUE(dialogs.shown.empty()) << row.folder;
        } else {
            ASSERT_EQ(dialogs.shown.size(), 1u) << row.folder;
            EXPECT_EQ(dialogs.shown[0].text, "Install Directory is not on a valid device.");
        }
    }
}

// Wine enforces no path limit: the refusal is all there is to see here.
TEST(ValidateInstallFolder, LongestFolderWindowsTakes) {
    const std::string longest =
        "C:\\" + std::string(MaxFolderLength(LongestWrittenName()) - 3, 'k');
    const std::pair<std::string, bool> rows[] = {
        {longest, true}, {longest + "\\", true}, {longest + "k", false}};
    for (const auto& [folder, accepted] : rows) {
        ProgressLog unused;
        DialogAnswers dialogs({1}, unused);
        EXPECT_EQ(ValidateInstallFolder(folder, DialogMessages()), accepted) << folder;
        ASSERT_EQ(dialogs.shown.size(), accepted ? 0u : 1u) << folder;
        for (const auto& shown : dialogs.shown) EXPECT_EQ(shown.text, FolderTooLongMessage());
    }
    EXPECT_FALSE(DirectoryExists(longest)) << "nothing is created";
}

}  // namespace
}  // namespace pellion

namespace pellion {
namespace {

// The closing step of a 32-bit system, called directly so that it runs on
// every kind of system: Yes makes the shortcut, No and the sibling product
// make none.
TEST_F(InstallRun, DesktopShortcutOfferedOn32BitSystems) {
    const std::string desktop = In("desk") + "\\";
    ASSERT_TRUE(::CreateDirectoryW(Widen(In("desk")).c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(Widen(In("kx")).c_str(), nullptr));
    {
        DialogAnswers dialogs({IDYES}, log_);
        EXPECT_EQ(OfferDesktopShortcut(folder_, desktop, DialogMessages()), AfterYesText());
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, ShortcutQuestionText());
        LinkFields f = LoadLink(desktop + "pnx.lnk");
        EXPECT_EQ(f.path, folder_ + "pnx.exe");
        EXPECT_EQ(f.arguments, "");
        EXPECT_EQ(f.workingFolder, FolderPart(folder_ + "pnx.exe"));
        EXPECT_EQ(f.iconPath, folder_ + "v.ico");
        EXPECT_EQ(f.iconIndex, 0);
        EXPECT_EQ(f.description, "Pellion");
        EXPECT_EQ(f.hotkey, 0);
    }
    ASSERT_TRUE(::DeleteFileW(Widen(desktop + "pnx.lnk").c_str()));
    {
        DialogAnswers dialogs({IDNO}, log_);
        EXPECT_EQ(OfferDesktopShortcut(folder_, desktop, DialogMessages()), AfterNoText());
        EXPECT_EQ(dialogs.shown.size(), 1u);
        EXPECT_FALSE(FileExists(desktop + "pnx.lnk"));
    }
    PutBytes(folder_ + "vesk.exe", "MZ");
    {
        DialogAnswers dialogs({IDYES}, log_);
        EXPECT_EQ(OfferDesktopShortcut(folder_, desktop, DialogMessages()), SiblingProductText());
        EXPECT_TRUE(dialogs.shown.empty()) << "no question beside the sibling product";
        EXPECT_FALSE(FileExists(desktop + "pnx.lnk"));
    }
}

}  // namespace
}  // namespace pellion
