#pragma once
// What a level progress bar draws (portable): percent, level colours, the
// filled length as gradient blocks, and the centred position text.

#include <string>
#include <vector>

#include "ui/controls/gradient_paint.h"
#include "base/dpi_scale.h"

namespace pellion {

struct LevelColors {
    TColor color, colorTo;
};

struct ProgressBarProps {
    // Level 0 below Level1Perc, 1 below Level2Perc, 3 above 99 percent, else 2.
    LevelColors levels[4] = {
        {clLime, 14811105}, {clYellow, 13303807}, {5483007, 11064319}, {clRed, 13290239}};
    int level1Perc = 70;
    int level2Perc = 90;
    TColor borderColor = clGray;
    TColor backgroundColor = clWhite;
    bool showBorder = true;
    bool rounded = true;
    bool showGradient = true;
    int steps = 8;
    bool showPosition = true;
    bool showPercentage = true;
    int min = 0, max = 100, position = 50;
};

// Pixels of this colour in the bar's bitmap let the parent show through.
constexpr ColorRef kTransparentKey = 0xFF00FF;
constexpr int kBarCorner = 6;
constexpr int kBlockPitch = 9;  // 7-pixel blocks with 2-pixel gaps

// round((Position - Min) / (Max - Min) * 100), 0 when Max = Min. Kept within
// 0..100: a position past either end must not draw outside the bar or show
// a percentage it cannot have (a total of 2^31 bytes or more, taken as a
// signed maximum, is negative).
int ProgressPercent(int min, int max, int position);
int ProgressLevel(const ProgressBarProps& props, int percent);
// F = round(L * p / 100); nothing when p <= 0.
int FilledLength(int innerLength, int percent);

// Horizontal extents of the blocks for a filled length F, as [left, right)
// pairs relative to the bar's left edge: F <= 9 gives one block [2, F + 1)
// when F > 1; otherwise F div 9 blocks [2 + 9k, 9 + 9k), then one of r - 1
// pixels two pixels after the last when r = F mod 9 is more than 2. At
// another DPI the inset (2), pitch (9) and block (7) scale, and the gap is
// what the pitch leaves.
struct Extent {
    int left, right;
    bool operator==(const Extent& o) const { return left == o.left && right == o.right; }
};
std::vector<Extent> ProgressBlocks(int filled, const DpiScale& scale = DpiScale());

// "p%" with p = ProgressPercent: what the bar reports to assistive technology
// whatever it shows.
std::string PercentText(const ProgressBarProps& props);
// PercentText, or the position as a number without ShowPercentage; empty
// without ShowPosition.
std::string ProgressText(const ProgressBarProps& props);

// The whole bar for a width x height control. `text` is ProgressText's size
// in the bar's font.
DrawList ProgressBarLook(const ProgressBarProps& props, int width, int height, TextSize text,
                         TColor fontColor, SystemColorSource system,
                         const DpiScale& scale = DpiScale());

}  // namespace pellion
