// Test driver: run inside the same Wine prefix as the installer, it finds the
// installer's windows, reads their texts, presses buttons, posts keys and
// mouse clicks, and prints what it saw. One command per run; output is one
// record per line, fields separated by tabs, with \\, \t, \r and \n escaped.
//
//   list                          visible top-level windows
//   wait MS TITLE [CLASS]         waits for a visible top-level window ("*" = any title)
//   waitgone MS HWND              waits until the window is gone or hidden
//   dump HWND                     the window and all its descendants
//   press HWND CAPTION|#ID        clicks a child button (WM_COMMAND to its parent)
//   key HWND VK                   posts a key press to the window's focused control
//   input HWND VK [ctrl]          real key input (SendInput) after bringing HWND forward
//   close HWND                    the close box (WM_SYSCOMMAND SC_CLOSE)
//   click HWND X Y                posts move, left down and left up at client X,Y
//                                 to the innermost window there
//   clipboard                     the clipboard's text
//   gdi PID                       GDI and USER object counts of a process
//   record FILE                   appends this process's command line to FILE
//   title CLASS                   the title of a window of CLASS, shown or not
//   type HWND TEXT                posts TEXT as characters to the window's focused control
//   syschar HWND CHAR             posts CHAR with Alt held to the window's focused control
//   screen                        the primary monitor's size
//   tap HWND CAPTION...           mouse click on the centre of a descendant
//                                 with that text (self-drawn buttons); with
//                                 several, all are queued at once
//   hold FILE MS                  keeps FILE open without sharing for MS ms
//                                 (prints "held" once it is open)
//   lnk FILE                      a shortcut's target, arguments, working
//                                 folder, description, icon file and index
#include <windows.h>
#include <psapi.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/key_input.h"

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string Escape(const std::wstring& w) {
    std::string out;
    for (char c : Utf8(w)) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::wstring ClassOf(HWND h);

// Edit controls keep their text in their own buffer, not as the window text.
bool KeepsOwnText(HWND h) {
    return _wcsicmp(ClassOf(h).c_str(), L"Edit") == 0;
}

std::wstring Text(HWND h) {
    wchar_t buffer[4096] = {};
    if (!KeepsOwnText(h)) {
        // The window text as DefWindowProc stored it, read without the
        // program's help: a program that works on its GUI thread answers no
        // message until it next processes its queue (seconds, between two
        // files), and reading a whole window would wait that long per control.
        InternalGetWindowText(h, buffer, 4096);
        return buffer;
    }
    // WM_GETTEXT works across processes; GetWindowText does not for controls.
    SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    return buffer;
}

std::wstring ClassOf(HWND h) {
    wchar_t buffer[256] = {};
    GetClassNameW(h, buffer, 256);
    return buffer;
}

void Emit(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) line += '\t';
        line += fields[i];
    }
    line += '\n';
    fwrite(line.data(), 1, line.size(), stdout);
}

std::string Hex(HWND h) {
    char b[32];
    snprintf(b, sizeof b, "%lx", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h)));
    return b;
}

std::string RectText(const RECT& r) {
    char b[64];
    snprintf(b, sizeof b, "%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return b;
}

HWND ParseHwnd(const wchar_t* s) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoul(s, nullptr, 16)));
}

struct FindQuery {
    std::wstring title, cls;
    HWND found = nullptr;
};

BOOL CALLBACK FindProc(HWND h, LPARAM lp) {
    auto* q = reinterpret_cast<FindQuery*>(lp);
    if (!IsWindowVisible(h)) return TRUE;
    if (q->title != L"*" && Text(h) != q->title) return TRUE;
    if (!q->cls.empty() && ClassOf(h) != q->cls) return TRUE;
    q->found = h;
    return FALSE;
}

