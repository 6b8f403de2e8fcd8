#pragma once
// What a gradient backdrop draws for its properties and size (portable).

#include <cstdint>

#include "ui/controls/gradient_paint.h"

namespace pellion {

enum class GradientStyle { grFilled, grEllipse, grHorizontal, grVertical, grPyramid, grMount };

struct BackdropProps {
    GradientStyle style = GradientStyle::grHorizontal;
    TColor startColor = 0xFF0000;  // blue
    TColor endColor = clBlack;
    uint16_t steps = 100;
};

// Steps actually used: the vertical style uses at most one step per row; the
// pyramid at most W div 2 and H div 2. Zero becomes one.
int VerticalSteps(int height, int steps);
int PyramidSteps(int width, int height, int steps);

// The drawing list for a width x height backdrop; empty when either is 0.
//   grVertical:   n + 1 full-width bands, band i from round(i*H/n) to
//                 round((i+1)*H/n) in step i (the last one lies below).
//   grPyramid:    S everywhere, then for i = 0..n the rectangle
//                 (round(i*dx), round(i*dy), W - left, H - top) in step i,
//                 dx = W/n/2, dy = H/n/2: S at the rim, E in the centre.
//   grHorizontal: the vertical rule turned by a quarter (columns, S at the
//                 left), so the default style shows a gradient too.
//   grFilled, grEllipse, grMount: a plain StartColor fill; the windows never
//                 use them.
DrawList BackdropLook(const BackdropProps& props, int width, int height, SystemColorSource system);

}  // namespace pellion
