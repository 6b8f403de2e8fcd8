#include "ui/controls/styled_control.h"

#include "base/win/dpi.h"
#include "base/win/unique_handle.h"
#include "ui/controls/styled_gdi.h"

namespace pellion::win {

int StyledControl::Width() const {
    RECT rc{};
    ::GetClientRect(Handle(), &rc);
    return rc.right;
}

int StyledControl::Height() const {
    RECT rc{};
    ::GetClientRect(Handle(), &rc);
    return rc.bottom;
}

void StyledControl::SetBounds(int x, int y, int width, int height) {
    ::SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void StyledControl::SetScale(const DpiScale& scale) {
    if (scale.Dpi() == scale_.Dpi()) return;
    scale_ = scale;
    ScaleChanged();
}

bool StyledControl::Visible() const {
    return (::GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void StyledControl::SetVisible(bool visible) {
    ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void StyledControl::Repaint() {
    ::InvalidateRect(Handle(), nullptr, FALSE);
    ::UpdateWindow(Handle());
}

void StyledControl::CreateChild(const wchar_t* className, HWND parent, int x, int y, int width,
                                int height, DWORD extraStyle, DWORD exStyle,
                                const std::string& text, int id) {
    RegisterClassOnce(className, 0, nullptr);
    scale_ = DpiScale(WindowDpi(parent));
    Create(exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | extraStyle, x, y,
           width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

bool StyledControl::HandlePaint(UINT msg, WPARAM wp, PaintMode mode, LRESULT& result) {
    switch (msg) {
        case WM_PAINT: {
            PaintScope paint(Handle());
            if (mode == PaintMode::kDirect) {
                PaintTo(paint.Get());
            } else {
                PaintBuffered(Handle(), paint.Get(), mode == PaintMode::kBuffered,
                              [this](HDC dc) { PaintTo(dc); });
            }
            result = 0;
            return true;
        }
        case WM_PRINTCLIENT:
            PaintTo(reinterpret_cast<HDC>(wp));
            result = 1;
            return true;
        case WM_ERASEBKGND:
            result = 1;
            return true;
    }
    return false;
}

void StyledControl::Changed() {
    if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

}  // namespace pellion::win
