// The one scaling rule of every window's layout.
#include "base/dpi_scale.h"

#include <gtest/gtest.h>

#include "ui/controls/level_progress_bar_look.h"
#include "ui/main_window_rules.h"

namespace pellion {
namespace {

TEST(DpiScale, LayoutNumbersAtTheCommonDpis) {
    struct Row {
        int dpi;
        int mainWidth, mainHeight;  // main window client, 685 x 400
        int progressWidth, progressHeight;  // progress window client, 447 x 170
        ScaledRect setup;           // Setup button, 102, 332, 73 x 22
        int font16, font15, font11;  // font heights
        int pen;                     // a 1-pixel frame
    };
    const Row rows[] = {
        {96, 685, 400, 447, 170, {102, 332, 73, 22}, -16, -15, -11, 1},
        {120, 856, 500, 559, 213, {128, 415, 91, 28}, -20, -19, -14, 1},
        {144, 1028, 600, 671, 255, {153, 498, 110, 33}, -24, -23, -17, 2},
        {192, 1370, 800, 894, 340, {204, 664, 146, 44}, -32, -30, -22, 2},
    };
    for (const Row& r : rows) {
        DpiScale s(r.dpi);
        EXPECT_EQ(s(685), r.mainWidth) << r.dpi;
        EXPECT_EQ(s(400), r.mainHeight) << r.dpi;
        EXPECT_EQ(s(447), r.progressWidth) << r.dpi;
        EXPECT_EQ(s(170), r.progressHeight) << r.dpi;
        ScaledRect b = s(ScaledRect{102, 332, 73, 22});
        EXPECT_EQ(b.left, r.setup.left) << r.dpi;
        EXPECT_EQ(b.top, r.setup.top) << r.dpi;
        EXPECT_EQ(b.width, r.setup.width) << r.dpi;
        EXPECT_EQ(b.height, r.setup.height) << r.dpi;
        EXPECT_EQ(s(-16), r.font16) << r.dpi;
        EXPECT_EQ(s(-15), r.font15) << r.dpi;
        EXPECT_EQ(s(-11), r.font11) << r.dpi;
        EXPECT_EQ(s.Line(1), r.pen) << r.dpi;
    }
    // Unknown or lower DPIs keep the layout's own numbers.
    EXPECT_EQ(DpiScale(0)(685), 685);
    EXPECT_EQ(DpiScale(72)(-16), -16);
}

// The drawn lengths follow the same rule: the bar's blocks keep their
// proportions (inset 2, pitch 9, block 7 at 96 dpi) and the logo's font
// leaves room for the wider pen.
TEST(DpiScale, BarBlocksAndLogoAt144Dpi) {
    const DpiScale s(144);
    // Inset 3, pitch 14, block 11, gap 3: two whole blocks, then the rest of
    // 9 pixels as a block of 8, one gap after the last.
    EXPECT_EQ(ProgressBlocks(37, s), (std::vector<Extent>{{3, 14}, {17, 28}, {31, 39}}));
    EXPECT_EQ(ProgressBlocks(30, s), (std::vector<Extent>{{3, 14}, {17, 28}}));  // rest 2
    EXPECT_EQ(ProgressBlocks(37), (std::vector<Extent>{{2, 9}, {11, 18}, {20, 27}, {29, 36}}));
    LogoLayout logo = LogoLayoutFor(s(105), s.Line(10));
    EXPECT_EQ(logo.penWidth, 15);
    EXPECT_EQ(logo.fontHeight, 158 - 67 - 1);
}

}  // namespace
}  // namespace pellion
