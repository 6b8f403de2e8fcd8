#include "ui/controls/gradient_backdrop.h"

#include "ui/controls/styled_gdi.h"

namespace pellion {

namespace {
constexpr wchar_t kClassName[] = L"TGradientBackdrop";
}

TGradientBackdrop::TGradientBackdrop(HWND parent) {
    RECT rc{};
    ::GetClientRect(parent, &rc);
    CreateChild(kClassName, parent, 0, 0, rc.right, rc.bottom, WS_CLIPCHILDREN,
                WS_EX_CONTROLPARENT);
}

void TGradientBackdrop::FillParent() {
    RECT rc{};
    ::GetClientRect(::GetParent(Handle()), &rc);
    SetBounds(0, 0, rc.right, rc.bottom);
}

void TGradientBackdrop::Redraw(int width, int height) {
    bitmap_ = win::CreateBitmap32(width, height);
    win::MemoryDC mem(nullptr);
    win::SelectScope keep(mem.Get(), bitmap_.Get());
    win::ExecuteDrawList(mem.Get(), BackdropLook(props_, width, height, &win::SystemColor),
                         nullptr);
    bitmapWidth_ = width;
    bitmapHeight_ = height;
}

void TGradientBackdrop::PaintTo(HDC dc) {
    if (destroying_) return;
    int width = Width(), height = Height();
    if (width <= 0 || height <= 0) return;
    if (width != bitmapWidth_ || height != bitmapHeight_) Redraw(width, height);
    win::MemoryDC mem(dc);
    win::SelectScope keep(mem.Get(), bitmap_.Get());
    ::BitBlt(dc, 0, 0, width, height, mem.Get(), 0, 0, SRCCOPY);
}

LRESULT TGradientBackdrop::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (win::IsChildNotification(msg)) return ::SendMessageW(::GetParent(Handle()), msg, wp, lp);
    LRESULT painted = 0;
    if (HandlePaint(msg, wp, PaintMode::kDirect, painted)) return painted;
    switch (msg) {
        case WM_SIZE:
            Changed();
            return 0;
        case WM_DESTROY:
            destroying_ = true;
            break;
    }
    return Default(msg, wp, lp);
}

}  // namespace pellion
