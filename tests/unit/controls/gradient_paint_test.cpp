// Colour interpolation with ties to even, and the three band fills.
#include "ui/controls/gradient_paint.h"

#include <gtest/gtest.h>

namespace pellion {
namespace {

TEST(GradientPaint, RoundHalfEven) {
    struct Row {
        int64_t p, q, expected;
    };
    const Row rows[] = {
        {5, 2, 2},                     // 2.5 to the even 2
        {7, 2, 4},                     // 3.5 to the even 4
        {3, 2, 2},                     // 1.5
        {-1, 2, 0},                    // -0.5 to 0
        {-3, 2, -2},                   // -1.5
        {-7, 2, -4},                   // -3.5
        {1, 3, 0},                     // 0.33
        {2, 3, 1},                     // 0.67
        {-5, 3, -2},                   // -1.67
        {0, 7, 0},   {1950, 100, 20},  // 19.5, as in 5 * 390 / 100
    };
    for (const Row& r : rows) EXPECT_EQ(RoundHalfEven(r.p, r.q), r.expected) << r.p << "/" << r.q;
}

// Where i * (E - S) / n ends in exactly one half the two rules part.
TEST(GradientPaint, BackdropAndBandRulesDifferOnlyOnHalves) {
    struct Row {
        int s, e, n, i, backdrop, band;
    };
    const Row rows[] = {
        {1, 2, 2, 1, 2, 1},            // round(1.5) = 2, 1 + round(0.5) = 1
        {1, 4, 2, 1, 2, 3},            // round(2.5) = 2, 1 + round(1.5) = 3
        {255, 0, 2, 1, 128, 127},      // round(127.5) = 128, 255 + round(-127.5) = 127
        {128, 255, 2, 1, 192, 192},    // 191.5 and 128 + 64 agree
        {0, 3, 2, 1, 2, 2},            // 1.5 both ways
        {128, 255, 100, 1, 129, 129},  // 129.27: no half
        {10, 20, 4, 0, 10, 10},        // step 0 is S
        {10, 20, 4, 4, 20, 20},        // step n is E
    };
    for (const Row& r : rows) {
        // The same numbers in each channel, each channel on its own.
        for (int shift : {0, 8, 16}) {
            ColorRef s = ColorRef(r.s) << shift, e = ColorRef(r.e) << shift;
            EXPECT_EQ(BackdropStepColor(s, e, r.n, r.i), ColorRef(r.backdrop) << shift)
                << r.s << ".." << r.e << " step " << r.i << "/" << r.n;
            EXPECT_EQ(BandStepColor(s, e, r.n, r.i), ColorRef(r.band) << shift)
                << r.s << ".." << r.e << " step " << r.i << "/" << r.n;
        }
    }
}

TEST(GradientPaint, ResolveColor) {
    auto system = [](int index) -> ColorRef { return 0x0A0000u + ColorRef(index); };
    EXPECT_EQ(ResolveColor(clRed, system), 0x0000FFu);
    EXPECT_EQ(ResolveColor(19967, system), MakeRgb(255, 77, 0));
    EXPECT_EQ(ResolveColor(clBtnFace, system), 0x0A000Fu);  // resolved through the source
    EXPECT_EQ(ResolveColor(clBtnShadow, system), 0x0A0010u);
}

struct BandRow {
    int top, bottom;
    ColorRef color;
};

void ExpectBands(const DrawList& list, const Rect& r, const std::vector<BandRow>& rows, int line) {
    ASSERT_EQ(list.ops.size(), rows.size()) << "from line " << line;
    for (size_t i = 0; i < rows.size(); ++i) {
        const DrawOp& op = list.ops[i];
        EXPECT_EQ(op.kind, DrawOp::Kind::Fill) << "band " << i << " from line " << line;
        EXPECT_EQ(op.rect, (Rect{r.left, rows[i].top, r.right, rows[i].bottom}))
            << "band " << i << " from line " << line;
        if (rows[i].color != 0xFFFFFFFFu) {
            EXPECT_EQ(op.fill, rows[i].color) << "band " << i << " from line " << line;
        }
    }
}
constexpr ColorRef kAny = 0xFFFFFFFFu;

TEST(GradientPaint, ButtonBandsRoundTheirHeightAndStayInTheFace) {
    // A 73 x 22 button's face: 20 rows, h = 1.25, bands of round(h) + 1 = 2.
    Rect face{1, 1, 72, 21};
    DrawList list;
    BandFill(list, face, MakeRgb(255, 0, 0), MakeRgb(128, 0, 0), 99, BandStyle::Button);
    ExpectBands(list, face,
                {{1, 3, MakeRgb(255, 0, 0)},  // step 0 is S
                 {2, 4, kAny},                // round(1.25) = 1
                 {3, 5, kAny},                // round(2.5) = 2, even
                 {5, 7, kAny},
                 {6, 8, kAny},
                 {7, 9, kAny},
                 {9, 11, kAny},  // round(7.5) = 8, even
                 {10, 12, kAny},
                 {11, 13, kAny},
                 {12, 14, kAny},
                 {13, 15, kAny},  // round(12.5) = 12
                 {15, 17, kAny},
                 {16, 18, kAny},
                 {17, 19, kAny},
                 {19, 21, kAny},                 // round(17.5) = 18
                 {20, 21, MakeRgb(136, 0, 0)}},  // cut at the face; step 15, never E
                __LINE__);
}

TEST(GradientPaint, HalfBlockBandsTruncateTheirHeight) {
    // Seven rows in eight steps: h = 0.875, bands of one row; bands 4 and 5
    // both start four rows down (round(3.5) = 4), the later one wins.
    Rect r{10, 2, 17, 9};
    DrawList list;
    BandFill(list, r, MakeRgb(0, 0, 0), MakeRgb(0, 0, 80), 8, BandStyle::HalfBlock);
    ExpectBands(list, r,
                {{2, 3, MakeRgb(0, 0, 0)},
                 {3, 4, MakeRgb(0, 0, 10)},
                 {4, 5, MakeRgb(0, 0, 20)},
                 {5, 6, MakeRgb(0, 0, 30)},
                 {6, 7, MakeRgb(0, 0, 40)},
                 {6, 7, MakeRgb(0, 0, 50)},
                 {7, 8, MakeRgb(0, 0, 60)},
                 {8, 9, MakeRgb(0, 0, 70)}},
                __LINE__);
}

TEST(GradientPaint, PanelBandsAreCappedAtThirtyTwo) {
    // The side panel: 400 rows, 64 asked, 32 used, h = 12.5, 13-row bands.
    Rect r{0, 0, 185, 400};
    DrawList list;
    BandFill(list, r, MakeRgb(255, 77, 0), MakeRgb(128, 0, 0), 64, BandStyle::Panel);
    ASSERT_EQ(list.ops.size(), 32u);
    EXPECT_EQ(list.ops[1].rect, (Rect{0, 12, 185, 25}));     // round(12.5) = 12
    EXPECT_EQ(list.ops[3].rect, (Rect{0, 38, 185, 51}));     // round(37.5) = 38
    EXPECT_EQ(list.ops[31].rect, (Rect{0, 388, 185, 400}));  // cut at the bottom
    // Step 31 of 32: 255 + round(-123.03) = 132, 77 + round(-74.59) = 2.
    EXPECT_EQ(list.ops[31].fill, MakeRgb(132, 2, 0));
}

TEST(GradientPaint, BandCountEdges) {
    struct Row {
        BandStyle style;
        int n, height;
        size_t bands;
    };
    const Row rows[] = {
        {BandStyle::HalfBlock, 0, 7, 1},  // n = 0 counts as 1
        {BandStyle::Panel, 0, 40, 1},     //
        {BandStyle::Panel, 10, 40, 10},   // below the cap
        {BandStyle::Button, 3, 40, 16},   // the button always uses 16
        {BandStyle::Panel, 64, 0, 0},     // no rows, no bands
        {BandStyle::Button, 16, 4, 14},   // bands 14 and 15 start at the bottom edge
    };
    for (const Row& r : rows) {
        DrawList list;
        BandFill(list, Rect{0, 0, 10, r.height}, 0, 0xFFFFFF, r.n, r.style);
        EXPECT_EQ(list.ops.size(), r.bands) << "n=" << r.n << " height=" << r.height;
        for (const DrawOp& op : list.ops) {
            EXPECT_GE(op.rect.top, 0);
            EXPECT_LE(op.rect.bottom, r.height);
        }
    }
}

TEST(GradientPaint, HorizontalBandsRunLeftToRight) {
    DrawList list;
    BandFillHorizontal(list, Rect{0, 5, 40, 9}, MakeRgb(0, 0, 0), MakeRgb(40, 0, 0), 4,
                       BandStyle::Panel);
    ASSERT_EQ(list.ops.size(), 4u);
    EXPECT_EQ(list.ops[2].rect, (Rect{20, 5, 31, 9}));
    EXPECT_EQ(list.ops[2].fill, MakeRgb(20, 0, 0));
}

}  // namespace
}  // namespace pellion
