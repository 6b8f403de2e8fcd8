#include "ui/controls/styled_gdi.h"

#include "base/win/wide.h"
#include "base/win/win_error.h"

namespace pellion::win {

ColorRef SystemColor(int index) {
    return ::GetSysColor(index);
}

namespace {

void FillOp(HDC dc, const Rect& r, ColorRef c) {
    RECT rc{r.left, r.top, r.right, r.bottom};
    ::SetDCBrushColor(dc, c);
    ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void FrameOp(HDC dc, const Rect& r, ColorRef c) {
    if (r.Empty()) return;
    FillOp(dc, Rect{r.left, r.top, r.right, r.top + 1}, c);
    FillOp(dc, Rect{r.left, r.bottom - 1, r.right, r.bottom}, c);
    FillOp(dc, Rect{r.left, r.top, r.left + 1, r.bottom}, c);
    FillOp(dc, Rect{r.right - 1, r.top, r.right, r.bottom}, c);
}

void RoundRectOp(HDC dc, const DrawOp& op) {
    ::SetDCPenColor(dc, op.pen);
    ::SetDCBrushColor(dc, op.fill);
    SelectScope pen(dc, ::GetStockObject(DC_PEN));
    SelectScope brush(dc, ::GetStockObject(op.hasFill ? DC_BRUSH : NULL_BRUSH));
    ::RoundRect(dc, op.rect.left, op.rect.top, op.rect.right, op.rect.bottom, op.corner, op.corner);
}

void TextOp(HDC dc, const DrawOp& op, const std::wstring& text, HFONT font) {
    SelectScope keep(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, op.pen);
    ::TextOutW(dc, op.rect.left, op.rect.top, text.c_str(), int(text.size()));
}

}  // namespace

void ExecuteDrawList(HDC dc, const DrawList& list, HFONT font) {
    std::wstring text = Widen(list.text);
    for (const DrawOp& op : list.ops) {
        switch (op.kind) {
            case DrawOp::Kind::Fill:
                FillOp(dc, op.rect, op.fill);
                break;
            case DrawOp::Kind::Frame:
                FrameOp(dc, op.rect, op.pen);
                break;
            case DrawOp::Kind::RoundRect:
                RoundRectOp(dc, op);
                break;
            case DrawOp::Kind::Text:
                TextOp(dc, op, text, font);
                break;
        }
    }
}

UniqueFont CreateFontFrom(const FontSpec& look, const DpiScale& scale) {
    HFONT font =
        ::CreateFontW(scale(look.height), 0, 0, 0, look.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, Widen(look.face).c_str());
    if (!font) RaiseLastError("CreateFontW", look.face);
    return UniqueFont(font);
}

TextSize MeasureText(HDC dc, HFONT font, const std::string& text) {
    if (text.empty()) return {};
    SelectScope keep(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    std::wstring wide = Widen(text);
    SIZE size{};
    if (!::GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size)) return {};
    return TextSize{size.cx, size.cy};
}

TextSize MeasureText(HFONT font, const std::string& text) {
    static const HDC screen = ::CreateCompatibleDC(nullptr);  // lives as long as the process
    if (screen) return MeasureText(screen, font, text);
    WindowDC dc(nullptr);
    return MeasureText(dc.Get(), font, text);
}

UniqueBitmap CreateBitmap32(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap) RaiseLastError("CreateDIBSection");
    if (bits) *bits = pixels;
    return UniqueBitmap(bitmap);
}

void PaintParentBackground(HWND child, HDC dc) {
    RECT rc;
    ::GetClientRect(child, &rc);
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    HWND parent = ::GetParent(child);
    if (!parent) return;
    POINT at{0, 0};
    ::MapWindowPoints(child, parent, &at, 1);
    POINT old{};
    ::OffsetViewportOrgEx(dc, -at.x, -at.y, &old);
    if (!::SendMessageW(parent, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT | PRF_ERASEBKGND))
        ::SendMessageW(parent, WM_ERASEBKGND, WPARAM(dc), 0);
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

bool IsChildNotification(UINT msg) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return true;
    }
    return false;
}

HFONT FontOfParent(HWND hwnd) {
    HWND parent = ::GetParent(hwnd);
    HFONT font = parent ? HFONT(::SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    return font ? font : HFONT(::GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace pellion::win
