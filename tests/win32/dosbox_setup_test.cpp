// The DOSBox launch set-up against the real file system, shell and COM: the
// written dosbox.conf, the recycled *.conf files, both shortcuts read back
// through the shell, the sibling-product skip, files that cannot be written
// and COM left balanced when the link object fails.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "base/win/code_page.h"
#include "base/win/com.h"
#include "base/win/unique_handle.h"
#include "install/dosbox_conf.h"
#include "install/dosbox_path.h"
#include "install/dosbox_setup.h"
#include "payload/payload_reader.h"
#include "tests/win32/ucargo_test_util.h"

namespace pellion {
namespace {

using namespace testing_util;

// Under Wine the recycle bin is the freedesktop trash of the Unix home
// (which the harness creates); "" elsewhere.
std::string TrashFolder() {
    wchar_t home[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH)) return "";
    std::string trash = Narrow(home);
    if (trash.rfind("\\??\\", 0) == 0) trash.erase(0, 4);
    return trash + "\\.local\\share\\Trash\\files\\";
}

bool TrashHolds(const std::string& content) {
    WIN32_FIND_DATAW found;
    std::string trash = TrashFolder();
    win::UniqueFind find(::FindFirstFileW(Widen(trash + "*").c_str(), &found));
    if (!find) return false;
    do {
        if (ReadBytes(trash + Narrow(found.cFileName)) == content) return true;
    } while (::FindNextFileW(find.Get(), &found));
    return false;
}

// Every message recorded instead of shown; no question is ever asked here.
class MessageRecorder : public InstallMessages {
  public:
    explicit MessageRecorder(std::vector<std::string>& texts) : texts_(texts) {}
    void Tell(const std::string& text) override { texts_.push_back(text); }
    void TellTitled(const std::string&, const std::string& text) override {
        texts_.push_back(text);
    }
    bool AskYesNo(const std::string& question) override {
        ADD_FAILURE() << "asked: " << question;
        return false;
    }

  private:
    std::vector<std::string>& texts_;
};

// An install folder with a blank and the product's programs, a desktop of
// its own, DosBoxPath as the gate would set it, and every closing message
// recorded instead of shown.
class DosBoxSetup : public ScratchFolderTest {
  protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        install_ = In("My Games\\kx\\");
        desktop_ = In("Desktop\\");
        for (const std::string& dir : {In("My Games"), install_, desktop_, In("dosbox")})
            ASSERT_TRUE(::CreateDirectoryW(Widen(dir).c_str(), nullptr)) << dir;
        for (const char* name : {"veskpnx.exe", "lpf32.exe", "v.ico"})
            PutBytes(install_ + name, "MZ");
        PutBytes(In("dosbox\\dosbox.exe"), "MZ");
        savedDosBoxPath_ = DosBoxPath;
        DosBoxPath = AsciiLowerCase(In("dosbox\\dosbox.exe"));
    }
    void TearDown() override {
        DosBoxPath = savedDosBoxPath_;
        ScratchFolderTest::TearDown();
    }
    std::string DosBoxLink() const { return desktop_ + "V DOSbox.lnk"; }
    std::string PrintLink() const { return desktop_ + "Print F.lnk"; }

    std::string install_, desktop_, savedDosBoxPath_;
    std::vector<std::string> messages_;
    MessageRecorder recorder_{messages_};
};

TEST_F(DosBoxSetup, WritesConfRecyclesOldConfsAndMakesBothShortcuts) {
    if (TrashFolder().empty()) GTEST_SKIP() << "not under Wine: no trash folder to look into";
    std::string stamp =
        std::to_string(::GetTickCount()) + "-" + std::to_string(::GetCurrentProcessId());
    PutBytes(install_ + "old.conf", "old conf " + stamp);
    PutBytes(install_ + "dosbox.conf", "previous dosbox.conf " + stamp);
    PutBytes(install_ + "keep.txt", "stays");
    // Shortcuts of the same names are replaced, not kept.
    PutBytes(DosBoxLink(), "not a shortcut");
    PutBytes(PrintLink(), "not a shortcut");

    EXPECT_TRUE(CreateDosBoxShortcuts(install_, desktop_, recorder_));

    EXPECT_EQ(ReadBytes(install_ + "dosbox.conf"),
              ReadRawResource("rs_Conf") + "mount c \"" + In("My Games\\kx") +
                  "\"\r\nc:\r\ndel f\r\nveskpnx.exe /ns\r\nexit\r\n");
    EXPECT_FALSE(Exists(install_ + "old.conf"));
    EXPECT_TRUE(TrashHolds("old conf " + stamp));
    EXPECT_TRUE(TrashHolds("previous dosbox.conf " + stamp));
    EXPECT_EQ(ReadBytes(install_ + "keep.txt"), "stays");
    for (const char* name : {"veskpnx.exe", "lpf32.exe", "v.ico"})
        EXPECT_EQ(ReadBytes(install_ + name), "MZ") << name;

    const struct {
        std::string link, target, arguments, description;
        WORD hotkey;
    } links[] = {
        {DosBoxLink(), DosBoxPath, "-noconsole -conf \"" + install_ + "dosbox.conf\"", "Pellion",
         0},
        {PrintLink(), install_ + "lpf32.exe", "f", "Print File f (CTRL+ALT+P)", 0x0650},
    };
    for (const auto& l : links) {
        LinkFields f = LoadLink(l.link);
        EXPECT_EQ(f.path, l.target) << l.link;
        EXPECT_EQ(f.arguments, l.arguments) << l.link;
        EXPECT_EQ(f.workingFolder, FolderPart(l.target)) << l.link;
        EXPECT_EQ(f.description, l.description) << l.link;
        EXPECT_EQ(f.iconPath, install_ + "v.ico") << l.link;
        EXPECT_EQ(f.iconIndex, 0) << l.link;
        EXPECT_EQ(f.showCmd, DWORD(SW_SHOWNORMAL)) << l.link;
        EXPECT_EQ(f.hotkey, l.hotkey) << l.link;
    }
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].rfind("Pellion has been installed and shortcuts created", 0), 0u)
        << messages_[0];
}

