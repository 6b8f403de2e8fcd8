#include "ui/controls/gradient_panel.h"

#include "ui/controls/styled_gdi.h"

namespace pellion {

namespace {
constexpr wchar_t kClassName[] = L"TGradientPanel";
}

TGradientPanel::TGradientPanel(HWND parent, int x, int y, int width, int height) {
    CreateChild(kClassName, parent, x, y, width, height, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

void TGradientPanel::SetFont(const FontSpec& font) {
    fontHandle_ = win::CreateFontFrom(font, Scale());
    font_ = font;
    Changed();
}

void TGradientPanel::ScaleChanged() {
    SetFont(font_);
}

void TGradientPanel::PaintTo(HDC dc) {
    win::ExecuteDrawList(dc, PanelLook(props_, Width(), Height(), &win::SystemColor), nullptr);
}

LRESULT TGradientPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (win::IsChildNotification(msg)) return ::SendMessageW(::GetParent(Handle()), msg, wp, lp);
    // Through a bitmap: the bands overlap and would flicker on screen.
    LRESULT painted = 0;
    if (HandlePaint(msg, wp, PaintMode::kBuffered, painted)) return painted;
    switch (msg) {
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(fontHandle_.Get());
        case WM_SIZE:
            Changed();
            return 0;
    }
    return Default(msg, wp, lp);
}

}  // namespace pellion
