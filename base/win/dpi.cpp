#include "base/win/dpi.h"

#include "base/win/optional_api.h"
#include "base/win/unique_handle.h"

namespace pellion::win {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

int ScreenDpi() {
    WindowDC screen(nullptr);
    return screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
}

}  // namespace

int WindowDpi(HWND hwnd) {
    static const auto forWindow = OptionalProc<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    int dpi = hwnd && forWindow ? int(forWindow(hwnd)) : 0;
    if (dpi <= 0) dpi = ScreenDpi();
    return dpi > 0 ? dpi : 96;
}

SIZE OuterSizeForClient(int width, int height, DWORD style, DWORD exStyle, int dpi) {
    static const auto forDpi =
        OptionalProc<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, width, height};
    if (!forDpi || !forDpi(&r, style, FALSE, exStyle, UINT(dpi)))
        ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void TakeSuggestedRect(HWND hwnd, LPARAM suggested) {
    const RECT& r = *reinterpret_cast<const RECT*>(suggested);
    ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace pellion::win
