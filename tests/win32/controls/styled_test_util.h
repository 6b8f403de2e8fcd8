#pragma once
// Pixel read-back for the styled controls' tests: a 32-bit canvas pre-filled
// with a junk colour, a hidden host window, and the expected colours worked
// out here from the drawing rules, in floating point (never through the
// code under test).

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <ostream>

namespace pellion::testing_util {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}
inline Rgb FromRef(COLORREF c) {
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}
inline Rgb SysRgb(int index) {
    return FromRef(::GetSysColor(index));
}

constexpr Rgb kJunk{10, 200, 30};

// std::nearbyint rounds to nearest, ties to even, in the default mode.
inline int Near(double v) {
    return int(std::nearbyint(v));
}
// Step i of n: band fills add the rounded increment to S; the backdrop
// rounds the sum.
inline Rgb BandStep(Rgb s, Rgb e, int n, int i) {
    auto ch = [&](int a, int b) { return a + Near(i * (double(b - a) / n)); };
    return Rgb{ch(s.r, e.r), ch(s.g, e.g), ch(s.b, e.b)};
}
inline Rgb BackdropStep(Rgb s, Rgb e, int n, int i) {
    auto ch = [&](int a, int b) { return Near(a + i * (double(b - a) / n)); };
    return Rgb{ch(s.r, e.r), ch(s.g, e.g), ch(s.b, e.b)};
}
// The band covering row y of a band fill starting at `top`: bands start at
// top + round(i * h) with h = height / n, rows = round(h) + 1 (button) or
// trunc(h) + 1; the last band drawn over y wins.
inline int BandAt(int y, int top, int height, int n, bool button) {
    double h = double(height) / n;
    int rows = button ? Near(h) + 1 : int(h) + 1;
    int found = -1;
    for (int i = 0; i < n; ++i) {
        int start = top + Near(i * h);
        if (y >= start && y < start + rows) found = i;
    }
    return found;
}

class Canvas {
  public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        dc_ = ::CreateCompatibleDC(nullptr);
        old_ = ::SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i)
            bits_[i] = uint32_t(kJunk.r) << 16 | uint32_t(kJunk.g) << 8 | uint32_t(kJunk.b);
    }
    ~Canvas() {
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
        ::DeleteObject(bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC Dc() const { return dc_; }
    Rgb At(int x, int y) const {
        ::GdiFlush();
        uint32_t p = bits_[y * width_ + x];
        return Rgb{int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
    }

  private:
    int width_;
    HBITMAP bitmap_;
    uint32_t* bits_;
    HDC dc_;
    HGDIOBJ old_;
};

// A hidden top-level window that parents the controls under test; its
// background is a plain colour.
class Host {
  public:
    Host(int width, int height, COLORREF background = RGB(0, 64, 128)) {
        static const wchar_t* cls = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"StyledTestHost";
            ::RegisterClassW(&wc);
            return L"StyledTestHost";
        }();
        brush_ = ::CreateSolidBrush(background);
        hwnd_ = ::CreateWindowExW(0, cls, L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, width, height,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetClassLongPtrW(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_));
    }
    ~Host() {
        ::DestroyWindow(hwnd_);
        ::DeleteObject(brush_);
    }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    HWND Get() const { return hwnd_; }

  private:
    HBRUSH brush_;
    HWND hwnd_;
};

// Handles every message already posted to this thread.
inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace pellion::testing_util
