// The main window as built: layout read back from its windows, the logo's
// pixels, the default folder through the Windows-folder seam, the version a
// copy records, the lower-case edit, the keyboard commands and the buttons
// as assistive technology sees them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "../controls/accessible_test_util.h"
#include "../child_windows.h"
#include "../controls/styled_test_util.h"
#include "../ucargo_test_util.h"
#include "ui/tfmMain.h"

namespace pellion {
namespace {

using testing_util::Canvas;
using testing_util::Child;
using testing_util::Find;
using testing_util::Rgb;

SIZE Extent(const std::string& text, int height, bool bold) {
    win::UniqueFont font(::CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                                       DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    win::MemoryDC dc(nullptr);
    win::SelectScope keep(dc.Get(), font.Get());
    SIZE s{};
    std::wstring w = win::Widen(text);
    ::GetTextExtentPoint32W(dc.Get(), w.c_str(), int(w.size()), &s);
    return s;
}

std::string FixedWindowsFolder() {
    return "C:\\WINDOWS";
}
std::string NoWindowsFolder() {
    return "";
}

TEST(MainWindow, LayoutTextsAndLabelFonts) {
    tMainForm form(&FixedWindowsFolder);
    form.PrepareSetupPage();
    HWND top = form.Handle();
    RECT client;
    ::GetClientRect(top, &client);
    EXPECT_EQ(client.right, 685);
    EXPECT_EQ(client.bottom, 400);
    LONG style = ::GetWindowLongW(top, GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) << std::hex << style;
    EXPECT_TRUE((style & WS_MINIMIZEBOX) && (style & WS_SYSMENU)) << std::hex << style;
    EXPECT_EQ(win::GetWindowTextUtf8(top), "Tovarin Pellion Installer");

    struct Row {
        const char* text;
        int left, top;  // left -1: centred in a parent `parent` wide
        int parent;
        int height;
        bool bold;
    } labels[] = {
        {"INSTALLING", 42, 165, 185, -16, true},
        {"Tovarin\xC2\xAE", 40, 205, 185, -16, true},  // the banner's font
        {"Pellion", -1, 253, 185, -16, true},
        {"3.14", -1, 293, 185, -16, true},
        {"This will install Tovarin Pellion", -1, 13, 492, -15, true},
        {"Version 3.14 05/11/04", -1, 34, 492, -15, true},
        {"Click SETUP to install this program, CANCEL to close", 51, 252, 492, -15, true},
        {"without installing.", 51, 272, 492, -15, true},
        {"Install Folder:", 63, 13, 492, -15, false},
    };
    for (const Row& r : labels) {
        SCOPED_TRACE(r.text);
        Child c = Find(top, L"TStyledLabel", r.text);
        ASSERT_TRUE(c.hwnd);
        // Auto-sized: the label is as large as its text in the expected font.
        SIZE s = Extent(r.text, r.height, r.bold);
        EXPECT_EQ(c.rect.right - c.rect.left, s.cx);
        EXPECT_EQ(c.rect.bottom - c.rect.top, s.cy);
        EXPECT_EQ(c.rect.left, r.left >= 0 ? r.left : (r.parent - s.cx) / 2);
        EXPECT_EQ(c.rect.top, r.top);
    }

    struct Box {
        const wchar_t* cls;
        const char* text;
        RECT rect;
    } boxes[] = {
        {L"TGradientPanel", "", {0, 0, 185, 400}},
        {L"TImage", "", {38, 19, 143, 124}},
        {L"TPageControl", "", {185, 0, 685, 400}},
        {L"TGradientButton", "Setup", {102, 332, 175, 354}},
        {L"TGradientButton", "Browse", {354, 37, 427, 59}},
        {L"TGradientButton", "Install", {209, 341, 282, 363}},
        {L"Edit", "c:\\kx", {64, 35, 351, 61}},
    };
    for (const Box& b : boxes) {
        SCOPED_TRACE(b.text);
        Child c = Find(top, b.cls, b.text);
        ASSERT_TRUE(c.hwnd);
        EXPECT_EQ(c.rect.left, b.rect.left);
        EXPECT_EQ(c.rect.top, b.rect.top);
        EXPECT_EQ(c.rect.right, b.rect.right);
        EXPECT_EQ(c.rect.bottom, b.rect.bottom);
    }
    // Both Cancel buttons, one per page, each 73 x 22.
    Child cancel = Find(top, L"TGradientButton", "Cancel");
    EXPECT_EQ(cancel.rect.left, 321);
    EXPECT_EQ(cancel.rect.top, 332);

    LOGFONTW lf{};
    Child edit = Find(top, L"Edit", "c:\\kx");
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(edit.hwnd, WM_GETFONT, 0, 0));
    ASSERT_TRUE(::GetObjectW(font, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(lf.lfHeight, -15);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_TRUE(::GetWindowLongW(edit.hwnd, GWL_STYLE) & ES_LOWERCASE);
}

// Under the classic style a label fills its rectangle with its parent's
// colour (the button face on the pages, the banner's top colour there);
// under visual styles it leaves what lies behind it. Its text is in its
// font's colour either way.
TEST(MainWindow, LabelsInBothPresentations) {
    tMainForm form(&FixedWindowsFolder);
    struct Row {
        const char* text;
        Rgb fill, ink;
    } rows[] = {
        {"This will install Tovarin Pellion", testing_util::SysRgb(COLOR_BTNFACE), {255, 255, 0}},
        {"Install Folder:", testing_util::SysRgb(COLOR_BTNFACE), {192, 192, 192}},
        {"INSTALLING", {255, 77, 0}, {255, 255, 255}},
    };
    for (bool filled : {true, false}) {
        form.ForceLabelPresentation(filled);
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(r.text) + (filled ? " filled" : " transparent"));
            Child c = Find(form.Handle(), L"TStyledLabel", r.text);
            ASSERT_TRUE(c.hwnd);
            int w = c.rect.right - c.rect.left, h = c.rect.bottom - c.rect.top;
            Canvas canvas(w, h);
            ::SendMessageW(c.hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()),
                           PRF_CLIENT);
            Rgb corner = filled ? r.fill : testing_util::kJunk;
            EXPECT_EQ(canvas.At(0, 0), corner);
            EXPECT_EQ(canvas.At(w - 1, h - 1), corner);
            int inked = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) inked += canvas.At(x, y) == r.ink;
            EXPECT_GT(inked, 10) << "no pixel in the text colour";
        }
    }
}

