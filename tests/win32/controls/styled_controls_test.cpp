// The styled controls painted into a 32-bit memory bitmap, pixels read back
// and compared with colours worked out from the drawing rules.
#include <gtest/gtest.h>
#include <windows.h>

#include "styled_test_util.h"
#include "ui/controls/gradient_backdrop.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/gradient_panel.h"
#include "ui/controls/level_progress_bar.h"
#include "ui/controls/styled_gdi.h"

namespace pellion {
namespace {

using namespace testing_util;

const Rgb kMaroon{128, 0, 0}, kRed{255, 0, 0}, kBlack{0, 0, 0}, kWhite{255, 255, 255};

struct Probe {
    int x, y;
    Rgb want;
    const char* what;
};

void Check(const Canvas& c, const Probe& p) {
    EXPECT_EQ(c.At(p.x, p.y), p.want) << p.what << " at (" << p.x << "," << p.y << ")";
}

// Innermost pyramid rectangle holding (x, y), by the rule: rectangle i is
// (round(i*dx), round(i*dy), W - left, H - top).
Rgb PyramidAt(int x, int y, int w, int h, int n) {
    Rgb c = kMaroon;
    for (int i = 0; i <= n; ++i) {
        int left = Near(i * (double(w) / n / 2)), top = Near(i * (double(h) / n / 2));
        if (x >= left && x < w - left && y >= top && y < h - top)
            c = BackdropStep(kMaroon, kRed, n, i);
    }
    return c;
}

TEST(StyledPaint, PyramidBackdropRimsAndCentre) {
    Host host(492, 390);
    TGradientBackdrop backdrop(host.Get());
    backdrop.SetStyle(GradientStyle::grPyramid);
    backdrop.SetStartColor(clMaroon);
    backdrop.SetEndColor(clRed);
    Canvas canvas(492, 390);
    backdrop.PaintTo(canvas.Dc());
    const Probe probes[] = {
        {0, 0, kMaroon, "corner"},
        {1, 200, kMaroon, "left rim"},
        {491, 389, kMaroon, "far corner"},
        {2, 2, Rgb{129, 0, 0}, "second ring"},
        {246, 195, Rgb{254, 0, 0}, "centre: step 99"},
        {11, 195, PyramidAt(11, 195, 492, 390, 100), "left, half-way down"},
        {246, 60, PyramidAt(246, 60, 492, 390, 100), "top, half-way across"},
        {400, 300, PyramidAt(400, 300, 492, 390, 100), "lower right"},
    };
    for (const Probe& p : probes) Check(canvas, p);
}

TEST(StyledPaint, VerticalBackdropBands) {
    Host host(492, 390);
    TGradientBackdrop backdrop(host.Get());
    backdrop.SetStyle(GradientStyle::grVertical);
    backdrop.SetStartColor(clMaroon);
    backdrop.SetEndColor(clRed);
    Canvas canvas(492, 390);
    backdrop.PaintTo(canvas.Dc());
    // Band i covers rows round(3.9 i) .. round(3.9 (i + 1)).
    const Probe probes[] = {
        {0, 0, kMaroon, "top"},
        {491, 1, kMaroon, "top right"},
        {100, 389, BackdropStep(kMaroon, kRed, 100, 99), "bottom row: band 99"},
        {100, 101, BackdropStep(kMaroon, kRed, 100, 26), "row 101: band 26 (101.4 .. 105.3)"},
        {300, 250, BackdropStep(kMaroon, kRed, 100, 64), "row 250: band 64 (249.6 .. 253.5)"},
    };
    for (const Probe& p : probes) Check(canvas, p);
}

TEST(StyledPaint, BackdropFollowsPropertyAndSizeChanges) {
    Host host(60, 40);
    TGradientBackdrop backdrop(host.Get());
    backdrop.SetStyle(GradientStyle::grVertical);
    backdrop.SetStartColor(clMaroon);
    backdrop.SetEndColor(clRed);
    {
        Canvas canvas(60, 40);
        backdrop.PaintTo(canvas.Dc());
        EXPECT_EQ(canvas.At(5, 0), kMaroon);
    }
    backdrop.SetStartColor(clBlack);  // drops the kept bitmap
    {
        Canvas canvas(60, 40);
        backdrop.PaintTo(canvas.Dc());
        EXPECT_EQ(canvas.At(5, 0), kBlack);
        EXPECT_EQ(canvas.At(5, 39), BackdropStep(kBlack, kRed, 40, 39));  // 40 rows: 40 steps
    }
    backdrop.SetBounds(0, 0, 60, 20);  // a new size redraws too
    {
        Canvas canvas(60, 40);
        backdrop.PaintTo(canvas.Dc());
        EXPECT_EQ(canvas.At(5, 19), BackdropStep(kBlack, kRed, 20, 19));
        EXPECT_EQ(canvas.At(5, 20), kJunk) << "nothing below the control";
    }
    backdrop.SetBounds(0, 0, 0, 20);  // zero width paints nothing
    {
        Canvas canvas(60, 40);
        backdrop.PaintTo(canvas.Dc());
        EXPECT_EQ(canvas.At(0, 0), kJunk);
    }
}

TEST(StyledPaint, SidePanelBandsWithoutFrame) {
    Host host(685, 400);
    TGradientPanel panel(host.Get(), 0, 0, 185, 400);
    panel.SetColor(19967);
    panel.SetColorTo(clMaroon);
    panel.SetBevelOuter(PanelBevel::bvNone);
    Canvas canvas(185, 400);
    panel.PaintTo(canvas.Dc());
    const Rgb top{255, 77, 0};
    auto band = [&](int y) { return BandStep(top, kMaroon, 32, BandAt(y, 0, 400, 32, false)); };
    const Probe probes[] = {
        {90, 0, top, "top"},
        {0, 0, top, "no frame at the corner"},
        {0, 205, band(205), "left edge, band 16"},
        {184, 205, band(205), "right edge, band 16"},
        {90, 399, band(399), "bottom: band 31"},
        {90, 100, band(100), "band 8"},
    };
    for (const Probe& p : probes) Check(canvas, p);
    EXPECT_EQ(band(399), (Rgb{132, 2, 0}));
}

TEST(StyledPaint, ProgressPanelBandsAndRaisedBevel) {
    Host host(447, 170);
    TGradientPanel panel(host.Get(), 0, 129, 447, 41);
    panel.SetColor(clRed);
    panel.SetColorTo(clMaroon);
    Canvas canvas(447, 41);
    panel.PaintTo(canvas.Dc());
    const Rgb light = SysRgb(COLOR_BTNHIGHLIGHT), dark = SysRgb(COLOR_BTNSHADOW);
    auto band = [&](int y) { return BandStep(kRed, kMaroon, 32, BandAt(y, 0, 41, 32, false)); };
    const Probe probes[] = {
        {0, 20, light, "left edge"},
        {200, 0, light, "top edge"},
        {0, 0, light, "top left corner"},
        {446, 20, dark, "right edge"},
        {200, 40, dark, "bottom edge"},
        {446, 0, dark, "top right corner belongs to the dark edge"},
        {0, 40, dark, "bottom left corner belongs to the dark edge"},
        {200, 1, band(1), "inside, band 1 over band 0"},
        {200, 20, band(20), "inside, band 16 over band 15"},
        {200, 39, band(39), "inside, last row"},
    };
    for (const Probe& p : probes) Check(canvas, p);
}

struct ButtonCase {
    bool rounded;
    enum { Rest, Hot, Down, Disabled } state;
    Rgb from, to;  // the face gradient expected; from == to: solid
};

void CheckButton(const ButtonCase& c) {
    const int w = c.rounded ? 114 : 73, h = c.rounded ? 26 : 22;
    Host host(200, 100);
    TGradientButton button(host.Get(), 10, 10, w, h, c.rounded ? "Pause" : "Setup");
    button.SetColor(clRed);
    button.SetColorTo(c.rounded ? clBlack : clMaroon);
    button.SetColorHot(c.rounded ? clRed : clMaroon);
    button.SetColorHotTo(c.rounded ? TColor(101609) : clBlack);
    button.SetColorDown(c.rounded ? TColor(101609) : TColor(14210002));
    button.SetColorDownTo(c.rounded ? clRed : clNone);
    button.SetRounded(c.rounded);
    if (c.state == ButtonCase::Hot || c.state == ButtonCase::Down)
        ::SendMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    if (c.state == ButtonCase::Down)
        ::SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    if (c.state == ButtonCase::Disabled) button.SetEnabled(false);
    Canvas canvas(w, h);
    button.PaintTo(canvas.Dc());
    ::ReleaseCapture();

    std::string what =
        std::string(c.rounded ? "rounded " : "square ") + "state " + std::to_string(int(c.state));
    // The outer ring is left alone; the face is banded over 16 steps.
    const Probe ring[] = {{0, 0, kJunk, "ring"},          {w - 1, h - 1, kJunk, "ring"},
                          {w / 2, 0, kJunk, "ring top"},  {w / 2, h - 1, kJunk, "ring bottom"},
                          {0, h / 2, kJunk, "ring left"}, {w - 1, h / 2, kJunk, "ring right"}};
    for (const Probe& p : ring) {
        SCOPED_TRACE(what);
        Check(canvas, p);
    }
    const int faceHeight = h - 2;
    for (int y : {1, 2, h / 2, h - 3, h - 2}) {
        Rgb want = c.from == c.to ? c.from
                                  : BandStep(c.from, c.to, 16, BandAt(y, 1, faceHeight, 16, true));
        EXPECT_EQ(canvas.At(4, y), want) << what << " row " << y;
        EXPECT_EQ(canvas.At(w - 2, y), want) << what << " row " << y << " right";
    }
}

TEST(StyledPaint, ButtonFacesOfBothWindows) {
    const Rgb grey{210, 211, 216}, orange{233, 140, 1};
    const ButtonCase cases[] = {
        {false, ButtonCase::Rest, kRed, kMaroon},      // main window at rest
        {false, ButtonCase::Hot, kMaroon, kBlack},     // under the mouse
        {false, ButtonCase::Down, grey, grey},         // pressed: solid
        {false, ButtonCase::Disabled, kRed, kMaroon},  // disabled: the rest colours
        {true, ButtonCase::Rest, kRed, kBlack},        // progress window at rest
        {true, ButtonCase::Hot, kRed, orange},         //
        {true, ButtonCase::Down, orange, kRed},        //
        {true, ButtonCase::Disabled, kRed, kBlack},    //
    };
    for (const ButtonCase& c : cases) CheckButton(c);
}

TEST(StyledPaint, ProgressBarBlocksGapsAndCorners) {
    struct Row {
        int position;
        Rgb color, pale;
    };
    const Row rows[] = {
        {50, Rgb{0, 255, 0}, Rgb{225, 255, 225}},     // green
        {70, Rgb{255, 255, 0}, Rgb{255, 255, 202}},   // yellow
        {90, Rgb{255, 169, 83}, Rgb{255, 211, 168}},  // orange
        {100, Rgb{255, 0, 0}, Rgb{255, 202, 202}},    // red
    };
    for (const Row& r : rows) {
        Host host(447, 129);
        TLevelProgressBar bar(host.Get(), 8, 92, 433, 18);
        bar.SetPosition(r.position);
        Canvas canvas(433, 18);
        bar.PaintTo(canvas.Dc());
        SCOPED_TRACE("position " + std::to_string(r.position));
        const Probe probes[] = {
            {0, 0, kJunk, "corner shows through"},
            {432, 0, kJunk, "corner"},
            {0, 17, kJunk, "corner"},
            {432, 17, kJunk, "corner"},
            {150, 0, Rgb{128, 128, 128}, "border top"},
            {0, 9, Rgb{128, 128, 128}, "border left"},
            {1, 9, kWhite, "background before the first block"},
            {5, 9, r.color, "block 0, middle row: the level colour"},
            {5, 2, r.pale, "block 0, top row: pale"},
            {5, 15, BandStep(r.color, r.pale, 8, 7), "block 0, bottom row"},
            {5, 8, BandStep(r.pale, r.color, 8, 7), "block 0, last row of the upper half"},
            {150, 9, r.color, "block 16"},
            {153, 9, kWhite, "gap"},
            {154, 9, kWhite, "gap"},
        };
        for (const Probe& p : probes) Check(canvas, p);
        if (r.position == 50) {
            EXPECT_EQ(canvas.At(300, 9), kWhite) << "beyond the filled length";
        }
    }
}

TEST(StyledPaint, ProgressBarHalfFullEndsAfterTwentyFourBlocks) {
    Host host(447, 129);
    TLevelProgressBar bar(host.Get(), 8, 92, 433, 18);
    bar.SetShowPosition(false);  // no text over the end of the blocks
    Canvas canvas(433, 18);
    bar.PaintTo(canvas.Dc());
    EXPECT_EQ(canvas.At(215, 9), (Rgb{0, 255, 0})) << "block 23 ends at 216";
    EXPECT_EQ(canvas.At(215, 3), BandStep(Rgb{225, 255, 225}, Rgb{0, 255, 0}, 8, 1));
    for (int x : {216, 217, 218, 219})
        EXPECT_EQ(canvas.At(x, 9), kWhite) << "no partial block at " << x;
}

TEST(StyledPaint, ProgressBarEmptyWhenMaxEqualsMin) {
    Host host(447, 129);
    TLevelProgressBar bar(host.Get(), 8, 92, 433, 18);
    bar.SetMax(0);
    Canvas canvas(433, 18);
    bar.PaintTo(canvas.Dc());
    EXPECT_EQ(canvas.At(5, 9), kWhite);
    EXPECT_EQ(canvas.At(100, 9), kWhite);
}

TEST(StyledPaint, RoundedBarCornersShowTheParentPanel) {
    // What the bar's WM_PAINT does: the parent's pixels first, then the bar.
    Host host(447, 170);
    TGradientPanel panel(host.Get(), 0, 0, 447, 129);
    panel.SetColor(clRed);
    panel.SetColorTo(clMaroon);
    TLevelProgressBar bar(panel.Handle(), 8, 92, 433, 18);
    Canvas canvas(433, 18);
    win::PaintParentBackground(bar.Handle(), canvas.Dc());
    bar.PaintTo(canvas.Dc());
    auto band = [&](int y) { return BandStep(kRed, kMaroon, 32, BandAt(y, 0, 129, 32, false)); };
    EXPECT_EQ(canvas.At(0, 0), band(92));
    EXPECT_EQ(canvas.At(432, 17), band(109));
    EXPECT_EQ(canvas.At(200, 0), (Rgb{128, 128, 128}));

    TLevelProgressBar square(panel.Handle(), 8, 92, 433, 18);
    square.SetRounded(false);
    Canvas plain(433, 18);
    square.PaintTo(plain.Dc());
    EXPECT_EQ(plain.At(0, 0), (Rgb{128, 128, 128})) << "square corners are the border";
}

}  // namespace
}  // namespace pellion
