#include "ui/controls/gradient_button_look.h"

namespace pellion {

Rect ButtonFace(const ButtonProps& props, int width, int height) {
    Rect r{0, 0, width, height};
    if (props.borderDownColor == clNone || props.rounded) r = Shrunk(r, 1);
    return r;
}

Point CaptionOrigin(const Rect& face, TextSize text) {
    Rect area = Shrunk(face, 1);
    // Integer division truncates toward zero, as the layout rule says.
    return Point{area.left + (area.Width() - text.width + 1) / 2,
                 area.top + (area.Height() - text.height + 1) / 2};
}

namespace {

struct Palette {
    TColor from, to, border;
};

Palette PaletteFor(const ButtonProps& p, ButtonState state, bool hot) {
    if (!hot || state == ButtonState::Disabled) return {p.color, p.colorTo, p.borderColor};
    if (state == ButtonState::Down) return {p.colorDown, p.colorDownTo, p.borderDownColor};
    return {p.colorHot, p.colorHotTo, p.borderHotColor};
}

void Outline(DrawList& out, const ButtonProps& p, const Rect& face, const Rect& whole,
             ColorRef pen, int corner) {
    DrawOp op;
    op.pen = pen;
    if (p.rounded) {
        op.kind = DrawOp::Kind::RoundRect;
        op.rect = whole;
        op.corner = corner;
    } else {
        op.kind = DrawOp::Kind::Frame;
        op.rect = face;
    }
    out.ops.push_back(op);
}

void Caption(DrawList& out, const ButtonLookInput& in, const Rect& face, SystemColorSource system) {
    Point at = CaptionOrigin(face, in.captionSize);
    out.text = in.caption;
    if (in.state == ButtonState::Disabled) {
        out.Text(at.x + 1, at.y + 1, ResolveColor(clBtnHighlight, system));
        out.Text(at.x, at.y, ResolveColor(clBtnShadow, system));
    } else {
        out.Text(at.x, at.y, ResolveColor(in.fontColor, system));
    }
}

}  // namespace

DrawList ButtonLook(const ButtonProps& p, const ButtonLookInput& in, SystemColorSource system) {
    DrawList out;
    Rect whole{0, 0, in.width, in.height};
    Rect face = ButtonFace(p, in.width, in.height);
    if (whole.Empty()) return out;
    bool atRest = !in.hot || in.state == ButtonState::Disabled;
    Palette pal = PaletteFor(p, in.state, in.hot);
    ColorRef from = ResolveColor(pal.from, system);
    if (pal.to == clNone)
        out.Fill(face, from);
    else
        BandFill(out, face, from, ResolveColor(pal.to, system), kButtonBands, BandStyle::Button);
    // At rest the outline lies over the face (rounded: the whole control);
    // hot and pressed, only a rounded button outlines, over the whole control.
    if (pal.border != clNone && (atRest || p.rounded))
        Outline(out, p, face, whole, ResolveColor(pal.border, system), in.corner);
    if (p.showCaption && !in.caption.empty()) Caption(out, in, face, system);
    return out;
}

bool InsideButton(int x, int y, int width, int height) {
    return x >= 0 && x < width && y >= 0 && y <= height;
}

ButtonInput::Effect ButtonInput::SetHot(bool hot) {
    Effect e;
    if (hot_ == hot) return e;
    hot_ = hot;
    e.repaint = true;
    e.watchLeave = hot;
    return e;
}

ButtonInput::Effect ButtonInput::MouseMove(bool inside, bool captureElsewhere) {
    if (state_ == ButtonState::Disabled) return {};
    Effect e;
    if (inside && !hot_ && !captureElsewhere) e = SetHot(true);
    if (tracking_) {
        ButtonState next = inside ? ButtonState::Down : ButtonState::Up;
        if (next != state_) {
            state_ = next;
            e.repaint = true;
        }
    }
    return e;
}

ButtonInput::Effect ButtonInput::MouseLeave() {
    if (state_ == ButtonState::Disabled) return {};
    return SetHot(false);
}

ButtonInput::Effect ButtonInput::LeftDown() {
    if (state_ == ButtonState::Disabled) return {};
    // A press reaches the button only with the pointer over it, so it is
    // hot even when no move announced the pointer first.
    Effect e = SetHot(true);
    state_ = ButtonState::Down;
    tracking_ = true;
    e.repaint = e.capture = true;
    return e;
}

ButtonInput::Effect ButtonInput::LeftUp(bool inside) {
    if (!tracking_) return {};
    Effect e;
    tracking_ = false;
    state_ = ButtonState::Up;
    hot_ = false;
    e.repaint = e.release = true;
    e.click = inside;
    return e;
}

ButtonInput::Effect ButtonInput::Recheck(bool inside) {
    if (state_ == ButtonState::Disabled || tracking_) return {};
    return SetHot(inside);
}

ButtonInput::Effect ButtonInput::CaptureLost() {
    if (!tracking_) return {};
    tracking_ = false;
    Effect e;
    e.repaint = state_ != ButtonState::Up;
    state_ = ButtonState::Up;
    return e;
}

ButtonInput::Effect ButtonInput::SetEnabled(bool enabled) {
    Effect e;
    if (!enabled) {
        if (state_ == ButtonState::Disabled) return e;
        e.release = tracking_;
        tracking_ = hot_ = false;
        state_ = ButtonState::Disabled;
    } else {
        if (state_ != ButtonState::Disabled) return e;
        state_ = ButtonState::Up;
    }
    e.repaint = true;
    return e;
}

}  // namespace pellion