TEST(MainWindow, LogoPixels) {
    tMainForm form(&FixedWindowsFolder);
    Child image = Find(form.Handle(), L"TImage", "");
    ASSERT_TRUE(image.hwnd);
    Canvas canvas(105, 105);
    ::SendMessageW(image.hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    const Rgb red{255, 0, 0}, yellow{255, 255, 0}, white{255, 255, 255};
    // The inner half of the 10-pixel pen: a frame 5 pixels wide.
    for (int i : {0, 2, 4, 52, 100, 102, 104}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(canvas.At(i, 1), yellow);
        EXPECT_EQ(canvas.At(i, 103), yellow);
        EXPECT_EQ(canvas.At(1, i), yellow);
        EXPECT_EQ(canvas.At(103, i), yellow);
    }
    EXPECT_EQ(canvas.At(6, 6), red);
    EXPECT_EQ(canvas.At(98, 98), red);

    // The V: bold, cell height 59, in the face substituted for the shell's
    // dialog font, placed by ((W - tw + 1) div 2, (H - th) div 2).
    win::UniqueFont font(::CreateFontW(59, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                       win::Widen(ShellDialogFace()).c_str()));
    win::MemoryDC dc(nullptr);
    win::SelectScope keep(dc.Get(), font.Get());
    SIZE v{};
    ::GetTextExtentPoint32W(dc.Get(), L"V", 1, &v);
    int x0 = (105 - v.cx + 1) / 2, y0 = (105 - v.cy) / 2;
    int minX = 105, maxX = -1, minY = 105, maxY = -1;
    for (int y = 5; y < 100; ++y)
        for (int x = 5; x < 100; ++x) {
            Rgb p = canvas.At(x, y);
            if (p == red) continue;
            EXPECT_GT(p.b, 0) << "only white and red blends inside the frame, at " << x << "," << y;
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    ASSERT_GE(maxX, 0) << "no V drawn";
    EXPECT_GE(minX, x0);
    EXPECT_LT(maxX, x0 + v.cx);
    EXPECT_GE(minY, y0);
    EXPECT_LT(maxY, y0 + v.cy);
    EXPECT_NEAR((minX + maxX) / 2.0, 52, 3) << "the V is centred";
    int whites = 0;
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) whites += canvas.At(x, y) == white;
    EXPECT_GT(whites, 100);
}

class MainWindowFolders : public testing_util::ScratchFolderTest {};

TEST_F(MainWindowFolders, DefaultFolderFromTheWindowsFolder) {
    // Relative forms against the current folder when the shell gives none.
    ASSERT_TRUE(::SetCurrentDirectoryW(win::Widen(dir_).c_str()));
    EXPECT_EQ(tMainForm(&NoWindowsFolder).InstallDir(), "kx");
    ASSERT_TRUE(::CreateDirectoryW(win::Widen(In("tovarin")).c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(win::Widen(In("tovarin\\kx")).c_str(), nullptr));
    EXPECT_EQ(tMainForm(&NoWindowsFolder).InstallDir(), "tovarin\\kx");

    // From C:\WINDOWS: the root's tovarin\kx when it exists, lower-cased.
    if (testing_util::Exists("C:\\tovarin")) GTEST_SKIP() << "C:\\tovarin exists already";
    EXPECT_EQ(tMainForm(&FixedWindowsFolder).InstallDir(), "c:\\kx");
    ASSERT_TRUE(::CreateDirectoryW(L"C:\\Tovarin", nullptr));
    ASSERT_TRUE(::CreateDirectoryW(L"C:\\Tovarin\\KX", nullptr));
    std::string withFolder = tMainForm(&FixedWindowsFolder).InstallDir();
    testing_util::RemoveTree("C:\\Tovarin");
    EXPECT_EQ(withFolder, "c:\\tovarin\\kx");
}

TEST_F(MainWindowFolders, InstalledVersion) {
    struct Row {
        const char* content;  // nullptr: no program file
        bool present;
        int version;
    } rows[] = {
        {"MZ..VESKPNX.EXE: Pellion Version 3.15\r\n$", true, 315},
        {"MZ..VESKPNX.EXE: Pellion Version 3.14\r\n$", true, 314},
        {"MZ..VESKPNX.EXE: Pellion Version 3.13\r\n$", true, 313},
        {"MZ..no version text here", true, 0},
        {nullptr, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.content ? r.content : "no file");
        ::DeleteFileW(win::Widen(In("veskpnx.exe")).c_str());
        if (r.content) testing_util::PutBytes(In("veskpnx.exe"), r.content);
        InstalledVersion v = ReadInstalledVersion(dir_);
        EXPECT_EQ(v.present, r.present);
        EXPECT_EQ(v.version, r.version);
        // The folder as the edit gives it: with a trailing backslash too.
        EXPECT_EQ(ReadInstalledVersion(dir_ + "\\").version, r.version);
    }
}

TEST(MainWindow, EditLowerCasesTypedAndBrowsedText) {
    tMainForm form(&FixedWindowsFolder);
    form.PrepareSetupPage();
    HWND edit = Find(form.Handle(), L"Edit", "c:\\kx").hwnd;
    ASSERT_TRUE(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"E:\\Apps\\KX")) ::SendMessageW(edit, WM_CHAR, c, 1);
    EXPECT_EQ(form.InstallDir(), "e:\\apps\\kx");
    form.TakeBrowsedFolder("D:\\Games");
    EXPECT_EQ(form.InstallDir(), "d:\\games");
}

// The welcome page shows before the set-up page exists; showing builds it,
// hidden, with the folder the window was created with.
TEST(MainWindow, SetupPageIsBuiltOnceTheWelcomePageShows) {
    tMainForm form(&FixedWindowsFolder, "D:\\Games\\KX");
    EXPECT_FALSE(Find(form.Handle(), L"TStyledLabel", "Install Folder:").hwnd);
    EXPECT_FALSE(Find(form.Handle(), L"TGradientButton", "Install").hwnd);
    EXPECT_EQ(form.InstallDir(), "d:\\games\\kx");  // as the edit will show it
    form.Show();
    Child edit = Find(form.Handle(), L"Edit", "d:\\games\\kx");
    ASSERT_TRUE(edit.hwnd);
    EXPECT_FALSE(::IsWindowVisible(edit.hwnd));
    EXPECT_TRUE(::IsWindowVisible(Find(form.Handle(), L"TGradientButton", "Setup").hwnd));
    EXPECT_EQ(form.ActivePage(), 1);
}

// The Setup button through the object a screen reader gets for it, and
// pressed through that object: the set-up page comes up as after a click.
TEST(MainWindow, SetupButtonForAssistiveTechnology) {
    using namespace testing_util;
    tMainForm form(&FixedWindowsFolder);
    form.Show();
    HWND setup = Find(form.Handle(), L"TGradientButton", "Setup").hwnd;
    HWND folderLabel = Find(form.Handle(), L"TStyledLabel", "Install Folder:").hwnd;
    ASSERT_TRUE(setup && folderLabel);
    win::ComPtr<IAccessible> acc = ClientObject(setup);
    ASSERT_TRUE(acc);
    EXPECT_EQ(AskNumber(acc.Get(), &IAccessible::get_accRole), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(AskText(acc.Get(), &IAccessible::get_accName), Said(S_OK, "Setup"));
    EXPECT_EQ(AskText(acc.Get(), &IAccessible::get_accDefaultAction), Said(S_OK, "Press"));
    EXPECT_EQ(AskText(acc.Get(), &IAccessible::get_accKeyboardShortcut), Said(S_FALSE, "<null>"));
    // Shown and enabled; not focusable, as it never takes the focus; the
    // default (Enter presses it); hot only if the pointer happens to lie
    // over it.
    EXPECT_EQ(AskNumber(acc.Get(), &IAccessible::get_accState) & ~STATE_SYSTEM_HOTTRACKED,
              STATE_SYSTEM_DEFAULT);

    // Posted, as a click: nothing happens until the form's messages run.
    EXPECT_EQ(acc->accDoDefaultAction(Self()), S_OK);
    EXPECT_EQ(form.ActivePage(), 1);
    Pump();
    EXPECT_EQ(form.ActivePage(), 2);
    EXPECT_TRUE(::IsWindowVisible(folderLabel));

    // Browse is pressed by Alt+B through the form.
    HWND browse = Find(form.Handle(), L"TGradientButton", "Browse").hwnd;
    EXPECT_EQ(AskText(ClientObject(browse).Get(), &IAccessible::get_accKeyboardShortcut),
              Said(S_OK, "Alt+B"));
}

}  // namespace
}  // namespace pellion