TEST_F(DosBoxSetup, SiblingProductPresentTouchesNothing) {
    PutBytes(install_ + "vesk.exe", "MZ");
    PutBytes(install_ + "old.conf", "old");
    PutBytes(DosBoxLink(), "old link");
    PutBytes(PrintLink(), "old link");
    EXPECT_TRUE(CreateDosBoxShortcuts(install_, desktop_, recorder_));
    EXPECT_FALSE(Exists(install_ + "dosbox.conf"));
    EXPECT_EQ(ReadBytes(install_ + "old.conf"), "old");
    EXPECT_EQ(ReadBytes(DosBoxLink()), "old link");
    EXPECT_EQ(ReadBytes(PrintLink()), "old link");
    EXPECT_TRUE(messages_.empty());
}

// A file held open without sharing (read-only too) can be neither recycled,
// deleted nor rewritten: the message names exactly that file.
TEST_F(DosBoxSetup, FileThatCannotBeWrittenIsNamedAsMissing) {
    const std::string rows[] = {install_ + "dosbox.conf", DosBoxLink(), PrintLink()};
    for (const std::string& locked : rows) {
        messages_.clear();
        PutBytes(locked, "held");
        ::SetFileAttributesW(Widen(locked).c_str(), FILE_ATTRIBUTE_READONLY);
        {
            win::UniqueFile hold(::CreateFileW(Widen(locked).c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(hold) << locked;
            EXPECT_FALSE(CreateDosBoxShortcuts(install_, desktop_, recorder_)) << locked;
        }
        ::SetFileAttributesW(Widen(locked).c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_EQ(messages_.size(), 1u) << locked;
        const std::string& text = messages_[0];
        EXPECT_EQ(text.find("shortcuts created"), std::string::npos) << text;
        for (const std::string& path : rows) {
            EXPECT_EQ(text.find("    " + path + "\r\n") != std::string::npos, path == locked)
                << "locked " << locked << ", looking for " << path << " in:\n"
                << text;
        }
        ::DeleteFileW(Widen(locked).c_str());
    }
}

// Without a desktop folder no shortcut is made anywhere (not in the current
// folder either); the configuration is, and the message says so.
TEST_F(DosBoxSetup, NoDesktopFolderMeansNoShortcuts) {
    ASSERT_TRUE(::SetCurrentDirectoryW(Widen(In("")).c_str()));
    EXPECT_FALSE(CreateDosBoxShortcuts(install_, "", recorder_));
    EXPECT_TRUE(Exists(install_ + "dosbox.conf"));
    for (const std::string& folder : {In(""), install_, desktop_}) {
        EXPECT_FALSE(Exists(folder + "V DOSbox.lnk")) << folder;
        EXPECT_FALSE(Exists(folder + "Print F.lnk")) << folder;
    }
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].rfind("Pellion has been installed, but no desktop folder", 0), 0u)
        << messages_[0];
    EXPECT_NE(messages_[0].find("-conf \"" + install_ + "dosbox.conf\""), std::string::npos)
        << messages_[0];
}

// DOSBox 0.74 opens folders through the ANSI code page (1252 here): a letter
// of that code page goes into dosbox.conf as its one byte, a folder with a
// letter outside it by its short form, which names the same folder.
TEST_F(DosBoxSetup, NonAsciiFoldersInTheFormDosBoxOpens) {
    const std::string e = "\xc3\xa9", delta = "\xce\xb4\xce\xad\xce\xbb\xcf\x84\xce\xb1";
    const std::string accented = In(e + "ditions") + "\\";  // "éditions"
    const std::string greek = In(delta) + "\\";             // "δέλτα"
    for (const std::string& folder : {accented, greek}) {
        ASSERT_TRUE(::CreateDirectoryW(Widen(folder).c_str(), nullptr)) << folder;
        PutBytes(folder + "veskpnx.exe", "MZ");
    }
    ASSERT_EQ(::GetACP(), 1252u);

    EXPECT_TRUE(CreateDosBoxShortcuts(accented, desktop_, recorder_));
    const std::string conf = ReadBytes(accented + "dosbox.conf");
    const std::string ansi = In(std::string("\xe9") + "ditions");
    EXPECT_NE(conf.find("mount c " + ansi + "\r\n"), std::string::npos) << conf;
    EXPECT_EQ(LoadLink(DosBoxLink()).arguments,
              "-noconsole -conf " + QuoteIfBlank(accented + "dosbox.conf"));

    EXPECT_TRUE(CreateDosBoxShortcuts(greek, desktop_, recorder_));
    const DosBoxFolder form = FolderForDosBox(greek);
    ASSERT_TRUE(form.usable);
    EXPECT_EQ(form.conf, form.argument) << "the short form is plain ASCII here";
    for (unsigned char ch : form.conf) EXPECT_LT(ch, 0x80) << form.conf;
    wchar_t longPath[MAX_PATH] = {};
    ASSERT_GT(::GetLongPathNameW(Widen(form.argument).c_str(), longPath, MAX_PATH), 0u);
    EXPECT_EQ(Narrow(longPath), greek);
    EXPECT_NE(ReadBytes(greek + "dosbox.conf")
                  .find("mount c " + StripTrailingBackslashes(form.conf) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(LoadLink(DosBoxLink()).arguments,
              "-noconsole -conf " + QuoteIfBlank(form.argument + "dosbox.conf"));
    EXPECT_EQ(FolderForDosBox(install_).conf, install_) << "ASCII folders stay as they are";
}

// A last letter DOSBox misreads: the short form (ASCII under Wine); inside
// the name it stays. Windows' lead bytes are the portable table's.
TEST_F(DosBoxSetup, DoubleByteCodePagesAvoidALastLetterDosBoxMisreads) {
    for (unsigned cp : {932u, 936u, 949u, 950u})
        EXPECT_TRUE(win::LeadBytesOf(cp) == AnsiCodePage::ForNumber(cp)) << cp;
    const struct {
        unsigned codePage;
        const char* name;
        const char* ansi;  // the own name in the code page; null: short form
    } rows[] = {
        {932, "\xE8\xA1\xA8", nullptr},       // 表, 95 5C
        {932, "\xE8\xA1\xA8x", "\x95\x5Cx"},  // 表x
    };
    for (const auto& row : rows) {
        const std::string folder = In(row.name) + "\\";
        ASSERT_TRUE(::CreateDirectoryW(Widen(folder).c_str(), nullptr)) << folder;
        const DosBoxFolder form = FolderForDosBox(folder, row.codePage);
        ASSERT_TRUE(form.usable) << folder;
        if (row.ansi) {
            EXPECT_EQ(form.conf, In(row.ansi) + "\\");
            EXPECT_EQ(form.argument, folder);
            continue;
        }
        for (unsigned char ch : form.conf) EXPECT_LT(ch, 0x80) << form.conf;
        wchar_t longPath[MAX_PATH] = {};
        ASSERT_GT(::GetLongPathNameW(Widen(form.argument).c_str(), longPath, MAX_PATH), 0u);
        EXPECT_EQ(Narrow(longPath), folder);
    }
}

// A class object that refuses to make anything, standing in for a shell
// link object that cannot be created.
class RefusingFactory : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** out) override {
        *out = nullptr;
        return E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

TEST_F(DosBoxSetup, LinkObjectFailureRaisesAndLeavesComBalanced) {
    bool raised = false;
    HRESULT afterwards = E_FAIL;
    std::thread worker([&] {
        RefusingFactory factory;
        DWORD cookie = 0;
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_EQ(::CoRegisterClassObject(CLSID_ShellLink, &factory, CLSCTX_INPROC_SERVER,
                                          REGCLS_MULTIPLEUSE, &cookie),
                  S_OK);
        try {
            CreateDosBoxShortcuts(install_, desktop_, recorder_);
        } catch (const EOSError&) {
            raised = true;
        }
        ::CoRevokeClassObject(cookie);
        ::CoUninitialize();
        // Only a fully released apartment answers S_OK to a new initialise.
        afterwards = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(afterwards)) ::CoUninitialize();
    });
    worker.join();
    EXPECT_TRUE(raised);
    EXPECT_EQ(afterwards, S_OK) << "CoInitialize left without its CoUninitialize";
    EXPECT_TRUE(Exists(install_ + "dosbox.conf")) << "written before the shortcuts";
    EXPECT_FALSE(Exists(PrintLink())) << "the steps after the error are skipped";
    EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace pellion
