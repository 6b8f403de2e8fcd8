// The own dialog window: painting, colours, layout, default-button rules,
// help, clipboard, live texts, the check box, and that a hundred dialogs in
// either presentation leave no window, font or brush behind.
#include "ui/dialogs/task_message_form.h"

#include <gtest/gtest.h>

#include "base/win/application.h"
#include "base/win/unique_handle.h"
#include "tests/win32/dialogs/dialogs_script.h"
#include "ui/dialogs/dialogs.h"

namespace pellion {
namespace {

using namespace test;

struct OwnDialog : TCustomTaskDialog {
    OwnDialog() {
        Presentation = DialogPresentation::OwnWindow;
        Title = "Title";
        Instruction = "Tom & Jerry";
        Icon = TaskDialogIcon::Warning;
        CommonButtons = cbOK | cbCancel;
    }
    int Run(const std::function<void(HWND)>& act) {
        DialogScript script(act);
        int result = Execute();
        EXPECT_TRUE(script.Acted());
        return result;
    }
};

COLORREF Pixel(HDC dc, int x, int y) {
    return ::GetPixel(dc, x, y);
}

TEST(OwnWindow, PaintsTheButtonBandAndColoursTheInstruction) {
    OwnDialog d;
    d.BandColor = RGB(10, 200, 30);  // distinct from any system colour
    Snapshot s;
    COLORREF text = 0, above = 0, line = 0, band = 0, bottom = 0;
    d.Run([&](HWND h) {
        s = Take(h);
        RECT client;
        ::GetClientRect(h, &client);
        win::WindowDC screen(h);
        win::MemoryDC mem(screen.Get());
        win::UniqueBitmap bitmap(
            ::CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
        win::SelectScope select(mem.Get(), bitmap.Get());
        ::SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.Get()), PRF_CLIENT);
        // The band starts half a vertical spacing above the buttons.
        int top = s.Buttons().front()->rect.top;
        int y = top - 1;
        while (y > 0 && Pixel(mem.Get(), 1, y) == d.BandColor) --y;
        line = Pixel(mem.Get(), 1, y);
        above = Pixel(mem.Get(), 1, y - 1);
        band = Pixel(mem.Get(), client.right - 2, y + 1);
        bottom = Pixel(mem.Get(), 1, client.bottom - 1);
        const Control* instruction = s.Static("Tom & Jerry");
        if (instruction) {
            ::SendMessageW(h, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(mem.Get()),
                           reinterpret_cast<LPARAM>(instruction->hwnd));
            text = ::GetTextColor(mem.Get());
        }
        PostKey(h, VK_RETURN);
    });
    EXPECT_EQ(line, RGB(223, 223, 223));
    EXPECT_EQ(above, ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(band, d.BandColor);
    EXPECT_EQ(bottom, d.BandColor);
    const Control* instruction = s.Static("Tom & Jerry");
    ASSERT_NE(instruction, nullptr);
    EXPECT_TRUE(instruction->style & SS_NOPREFIX);  // the ampersand shows as it is
    EXPECT_EQ(text, RGB(0, 83, 196));
}

TEST(OwnWindow, LaysOutInUnitsOfTheMessageFont) {
    OwnDialog d;
    Snapshot s;
    RECT client{};
    d.Run([&](HWND h) {
        s = Take(h);
        ::GetClientRect(h, &client);
        PostKey(h, VK_RETURN);
    });
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0));
    win::UniqueFont font(::CreateFontIndirectW(&ncm.lfMessageFont));
    win::WindowDC dc(nullptr);
    SIZE sample{};
    {
        win::SelectScope select(dc.Get(), font.Get());
        ::GetTextExtentPoint32W(dc.Get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
                                52, &sample);
    }
    LayoutUnits u = ComputeLayoutUnits(sample.cx, sample.cy);
    EXPECT_GE(client.right, 350);
    auto buttons = s.Buttons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons.back()->rect.right, client.right - (u.hSpacing + 4));
    EXPECT_EQ(buttons.back()->rect.left - buttons.front()->rect.right, u.buttonGap);
    for (const Control* b : buttons) {
        EXPECT_GE(b->rect.right - b->rect.left, 60);
        EXPECT_EQ(b->rect.bottom - b->rect.top, u.buttonHeight);
        EXPECT_EQ(b->rect.bottom + u.vMargin, client.bottom);
    }
    const Control* instruction = s.Static("Tom & Jerry");
    ASSERT_NE(instruction, nullptr);
    EXPECT_EQ(instruction->rect.left, u.hMargin + 32 + u.hSpacing);
    EXPECT_EQ(instruction->rect.top, u.vMargin);
}

