// Special folders, shortcuts saved and read back through the shell link
// object, the 64-bit test and centring, against the real shell and COM.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "base/errors.h"
#include "base/text.h"
#include "base/win/com.h"
#include "base/win/win_error.h"
#include "install/ucargo.h"
#include "tests/win32/ucargo_test_util.h"

namespace pellion {
namespace {

using namespace testing_util;

class UcargoShell : public ScratchFolderTest {};

// ---- SpecialFolderPath ------------------------------------------------------

TEST(SpecialFolderPath, FileSystemFolders) {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(AsciiLowerCase(SpecialFolderPath(kCsidlWindows)), AsciiLowerCase(Narrow(windows)));

    for (int csidl : {kCsidlDesktop, kCsidlWindows, kCsidlProgramFiles}) {
        std::string path = SpecialFolderPath(csidl);
        EXPECT_TRUE(IsFolder(path)) << "CSIDL " << csidl << ": " << path;
        EXPECT_EQ(NormalizeFolder(path), path + "\\") << "CSIDL " << csidl << ": no backslash";
    }
    // A 32-bit program sees the 32-bit Program Files folder on 64-bit Windows
    // (a 64-bit build of the tests sees the 64-bit one).
    const char* arch = std::getenv("PELLION_EXPECT_ARCH");
    std::string programFiles = AsciiLowerCase(SpecialFolderPath(kCsidlProgramFiles));
    bool x86 = programFiles.size() > 6 && programFiles.substr(programFiles.size() - 6) == " (x86)";
    if (arch) {
        EXPECT_EQ(x86, std::string(arch) == "win64" && sizeof(void*) == 4) << programFiles;
    }
}

TEST(SpecialFolderPath, EmptyWithoutAFileSystemPath) {
    struct Case {
        int csidl;
        const char* why;
    } cases[] = {
        {CSIDL_DRIVES, "My Computer is virtual"},
        {CSIDL_CONTROLS, "Control Panel is virtual"},
        {CSIDL_PRINTERS, "virtual; Wine converts it to \"::{CLSID}\" text"},
        {0x7F, "no such CSIDL"},
    };
    for (const auto& c : cases) EXPECT_EQ(SpecialFolderPath(c.csidl), "") << c.why;
}

// ---- CreateShortcut ---------------------------------------------------------

struct LinkFields {
    std::string path, arguments, workingFolder, iconPath, description;
    int iconIndex = -99;
    WORD hotkey = 0xDEAD;
    DWORD showCmd = 0xDEADBEEF;
};

// Reads a saved shortcut back through a second link object. The show
// command comes from the file bytes: after Load, Wine's GetShowCmd always
// answers 1.
LinkFields LoadLink(const std::string& linkPath) {
    LinkFields f;
    win::ComPtr<IShellLinkW> link;
    win::ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.PutVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) ||
        FAILED(file->Load(Widen(linkPath).c_str(), STGM_READ))) {
        ADD_FAILURE() << "cannot load " << linkPath;
        return f;
    }
    wchar_t buffer[1024];
    auto text = [&](auto get) {
        wmemset(buffer, L'?', 1024);
        buffer[1023] = 0;
        get();
        return Narrow(buffer);
    };
    f.path = text([&] { link->GetPath(buffer, 1024, nullptr, SLGP_RAWPATH); });
    f.arguments = text([&] { link->GetArguments(buffer, 1024); });
    f.workingFolder = text([&] { link->GetWorkingDirectory(buffer, 1024); });
    f.iconPath = text([&] { link->GetIconLocation(buffer, 1024, &f.iconIndex); });
    f.description = text([&] { link->GetDescription(buffer, 1024); });
    link->GetHotkey(&f.hotkey);
    std::string bytes = ReadBytes(linkPath);
    if (bytes.size() >= 0x40) std::memcpy(&f.showCmd, bytes.data() + 0x3C, 4);
    return f;
}

