#pragma once
// Portable half of the styled controls: colour values, gradient arithmetic
// and the drawing list that each control computes from its properties, state
// and size. A short GDI routine (ui/styled_gdi.h) executes the list; nothing
// here includes <windows.h>, so every number is unit-tested natively.
//
// Coordinates follow GDI: a rectangle covers [left, right) x [top, bottom).

#include <cstdint>
#include <string>
#include <vector>

namespace pellion {

// A colour property: $00BBGGRR (red in the low byte), or a system colour
// (kSystemColor | index, negative as a 32-bit value), or clNone.
using TColor = int32_t;
// A resolved colour, $00BBGGRR, as GDI takes it.
using ColorRef = uint32_t;

constexpr TColor kSystemColor = TColor(0xFF000000u);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;
// System colours; the low byte is the GetSysColor index.
constexpr TColor clWindowText = kSystemColor | 8;
constexpr TColor clBtnFace = kSystemColor | 15;
constexpr TColor clBtnShadow = kSystemColor | 16;
constexpr TColor clBtnHighlight = kSystemColor | 20;

constexpr bool IsSystemColor(TColor c) {
    return c < 0;
}

// Answers the RGB value of a system colour index at the moment of drawing.
using SystemColorSource = ColorRef (*)(int index);

// clNone must be handled by the caller; it resolves to black here.
ColorRef ResolveColor(TColor c, SystemColorSource system);

constexpr int RedOf(ColorRef c) {
    return int(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return int((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return int((c >> 16) & 0xFF);
}
constexpr ColorRef MakeRgb(int r, int g, int b) {
    return ColorRef(r) | (ColorRef(g) << 8) | (ColorRef(b) << 16);
}

// round(p / q) to the nearest integer, ties to even; q > 0. Gradients are
// computed on exact fractions so a half is always recognised as a half.
int64_t RoundHalfEven(int64_t p, int64_t q);

// Colour of step i of an n-step gradient from s to e, per channel:
//   backdrop rule: round(S + i * (E - S) / n)
//   band rule:     S + round(i * (E - S) / n)
// They differ only where i * (E - S) / n ends in exactly one half.
ColorRef BackdropStepColor(ColorRef s, ColorRef e, int n, int i);
ColorRef BandStepColor(ColorRef s, ColorRef e, int n, int i);

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
Rect Shrunk(const Rect& r, int by);

// One drawing primitive. Later operations paint over earlier ones.
struct DrawOp {
    enum class Kind : uint8_t {
        Fill,       // rect filled with `fill`
        Frame,      // one-pixel outline of rect in `pen`, inside rect
        RoundRect,  // rounded rectangle with corner x corner ellipses, outlined
                    // in `pen`, filled with `fill` when hasFill
        Text,       // the list's text with its top-left at rect.left/top in `pen`
    };
    Kind kind = Kind::Fill;
    Rect rect;
    ColorRef fill = 0;
    ColorRef pen = 0;
    int corner = 0;
    bool hasFill = false;
};

struct DrawList {
    std::vector<DrawOp> ops;
    std::string text;  // drawn by the Text operations, UTF-8

    void Fill(const Rect& r, ColorRef c);
    void Text(int x, int y, ColorRef c);
};

// The three band fills: n horizontal bands over r, S at the top. Band i
// starts at r.top + round(i * h), h = height / n, and is filled with step i
// of the band rule; later bands overlap earlier ones. n = 0 counts as 1.
enum class BandStyle {
    Button,     // 16 bands of round(h) + 1 rows, steps 0..15
    HalfBlock,  // n bands of trunc(h) + 1 rows, cut at the bottom
    Panel,      // n (at most 32) bands of trunc(h) + 1 rows, cut at the bottom
};
constexpr int kButtonBands = 16;
constexpr int kPanelMaxBands = 32;

// Appends the bands to `out`. Every band is clipped to r: a button's face
// never paints beyond its own rectangle (see gradient_button_look.h).
void BandFill(DrawList& out, const Rect& r, ColorRef s, ColorRef e, int n, BandStyle style);
// The same bands turned by a quarter: columns from left (S) to right.
void BandFillHorizontal(DrawList& out, const Rect& r, ColorRef s, ColorRef e, int n,
                        BandStyle style);

// Text extent in pixels, measured by the caller in the control's font.
struct TextSize {
    int width = 0, height = 0;
};

// A control's font as the windows set it: face, character height in pixels
// (negative, as the windows give it), weight and colour.
struct FontSpec {
    std::string face = "Tahoma";
    int height = -11;
    bool bold = false;
    TColor color = clWindowText;
};

}  // namespace pellion
