#include "ui/controls/level_progress_bar_look.h"

#include <algorithm>

namespace pellion {

int ProgressPercent(int min, int max, int position) {
    int64_t range = int64_t(max) - min;
    if (range == 0) return 0;
    int64_t done = (int64_t(position) - min) * 100;
    if (range < 0) {
        range = -range;
        done = -done;
    }
    return int(std::clamp<int64_t>(RoundHalfEven(done, range), 0, 100));
}

int ProgressLevel(const ProgressBarProps& props, int percent) {
    if (percent < props.level1Perc) return 0;
    if (percent < props.level2Perc) return 1;
    if (percent > 99) return 3;
    return 2;
}

int FilledLength(int innerLength, int percent) {
    if (percent <= 0 || innerLength <= 0) return 0;
    return int(RoundHalfEven(int64_t(innerLength) * percent, 100));
}

std::vector<Extent> ProgressBlocks(int filled, const DpiScale& scale) {
    std::vector<Extent> blocks;
    const int inset = scale(2), pitch = scale(kBlockPitch), block = scale(kBlockPitch - 2);
    const int gap = pitch - block;
    if (filled <= pitch) {
        if (filled > 1) blocks.push_back({inset, filled + 1});
        return blocks;
    }
    int count = filled / pitch, rest = filled % pitch;
    for (int k = 0; k < count; ++k)
        blocks.push_back({inset + pitch * k, inset + block + pitch * k});
    if (rest > gap) {
        int left = blocks.back().right + gap;
        blocks.push_back({left, left + rest - 1});
    }
    return blocks;
}

std::string PercentText(const ProgressBarProps& props) {
    return std::to_string(ProgressPercent(props.min, props.max, props.position)) + "%";
}

std::string ProgressText(const ProgressBarProps& props) {
    if (!props.showPosition) return std::string();
    if (!props.showPercentage) return std::to_string(props.position);
    return PercentText(props);
}

namespace {

void Background(DrawList& out, const ProgressBarProps& p, const Rect& r, SystemColorSource sys,
                int corner) {
    ColorRef back = ResolveColor(p.backgroundColor, sys);
    ColorRef pen = p.showBorder ? ResolveColor(p.borderColor, sys) : back;
    DrawOp op;
    op.rect = r;
    op.fill = back;
    op.pen = pen;
    if (p.rounded) {
        out.Fill(r, kTransparentKey);
        op.kind = DrawOp::Kind::RoundRect;
        op.hasFill = true;
        op.corner = corner;
        out.ops.push_back(op);
    } else {
        out.Fill(r, back);
        op.kind = DrawOp::Kind::Frame;
        out.ops.push_back(op);
    }
}

// A tube: pale (ColorTo) at both edges, the level colour in the middle.
void Block(DrawList& out, const ProgressBarProps& p, const Rect& b, ColorRef c, ColorRef pale) {
    if (!p.showGradient) {
        out.Fill(b, c);
        return;
    }
    int mid = b.top + (b.bottom - b.top) / 2;
    BandFill(out, Rect{b.left, b.top, b.right, mid}, pale, c, p.steps, BandStyle::HalfBlock);
    BandFill(out, Rect{b.left, mid, b.right, b.bottom}, c, pale, p.steps, BandStyle::HalfBlock);
}

}  // namespace

DrawList ProgressBarLook(const ProgressBarProps& p, int width, int height, TextSize text,
                         TColor fontColor, SystemColorSource system, const DpiScale& scale) {
    DrawList out;
    Rect r{0, 0, width, height};
    if (r.Empty()) return out;
    Background(out, p, r, system, scale(kBarCorner));
    int percent = ProgressPercent(p.min, p.max, p.position);
    const LevelColors& level = p.levels[ProgressLevel(p, percent)];
    ColorRef c = ResolveColor(level.color, system), pale = ResolveColor(level.colorTo, system);
    int top = r.top + scale(2), bottom = r.bottom - scale(2);
    if (bottom > top) {
        for (const Extent& x : ProgressBlocks(FilledLength(width - 2, percent), scale))
            Block(out, p, Rect{r.left + x.left, top, r.left + x.right, bottom}, c, pale);
    }
    out.text = ProgressText(p);
    if (!out.text.empty())
        out.Text(r.left + width / 2 - text.width / 2, r.top + height / 2 - text.height / 2,
                 ResolveColor(fontColor, system));
    return out;
}

}  // namespace pellion
