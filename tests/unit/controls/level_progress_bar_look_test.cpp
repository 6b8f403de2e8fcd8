// The level progress bar: percent, level, filled length, blocks and the
// whole drawing list of the progress window's 433 x 18 bar.
#include "ui/controls/level_progress_bar_look.h"

#include <climits>

#include <gtest/gtest.h>

namespace pellion {
namespace {

ColorRef FakeSystem(int index) {
    return 0x030303u * ColorRef(index);
}

TEST(ProgressBarLook, Percent) {
    struct Row {
        int min, max, position, percent;
    };
    const Row rows[] = {
        {0, 100, 50, 50},
        {0, 0, 0, 0},                // Max = Min
        {10, 10, 99, 0},             // Max = Min, whatever the position
        {0, 3, 1, 33},               // 33.3
        {0, 8, 1, 12},               // 12.5 to the even 12
        {0, 8, 3, 38},               // 37.5 to the even 38
        {0, 200, 199, 100},          // 99.5 rounds up to 100
        {50, 150, 100, 50},          // measured from Min
        {100, 0, 50, 50},            // Max below Min: the same fraction
        {0, 100, 150, 100},          // past Max: kept at 100
        {0, 100, -5, 0},             // below Min: kept at 0
        {0, INT_MAX, INT_MAX, 100},  // no overflow
        {INT_MIN, INT_MAX, 0, 50},   // the whole range
        {0, -1294967296, 1000, 0},   // a total of 3e9 bytes seen as a negative maximum
    };
    for (const Row& r : rows)
        EXPECT_EQ(ProgressPercent(r.min, r.max, r.position), r.percent)
            << r.min << ".." << r.max << " at " << r.position;
}

TEST(ProgressBarLook, Levels) {
    ProgressBarProps p;
    struct Row {
        int percent, level;
    };
    const Row rows[] = {
        {0, 0},   {69, 0},  // green
        {70, 1},  {89, 1},  // yellow
        {90, 2},  {99, 2},  // orange
        {100, 3},           // red
    };
    for (const Row& r : rows) EXPECT_EQ(ProgressLevel(p, r.percent), r.level) << r.percent;
}

TEST(ProgressBarLook, FilledLength) {
    EXPECT_EQ(FilledLength(431, 50), 216);  // 215.5 to the even 216
    EXPECT_EQ(FilledLength(431, 0), 0);
    EXPECT_EQ(FilledLength(431, -3), 0);
    EXPECT_EQ(FilledLength(431, 1), 4);   // 4.31
    EXPECT_EQ(FilledLength(431, 3), 13);  // 12.93
    EXPECT_EQ(FilledLength(431, 100), 431);
    EXPECT_EQ(FilledLength(-2, 100), 0);  // a bar narrower than its border
}

TEST(ProgressBarLook, Blocks) {
    struct Row {
        int filled;
        std::vector<Extent> blocks;  // empty: see count
        size_t count;
    };
    const Row rows[] = {
        {0, {}, 0},
        {1, {}, 0},        // one pixel draws nothing
        {2, {{2, 3}}, 1},  // 2..9: one narrow block
        {9, {{2, 10}}, 1},
        {10, {{2, 9}}, 1},            // remainder 1 dropped
        {11, {{2, 9}}, 1},            // remainder 2 dropped
        {12, {{2, 9}, {11, 13}}, 2},  // remainder 3: r - 1 pixels after a 2-pixel gap
        {17, {{2, 9}, {11, 18}}, 2},  // remainder 8
        {18, {{2, 9}, {11, 18}}, 2},  // two full blocks
        {216, {}, 24},                // 24 blocks, no partial one
        {431, {}, 48},                // 47 blocks and a 7-pixel last one
    };
    for (const Row& r : rows) {
        std::vector<Extent> got = ProgressBlocks(r.filled);
        EXPECT_EQ(got.size(), r.count) << "F=" << r.filled;
        if (!r.blocks.empty()) {
            EXPECT_EQ(got, r.blocks) << "F=" << r.filled;
        }
    }
    std::vector<Extent> half = ProgressBlocks(216);
    EXPECT_EQ(half.back(), (Extent{209, 216}));
    std::vector<Extent> full = ProgressBlocks(431);
    EXPECT_EQ(full[46], (Extent{416, 423}));
    EXPECT_EQ(full.back(), (Extent{425, 432}));  // ends inside the border at 432
}

TEST(ProgressBarLook, Text) {
    struct Row {
        int min, max, position;
        bool showPosition, showPercentage;
        const char* text;
    };
    const Row rows[] = {
        {0, 100, 50, true, true, "50%"},
        {0, 0, 50, true, true, "0%"},     // Max = Min
        {0, 431, 50, true, false, "50"},  // the position itself
        {0, 100, 50, false, true, ""},    // no text
    };
    for (const Row& r : rows) {
        ProgressBarProps p;
        p.min = r.min;
        p.max = r.max;
        p.position = r.position;
        p.showPosition = r.showPosition;
        p.showPercentage = r.showPercentage;
        EXPECT_EQ(ProgressText(p), r.text);
    }
}

TEST(ProgressBarLook, HalfFullBarOfTheProgressWindow) {
    ProgressBarProps p;  // defaults are the progress window's values; 50 %
    DrawList list = ProgressBarLook(p, 433, 18, TextSize{30, 16}, clWindowText, FakeSystem);
    ASSERT_EQ(list.ops.size(), 2u + 24 * 16 + 1);
    EXPECT_EQ(list.ops[0].rect, (Rect{0, 0, 433, 18}));
    EXPECT_EQ(list.ops[0].fill, kTransparentKey);
    EXPECT_EQ(list.ops[1].kind, DrawOp::Kind::RoundRect);
    EXPECT_EQ(list.ops[1].corner, 6);
    EXPECT_TRUE(list.ops[1].hasFill);
    EXPECT_EQ(list.ops[1].fill, 0xFFFFFFu);
    EXPECT_EQ(list.ops[1].pen, 0x808080u);
    struct Band {
        size_t op;
        Rect rect;
        ColorRef color;
    };
    const Band bands[] = {
        {2, {2, 2, 9, 3}, MakeRgb(225, 255, 225)},                // block 0 top: pale
        {9, {2, 8, 9, 9}, MakeRgb(28, 255, 28)},                  // last upper band: 225 - 197
        {10, {2, 9, 9, 10}, MakeRgb(0, 255, 0)},                  // mid: saturated
        {17, {2, 15, 9, 16}, MakeRgb(197, 255, 197)},             // bottom band: pale again
        {2 + 23 * 16, {209, 2, 216, 3}, MakeRgb(225, 255, 225)},  // block 23
    };
    for (const Band& b : bands) {
        EXPECT_EQ(list.ops[b.op].rect, b.rect) << "op " << b.op;
        EXPECT_EQ(list.ops[b.op].fill, b.color) << "op " << b.op;
    }
    const DrawOp& text = list.ops.back();
    EXPECT_EQ(text.kind, DrawOp::Kind::Text);
    EXPECT_EQ(list.text, "50%");
    EXPECT_EQ(text.rect.left, 216 - 15);
    EXPECT_EQ(text.rect.top, 9 - 8);
    EXPECT_EQ(text.pen, FakeSystem(8));
}

TEST(ProgressBarLook, LevelColoursOfTheBlocks) {
    struct Row {
        int position;
        ColorRef mid;
    };
    const Row rows[] = {
        {69, MakeRgb(0, 255, 0)},                                // green
        {70, MakeRgb(255, 255, 0)},                              // yellow
        {90, MakeRgb(255, 169, 83)},                             // orange
        {99, MakeRgb(255, 169, 83)}, {100, MakeRgb(255, 0, 0)},  // red
    };
    for (const Row& r : rows) {
        ProgressBarProps p;
        p.position = r.position;
        DrawList list = ProgressBarLook(p, 433, 18, TextSize{}, clWindowText, FakeSystem);
        EXPECT_EQ(list.ops[10].rect.top, 9) << r.position;
        EXPECT_EQ(list.ops[10].fill, r.mid) << r.position;
    }
}

TEST(ProgressBarLook, Variants) {
    ProgressBarProps empty;
    empty.max = 0;  // Max = Min: background and "0%" only
    DrawList list = ProgressBarLook(empty, 433, 18, TextSize{}, clWindowText, FakeSystem);
    ASSERT_EQ(list.ops.size(), 3u);
    EXPECT_EQ(list.text, "0%");

    ProgressBarProps square;
    square.rounded = false;
    square.showBorder = false;
    list = ProgressBarLook(square, 433, 18, TextSize{}, clWindowText, FakeSystem);
    EXPECT_EQ(list.ops[0].fill, 0xFFFFFFu);  // no transparency key without Rounded
    EXPECT_EQ(list.ops[1].kind, DrawOp::Kind::Frame);
    EXPECT_EQ(list.ops[1].pen, 0xFFFFFFu);  // no border: outlined in the background

    ProgressBarProps flat;
    flat.showGradient = false;
    list = ProgressBarLook(flat, 433, 18, TextSize{}, clWindowText, FakeSystem);
    ASSERT_EQ(list.ops.size(), 2u + 24 + 1);  // one fill per block
    EXPECT_EQ(list.ops[2].rect, (Rect{2, 2, 9, 16}));
    EXPECT_EQ(list.ops[2].fill, MakeRgb(0, 255, 0));

    ProgressBarProps thin;
    list = ProgressBarLook(thin, 433, 4, TextSize{}, clWindowText, FakeSystem);
    EXPECT_EQ(list.ops.size(), 3u);  // no room for blocks
}

}  // namespace
}  // namespace pellion
