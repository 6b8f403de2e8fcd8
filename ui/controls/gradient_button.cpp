#include "ui/controls/gradient_button.h"

#include <windowsx.h>

#include "base/win/window.h"
#include "ui/controls/styled_gdi.h"

namespace pellion {

namespace {
constexpr wchar_t kClassName[] = L"TGradientButton";
}

TGradientButton::TGradientButton(HWND parent, int x, int y, int width, int height,
                                 const std::string& caption, int id) {
    // No WS_TABSTOP and no SetFocus anywhere: the button never takes the focus.
    CreateChild(kClassName, parent, x, y, width, height, 0, 0, caption, id);
}

TGradientButton::~TGradientButton() {
    *alive_ = false;
}

std::string TGradientButton::Caption() const {
    return win::GetWindowTextUtf8(Handle());
}

void TGradientButton::SetCaption(const std::string& caption) {
    win::SetWindowTextUtf8(Handle(), caption);  // WM_SETTEXT repaints
}

void TGradientButton::SetFont(const FontSpec& font) {
    fontHandle_ = win::CreateFontFrom(font, Scale());
    font_ = font;
    Changed();
}

void TGradientButton::ScaleChanged() {
    if (font_) fontHandle_ = win::CreateFontFrom(*font_, Scale());
    Changed();
}

void TGradientButton::SetEnabled(bool enabled) {
    ::EnableWindow(Handle(), enabled);  // WM_ENABLE updates the state
}

void TGradientButton::Click() {
    // A press posted by a screen reader may arrive while a dialog is modal
    // to this window: acting then would run the handler inside that
    // dialog's loop.
    if (!onClick_ || input_.State() == ButtonState::Disabled || !win::AcceptsInput(Handle()))
        return;
    // A copy: the handler may swap the button's handler while it runs.
    ClickHandler handler = onClick_;
    handler(*this);
}

long TGradientButton::AccessibleRole() const {
    return ROLE_SYSTEM_PUSHBUTTON;
}

std::string TGradientButton::AccessibleName() const {
    return Caption();
}

std::string TGradientButton::AccessibleShortcut() const {
    return shortcut_;
}

std::string TGradientButton::AccessibleAction() const {
    return "Press";
}

long TGradientButton::AccessibleState() const {
    long state = 0;
    if (input_.Hot()) state |= STATE_SYSTEM_HOTTRACKED;
    if (input_.State() == ButtonState::Down) state |= STATE_SYSTEM_PRESSED;
    if (default_) state |= STATE_SYSTEM_DEFAULT;
    return state;
}

// Posted: the click handler may show modal windows or destroy the button,
// which must not happen inside the client's call.
void TGradientButton::DoAccessibleAction() {
    ::PostMessageW(Handle(), BM_CLICK, 0, 0);
}

void TGradientButton::PaintTo(HDC dc) {
    HFONT font = fontHandle_ ? fontHandle_.Get() : win::FontOfParent(Handle());
    ButtonLookInput in;
    in.state = input_.State();
    in.hot = input_.Hot();
    in.width = Width();
    in.height = Height();
    in.caption = Caption();
    in.captionSize = win::MeasureText(dc, font, in.caption);
    in.fontColor = font_ ? font_->color : clWindowText;
    in.corner = Scale()(kButtonCorner);
    win::ExecuteDrawList(dc, ButtonLook(props_, in, &win::SystemColor), font);
}

void TGradientButton::Apply(const ButtonInput::Effect& e) {
    if (e.capture) ::SetCapture(Handle());
    if (e.release && ::GetCapture() == Handle()) ::ReleaseCapture();
    if (e.watchLeave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
        ::TrackMouseEvent(&track);
    }
    if (e.repaint) {
        Repaint();
        // Every repaint the state machine asks for is a change of hot,
        // pressed or enabled.
        win::NotifyAccessibleEvent(Handle(), EVENT_OBJECT_STATECHANGE);
    }
}

bool TGradientButton::Inside(LPARAM lp) const {
    return InsideButton(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), Width(), Height());
}

void TGradientButton::LeftUp(LPARAM lp) {
    bool inside = Inside(lp);
    ButtonInput::Effect e = input_.LeftUp(inside);
    Apply(e);
    if (!e.click) {
        Apply(input_.Recheck(inside));
        return;
    }
    std::shared_ptr<bool> alive = alive_;
    Click();
    if (*alive) Apply(input_.Recheck(inside));
}

bool TGradientButton::HandleMouse(UINT msg, LPARAM lp) {
    switch (msg) {
        case WM_MOUSEMOVE: {
            HWND capture = ::GetCapture();
            Apply(input_.MouseMove(Inside(lp), capture && capture != Handle()));
            return true;
        }
        case WM_MOUSELEAVE:
            Apply(input_.MouseLeave());
            return true;
        case WM_LBUTTONDOWN:
            Apply(input_.LeftDown());
            return true;
        case WM_LBUTTONUP:
            LeftUp(lp);
            return true;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != Handle()) Apply(input_.CaptureLost());
            return true;
    }
    return false;
}

LRESULT TGradientButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (HandleMouse(msg, lp)) return 0;
    LRESULT result = 0;
    if (HandlePaint(msg, wp, PaintMode::kBufferedOverParent, result)) return result;
    if (accessible_.HandleMessage(Handle(), msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_ENABLE:
            Apply(input_.SetEnabled(wp != 0));
            return 0;
        case BM_CLICK:
            Click();
            return 0;
        case WM_SETTEXT:
            result = Default(msg, wp, lp);
            Changed();
            win::NotifyAccessibleEvent(Handle(), EVENT_OBJECT_NAMECHANGE);
            return result;
    }
    return Default(msg, wp, lp);
}

}  // namespace pellion
