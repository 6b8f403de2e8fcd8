#include "ui/tfmMain.h"

#include "base/text.h"
#include "base/win/window.h"

namespace pellion {

namespace {
constexpr wchar_t kClassName[] = L"tMainForm";
constexpr int kClientWidth = 685;
constexpr int kClientHeight = 400;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
}  // namespace

tMainForm::tMainForm() {
    static HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));  // lives as long as the class
    RegisterClassOnce(kClassName, CS_HREDRAW | CS_VREDRAW, red);
    RECT r{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    int width = r.right - r.left, height = r.bottom - r.top;
    // Centred on the screen when first shown.
    int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    Create(kExStyle, kClassName, "", kStyle, x, y, width, height, nullptr);
    FormCreate();
}

void tMainForm::FormCreate() {
    win::SetWindowTextUtf8(Handle(), Format("Tovarin %s Installer", "Pellion"));
}

void tMainForm::Show() {
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(Handle());
}

LRESULT tMainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
    }
    return Default(msg, wp, lp);
}

}  // namespace pellion