TEST(OwnWindow, DefaultButtonRulesAtRunTime) {
    struct Row {
        const char* why;
        std::vector<std::string> custom;
        unsigned common;
        int defaultButton;
        std::vector<int> defaults;  // buttons drawn as default
        bool tabStops;
        int enter;  // what Enter answers; 0: nothing, then OK (1) is pressed
    } rows[] = {
        {"a custom default takes focus and Enter", {"One", "Two"}, cbOK, 101, {101}, true, 101},
        {"-1: no default, no tab stops, Enter does nothing", {}, cbOK | cbCancel, -1, {}, false, 0},
        {"2 without Cancel: No", {}, cbYes | cbNo | cbOK, 2, {7}, true, 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        OwnDialog d;
        d.CustomButtons = r.custom;
        d.CommonButtons = r.common;
        d.DefaultButton = r.defaultButton;
        Snapshot s;
        int result = d.Run([&](HWND h) {
            s = Take(h);
            PostKey(h, VK_RETURN);
            PostPress(h, 1);
        });
        EXPECT_EQ(s.DefaultIds(), r.defaults);
        for (const Control* b : s.Buttons()) EXPECT_EQ((b->style & WS_TABSTOP) != 0, r.tabStops);
        EXPECT_EQ(result, r.enter ? r.enter : 1);
    }
}

TEST(OwnWindow, FocusComesBackWithTheActivation) {
    OwnDialog d;
    HWND other = ::CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                   nullptr, nullptr, nullptr, nullptr);
    HWND lost = nullptr, back = nullptr, cancel = nullptr;
    d.Run([&](HWND h) {
        cancel = ::GetDlgItem(h, 2);
        ::SetFocus(cancel);
        ::SetActiveWindow(other);
        lost = ::GetFocus();
        ::SetActiveWindow(h);
        back = ::GetFocus();
        PostPress(h, 1);
    });
    ::DestroyWindow(other);
    EXPECT_NE(lost, cancel);
    EXPECT_EQ(back, cancel);
}

std::string ClipboardUtf8() {
    std::string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) text = win::Narrow(p);
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

// Real key input: Ctrl must be down as the key arrives.
TEST(OwnWindow, CtrlCCopiesTitleInstructionAndContent) {
    OwnDialog d;
    d.Content = "More";
    d.Run([](HWND h) {
        DWORD before = ::GetClipboardSequenceNumber();
        SendRealKey(h, 'C', true);
        PressWhen(h, 1, [before] { return ::GetClipboardSequenceNumber() != before; });
    });
    EXPECT_EQ(ClipboardUtf8(), "Title\r\nTom & Jerry\r\nMore");
}

TEST(OwnWindow, TextsChangedWhileShownAndTheCheckBox) {
    OwnDialog d;
    d.VerificationText = "Do not ask again";
    std::string shown, caption;
    int result = d.Run([&](HWND h) {
        d.SetText(TaskDialogElement::Instruction, "Changed");
        d.SetText(TaskDialogElement::Title, "");
        Snapshot s = Take(h);
        shown = s.Static("Changed") ? "Changed" : "";
        caption = s.title;
        for (const Control& c : s.controls)
            if (c.text == "Do not ask again") ::SendMessageW(c.hwnd, BM_CLICK, 0, 0);
        PostPress(h, 2);
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(shown, "Changed");
    EXPECT_EQ(caption, "win32_tests");
    EXPECT_TRUE(d.VerificationChecked);
    EXPECT_EQ(d.Form(), nullptr);
}

// A hundred dialogs leave the process's GDI and USER objects as they were.
// Wine's GetGuiResources answers 0 for both (Windows counts them), so every
// window, every font the dialog gave its controls and the band brush it
// colours its buttons with are checked to be gone after each dialog too.
bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The windows and GDI objects a shown dialog uses.
void Collect(HWND h, std::vector<HWND>& windows, std::vector<HGDIOBJ>& objects) {
    windows.push_back(h);
    win::WindowDC dc(h);
    for (const Control& c : Take(h).controls) {
        windows.push_back(c.hwnd);
        if (auto f = reinterpret_cast<HGDIOBJ>(::SendMessageW(c.hwnd, WM_GETFONT, 0, 0)))
            objects.push_back(f);
        if (c.cls == L"Button")
            objects.push_back(reinterpret_cast<HGDIOBJ>(::SendMessageW(
                h, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.Get()), LPARAM(c.hwnd))));
    }
}

void ShowAHundred(DialogPresentation p) {
    SetDialogPresentation(p);
    HANDLE self = ::GetCurrentProcess();
    DWORD gdi = ::GetGuiResources(self, GR_GDIOBJECTS);
    DWORD user = ::GetGuiResources(self, GR_USEROBJECTS);
    if (UnderWine()) {
        EXPECT_EQ(gdi, 0u) << "Wine now counts GDI objects: drop this difference";
        EXPECT_EQ(user, 0u);
    } else {
        EXPECT_GT(gdi, 0u);
        EXPECT_GT(user, 0u);
    }
    for (int i = 0; i < 100; ++i) {
        std::vector<HWND> windows;
        std::vector<HGDIOBJ> objects;
        DialogScript script([&](HWND h) {
            Collect(h, windows, objects);
            PostPress(h, 1);
        });
        ASSERT_EQ(MessageBoxDialog(nullptr, "Leak?", "Caption", 0x31), 1);
        ASSERT_TRUE(script.Acted());
        for (HWND w : windows) ASSERT_FALSE(::IsWindow(w)) << "dialog " << i;
        if (p != DialogPresentation::OwnWindow) continue;
        // Instruction and two button fonts, the band brush for each button.
        ASSERT_EQ(objects.size(), 5u);
        for (HGDIOBJ o : objects) ASSERT_EQ(::GetObjectType(o), 0u) << "dialog " << i;
    }
    SetDialogPresentation(DialogPresentation::Automatic);
    EXPECT_EQ(::GetGuiResources(self, GR_GDIOBJECTS), gdi);
    EXPECT_EQ(::GetGuiResources(self, GR_USEROBJECTS), user);
}

TEST(DialogResources, AHundredOwnWindows) {
    ShowAHundred(DialogPresentation::OwnWindow);
}
TEST(DialogResources, AHundredSystemDialogs) {
    ShowAHundred(DialogPresentation::SystemTaskDialog);
}

}  // namespace
}  // namespace pellion
