#pragma once
// Lengths laid out at 96 dpi, at the DPI of the window they are shown in.
// Every size and position, font height, pen and rounding of the windows goes
// through one DpiScale, so that 96 dpi gives the layout's own numbers exactly
// and any other DPI scales them the way Windows scales (MulDiv: the nearest
// integer, halves away from zero). Portable: no window is touched here.

namespace pellion {

// a*b/c rounded to the nearest integer, halves away from zero (as MulDiv).
int MulDivRound(int a, int b, int c);

inline constexpr int kDesignDpi = 96;

struct ScaledRect {
    int left, top, width, height;
};

class DpiScale {
  public:
    // A DPI below 96 or unknown (0) counts as 96: the layout never shrinks.
    explicit DpiScale(int dpi = kDesignDpi) : dpi_(dpi >= kDesignDpi ? dpi : kDesignDpi) {}
    int Dpi() const { return dpi_; }
    bool IsDesign() const { return dpi_ == kDesignDpi; }

    // One length, position or font height (negative heights scale alike).
    int operator()(int designed) const { return MulDivRound(designed, dpi_, kDesignDpi); }
    // Position and size scaled each on its own, as Windows scales dialog
    // controls: controls of one size stay of one size.
    ScaledRect operator()(const ScaledRect& designed) const {
        return {(*this)(designed.left), (*this)(designed.top), (*this)(designed.width),
                (*this)(designed.height)};
    }
    // A pen or line width: never thinner than one pixel.
    int Line(int designed) const {
        int scaled = (*this)(designed);
        return designed > 0 && scaled < 1 ? 1 : scaled;
    }

  private:
    int dpi_;
};

}  // namespace pellion