HWND FindTop(const std::wstring& title, const std::wstring& cls) {
    FindQuery q{title, cls};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

BOOL CALLBACK ListProc(HWND h, LPARAM) {
    if (!IsWindowVisible(h)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    RECT r;
    GetWindowRect(h, &r);
    Emit({Hex(h), std::to_string(pid), Escape(ClassOf(h)), Escape(Text(h)), RectText(r),
          IsWindowEnabled(h) ? "enabled" : "disabled"});
    return TRUE;
}

struct DumpState {
    HWND top;
    HWND focus;
};

BOOL CALLBACK DumpProc(HWND h, LPARAM lp) {
    auto* st = reinterpret_cast<DumpState*>(lp);
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, st->top, reinterpret_cast<POINT*>(&r), 2);
    LONG style = GetWindowLongW(h, GWL_STYLE);
    std::wstring cls = ClassOf(h);
    bool isDefault = false;
    if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        isDefault = (style & 0x0F) == BS_DEFPUSHBUTTON;
    }
    char styleText[16];
    snprintf(styleText, sizeof styleText, "%08lx", static_cast<unsigned long>(style));
    Emit({Hex(h), Hex(GetParent(h)), Escape(cls), std::to_string(GetDlgCtrlID(h)), Escape(Text(h)),
          RectText(r), styleText, IsWindowVisible(h) ? "visible" : "hidden",
          IsWindowEnabled(h) ? "enabled" : "disabled", h == st->focus ? "focus" : "-",
          isDefault ? "default" : "-"});
    return TRUE;
}

int Dump(HWND h) {
    if (!IsWindow(h)) return 1;
    RECT r, c;
    GetWindowRect(h, &r);
    GetClientRect(h, &c);
    char styles[40];
    snprintf(styles, sizeof styles, "%08lx,%08lx",
             static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE)),
             static_cast<unsigned long>(GetWindowLongW(h, GWL_EXSTYLE)));
    Emit({Hex(h), Escape(ClassOf(h)), Escape(Text(h)), RectText(r), RectText(c), styles,
          IsWindowVisible(h) ? "visible" : "hidden", IsWindowEnabled(h) ? "enabled" : "disabled",
          Hex(GetWindow(h, GW_OWNER))});
    HWND focus = pellion::test::FocusedControl(h);
    DumpState st{h, focus == h ? nullptr : focus};
    EnumChildWindows(h, DumpProc, reinterpret_cast<LPARAM>(&st));
    return 0;
}

struct ButtonQuery {
    std::wstring caption;
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK ButtonProc(HWND h, LPARAM lp) {
    auto* q = reinterpret_cast<ButtonQuery*>(lp);
    if (_wcsicmp(ClassOf(h).c_str(), L"Button") != 0) return TRUE;
    if (q->id >= 0 ? GetDlgCtrlID(h) == q->id : Text(h) == q->caption) {
        q->found = h;
        return FALSE;
    }
    return TRUE;
}

int Press(HWND top, const std::wstring& what) {
    ButtonQuery q{what, what.size() > 1 && what[0] == L'#' ? _wtoi(what.c_str() + 1) : -1};
    EnumChildWindows(top, ButtonProc, reinterpret_cast<LPARAM>(&q));
    if (!q.found) {
        fprintf(stderr, "no button %s\n", Utf8(what).c_str());
        return 1;
    }
    HWND parent = GetParent(q.found);
    PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(q.found), BN_CLICKED),
                 reinterpret_cast<LPARAM>(q.found));
    return 0;
}

int Click(HWND top, int x, int y) {
    // Down to the innermost visible window at the point: drawn buttons sit
    // inside panels.
    POINT pt{x, y};
    HWND target = top;
    for (;;) {
        HWND child = ChildWindowFromPointEx(target, pt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == target) break;
        MapWindowPoints(target, child, &pt, 1);
        target = child;
    }
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageW(target, WM_MOUSEMOVE, 0, at);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(target, WM_LBUTTONUP, 0, at);
    return 0;
}

