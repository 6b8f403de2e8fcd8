#include "ui/dialogs/task_message_form.h"

#include <cstddef>

#include "base/win/application.h"
#include "base/win/dpi.h"
#include "base/win/optional_api.h"
#include "base/win/wide.h"
#include "base/win/win_error.h"

namespace pellion {

namespace {

constexpr wchar_t kSampleLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr UINT kWrapFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

// Button widths by caption, for the life of the process.
ButtonWidthCache& WidthCache() {
    static ButtonWidthCache cache;
    return cache;
}

NONCLIENTMETRICSW NonClientMetrics() {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof(m);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0)) return m;
    // Before Vista the structure ends before iPaddedBorderWidth.
    m.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0))
        win::RaiseLastError("SystemParametersInfoW");
    return m;
}

win::UniqueFont MakeFont(const LOGFONTW& lf) {
    win::UniqueFont font(::CreateFontIndirectW(&lf));
    if (!font) win::RaiseLastError("CreateFontIndirectW");
    return font;
}

LayoutSize TextSize(HDC dc, HFONT font, const std::string& text, UINT format, int wrapWidth) {
    if (text.empty()) return {};
    win::SelectScope select(dc, font);
    std::wstring wide = win::Widen(text);
    RECT r{0, 0, wrapWidth, 0};
    ::DrawTextW(dc, wide.c_str(), int(wide.size()), &r, format | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

// The system's standard icons; shared, never destroyed. At a size other
// than 32 pixels (a DPI above 96) the system scales the icon's largest
// image down into `scaled`, which the caller owns. The shield comes from the
// system too (no caller of this program asks for it).
HICON SystemIcon(TaskDialogIcon icon, int size, win::UniqueIcon& scaled) {
    const wchar_t* id = nullptr;
    switch (icon) {
        case TaskDialogIcon::Warning:
            id = IDI_WARNING;
            break;
        case TaskDialogIcon::Question:
            id = IDI_QUESTION;
            break;
        case TaskDialogIcon::Error:
            id = IDI_ERROR;
            break;
        case TaskDialogIcon::Information:
            id = IDI_INFORMATION;
            break;
        case TaskDialogIcon::Shield:
            id = IDI_SHIELD;
            break;
        default:
            return nullptr;
    }
    using ScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto scaleDown =
        win::OptionalProc<ScaleDownFn>(L"comctl32.dll", "LoadIconWithScaleDown");
    HICON own = nullptr;
    if (size != 32 && scaleDown && SUCCEEDED(scaleDown(nullptr, id, size, size, &own)) && own) {
        scaled.Reset(own);
        return own;
    }
    return ::LoadIconW(nullptr, id);
}

// Disables the owner while the dialog is shown. Enabled again before the
// dialog is destroyed, so that Windows activates the owner and not some
// other program's window.
class OwnerDisabler {
  public:
    explicit OwnerDisabler(HWND owner)
        : owner_(owner && ::IsWindowEnabled(owner) ? owner : nullptr) {
        if (owner_) ::EnableWindow(owner_, FALSE);
    }
    ~OwnerDisabler() { Restore(); }
    OwnerDisabler(const OwnerDisabler&) = delete;
    OwnerDisabler& operator=(const OwnerDisabler&) = delete;
    void Restore() {
        if (owner_ && ::IsWindow(owner_)) ::EnableWindow(owner_, TRUE);
        owner_ = nullptr;
    }

  private:
    HWND owner_;
};

}  // namespace

TTaskMessageForm::TTaskMessageForm(TCustomTaskDialog& dialog) : dialog_(dialog) {}

TTaskMessageForm::~TTaskMessageForm() {
    if (dialog_.Form() == this) dialog_.SetForm(nullptr);
}

int TTaskMessageForm::ShowModal() {
    Build();
    HWND previous = ::GetActiveWindow();
    OwnerDisabler owner(::GetWindow(Handle(), GW_OWNER));
    dialog_.SetForm(this);
    ::ShowWindow(Handle(), SW_SHOW);
    HWND focus = nullptr;
    for (HWND b : buttonWindows_)
        if (::GetDlgCtrlID(b) == defaultButton_) focus = b;
    if (!focus && dialog_.DefaultButton != -1 && !buttonWindows_.empty())
        focus = buttonWindows_.front();
    focus_ = focus;
    ::SetFocus(focus ? focus : Handle());
    RunLoop();
    if (verification_)
        dialog_.VerificationChecked =
            ::SendMessageW(verification_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    dialog_.SetForm(nullptr);
    owner.Restore();
    if (Handle()) ::DestroyWindow(Handle());
    if (previous && ::IsWindow(previous)) ::SetActiveWindow(previous);
    return result_;
}

void TTaskMessageForm::Build() {
    RegisterClassOnce(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    std::string caption = LayOut();
    DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    if (dialog_.AllowsCancel()) style |= WS_SYSMENU;  // and with it the close box
    DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, layout_.clientWidth, layout_.clientHeight};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND owner = win::Application::Instance().DialogOwner();
    Create(exStyle, kClassName, caption, style, x, y, width, height,
           ::IsWindow(owner) ? owner : nullptr);

    bandBrush_.Reset(::CreateSolidBrush(dialog_.BandColor));
    bandLineBrush_.Reset(::CreateSolidBrush(dialog_.BandLineColor));
    if (!bandBrush_ || !bandLineBrush_) win::RaiseLastError("CreateSolidBrush");
    CreateControls(layout_);
}

// Fonts, buttons and layout; answers the caption.
std::string TTaskMessageForm::LayOut() {
    NONCLIENTMETRICSW ncm = NonClientMetrics();
    font_ = MakeFont(ncm.lfMessageFont);
    LOGFONTW bold = ncm.lfMessageFont;
    {
        win::WindowDC screen(nullptr);
        bold.lfHeight = -::MulDiv(11, ::GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    }
    bold.lfWeight = FW_BOLD;
    instructionFont_ = MakeFont(bold);
    win::UniqueFont captionFont = MakeFont(ncm.lfCaptionFont);

    buttons_ = OwnWindowButtons(dialog_);
    defaultButton_ = OwnWindowDefaultButton(dialog_, buttons_);
    cancelButton_ = OwnWindowCancelButton(buttons_);
    std::string caption = OwnWindowCaption(dialog_.Title, win::Application::ExeName());
    {
        win::WindowDC screen(nullptr);
        OwnWindowMetrics m = Measure(screen.Get());
        m.captionWidth =
            TextSize(screen.Get(), captionFont.Get(), caption, DT_SINGLELINE | DT_NOPREFIX, 0).cx;
        layout_ = LayoutOwnWindow(m);
    }
    return caption;
}

OwnWindowMetrics TTaskMessageForm::Measure(HDC dc) {
    OwnWindowMetrics m;
    SIZE sample{};
    {
        win::SelectScope select(dc, font_.Get());
        ::GetTextExtentPoint32W(dc, kSampleLetters, 52, &sample);
    }
    m.units = ComputeLayoutUnits(sample.cx, sample.cy);
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int wrap = screenWidth / 4;
    m.hasIcon = dialog_.Icon != TaskDialogIcon::None;
    // The icon at the system's DPI, as the message fonts are.
    m.iconSize = DpiScale(win::WindowDpi(nullptr))(32);
    m.instruction = TextSize(dc, instructionFont_.Get(), dialog_.Instruction, kWrapFormat, wrap);
    m.content = TextSize(dc, font_.Get(), dialog_.Content, kWrapFormat, wrap);
    for (const OwnButton& b : buttons_) {
        m.buttonWidths.push_back(WidthCache().Width(b.caption, [&](const std::string& caption) {
            return TextSize(dc, font_.Get(), caption, DT_SINGLELINE, 0).cx;
        }));
    }
    if (!dialog_.VerificationText.empty()) {
        LayoutSize text = TextSize(dc, font_.Get(), dialog_.VerificationText, DT_SINGLELINE, 0);
        // The box itself and the gap between box and text.
        int box = ::GetSystemMetrics(SM_CXMENUCHECK);
        m.verification = {text.cx + box + m.units.buttonGap,
                          std::max<int>(text.cy, ::GetSystemMetrics(SM_CYMENUCHECK))};
    }
    m.minimumWidth = dialog_.MinimumWidth;
    m.maxClientWidth = screenWidth - 2 * ::GetSystemMetrics(SM_CYEDGE);
    return m;
}

HWND TTaskMessageForm::CreateChild(const wchar_t* cls, const std::string& text, DWORD style,
                                   const LayoutRect& r, int id, HFONT font) {
    HWND h = ::CreateWindowExW(0, cls, win::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                               r.left, r.top, r.Width(), r.Height(), Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ::GetModuleHandleW(nullptr), nullptr);
    if (!h) win::RaiseLastError("CreateWindowExW");
    ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
}

void TTaskMessageForm::CreateControls(const OwnWindowLayout& l) {
    if (HICON icon = SystemIcon(dialog_.Icon, l.icon.Width(), scaledIcon_)) {
        icon_ = CreateChild(L"Static", "", SS_ICON, l.icon, kIconId, nullptr);
        ::SendMessageW(icon_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        ::SetWindowPos(icon_, nullptr, l.icon.left, l.icon.top, l.icon.Width(),
                       l.icon.Height(), SWP_NOZORDER);
    }
    // Plain statics that wrap as they were measured, ampersands literal.
    if (!dialog_.Instruction.empty())
        instruction_ = CreateChild(L"Static", dialog_.Instruction, SS_LEFT | SS_NOPREFIX,
                                   l.instruction, kInstructionId, instructionFont_.Get());
    if (!dialog_.Content.empty())
        content_ = CreateChild(L"Static", dialog_.Content, SS_LEFT | SS_NOPREFIX, l.content,
                               kContentId, font_.Get());
    CreateButtons(l);
    if (!dialog_.VerificationText.empty()) {
        DWORD tab = dialog_.DefaultButton == -1 ? 0 : WS_TABSTOP;
        verification_ =
            CreateChild(L"Button", dialog_.VerificationText, BS_AUTOCHECKBOX | BS_NOTIFY | tab,
                        l.verification, kVerificationId, font_.Get());
        if (dialog_.VerificationChecked) ::SendMessageW(verification_, BM_SETCHECK, BST_CHECKED, 0);
    }
}

// Buttons in tab order: the default button first, then the row from the
// left. BS_NOTIFY reports focus changes, which move the default look.
void TTaskMessageForm::CreateButtons(const OwnWindowLayout& l) {
    std::vector<size_t> order;
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i].number == defaultButton_) order.push_back(i);
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i].number != defaultButton_) order.push_back(i);
    DWORD tab = dialog_.DefaultButton == -1 ? 0 : WS_TABSTOP;
    buttonWindows_.assign(buttons_.size(), nullptr);
    bool first = true;
    for (size_t i : order) {
        DWORD style = tab | BS_NOTIFY | (first ? WS_GROUP : 0) |
                      (buttons_[i].number == defaultButton_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        buttonWindows_[i] = CreateChild(L"Button", buttons_[i].caption, style, l.buttons[i],
                                        buttons_[i].number, font_.Get());
        first = false;
    }
}

void TTaskMessageForm::ShowText(TaskDialogElement element, const std::string& text) {
    switch (element) {
        case TaskDialogElement::Title:
            win::SetWindowTextUtf8(Handle(), OwnWindowCaption(text, win::Application::ExeName()));
            break;
        case TaskDialogElement::Instruction:
            if (instruction_) win::SetWindowTextUtf8(instruction_, text);
            break;
        case TaskDialogElement::Content:
            if (content_) win::SetWindowTextUtf8(content_, text);
            break;
    }
}

}  // namespace pellion
