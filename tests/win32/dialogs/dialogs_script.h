#pragma once
// Helpers of the dialog tests: act on the dialog this thread shows from a
// timer that the dialog's own modal loop dispatches, and read what it shows.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/win/wide.h"
#include "tests/key_input.h"

namespace pellion::test {

inline bool IsDialogClass(HWND h) {
    wchar_t cls[64] = {};
    ::GetClassNameW(h, cls, 64);
    return wcscmp(cls, L"TTaskMessageForm") == 0 || wcscmp(cls, L"#32770") == 0;
}

inline BOOL CALLBACK FindDialogProc(HWND h, LPARAM lp) {
    if (!::IsWindowVisible(h) || !IsDialogClass(h)) return TRUE;
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
}

inline HWND FindDialog() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs `act` once on the next dialog this thread shows (for at most ~5 s).
class DialogScript {
  public:
    explicit DialogScript(std::function<void(HWND)> act) : act_(std::move(act)) {
        current() = this;
        timer_ = ::SetTimer(nullptr, 0, 10, &DialogScript::Tick);
    }
    ~DialogScript() {
        ::KillTimer(nullptr, timer_);
        current() = nullptr;
        // Drop what the script posted to a dialog that is gone, and leave a
        // quit request where it is.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
            ::DispatchMessageW(&msg);
        }
    }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;
    bool Acted() const { return acted_; }

  private:
    static DialogScript*& current() {
        static DialogScript* script = nullptr;
        return script;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        DialogScript* self = current();
        if (!self || self->acted_) return;
        HWND dialog = FindDialog();
        if (!dialog && ++self->ticks_ < 500) return;
        ::KillTimer(nullptr, id);
        self->acted_ = dialog != nullptr;
        if (!dialog) return;
        // Another program (or a Wine prefix on the same display) may hold the
        // activation, and an inactive window has no focus: the user acts on
        // the active dialog.
        ::SetForegroundWindow(dialog);
        ::SetActiveWindow(dialog);
        self->act_(dialog);
    }
    std::function<void(HWND)> act_;
    UINT_PTR timer_ = 0;
    int ticks_ = 0;
    bool acted_ = false;
};

// ---- Input, posted as the dialog manager and the user would -------------

inline void PostAltF4(HWND dialog) {
    ::PostMessageW(test::FocusedControl(dialog), WM_SYSKEYDOWN, VK_F4, LPARAM(0x20000001u));
}
inline void PostPress(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
inline void PostCloseBox(HWND dialog) {
    ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// Presses a button once `ready` holds, or after two seconds. Posted messages
// overtake real input, so a press cannot simply be posted after the keys.
class PressWhen {
  public:
    PressWhen(HWND dialog, int id, std::function<bool()> ready) {
        state() = {dialog, id, std::move(ready), 0};
        ::SetTimer(nullptr, 0, 20, &PressWhen::Tick);
    }

  private:
    struct State {
        HWND dialog;
        int id;
        std::function<bool()> ready;
        int ticks;
    };
    static State& state() {
        static State s;
        return s;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        State& s = state();
        if (!s.ready() && ++s.ticks < 100) return;
        ::KillTimer(nullptr, timer);
        PostPress(s.dialog, s.id);
    }
};

// ---- What a dialog shows -------------------------------------------------

struct Control {
    HWND hwnd;
    std::wstring cls;
    int id;
    std::string text;
    LONG style;
    RECT rect;  // in the dialog's client coordinates
};

struct Snapshot {
    std::string title;
    LONG style = 0;
    HWND owner = nullptr;
    int focusId = 0;       // id of the control with the focus
    HICON icon = nullptr;  // shown by the icon control, if any
    std::vector<Control> controls;

    bool IsPushButton(const Control& c) const {
        LONG type = c.style & BS_TYPEMASK;
        return c.cls == L"Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
    }
    // Push buttons from left to right.
    std::vector<const Control*> Buttons() const {
        std::vector<const Control*> out;
        for (const Control& c : controls)
            if (IsPushButton(c)) out.push_back(&c);
        std::sort(out.begin(), out.end(),
                  [](const Control* a, const Control* b) { return a->rect.left < b->rect.left; });
        return out;
    }
    std::vector<std::string> ButtonCaptions() const {
        std::vector<std::string> out;
        for (const Control* c : Buttons()) out.push_back(c->text);
        return out;
    }
    std::vector<int> DefaultIds() const {
        std::vector<int> out;
        for (const Control* c : Buttons())
            if ((c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) out.push_back(c->id);
        return out;
    }
    const Control* Static(const std::string& text) const {
        for (const Control& c : controls)
            if (c.cls == L"Static" && c.text == text) return &c;
        return nullptr;
    }
};

inline BOOL CALLBACK SnapshotProc(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<std::pair<HWND, Snapshot*>*>(lp);
    wchar_t cls[64] = {}, text[1024] = {};
    ::GetClassNameW(h, cls, 64);
    ::GetWindowTextW(h, text, 1024);
    RECT r;
    ::GetWindowRect(h, &r);
    ::MapWindowPoints(nullptr, s->first, reinterpret_cast<POINT*>(&r), 2);
    // Class names differ in case between the system's and comctl32's copies.
    std::wstring name = cls;
    if (_wcsicmp(cls, L"button") == 0) name = L"Button";
    if (_wcsicmp(cls, L"static") == 0) name = L"Static";
    s->second->controls.push_back(
        {h, name, ::GetDlgCtrlID(h), win::Narrow(text), ::GetWindowLongW(h, GWL_STYLE), r});
    return TRUE;
}

inline Snapshot Take(HWND dialog) {
    Snapshot s;
    wchar_t title[256] = {};
    ::GetWindowTextW(dialog, title, 256);
    s.title = win::Narrow(title);
    s.style = ::GetWindowLongW(dialog, GWL_STYLE);
    s.owner = ::GetWindow(dialog, GW_OWNER);
    HWND focus = ::GetFocus();
    s.focusId = focus ? ::GetDlgCtrlID(focus) : 0;
    std::pair<HWND, Snapshot*> ctx{dialog, &s};
    ::EnumChildWindows(dialog, SnapshotProc, reinterpret_cast<LPARAM>(&ctx));
    for (const Control& c : s.controls)
        if (c.cls == L"Static" && (c.style & SS_TYPEMASK) == SS_ICON)
            s.icon = reinterpret_cast<HICON>(::SendMessageW(c.hwnd, STM_GETICON, 0, 0));
    return s;
}

}  // namespace pellion::test