int TypeText(HWND top, const std::wstring& text) {
    HWND target = pellion::test::FocusedControl(top);
    if (!target) target = top;
    for (wchar_t c : text) PostMessageW(target, WM_CHAR, c, 1);
    return 0;
}

int SysChar(HWND top, wchar_t c) {
    HWND target = pellion::test::FocusedControl(top);
    if (!target) target = top;
    PostMessageW(target, WM_SYSCHAR, c, 1 | (1u << 29));  // bit 29: Alt is down
    return 0;
}

int Clipboard() {
    if (!OpenClipboard(nullptr)) return 1;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data) {
        const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data));
        if (text) Emit({Escape(text)});
        GlobalUnlock(data);
    }
    CloseClipboard();
    return data ? 0 : 1;
}

int Gdi(DWORD pid) {
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!p) return 1;
    Emit({std::to_string(GetGuiResources(p, GR_GDIOBJECTS)),
          std::to_string(GetGuiResources(p, GR_USEROBJECTS))});
    CloseHandle(p);
    return 0;
}

int Record(const wchar_t* file) {
    FILE* f = _wfopen(file, L"ab");
    if (!f) return 1;
    std::string line = Utf8(GetCommandLineW()) + "\n";
    fwrite(line.data(), 1, line.size(), f);
    fclose(f);
    return 0;
}

int WaitFor(DWORD ms, const std::wstring& title, const std::wstring& cls) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = FindTop(title, cls)) {
            Emit({Hex(h)});
            return 0;
        }
        if (GetTickCount() - start > ms) return 1;
        Sleep(50);
    }
}

int WaitGone(DWORD ms, HWND h) {
    DWORD start = GetTickCount();
    while (IsWindow(h) && IsWindowVisible(h)) {
        if (GetTickCount() - start > ms) return 1;
        Sleep(50);
    }
    return 0;
}

