// The own dialog window at run time: its modal loop, keyboard, buttons,
// clipboard and painting.
#include <cstring>

#include "base/win/application.h"
#include "base/win/message_pump.h"
#include "base/win/wide.h"
#include "ui/dialogs/task_message_form.h"

namespace pellion {

namespace {

// OpenClipboard/CloseClipboard pair.
class ClipboardScope {
  public:
    explicit ClipboardScope(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (open_) ::CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool Open() const { return open_; }

  private:
    bool open_;
};

// Movable global memory until the clipboard takes it over.
class GlobalBlock {
  public:
    explicit GlobalBlock(size_t bytes) : mem_(::GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~GlobalBlock() {
        if (mem_) ::GlobalFree(mem_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL Get() const { return mem_; }
    void Release() { mem_ = nullptr; }

  private:
    HGLOBAL mem_;
};

RECT ToRect(const LayoutRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

void TTaskMessageForm::RunLoop() {
    done_ = false;
    bool finished = win::PumpUntil([this] { return done_; }, [this](MSG& msg) {
        if (PreTranslate(msg)) return true;
        return Handle() && ::IsDialogMessageW(Handle(), &msg) != FALSE;
    });
    // The program is ending: the dialog closes with no button, and the quit
    // request is already posted again for the loop further out.
    if (!finished) result_ = 0;
}

// Keys that the dialog decides itself, before the dialog manager: Escape
// and Enter (which would otherwise press whatever has the id IDCANCEL or
// IDOK), F1, Ctrl+C and Alt+F4.
bool TTaskMessageForm::PreTranslate(const MSG& msg) {
    HWND h = Handle();
    if (!h || (msg.hwnd != h && !::IsChild(h, msg.hwnd))) return false;
    if (msg.message == WM_SYSKEYDOWN) return msg.wParam == VK_F4;  // never closes the dialog
    if (msg.message != WM_KEYDOWN) return false;
    bool handled = false;
    OnKeyDown(msg.wParam, handled);
    return handled;
}

void TTaskMessageForm::OnKeyDown(WPARAM key, bool& handled) {
    switch (key) {
        case VK_ESCAPE:
            handled = true;
            if (dialog_.AllowsCancel()) End(cancelButton_ ? cancelButton_ : kButtonCancel);
            break;
        case VK_RETURN:
            handled = true;
            if (HWND target = EnterTarget()) End(::GetDlgCtrlID(target));
            break;
        case VK_F1:
            if (dialog_.HelpContext != 0) {
                handled = true;
                win::Application::Instance().ShowHelp(dialog_.HelpContext);
            }
            break;
        case 'C':
            if (::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) >= 0) {
                handled = true;
                CopyToClipboard();
            }
            break;
        default:
            break;
    }
}

// The button Enter presses: the focused push button, else the default.
HWND TTaskMessageForm::EnterTarget() const {
    HWND focus = ::GetFocus();
    if (IsOwnButton(focus)) return focus;
    for (HWND b : buttonWindows_)
        if (::GetDlgCtrlID(b) == defaultButton_) return b;
    return nullptr;
}

bool TTaskMessageForm::IsOwnButton(HWND h) const {
    if (!h) return false;
    for (HWND b : buttonWindows_)
        if (b == h) return true;
    return false;
}

// Shows the default look on the button Enter would press.
void TTaskMessageForm::MarkDefault() {
    HWND target = EnterTarget();
    for (HWND b : buttonWindows_) {
        LONG style = ::GetWindowLongW(b, GWL_STYLE) & BS_TYPEMASK;
        LONG wanted = b == target ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if (style != wanted) ::SendMessageW(b, BM_SETSTYLE, WPARAM(wanted), TRUE);
    }
}

// Windows takes the focus away from an inactive window: keep the control
// that had it and give it back when the dialog is activated again, so that
// Enter and the default look stay with the same button.
void TTaskMessageForm::OnActivate(bool active) {
    HWND focus = ::GetFocus();
    if (!active) {
        if (focus && ::IsChild(Handle(), focus)) focus_ = focus;
        return;
    }
    ::SetFocus(focus_ && ::IsWindow(focus_) ? focus_ : Handle());
}

void TTaskMessageForm::End(int result) {
    result_ = result;
    done_ = true;
}

void TTaskMessageForm::CopyToClipboard() {
    std::wstring text = win::Widen(ClipboardText(dialog_));
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    ClipboardScope clipboard(Handle());
    if (!clipboard.Open()) return;
    ::EmptyClipboard();
    GlobalBlock block(bytes);
    if (!block.Get()) return;
    void* p = ::GlobalLock(block.Get());
    if (!p) return;
    std::memcpy(p, text.c_str(), bytes);
    ::GlobalUnlock(block.Get());
    if (::SetClipboardData(CF_UNICODETEXT, block.Get())) block.Release();
    ::MessageBeep(MB_OK);
}

// The whole client area: window colour above the button band, the band in
// BandColor under a one-pixel line in BandLineColor.
void TTaskMessageForm::Paint(HDC dc) {
    RECT top{0, 0, layout_.clientWidth, layout_.band.top};
    ::FillRect(dc, &top, ::GetSysColorBrush(COLOR_WINDOW));
    RECT band = ToRect(layout_.band);
    ::FillRect(dc, &band, bandBrush_.Get());
    RECT line = ToRect(layout_.bandLine);
    ::FillRect(dc, &line, bandLineBrush_.Get());
}

LRESULT TTaskMessageForm::OnCtlColor(HDC dc, HWND control) {
    // Buttons and the check box stand on the band.
    if (IsOwnButton(control) || control == verification_) {
        ::SetBkColor(dc, dialog_.BandColor);
        return reinterpret_cast<LRESULT>(bandBrush_.Get());
    }
    if (control == instruction_) ::SetTextColor(dc, kInstructionColor);
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
}

LRESULT TTaskMessageForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND: {
            HWND from = reinterpret_cast<HWND>(lp);
            if (HIWORD(wp) == BN_CLICKED && IsOwnButton(from)) End(::GetDlgCtrlID(from));
            if (HIWORD(wp) == BN_SETFOCUS || HIWORD(wp) == BN_KILLFOCUS) MarkDefault();
            return 0;
        }
        case DM_GETDEFID: {
            HWND target = EnterTarget();
            return target ? MAKELRESULT(::GetDlgCtrlID(target), DC_HASDEFID) : 0;
        }
        case WM_CLOSE:  // the close box; never DestroyWindow from here
            if (dialog_.AllowsCancel()) End(kButtonCancel);
            return 0;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wp) != WA_INACTIVE);
            return 0;
        case WM_DESTROY:
            done_ = true;
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers every pixel
        case WM_PAINT: {
            win::PaintScope paint(Handle());
            Paint(paint.Get());
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace pellion
