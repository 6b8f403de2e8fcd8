// The progress window's texts and arithmetic, and what a styled label draws.
#include <gtest/gtest.h>

#include <cstdint>

#include "ui/controls/styled_label_look.h"
#include "ui/progress_rules.h"

namespace pellion {
namespace {

TEST(ProgressRules, StatusText) {
    struct Row {
        uint32_t position, total;
        const char* separator;
        const char* want;
    };
    const Row rows[] = {
        {0, 0, ",", "0 of 0 bytes"},
        {1234567, 2000000, ",", "1,234,567 of 2,000,000 bytes"},
        {999, 1000, ",", "999 of 1,000 bytes"},
        {100000, 123456, ",", "100,000 of 123,456 bytes"},
        // 2^31 and more are unsigned, never negative
        {0x80000000u, 0xFFFFFFFFu, ",", "2,147,483,648 of 4,294,967,295 bytes"},
        // the locale's separator, whatever it is: none, a dot, a no-break
        // space (UTF-8), more than one character
        {1234567, 1234567, "", "1234567 of 1234567 bytes"},
        {1234567, 1234567, ".", "1.234.567 of 1.234.567 bytes"},
        {12345, 12345, "\xC2\xA0",
         "12\xC2\xA0"
         "345 of 12\xC2\xA0"
         "345 bytes"},
        {1234, 1234, "'-", "1'-234 of 1'-234 bytes"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ProgressStatusText(r.position, r.total, r.separator), r.want) << r.want;
}

TEST(ProgressRules, FilesAndRightAlignment) {
    EXPECT_EQ(FilesCountText(1), "Files: 1");
    EXPECT_EQ(FilesCountText(12), "Files: 12");
    // 447-pixel panel, 50-pixel label, "##" 16 pixels wide: the right edge
    // sits 16 pixels from the panel's edge.
    EXPECT_EQ(RightAlignedLeft(447, 50, 16), 381);
}

TEST(ProgressRules, BarValuesKeepTheShare) {
    struct Row {
        uint32_t position, total;
        int32_t max, barPosition;
    };
    const Row rows[] = {
        {0, 0, 0, 0},
        {500, 1000, 1000, 500},
        {0x7FFFFFFFu, 0x7FFFFFFFu, 0x7FFFFFFF, 0x7FFFFFFF},  // largest passed unchanged
        {0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFF, 0x40000000},  // halved, still 50 %
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0x7FFFFFFF, 0x7FFFFFFF},
    };
    for (const Row& r : rows) {
        BarValues v = BarValuesFor(r.position, r.total);
        EXPECT_EQ(v.max, r.max) << r.total;
        EXPECT_EQ(v.position, r.barPosition) << r.position;
        EXPECT_GE(v.position, 0);
    }
}

ColorRef FakeSystem(int index) {
    return 0x010101u * ColorRef(index);
}

TEST(LabelLook, FillsOnlyWhenNotTransparent) {
    LabelLookInput in;
    in.width = 40;
    in.height = 16;
    in.color = clRed;
    in.fontColor = clWhite;
    DrawList filled = LabelLook(in, FakeSystem);
    ASSERT_EQ(filled.ops.size(), 2u);
    EXPECT_EQ(filled.ops[0].kind, DrawOp::Kind::Fill);
    EXPECT_EQ(filled.ops[0].rect, (Rect{0, 0, 40, 16}));
    EXPECT_EQ(filled.ops[0].fill, ColorRef(0x0000FF));
    EXPECT_EQ(filled.ops[1].kind, DrawOp::Kind::Text);
    EXPECT_EQ(filled.ops[1].pen, ColorRef(0xFFFFFF));

    in.transparent = true;
    DrawList clear = LabelLook(in, FakeSystem);
    ASSERT_EQ(clear.ops.size(), 1u);
    EXPECT_EQ(clear.ops[0].kind, DrawOp::Kind::Text);

    // No colour: nothing filled even under the classic style; a system
    // colour for the text resolves when drawn.
    in.transparent = false;
    in.color = clNone;
    in.fontColor = clWindowText;
    DrawList none = LabelLook(in, FakeSystem);
    ASSERT_EQ(none.ops.size(), 1u);
    EXPECT_EQ(none.ops[0].pen, FakeSystem(8));
}

}  // namespace
}  // namespace pellion
