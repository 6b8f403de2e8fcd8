#include "ui/controls/gradient_backdrop_look.h"

#include <algorithm>

namespace pellion {

int VerticalSteps(int height, int steps) {
    int n = std::min(steps, height);
    return n < 1 ? 1 : n;
}

int PyramidSteps(int width, int height, int steps) {
    int n = std::min({steps, width / 2, height / 2});
    return n < 1 ? 1 : n;
}

namespace {

// Band i of `length` pixels in n steps: [round(i*L/n), round((i+1)*L/n)).
int Edge(int i, int length, int n) {
    return int(RoundHalfEven(int64_t(i) * length, n));
}

void Vertical(DrawList& out, ColorRef s, ColorRef e, int w, int h, int steps) {
    int n = VerticalSteps(h, steps);
    for (int i = 0; i <= n; ++i)
        out.Fill(Rect{0, Edge(i, h, n), w, Edge(i + 1, h, n)}, BackdropStepColor(s, e, n, i));
}

void Horizontal(DrawList& out, ColorRef s, ColorRef e, int w, int h, int steps) {
    int n = VerticalSteps(w, steps);
    for (int i = 0; i <= n; ++i)
        out.Fill(Rect{Edge(i, w, n), 0, Edge(i + 1, w, n), h}, BackdropStepColor(s, e, n, i));
}

void Pyramid(DrawList& out, ColorRef s, ColorRef e, int w, int h, int steps) {
    int n = PyramidSteps(w, h, steps);
    out.Fill(Rect{0, 0, w, h}, s);
    for (int i = 0; i <= n; ++i) {
        // left = round(i * W / n / 2), top likewise.
        int left = Edge(i, w, 2 * n), top = Edge(i, h, 2 * n);
        Rect r{left, top, w - left, h - top};
        if (!r.Empty()) out.Fill(r, BackdropStepColor(s, e, n, i));
    }
}

}  // namespace

DrawList BackdropLook(const BackdropProps& props, int width, int height, SystemColorSource system) {
    DrawList out;
    if (width <= 0 || height <= 0) return out;
    ColorRef s = ResolveColor(props.startColor, system);
    ColorRef e = ResolveColor(props.endColor, system);
    switch (props.style) {
        case GradientStyle::grVertical:
            Vertical(out, s, e, width, height, props.steps);
            break;
        case GradientStyle::grPyramid:
            Pyramid(out, s, e, width, height, props.steps);
            break;
        case GradientStyle::grHorizontal:
            Horizontal(out, s, e, width, height, props.steps);
            break;
        default:
            out.Fill(Rect{0, 0, width, height}, s);
            break;
    }
    return out;
}

}  // namespace pellion
