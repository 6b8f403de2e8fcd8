// Folders and shortcuts whose names lie outside the system code page (1252
// here): a user profile such as C:\Users\Łukasz. Texts are UTF-8 inside the
// program and reach Windows through the wide functions, so nothing turns
// into "?" on the way.
#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>
#include <shlguid.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "base/win/com.h"
#include "base/win/wide.h"
#include "install/ucargo.h"
#include "tests/win32/ucargo_test_util.h"

namespace pellion {
namespace {

using testing_util::Exists;
using testing_util::ReadBytes;
using win::Widen;

class OutsideCodePage : public testing_util::ScratchFolderTest {};

TEST_F(OutsideCodePage, CodePageCannotHoldTheseNames) {
    // The premise of the test: the ANSI form of the name would be lossy.
    BOOL lossy = FALSE;
    char ansi[64];
    ::WideCharToMultiByte(CP_ACP, 0, L"\u0141ukasz \u0394\u0436", -1, ansi, sizeof ansi, nullptr,
                          &lossy);
    EXPECT_TRUE(lossy) << "code page " << ::GetACP();
}

TEST_F(OutsideCodePage, FolderFileAndShortcutKeepTheirNames) {
    std::string desktop = In("\xC5\x81ukasz \xCE\x94\xD0\xB6\\Desktop\\");  // Łukasz Δж
    std::string folder = desktop;
    ASSERT_TRUE(EnsureFolder(folder));
    EXPECT_EQ(folder, desktop);
    EXPECT_TRUE(Exists(desktop));

    std::string target = desktop + "p\xC3\xB1x.exe";  // pñx.exe
    EXPECT_TRUE(WriteWholeFile(target, "MZ"));
    EXPECT_EQ(ReadBytes(target), "MZ");

    std::string link = desktop + "\xC5\x81ink.lnk";
    CreateShortcut(link, target, "", "\xC5\x81ukasz", desktop + "v.ico", 0, 0);
    ASSERT_TRUE(Exists(link));

    win::ComPtr<IShellLinkW> shell;
    ASSERT_HRESULT_SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                                IID_IShellLinkW, shell.PutVoid()));
    win::ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.PutVoid()));
    ASSERT_HRESULT_SUCCEEDED(file->Load(Widen(link).c_str(), STGM_READ));
    // The target as the link's item-ID list holds it, which is what Windows
    // follows when the shortcut is opened. Wine differs: its GetPath after
    // Load answers from the link's ANSI path copy ("Lukasz ??"), so the test
    // reads the item-ID list instead of GetPath.
    ITEMIDLIST* ids = nullptr;
    ASSERT_HRESULT_SUCCEEDED(shell->GetIDList(&ids));
    wchar_t path[MAX_PATH] = L"junk";
    EXPECT_TRUE(::SHGetPathFromIDListW(ids, path));
    ::CoTaskMemFree(ids);
    EXPECT_EQ(win::Narrow(path), target);
    wchar_t dir[MAX_PATH] = L"junk";
    shell->GetWorkingDirectory(dir, MAX_PATH);
    EXPECT_EQ(win::Narrow(dir), desktop);
}

}  // namespace
}  // namespace pellion
