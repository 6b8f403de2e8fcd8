#pragma once
// What a styled label draws (portable): its text at the top-left corner in
// the font's colour, over its fill colour unless it is drawn transparently.

#include "ui/controls/gradient_paint.h"

namespace pellion {

struct LabelLookInput {
    int width = 0, height = 0;
    // True while the system's visual styles are active: the parent's
    // pixels show around the glyphs. Otherwise the label's own rectangle is
    // filled with `color` first (nothing when it is clNone).
    bool transparent = false;
    TColor color = clNone;
    TColor fontColor = clWindowText;
};

DrawList LabelLook(const LabelLookInput& in, SystemColorSource system);

}  // namespace pellion
