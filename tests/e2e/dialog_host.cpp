// Shows one message dialog on request so that end-to-end scenarios can drive
// both presentations; the exit code is the operation's result.
//
//   dialog_host own|system|auto [--owner] [--help-log FILE] OPERATION ...
//     messagebox FLAGS TEXT CAPTION
//     showmessage TEXT
//     showmessagetitled TITLE TEXT
//     showmessagefmt ARG              ("%s was not installed.", ARG)
//     messagedialog TYPE BUTTONS TEXT [HELPCONTEXT]
//   dialog_host probe-icon HWND
//
// --owner shows a main window ("dialog_host owner") first and makes it the
// dialogs' owner; after the dialog the program waits until that window is
// closed. --help-log appends each help request's context to FILE.
// probe-icon compares the icon shown in a dialog's icon control with the
// system's standard icons and answers 1 warning, 2 question, 3 error,
// 4 information, 6 shield, 0 no icon control, 99 an unknown or blank icon.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/unique_handle.h"
#include "base/win/wide.h"
#include "ui/dialogs/dialogs.h"

namespace {

using pellion::win::Narrow;
std::wstring g_helpLog;

void LogHelp(int context) {
    FILE* f = _wfopen(g_helpLog.c_str(), L"ab");
    if (!f) return;
    fprintf(f, "%d\n", context);
    fclose(f);
}

// ---- probe-icon ----------------------------------------------------------

struct Pixels {
    int w, h;
    std::vector<DWORD> bits;
};

// Draws into a 32-bit DIB: either a copy of the screen at `from`, or `icon`
// over a solid background.
Pixels Render(int w, int h, const RECT* from, HICON icon, COLORREF background) {
    Pixels p{w, h, std::vector<DWORD>(size_t(w) * h)};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    pellion::win::WindowDC screen(nullptr);
    pellion::win::MemoryDC mem(screen.Get());
    void* raw = nullptr;
    pellion::win::UniqueBitmap dib(
        CreateDIBSection(mem.Get(), &bi, DIB_RGB_COLORS, &raw, nullptr, 0));
    if (!dib) return p;
    {
        pellion::win::SelectScope select(mem.Get(), dib.Get());
        if (from) {
            BitBlt(mem.Get(), 0, 0, w, h, screen.Get(), from->left, from->top, SRCCOPY);
        } else {
            pellion::win::UniqueBrush brush(CreateSolidBrush(background));
            RECT all{0, 0, w, h};
            FillRect(mem.Get(), &all, brush.Get());
            DrawIconEx(mem.Get(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
        }
        GdiFlush();
        const DWORD* src = static_cast<const DWORD*>(raw);
        for (size_t i = 0; i < p.bits.size(); ++i) p.bits[i] = src[i] & 0xFFFFFF;
    }
    return p;
}

// The share of the icon's opaque pixels (the same on black and on white)
// that the screen shows unchanged; -1 when the icon has too few of them.
double Match(const Pixels& shot, HICON icon) {
    Pixels black = Render(shot.w, shot.h, nullptr, icon, RGB(0, 0, 0));
    Pixels white = Render(shot.w, shot.h, nullptr, icon, RGB(255, 255, 255));
    size_t opaque = 0, same = 0;
    for (size_t i = 0; i < shot.bits.size(); ++i) {
        if (black.bits[i] != white.bits[i]) continue;
        ++opaque;
        if (black.bits[i] == shot.bits[i]) ++same;
    }
    return opaque < 64 ? -1.0 : double(same) / double(opaque);
}

BOOL CALLBACK FindIconControl(HWND h, LPARAM lp) {
    if (!IsWindowVisible(h)) return TRUE;
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (_wcsicmp(cls, L"Static") != 0) return TRUE;
    if ((GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
}

int ProbeOnce(HWND control) {
    static const struct {
        int number;
        const wchar_t* id;
    } kIcons[] = {
        {1, IDI_WARNING}, {2, IDI_QUESTION}, {3, IDI_ERROR}, {4, IDI_INFORMATION}, {6, IDI_SHIELD}};
    RECT r;
    GetWindowRect(control, &r);
    if (r.right - r.left <= 0 || r.bottom - r.top <= 0) return 99;
    Pixels shot = Render(r.right - r.left, r.bottom - r.top, &r, nullptr, 0);
    for (const auto& icon : kIcons)
        if (Match(shot, LoadIconW(nullptr, icon.id)) >= 0.99) return icon.number;
    return 99;
}

// Retries for a while: the dialog may not have painted yet, and a window of
// another program (another Wine prefix on the same display) may cover it
// until it is raised again.
int ProbeIcon(HWND dialog) {
    HWND control = nullptr;
    EnumChildWindows(dialog, FindIconControl, reinterpret_cast<LPARAM>(&control));
    if (!control) return 0;
    int found = 99;
    for (int i = 0; i < 60 && found == 99; ++i) {
        SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        found = ProbeOnce(control);
        if (found == 99) Sleep(50);
    }
    return found;
}

// ---- dialogs -------------------------------------------------------------

HWND MakeOwner() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"DialogHostOwner";
    RegisterClassW(&wc);
    HWND h =
        CreateWindowExW(0, wc.lpszClassName, L"dialog_host owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        10, 10, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    pellion::win::Application::Instance().SetMainWindow(h);
    return h;
}

// Pumps messages until the owner window is closed (its close box destroys
// it with DefWindowProc).
void WaitForOwner(HWND owner) {
    MSG msg;
    while (IsWindow(owner) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int Run(const std::vector<std::wstring>& a, size_t i) {
    auto text = [&](size_t k) { return k < a.size() ? Narrow(a[k]) : std::string(); };
    auto number = [&](size_t k) {
        return k < a.size() ? int(wcstoul(a[k].c_str(), nullptr, 0)) : 0;
    };
    const std::wstring op = i < a.size() ? a[i] : L"";
    if (op == L"messagebox")
        return pellion::MessageBoxDialog(nullptr, text(i + 2), text(i + 3),
                                         uint32_t(number(i + 1)));
    if (op == L"showmessage") return pellion::ShowMessage(text(i + 1));
    if (op == L"showmessagetitled") return pellion::ShowMessageTitled(text(i + 1), text(i + 2));
    if (op == L"showmessagefmt")
        return pellion::ShowMessageFmt("%s was not installed.", text(i + 1).c_str());
    if (op == L"messagedialog")
        return pellion::MessageDialog(text(i + 3), pellion::TMsgDlgType(number(i + 1)),
                                      pellion::TMsgDlgButtons(number(i + 2)), number(i + 4));
    return 250;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    pellion::win::RestrictDllSearch();
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> a(argv, argv + argc);
    LocalFree(argv);
    if (a.size() >= 3 && a[1] == L"probe-icon")
        return ProbeIcon(
            reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoul(a[2].c_str(), nullptr, 16))));
    if (a.size() < 3) return 251;

    auto& app = pellion::win::Application::Instance();
    app.Initialize();
    using pellion::DialogPresentation;
    pellion::SetDialogPresentation(a[1] == L"own"      ? DialogPresentation::OwnWindow
                                   : a[1] == L"system" ? DialogPresentation::SystemTaskDialog
                                                       : DialogPresentation::Automatic);
    size_t i = 2;
    HWND owner = nullptr;
    for (; i < a.size() && a[i].rfind(L"--", 0) == 0; ++i) {
        if (a[i] == L"--owner") owner = MakeOwner();
        if (a[i] == L"--help-log" && i + 1 < a.size()) g_helpLog = a[++i];
    }
    if (!g_helpLog.empty()) app.SetHelpHandler(LogHelp);
    int result = Run(a, i);
    if (owner) WaitForOwner(owner);
    return result;
}
