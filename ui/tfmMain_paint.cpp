// The main window's pictures: the logo and the image that keeps it, the
// drag cursor over the banner, and the plain containers of the pages.
#include <windows.h>

#include <vector>

#include "base/win/wide.h"
#include "base/win/win_error.h"
#include "ui/controls/styled_gdi.h"
#include "ui/tfmMain.h"

namespace pellion {

std::string ShellDialogFace() {
    wchar_t face[LF_FACESIZE] = {};
    DWORD size = sizeof(face);
    LSTATUS rc = ::RegGetValueW(HKEY_LOCAL_MACHINE,
                                L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
                                L"MS Shell Dlg 2", RRF_RT_REG_SZ, nullptr, face, &size);
    if (rc != ERROR_SUCCESS || face[0] == L'\0') return "MS Sans Serif";
    return win::Narrow(face);
}

void DrawLogo(HDC dc, int width, int height, const DpiScale& scale) {
    RECT all{0, 0, width, height};
    win::UniqueBrush red(::CreateSolidBrush(RGB(255, 0, 0)));
    ::FillRect(dc, &all, red.Get());

    // The pen's centre line runs along the outer edges: only the inner half
    // of the stroke falls inside the image.
    LogoLayout layout = LogoLayoutFor(height, scale.Line(10));
    win::UniquePen yellow(::CreatePen(PS_SOLID, layout.penWidth, RGB(255, 255, 0)));
    {
        win::SelectScope pen(dc, yellow.Get());
        ::MoveToEx(dc, 0, 0, nullptr);
        ::LineTo(dc, width, 0);
        ::LineTo(dc, width, height);
        ::LineTo(dc, 0, height);
        ::LineTo(dc, 0, 0);
    }

    // A positive height: the character cell height.
    win::UniqueFont font(::CreateFontW(layout.fontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       DEFAULT_QUALITY, DEFAULT_PITCH,
                                       win::Widen(ShellDialogFace()).c_str()));
    win::SelectScope keepFont(dc, font.Get());
    SIZE text{};
    ::GetTextExtentPoint32W(dc, L"V", 1, &text);
    LogoTextOrigin at = LogoTextOriginFor(width, height, text.cx, text.cy);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkColor(dc, RGB(255, 0, 0));
    ::SetBkMode(dc, OPAQUE);
    ::TextOutW(dc, at.x, at.y, L"V", 1);
}

// ---- ImageControl ---------------------------------------------------------------

ImageControl::ImageControl(HWND parent, int x, int y, int width, int height)
    : bitmap_(width > 0 && height > 0 ? win::CreateBitmap32(width, height) : win::UniqueBitmap()),
      width_(width),
      height_(height) {
    RegisterClassOnce(L"TImage", 0, nullptr);
    Create(0, L"TImage", "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent);
}

void ImageControl::SetBounds(const ScaledRect& r) {
    if (r.width != width_ || r.height != height_) {
        bitmap_ = win::CreateBitmap32(r.width, r.height);
        width_ = r.width;
        height_ = r.height;
    }
    ::SetWindowPos(Handle(), nullptr, r.left, r.top, r.width, r.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT ImageControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    auto copyTo = [this](HDC dc) {
        win::MemoryDC mem(dc);
        win::SelectScope keep(mem.Get(), bitmap_.Get());
        ::BitBlt(dc, 0, 0, width_, height_, mem.Get(), 0, 0, SRCCOPY);
    };
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // every pixel comes from the bitmap
        case WM_PAINT: {
            win::PaintScope paint(Handle());
            copyTo(paint.Get());
            return 0;
        }
        case WM_PRINTCLIENT:
            copyTo(reinterpret_cast<HDC>(wp));
            return 0;
    }
    return Default(msg, wp, lp);
}

// ---- ContainerWindow -----------------------------------------------------------

ContainerWindow::ContainerWindow(HWND parent, const wchar_t* className, int x, int y, int width,
                                 int height, bool visible) {
    static HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));  // lives as long as the class
    RegisterClassOnce(className, 0, red);
    Create(WS_EX_CONTROLPARENT, className, "",
           WS_CHILD | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0), x, y, width, height, parent);
}

LRESULT ContainerWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (win::IsChildNotification(msg)) return ::SendMessageW(::GetParent(Handle()), msg, wp, lp);
    return Default(msg, wp, lp);
}

// ---- drag cursor ----------------------------------------------------------

namespace {

// 'B' black, 'W' white, anything else transparent; hot spot at the tip.
constexpr const char* kDragCursor[] = {
    "B",
    "BB",
    "BWB",
    "BWWB",
    "BWWWB",
    "BWWWWB",
    "BWWWWWB",
    "BWWWWWWB",
    "BWWWWWWWB",
    "BWWWWWWWWB",
    "BWWWWWBBBBB",
    "BWWBWWB",
    "BWB BWWB",
    "BB  BWWB",
    "B    BWWB",
    "     BWWB",
    "      BB",
    "   BBBBBBBBB",
    "   BWWWWWWWB",
    "   BWWWWWWWB",
    "   BWWWWWWWB",
    "   BWWWWWWWB",
    "   BBBBBBBBB",
};

// The pattern's cell under pixel (x, y) of the cursor drawn at `scale`'s
// DPI: each cell grows to a square of DPI / 96 pixels (nearest neighbour).
char DragCursorCell(int x, int y, const DpiScale& scale) {
    constexpr int kRows = int(sizeof kDragCursor / sizeof kDragCursor[0]);
    int row = y * kDesignDpi / scale.Dpi(), col = x * kDesignDpi / scale.Dpi();
    if (row >= kRows) return ' ';
    const char* line = kDragCursor[row];
    for (int i = 0; i <= col; ++i)
        if (!line[i]) return ' ';
    return line[col];
}

}  // namespace

HCURSOR MakeDragCursor(const DpiScale& scale) {
    // Cursors come in multiples of 32 pixels square; the pattern fills the
    // top-left part at its scale.
    const int size = (scale(32) + 31) / 32 * 32, rowBytes = size / 8;
    std::vector<BYTE> andMask(size_t(size) * rowBytes, 0xFF), xorMask(andMask.size(), 0x00);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            char cell = DragCursorCell(x, y, scale);
            if (cell != 'B' && cell != 'W') continue;
            BYTE bit = BYTE(0x80 >> (x % 8));
            andMask[size_t(y) * rowBytes + x / 8] &= BYTE(~bit);
            if (cell == 'W') xorMask[size_t(y) * rowBytes + x / 8] |= bit;
        }
    }
    win::UniqueBitmap andBits(::CreateBitmap(size, size, 1, 1, andMask.data()));
    win::UniqueBitmap xorBits(::CreateBitmap(size, size, 1, 1, xorMask.data()));
    ICONINFO info{FALSE, 0, 0, andBits.Get(), xorBits.Get()};
    return ::CreateIconIndirect(&info);
}

}  // namespace pellion
