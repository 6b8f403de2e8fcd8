#include "ui/controls/gradient_panel_look.h"

namespace pellion {

namespace {

void Background(DrawList& out, const PanelProps& p, const Rect& r, SystemColorSource system) {
    ColorRef from = ResolveColor(p.color, system);
    if (p.colorTo == clNone) {
        out.Fill(r, from);
        return;
    }
    ColorRef to = ResolveColor(p.colorTo, system);
    if (p.gradientDirection == GradientDirection::gdVertical)
        BandFill(out, r, from, to, kPanelRequestedBands, BandStyle::Panel);
    else
        BandFillHorizontal(out, r, from, to, kPanelRequestedBands, BandStyle::Panel);
}

// One ring of `width` pixels along the inside of r: `light` on the top and
// left, `dark` on the bottom and right. Answers the rectangle inside it.
Rect Ring(DrawList& out, Rect r, int width, ColorRef light, ColorRef dark) {
    for (int k = 0; k < width && !r.Empty(); ++k) {
        out.Fill(Rect{r.left, r.top, r.right - 1, r.top + 1}, light);
        out.Fill(Rect{r.left, r.top, r.left + 1, r.bottom - 1}, light);
        out.Fill(Rect{r.right - 1, r.top, r.right, r.bottom}, dark);
        out.Fill(Rect{r.left, r.bottom - 1, r.right, r.bottom}, dark);
        r = Shrunk(r, 1);
    }
    return r;
}

Rect Bevel(DrawList& out, PanelBevel bevel, int width, const Rect& r, SystemColorSource system) {
    if (width <= 0 || bevel == PanelBevel::bvNone) return r;
    if (bevel == PanelBevel::bvSpace) return Shrunk(r, width);
    ColorRef highlight = ResolveColor(clBtnHighlight, system);
    ColorRef shadow = ResolveColor(clBtnShadow, system);
    if (bevel == PanelBevel::bvRaised) return Ring(out, r, width, highlight, shadow);
    return Ring(out, r, width, shadow, highlight);
}

}  // namespace

DrawList PanelLook(const PanelProps& p, int width, int height, SystemColorSource system) {
    DrawList out;
    Rect r{0, 0, width, height};
    if (r.Empty()) return out;
    Background(out, p, r, system);
    if (p.borderColor != clNone && p.borderWidth > 0) {
        ColorRef c = ResolveColor(p.borderColor, system);
        r = Ring(out, r, p.borderWidth, c, c);
    }
    r = Bevel(out, p.bevelOuter, p.bevelWidth, r, system);
    Bevel(out, p.bevelInner, p.bevelWidth, r, system);
    return out;
}

}  // namespace pellion
