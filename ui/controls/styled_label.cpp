#include "ui/controls/styled_label.h"

#include "base/win/dpi.h"
#include "base/win/window.h"
#include "ui/controls/styled_gdi.h"
#include "ui/controls/styled_label_look.h"

namespace pellion {

namespace {

constexpr wchar_t kClassName[] = L"TStyledLabel";

using ThemeQueryFn = BOOL(WINAPI*)();

struct ThemeApi {
    ThemeQueryFn isAppThemed = nullptr;
    ThemeQueryFn isThemeActive = nullptr;
};

// uxtheme.dll is looked up once, by name: the installer imports only DLLs
// that every supported Windows loads from its system folder, and the search
// path is restricted to that folder anyway. Kept loaded for the process.
const ThemeApi& Theme() {
    static const ThemeApi api = [] {
        ThemeApi a;
        HMODULE module = ::LoadLibraryW(L"uxtheme.dll");
        if (!module) return a;
        a.isAppThemed = reinterpret_cast<ThemeQueryFn>(
            reinterpret_cast<void*>(::GetProcAddress(module, "IsAppThemed")));
        a.isThemeActive = reinterpret_cast<ThemeQueryFn>(
            reinterpret_cast<void*>(::GetProcAddress(module, "IsThemeActive")));
        return a;
    }();
    return api;
}

}  // namespace

bool VisualStylesActive() {
    const ThemeApi& api = Theme();
    return api.isAppThemed && api.isThemeActive && api.isThemeActive() && api.isAppThemed();
}

TStyledLabel::TStyledLabel(HWND parent, int x, int y, const std::string& text,
                           const FontSpec& font)
    : font_(font) {
    // Measured before the window exists, so that it is created at its size.
    fontHandle_ = win::CreateFontFrom(font_, DpiScale(win::WindowDpi(parent)));
    const TextSize size = FittedSize(text);
    CreateChild(kClassName, parent, x, y, size.width, size.height, 0, 0, text);
}

std::string TStyledLabel::Text() const {
    return win::GetWindowTextUtf8(Handle());
}

void TStyledLabel::SetText(const std::string& text) {
    win::SetWindowTextUtf8(Handle(), text);  // WM_SETTEXT refits and repaints
}

void TStyledLabel::SetFont(const FontSpec& font) {
    fontHandle_ = win::CreateFontFrom(font, Scale());
    font_ = font;
    FitToText();
    Changed();
}

void TStyledLabel::ScaleChanged() {
    SetFont(font_);
}

bool TStyledLabel::DrawsTransparent() const {
    switch (background_) {
        case Background::kTransparent:
            return true;
        case Background::kFilled:
            return false;
        case Background::kAuto:
            break;
    }
    return VisualStylesActive();
}

int TStyledLabel::Left() const {
    RECT rc{};
    ::GetWindowRect(Handle(), &rc);
    ::MapWindowPoints(nullptr, ::GetParent(Handle()), reinterpret_cast<POINT*>(&rc), 2);
    return rc.left;
}

int TStyledLabel::Top() const {
    RECT rc{};
    ::GetWindowRect(Handle(), &rc);
    ::MapWindowPoints(nullptr, ::GetParent(Handle()), reinterpret_cast<POINT*>(&rc), 2);
    return rc.top;
}

void TStyledLabel::SetLeft(int left) {
    SetPosition(left, Top());
}

void TStyledLabel::SetPosition(int left, int top) {
    ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TStyledLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitToText();
}

int TStyledLabel::TextWidth(const std::string& text) const {
    return win::MeasureText(fontHandle_.Get(), text).width;
}

// An empty text is measured as one blank: the label keeps a line's height.
TextSize TStyledLabel::FittedSize(const std::string& text) const {
    return win::MeasureText(fontHandle_.Get(), text.empty() ? " " : text);
}

void TStyledLabel::FitToText() {
    if (!autoSize_ || !Handle()) return;
    const TextSize size = FittedSize(Text());
    ::SetWindowPos(Handle(), nullptr, 0, 0, size.width, size.height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TStyledLabel::PaintTo(HDC dc) {
    LabelLookInput in;
    in.width = Width();
    in.height = Height();
    in.transparent = DrawsTransparent();
    in.color = color_;
    in.fontColor = font_.color;
    DrawList list = LabelLook(in, &win::SystemColor);
    list.text = Text();
    win::ExecuteDrawList(dc, list, fontHandle_.Get());
}

LRESULT TStyledLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT painted = 0;
    // A filled label paints every pixel itself; a transparent one is drawn
    // over a copy of what lies behind it, in one bitmap, without flicker.
    PaintMode mode = DrawsTransparent() ? PaintMode::kBufferedOverParent : PaintMode::kBuffered;
    if (HandlePaint(msg, wp, mode, painted)) return painted;
    switch (msg) {
        case WM_SETTEXT: {
            LRESULT result = Default(msg, wp, lp);
            FitToText();
            Changed();
            return result;
        }
        case WM_NCHITTEST:
            return HTTRANSPARENT;
    }
    return Default(msg, wp, lp);
}

}  // namespace pellion
