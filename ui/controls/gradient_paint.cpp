#include "ui/controls/gradient_paint.h"

#include <algorithm>

namespace pellion {

ColorRef ResolveColor(TColor c, SystemColorSource system) {
    if (c == clNone) return 0;
    if (IsSystemColor(c)) return system ? system(c & 0xFF) & 0xFFFFFF : 0;
    return ColorRef(c) & 0xFFFFFF;
}

int64_t RoundHalfEven(int64_t p, int64_t q) {
    int64_t quotient = p / q, remainder = p % q;
    if (remainder < 0) {  // floor division
        quotient -= 1;
        remainder += q;
    }
    int64_t twice = 2 * remainder;
    if (twice > q || (twice == q && (quotient & 1))) ++quotient;
    return quotient;
}

namespace {

int Clamp255(int64_t v) {
    return int(std::clamp<int64_t>(v, 0, 255));
}

// n = 0 counts as one step everywhere.
int AtLeastOne(int n) {
    return n < 1 ? 1 : n;
}

}  // namespace

ColorRef BackdropStepColor(ColorRef s, ColorRef e, int n, int i) {
    n = AtLeastOne(n);
    auto channel = [&](int a, int b) {
        return Clamp255(RoundHalfEven(int64_t(a) * n + int64_t(i) * (b - a), n));
    };
    return MakeRgb(channel(RedOf(s), RedOf(e)), channel(GreenOf(s), GreenOf(e)),
                   channel(BlueOf(s), BlueOf(e)));
}

ColorRef BandStepColor(ColorRef s, ColorRef e, int n, int i) {
    n = AtLeastOne(n);
    auto channel = [&](int a, int b) {
        return Clamp255(a + RoundHalfEven(int64_t(i) * (b - a), n));
    };
    return MakeRgb(channel(RedOf(s), RedOf(e)), channel(GreenOf(s), GreenOf(e)),
                   channel(BlueOf(s), BlueOf(e)));
}

Rect Shrunk(const Rect& r, int by) {
    return Rect{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

void DrawList::Fill(const Rect& r, ColorRef c) {
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.rect = r;
    op.fill = c;
    ops.push_back(op);
}

void DrawList::Text(int x, int y, ColorRef c) {
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.rect = Rect{x, y, x, y};
    op.pen = c;
    ops.push_back(op);
}

namespace {

struct Span {
    int begin, end;
    ColorRef color;
};

// The bands along one axis of `length` pixels starting at `origin`.
std::vector<Span> Bands(int origin, int length, ColorRef s, ColorRef e, int n, BandStyle style) {
    std::vector<Span> spans;
    if (length <= 0) return spans;
    if (style == BandStyle::Button) n = kButtonBands;
    if (style == BandStyle::Panel) n = std::min(n, kPanelMaxBands);
    n = AtLeastOne(n);
    // Band height from h = length / n: rounded for the button, truncated
    // for the others.
    int rows = style == BandStyle::Button ? int(RoundHalfEven(length, n)) + 1 : length / n + 1;
    int limit = origin + length;
    for (int i = 0; i < n; ++i) {
        int begin = origin + int(RoundHalfEven(int64_t(i) * length, n));
        int end = std::min(begin + rows, limit);
        if (end > begin) spans.push_back(Span{begin, end, BandStepColor(s, e, n, i)});
    }
    return spans;
}

}  // namespace

void BandFill(DrawList& out, const Rect& r, ColorRef s, ColorRef e, int n, BandStyle style) {
    if (r.Width() <= 0) return;
    for (const Span& b : Bands(r.top, r.Height(), s, e, n, style))
        out.Fill(Rect{r.left, b.begin, r.right, b.end}, b.color);
}

void BandFillHorizontal(DrawList& out, const Rect& r, ColorRef s, ColorRef e, int n,
                        BandStyle style) {
    if (r.Height() <= 0) return;
    for (const Span& b : Bands(r.left, r.Width(), s, e, n, style))
        out.Fill(Rect{b.begin, r.top, b.end, r.bottom}, b.color);
}

}  // namespace pellion
