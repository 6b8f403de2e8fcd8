// What the backdrop and the panel draw: steps used, band and ring geometry,
// colours.
#include <gtest/gtest.h>

#include "ui/controls/gradient_backdrop_look.h"
#include "ui/controls/gradient_panel_look.h"

namespace pellion {
namespace {

ColorRef FakeSystem(int index) {
    return 0x010101u * ColorRef(index);  // distinct per index
}
const ColorRef kHighlight = FakeSystem(20), kShadow = FakeSystem(16);

BackdropProps MaroonToRed(GradientStyle style) {
    BackdropProps p;
    p.style = style;
    p.startColor = clMaroon;
    p.endColor = clRed;
    return p;
}

TEST(BackdropLook, ZeroSizeDrawsNothing) {
    for (GradientStyle style : {GradientStyle::grPyramid, GradientStyle::grVertical,
                                GradientStyle::grHorizontal, GradientStyle::grFilled}) {
        EXPECT_TRUE(BackdropLook(MaroonToRed(style), 0, 390, FakeSystem).ops.empty());
        EXPECT_TRUE(BackdropLook(MaroonToRed(style), 492, 0, FakeSystem).ops.empty());
    }
}

TEST(BackdropLook, StepsUsed) {
    struct Row {
        bool pyramid;
        int width, height, steps, used;
    };
    const Row rows[] = {
        {true, 492, 390, 100, 100},  // the main window's page
        {true, 492, 150, 100, 75},   // limited by H div 2
        {true, 151, 390, 100, 75},   // limited by W div 2
        {true, 1, 390, 100, 1},      // W div 2 = 0 becomes 1
        {true, 492, 390, 0, 1},      // Steps = 0 becomes 1
        {false, 50, 0, 100, 1},      // vertical: height 0 -> 1
        {false, 0, 50, 100, 50},     // vertical: one step per row at most
        {false, 0, 390, 100, 100},  {false, 0, 390, 65535, 390},
    };
    for (const Row& r : rows) {
        int used =
            r.pyramid ? PyramidSteps(r.width, r.height, r.steps) : VerticalSteps(r.height, r.steps);
        EXPECT_EQ(used, r.used) << r.width << "x" << r.height << " steps " << r.steps;
    }
}

TEST(BackdropLook, VerticalFiftyHighGivesFiftyOnePixelBandsAndOneOutside) {
    DrawList list = BackdropLook(MaroonToRed(GradientStyle::grVertical), 492, 50, FakeSystem);
    ASSERT_EQ(list.ops.size(), 51u);
    for (int i = 0; i < 51; ++i) EXPECT_EQ(list.ops[i].rect, (Rect{0, i, 492, i + 1})) << i;
    EXPECT_EQ(list.ops[0].fill, MakeRgb(128, 0, 0));
    EXPECT_EQ(list.ops[1].fill, MakeRgb(131, 0, 0));   // 130.54
    EXPECT_EQ(list.ops[25].fill, MakeRgb(192, 0, 0));  // round(191.5), even
    EXPECT_EQ(list.ops[50].fill, MakeRgb(255, 0, 0));  // E, below the control
}

TEST(BackdropLook, VerticalBandsOfTheSetupPage) {
    DrawList list = BackdropLook(MaroonToRed(GradientStyle::grVertical), 492, 390, FakeSystem);
    ASSERT_EQ(list.ops.size(), 101u);
    EXPECT_EQ(list.ops[4].rect, (Rect{0, 16, 492, 20}));      // 15.6 .. 19.5, even
    EXPECT_EQ(list.ops[5].rect, (Rect{0, 20, 492, 23}));      // 19.5 .. 23.4
    EXPECT_EQ(list.ops[100].rect, (Rect{0, 390, 492, 394}));  // outside
}

TEST(BackdropLook, PyramidOfTheWelcomePage) {
    DrawList list = BackdropLook(MaroonToRed(GradientStyle::grPyramid), 492, 390, FakeSystem);
    ASSERT_EQ(list.ops.size(), 101u);  // S everywhere, then i = 0..99; i = 100 is empty
    EXPECT_EQ(list.ops[0].rect, (Rect{0, 0, 492, 390}));
    EXPECT_EQ(list.ops[0].fill, MakeRgb(128, 0, 0));
    // i = 1: dx = 2.46, dy = 1.95.
    EXPECT_EQ(list.ops[2].rect, (Rect{2, 2, 490, 388}));
    EXPECT_EQ(list.ops[2].fill, MakeRgb(129, 0, 0));
    // i = 50: top = round(97.5) = 98 (even), colour round(191.5) = 192.
    EXPECT_EQ(list.ops[51].rect, (Rect{123, 98, 369, 292}));
    EXPECT_EQ(list.ops[51].fill, MakeRgb(192, 0, 0));
    // i = 99: the centre, round(253.73) = 254.
    EXPECT_EQ(list.ops[100].rect, (Rect{244, 193, 248, 197}));
    EXPECT_EQ(list.ops[100].fill, MakeRgb(254, 0, 0));
}

TEST(BackdropLook, PyramidOneHundredFiftyHighUsesSeventyFiveSteps) {
    DrawList list = BackdropLook(MaroonToRed(GradientStyle::grPyramid), 492, 150, FakeSystem);
    ASSERT_EQ(list.ops.size(), 76u);  // S, then i = 0..74; i = 75 is empty
    // dy = 150 / 75 / 2 = 1, dx = 3.28; colour 128 + 74 * 127 / 75 = 253.3.
    EXPECT_EQ(list.ops.back().rect, (Rect{243, 74, 249, 76}));
    EXPECT_EQ(list.ops.back().fill, MakeRgb(253, 0, 0));
}

TEST(PanelLook, SidePanelBandsWithoutFrame) {
    PanelProps p;
    p.color = 19967;
    p.colorTo = clMaroon;
    p.bevelOuter = PanelBevel::bvNone;
    DrawList list = PanelLook(p, 185, 400, FakeSystem);
    ASSERT_EQ(list.ops.size(), 32u);
    EXPECT_EQ(list.ops[0].rect, (Rect{0, 0, 185, 13}));
    EXPECT_EQ(list.ops[0].fill, MakeRgb(255, 77, 0));
    // Step 16 of 32: 255 - 63.5 -> 255 - 64 (even) = 191; 77 - 38.5 -> 77 - 38 = 39.
    EXPECT_EQ(list.ops[16].rect, (Rect{0, 200, 185, 213}));
    EXPECT_EQ(list.ops[16].fill, MakeRgb(191, 39, 0));
}

TEST(PanelLook, SolidWithoutColorTo) {
    PanelProps p;  // clBtnFace, no ColorTo, raised bevel
    DrawList list = PanelLook(p, 20, 10, FakeSystem);
    ASSERT_EQ(list.ops.size(), 5u);
    EXPECT_EQ(list.ops[0].rect, (Rect{0, 0, 20, 10}));
    EXPECT_EQ(list.ops[0].fill, FakeSystem(15));
}

// The ring fills that follow the background, in drawing order.
void ExpectRing(const DrawList& list, size_t first, const Rect& r, ColorRef light, ColorRef dark,
                int line) {
    ASSERT_GE(list.ops.size(), first + 4) << "from line " << line;
    const Rect want[] = {
        {r.left, r.top, r.right - 1, r.top + 1},    // top, short of the right corner
        {r.left, r.top, r.left + 1, r.bottom - 1},  // left, short of the bottom corner
        {r.right - 1, r.top, r.right, r.bottom},    // right, full height
        {r.left, r.bottom - 1, r.right, r.bottom},  // bottom, full width
    };
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(list.ops[first + k].rect, want[k]) << "edge " << k << " from line " << line;
        EXPECT_EQ(list.ops[first + k].fill, k < 2 ? light : dark)
            << "edge " << k << " from line " << line;
    }
}

TEST(PanelLook, BevelsAndBorder) {
    struct Row {
        PanelBevel outer, inner;
        int bevelWidth;
        TColor border;
        int borderWidth;
        size_t rings;
    };
    const Row rows[] = {
        {PanelBevel::bvRaised, PanelBevel::bvNone, 1, clBlack, 0, 1},     // the progress window
        {PanelBevel::bvLowered, PanelBevel::bvNone, 1, clBlack, 0, 1},    // swapped colours
        {PanelBevel::bvRaised, PanelBevel::bvNone, 2, clBlack, 0, 2},     // two rings
        {PanelBevel::bvRaised, PanelBevel::bvLowered, 1, clBlack, 0, 2},  // inner inside outer
        {PanelBevel::bvSpace, PanelBevel::bvRaised, 1, clBlack, 0, 1},    // space only moves in
        {PanelBevel::bvNone, PanelBevel::bvNone, 1, clBlack, 1, 1},       // border alone
        {PanelBevel::bvNone, PanelBevel::bvNone, 1, clNone, 3, 0},        // clNone: no border
    };
    for (const Row& r : rows) {
        PanelProps p;
        p.color = clRed;
        p.colorTo = clMaroon;
        p.bevelOuter = r.outer;
        p.bevelInner = r.inner;
        p.bevelWidth = r.bevelWidth;
        p.borderColor = r.border;
        p.borderWidth = r.borderWidth;
        DrawList list = PanelLook(p, 447, 41, FakeSystem);
        ASSERT_EQ(list.ops.size(), 32 + 4 * r.rings) << int(r.outer) << "/" << int(r.inner);
        Rect ring{0, 0, 447, 41};
        if (r.outer == PanelBevel::bvSpace) ring = Shrunk(ring, 1);
        for (size_t k = 0; k < r.rings; ++k, ring = Shrunk(ring, 1)) {
            bool lowered = (k == 0 ? r.outer : r.inner) == PanelBevel::bvLowered;
            if (r.bevelWidth == 2) lowered = false;
            ColorRef light = lowered ? kShadow : kHighlight, dark = lowered ? kHighlight : kShadow;
            if (r.borderWidth) light = dark = 0;  // black
            ExpectRing(list, 32 + 4 * k, ring, light, dark, __LINE__);
        }
    }
}

}  // namespace
}  // namespace pellion