struct TextQuery {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK TextProc(HWND h, LPARAM lp) {
    auto* q = reinterpret_cast<TextQuery*>(lp);
    if (!IsWindowVisible(h) || Text(h) != q->text) return TRUE;
    q->found = h;
    return FALSE;
}

// Finds the control once per caption, so a repeated caption clicks the same
// control again even when the first click has already hidden its window.
int Tap(HWND top, const std::wstring& caption, TextQuery& q) {
    if (q.text != caption || !q.found) {
        q = TextQuery{caption};
        EnumChildWindows(top, TextProc, reinterpret_cast<LPARAM>(&q));
    }
    if (!q.found) {
        fprintf(stderr, "no control %s\n", Utf8(caption).c_str());
        return 1;
    }
    RECT r;
    GetClientRect(q.found, &r);
    LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    PostMessageW(q.found, WM_MOUSEMOVE, 0, at);
    PostMessageW(q.found, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(q.found, WM_LBUTTONUP, 0, at);
    return 0;
}

int Hold(const wchar_t* file, DWORD ms) {
    HANDLE h = CreateFileW(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    Emit({"held"});
    fflush(stdout);
    Sleep(ms);
    CloseHandle(h);
    return 0;
}

// The modules loaded in the process that owns `hwnd`, one a line: the base
// name and the full path, lower-cased.
int Modules(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return 1;
    std::vector<HMODULE> modules(1024);
    DWORD needed = 0;
    BOOL ok = K32EnumProcessModules(process, modules.data(),
                                    DWORD(modules.size() * sizeof(HMODULE)), &needed);
    for (DWORD i = 0; ok && i < needed / sizeof(HMODULE) && i < modules.size(); ++i) {
        wchar_t name[MAX_PATH] = {}, path[MAX_PATH] = {};
        if (K32GetModuleBaseNameW(process, modules[i], name, MAX_PATH) &&
            K32GetModuleFileNameExW(process, modules[i], path, MAX_PATH)) {
            std::wstring lower[] = {name, path};
            for (std::wstring& text : lower)
                for (wchar_t& c : text) c = towlower(c);
            Emit({Utf8(lower[0]), Utf8(lower[1])});
        }
    }
    CloseHandle(process);
    return ok ? 0 : 1;
}

int Link(const wchar_t* file) {
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* persist = nullptr;
    int rc = 1;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
        SUCCEEDED(persist->Load(file, STGM_READ))) {
        wchar_t target[MAX_PATH] = {}, args[1024] = {}, dir[MAX_PATH] = {}, desc[1024] = {},
                icon[MAX_PATH] = {};
        int index = -1;
        link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetArguments(args, 1024);
        link->GetWorkingDirectory(dir, MAX_PATH);
        link->GetDescription(desc, 1024);
        link->GetIconLocation(icon, MAX_PATH, &index);
        Emit({Escape(target), Escape(args), Escape(dir), Escape(desc), Escape(icon),
              std::to_string(index)});
        rc = 0;
    }
    if (persist) persist->Release();
    if (link) link->Release();
    CoUninitialize();
    return rc;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::wstring cmd = argv[1];
    auto arg = [&](int i) -> const wchar_t* { return i < argc ? argv[i] : L""; };
    if (cmd == L"list") return EnumWindows(ListProc, 0), 0;
    if (cmd == L"wait") return WaitFor(wcstoul(arg(2), nullptr, 10), arg(3), arg(4));
    if (cmd == L"waitgone") return WaitGone(wcstoul(arg(2), nullptr, 10), ParseHwnd(arg(3)));
    if (cmd == L"dump") return Dump(ParseHwnd(arg(2)));
    if (cmd == L"press") return Press(ParseHwnd(arg(2)), arg(3));
    if (cmd == L"key") {
        pellion::test::PostKey(ParseHwnd(arg(2)), _wtoi(arg(3)));
        return 0;
    }
    if (cmd == L"input") {
        pellion::test::SendRealKey(ParseHwnd(arg(2)), WORD(_wtoi(arg(3))),
                                   wcscmp(arg(4), L"ctrl") == 0);
        return 0;
    }
    if (cmd == L"close") return PostMessageW(ParseHwnd(arg(2)), WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    if (cmd == L"click") {
        // "close" after the point: the close box's request follows the click
        // at once, so that one pass of the program's message loop meets both.
        int rc = Click(ParseHwnd(arg(2)), _wtoi(arg(3)), _wtoi(arg(4)));
        if (wcscmp(arg(5), L"close") == 0)
            PostMessageW(ParseHwnd(arg(2)), WM_SYSCOMMAND, SC_CLOSE, 0);
        return rc;
    }
    if (cmd == L"clipboard") return Clipboard();
    if (cmd == L"gdi") return Gdi(wcstoul(arg(2), nullptr, 10));
    if (cmd == L"record") return Record(arg(2));
    if (cmd == L"type") return TypeText(ParseHwnd(arg(2)), arg(3));
    if (cmd == L"syschar") return SysChar(ParseHwnd(arg(2)), arg(3)[0]);
    if (cmd == L"screen") {
        Emit({std::to_string(GetSystemMetrics(SM_CXSCREEN)),
              std::to_string(GetSystemMetrics(SM_CYSCREEN))});
        return 0;
    }
    if (cmd == L"tap") {
        TextQuery last;
        for (int i = 3; i < argc; ++i)
            if (Tap(ParseHwnd(arg(2)), arg(i), last)) return 1;
        return argc > 3 ? 0 : 2;
    }
    if (cmd == L"hold") return Hold(arg(2), wcstoul(arg(3), nullptr, 10));
    if (cmd == L"lnk") return Link(arg(2));
    if (cmd == L"modules") return Modules(ParseHwnd(arg(2)));
    if (cmd == L"title") {
        HWND h = FindWindowW(arg(2), nullptr);
        if (h) Emit({Escape(Text(h))});
        return h ? 0 : 1;
    }
    fprintf(stderr, "unknown command\n");
    return 2;
}
