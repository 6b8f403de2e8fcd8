#pragma once
// The DPI a window is shown at, and the frame around a client area at that
// DPI. The per-monitor functions exist from Windows 10 1607 on; before that
// (and for a window not yet created) the screen's LOGPIXELSY answers, which
// is the system DPI.

#include <windows.h>

namespace pellion::win {

// GetDpiForWindow(hwnd) where it exists, else the screen's LOGPIXELSY; 96
// when neither answers. A null hwnd asks for the system DPI.
int WindowDpi(HWND hwnd);

// The outer size of a window whose client area is width x height, with its
// frame at `dpi` (AdjustWindowRectExForDpi where it exists).
SIZE OuterSizeForClient(int width, int height, DWORD style, DWORD exStyle, int dpi);

// WM_DPICHANGED (0x02E0): older headers may lack it.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// Moves and sizes `hwnd` to the rectangle WM_DPICHANGED suggests (its lParam).
void TakeSuggestedRect(HWND hwnd, LPARAM suggested);

}  // namespace pellion::win
