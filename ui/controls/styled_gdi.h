#pragma once
// Win32 half shared by the styled controls: executes a drawing list with
// GDI, makes fonts and 32-bit bitmaps, and paints what lies behind a child
// window so that unpainted pixels show the parent.

#include <windows.h>

#include <string>

#include "base/win/unique_handle.h"
#include "ui/controls/gradient_paint.h"
#include "base/dpi_scale.h"

namespace pellion::win {

// GetSysColor, as the portable code asks for system colours.
ColorRef SystemColor(int index);

// Executes `list` on dc; Text operations use `font`.
void ExecuteDrawList(HDC dc, const DrawList& list, HFONT font);

// The font of `look` with its height at the DPI of `scale`.
UniqueFont CreateFontFrom(const FontSpec& look, const DpiScale& scale = DpiScale());
TextSize MeasureText(HDC dc, HFONT font, const std::string& text);
// The same on a memory DC compatible with the screen, made once for the GUI
// thread: a window's DC would measure alike but costs a round trip to the
// window manager each time, which adds up over a window's labels at start.
TextSize MeasureText(HFONT font, const std::string& text);

// A top-down 32 bits-per-pixel DIB section, so pixels keep their exact
// colours whatever the screen's depth. `bits` receives the pixel memory.
UniqueBitmap CreateBitmap32(int width, int height, void** bits = nullptr);

// Paints the parent's client area under `child` into dc (in the child's
// client coordinates): styled containers answer WM_PRINTCLIENT, any other
// parent is asked to erase its background into dc.
void PaintParentBackground(HWND child, HDC dc);

// Fills `dc` through an off-screen bitmap of the client's size: first what
// lies behind (PaintParentBackground) unless the control is opaque, then
// `paint`, then one copy to dc.
template <typename Paint>
void PaintBuffered(HWND hwnd, HDC dc, bool opaque, Paint&& paint) {
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    if (rc.right <= 0 || rc.bottom <= 0) return;
    MemoryDC mem(dc);
    UniqueBitmap bitmap = CreateBitmap32(rc.right, rc.bottom);
    SelectScope keep(mem.Get(), bitmap.Get());
    if (!opaque) PaintParentBackground(hwnd, mem.Get());
    paint(mem.Get());
    ::BitBlt(dc, 0, 0, rc.right, rc.bottom, mem.Get(), 0, 0, SRCCOPY);
}

// Messages a container passes on to its own parent, so that the window
// that owns the controls hears their notifications wherever they sit.
bool IsChildNotification(UINT msg);

// The parent's font (WM_GETFONT), or the default GUI font: what a control
// without a font of its own writes with.
HFONT FontOfParent(HWND hwnd);

}  // namespace pellion::win