TEST_F(UcargoShell, ShortcutRoundTripsFieldByField) {
    ASSERT_TRUE(::CreateDirectoryW(Widen(In("My Prog")).c_str(), nullptr));
    PutBytes(In("My Prog\\lpf32.exe"), "MZ");
    PutBytes(In("dosbox.exe"), "MZ");
    struct Case {
        std::string link, target, arguments, description, icon;
        int iconIndex;
        uint16_t hotkey;
        const char* why;
    } cases[] = {
        {In("Print F.lnk"), In("My Prog\\lpf32.exe"), "f", "Print File f (CTRL+ALT+P)",
         In("My Prog\\v.ico"), 0, 0x0650, "print shortcut: Ctrl+Alt+P, folder with a blank"},
        {In("V DOSbox.lnk"), In("dosbox.exe"), "-noconsole -conf " + In("My Prog\\dosbox.conf"),
         "Pellion", In("My Prog\\v.ico"), 0, 0, "DOSBox shortcut: no hotkey, unquoted blanks"},
        {In("pnx.lnk"), In("My Prog\\lpf32.exe"), "", "", In("v.ico"), 3, 0,
         "empty arguments and description, icon index 3"},
        {In("texts.lnk"), In("dosbox.exe"), "\xE2\x82\xAC", "\xC5\x81ukasz", In("v.ico"), 0, 0,
         "arguments and description outside the ANSI code page"},
    };
    for (const auto& c : cases) {
        CreateShortcut(c.link, c.target, c.arguments, c.description, c.icon, c.iconIndex, c.hotkey);
        LinkFields f = LoadLink(c.link);
        EXPECT_EQ(f.path, c.target) << c.why;
        EXPECT_EQ(f.arguments, c.arguments) << c.why;
        EXPECT_EQ(f.workingFolder, FolderPart(c.target)) << c.why << ": the target's folder";
        EXPECT_EQ(f.iconPath, c.icon) << c.why;
        EXPECT_EQ(f.iconIndex, c.iconIndex) << c.why;
        EXPECT_EQ(f.description, c.description) << c.why;
        EXPECT_EQ(f.hotkey, c.hotkey) << c.why;
        EXPECT_EQ(f.showCmd, DWORD(SW_SHOWNORMAL)) << c.why;
    }
}

TEST_F(UcargoShell, ShortcutWithoutComRaisesWithTheClassId) {
    // A thread that never initialised COM (and no multithreaded apartment in
    // the process) cannot create the link object.
    std::string link = In("nocom.lnk"), message;
    unsigned long code = 0;
    bool raised = false;
    std::thread worker([&] {
        try {
            CreateShortcut(link, In("t.exe"), "", "", "", 0, 0);
        } catch (const EOSError& e) {
            raised = true;
            message = e.what();
            code = e.Code();
        }
    });
    worker.join();
    ASSERT_TRUE(raised);
    EXPECT_EQ(code, static_cast<unsigned long>(CO_E_NOTINITIALIZED));
    EXPECT_EQ(message, win::SystemMessage(unsigned(CO_E_NOTINITIALIZED)) +
                           ", ClassID: {00021401-0000-0000-C000-000000000046}");
    EXPECT_FALSE(Exists(link));
}

// ---- Is64BitWindows ---------------------------------------------------------

TEST(Is64BitWindows, MatchesThePrefix) {
    const char* arch = std::getenv("PELLION_EXPECT_ARCH");
    if (!arch) GTEST_SKIP() << "PELLION_EXPECT_ARCH not set";
    ::SetLastError(0xDEADBEEF);
    EXPECT_EQ(Is64BitWindows(), std::string(arch) == "win64");
}

// ---- CenterInParent ---------------------------------------------------------

RECT RectInParent(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(CenterInParent, UsesTheParentsOuterWidth) {
    // A framed parent: its client area is narrower than its outer width.
    win::UniqueWindow parent(::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                               150, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(parent);
    RECT outer{}, client{};
    ::GetWindowRect(parent.Get(), &outer);
    ::GetClientRect(parent.Get(), &client);
    ASSERT_EQ(outer.right - outer.left, 200);
    ASSERT_LT(client.right, 200) << "the frame must take width for this test to mean anything";
    struct Case {
        int width, left;
        const char* why;
    } cases[] = {
        {101, 49, "odd difference truncates"},
        {100, 50, "even difference"},
        {200, 0, "as wide as the parent"},
        {301, -50, "wider than the parent: toward zero"},
    };
    for (const auto& c : cases) {
        win::UniqueWindow child(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 7, 33, c.width, 20,
                                                  parent.Get(), nullptr, nullptr, nullptr));
        ASSERT_TRUE(child);
        CenterInParent(child.Get());
        RECT r = RectInParent(child.Get());
        EXPECT_EQ(r.left, c.left) << c.why;
        EXPECT_EQ(r.top, 33) << c.why << ": vertical position unchanged";
        EXPECT_EQ(r.right - r.left, c.width) << c.why << ": size unchanged";
    }
}

}  // namespace
}  // namespace pellion
