#pragma once
// What a gradient panel draws for its properties and size (portable).

#include "ui/controls/gradient_paint.h"

namespace pellion {

enum class GradientDirection { gdVertical, gdHorizontal };
enum class PanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// Bands the panel asks for; BandStyle::Panel caps them at 32.
constexpr int kPanelRequestedBands = 64;

struct PanelProps {
    TColor color = clBtnFace;
    TColor colorTo = clNone;
    // A mirror gradient would need ColorMirror; without it ColorMirrorTo has
    // no effect, and the panel never draws one.
    TColor colorMirror = clNone;
    TColor colorMirrorTo = clNone;
    GradientDirection gradientDirection = GradientDirection::gdVertical;
    PanelBevel bevelOuter = PanelBevel::bvRaised;
    PanelBevel bevelInner = PanelBevel::bvNone;
    int bevelWidth = 1;
    TColor borderColor = clBlack;
    int borderWidth = 0;
};

// 1. Color alone when ColorTo is clNone, else 32 bands from Color (top, or
//    left for gdHorizontal) to ColorTo.
// 2. A BorderWidth frame in BorderColor at the edge, only when BorderColor
//    is not clNone and BorderWidth is not 0.
// 3. The outer bevel inside it, then the inner bevel inside that, each
//    BevelWidth pixels: raised is clBtnHighlight on the top and left edges
//    and clBtnShadow on the bottom and right (which own the two corners
//    where they meet the light edges); lowered swaps them; bvSpace only
//    takes the room.
DrawList PanelLook(const PanelProps& props, int width, int height, SystemColorSource system);

}  // namespace pellion
