#include "ui/dialogs/task_message_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pellion {
namespace {

using Strings = std::vector<std::string>;

// ---- Own window ----------------------------------------------------------

TEST(OwnWindowRules, MulDivRoundsHalfAwayFromZero) {
    struct Row {
        int a, b, c, expected;
    } rows[] = {
        {8, 6, 4, 12}, {10, 13, 8, 16}, {14, 13, 8, 23}, {10, 12, 8, 15},
        {3, 1, 2, 2},  {-3, 1, 2, -2},  {3, -1, 2, -2},  {5, 1, 0, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(MulDivRound(r.a, r.b, r.c), r.expected) << r.a << "*" << r.b << "/" << r.c;
}

TEST(OwnWindowRules, LayoutUnitsFromSampleText) {
    struct Row {
        int width, height;
        LayoutUnits expected;
        const char* why;
    } rows[] = {
        {312, 13, {12, 13, 15, 16, 6, 23}, "w 6, h 13: the 96 dpi message font"},
        {363, 13, {12, 13, 15, 16, 6, 23}, "w truncates to 6"},
        {364, 16, {14, 16, 18, 20, 7, 28}, "w 7: 17.5 rounds up"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        LayoutUnits u = ComputeLayoutUnits(r.width, r.height);
        EXPECT_EQ(u.hMargin, r.expected.hMargin);
        EXPECT_EQ(u.vMargin, r.expected.vMargin);
        EXPECT_EQ(u.hSpacing, r.expected.hSpacing);
        EXPECT_EQ(u.vSpacing, r.expected.vSpacing);
        EXPECT_EQ(u.buttonGap, r.expected.buttonGap);
        EXPECT_EQ(u.buttonHeight, r.expected.buttonHeight);
    }
}

std::string Describe(const std::vector<OwnButton>& buttons) {
    std::string s;
    for (const OwnButton& b : buttons) s += b.caption + "=" + std::to_string(b.number) + " ";
    return s;
}

TEST(OwnWindowRules, ButtonOrderCaptionsAndResults) {
    struct Row {
        unsigned common;
        Strings custom;
        const char* expected;
    } rows[] = {
        {0, {}, "OK=1 "},
        {cbOK | cbCancel, {}, "OK=1 Cancel=2 "},
        {0x3F, {}, "OK=1 &Yes=6 &No=7 Cancel=2 &Retry=4 &Abort=3 "},
        {0, {"&Retry", "Cancel"}, "&Retry=100 Cancel=101 "},
        {cbOK, {"&Help"}, "&Help=100 OK=1 "},
    };
    for (const Row& r : rows) {
        TaskDialogDescription d;
        d.CommonButtons = r.common;
        d.CustomButtons = r.custom;
        EXPECT_EQ(Describe(OwnWindowButtons(d)), r.expected);
    }
}

TEST(OwnWindowRules, DefaultAndCancelButtons) {
    struct Row {
        unsigned common;
        Strings custom;
        int defaultButton;
        int expectedDefault;
        int expectedCancel;
        const char* why;
    } rows[] = {
        {0, {}, 0, 1, 1, "the added OK is default and cancel"},
        {0, {}, 2, 1, 1, "the added OK stays default for any rule"},
        {0, {}, -1, 0, 1, "-1: no default at all"},
        {cbOK | cbCancel, {}, 0, 1, 2, "flags 49: OK default, Cancel cancels"},
        {cbYes | cbNo, {}, 0, 6, 7, "Yes/No: Escape presses No"},
        {cbNo | cbCancel | cbRetry, {}, 0, 4, 2, "0 falls back to Retry"},
        {cbNo | cbCancel, {}, 0, 0, 2, "0 without OK, Yes, Retry"},
        {cbYes | cbNo, {}, 1, 6, 7, "1: else Yes"},
        {cbYes | cbNo | cbCancel, {}, 2, 2, 2, "2: Cancel"},
        {cbYes | cbNo, {}, 2, 7, 7, "2: else No"},
        {cbOK | cbCancel, {}, 6, 1, 2, "6: else OK"},
        {cbYes | cbNo, {}, 7, 7, 7, "7: No"},
        {cbOK | cbCancel, {}, 7, 1, 2, "7: else OK"},
        {cbYes | cbNo, {}, 4, 0, 7, "other values want OK"},
        {cbOK | cbRetry, {}, 4, 1, 1, "other values: OK"},
        {0, {"a", "b"}, 101, 101, 0, "a custom default"},
        {cbOK, {"a"}, 105, 1, 1, "a missing custom default: OK"},
        {cbOK | cbCancel, {}, -1, 0, 2, "-1 with buttons"},
        {cbYes | cbRetry, {}, 0, 6, 0, "no cancel role"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        TaskDialogDescription d;
        d.CommonButtons = r.common;
        d.CustomButtons = r.custom;
        d.DefaultButton = r.defaultButton;
        std::vector<OwnButton> buttons = OwnWindowButtons(d);
        EXPECT_EQ(OwnWindowDefaultButton(d, buttons), r.expectedDefault);
        EXPECT_EQ(OwnWindowCancelButton(buttons), r.expectedCancel);
    }
}

// Caption plus 16, at least 60, measured once per caption.
TEST(OwnWindowRules, ButtonWidthsAreMeasuredOnce) {
    ButtonWidthCache cache;
    int calls = 0;
    auto measure = [&](const std::string& s) { return ++calls, int(s.size()) * 20; };
    EXPECT_EQ(cache.Width("&Yes", measure), 96);
    EXPECT_EQ(cache.Width("&Yes", [](const std::string&) { return 500; }), 96);
    EXPECT_EQ(cache.Width("OK", measure), 60);
    EXPECT_EQ(calls, 2);
}

OwnWindowMetrics BaseMetrics() {
    OwnWindowMetrics m;
    m.units = {12, 13, 15, 16, 6, 23};
    m.captionWidth = 100;
    m.hasIcon = true;
    m.instruction = {200, 30};
    m.buttonWidths = {75, 75};
    m.minimumWidth = 350;
    m.maxClientWidth = 1276;
    return m;
}

TEST(OwnWindowRules, LayoutOfTwoButtonDialog) {
    OwnWindowLayout l = LayoutOwnWindow(BaseMetrics());
    EXPECT_EQ(l.clientWidth, 350);  // the minimum width wins
    EXPECT_EQ(l.icon, (LayoutRect{12, 13, 44, 45}));
    EXPECT_EQ(l.instruction, (LayoutRect{59, 13, 259, 43}));
    // Body ends with the icon (45); buttons 1.5 vertical spacings lower,
    // the row ending 15 + 4 pixels from the right edge.
    ASSERT_EQ(l.buttons.size(), 2u);
    EXPECT_EQ(l.buttons[0], (LayoutRect{175, 69, 250, 92}));
    EXPECT_EQ(l.buttons[1], (LayoutRect{256, 69, 331, 92}));
    EXPECT_EQ(l.clientHeight, 105);
    EXPECT_EQ(l.band, (LayoutRect{0, 61, 350, 105}));
    EXPECT_EQ(l.bandLine, (LayoutRect{0, 61, 350, 62}));
}

TEST(OwnWindowRules, LayoutWidthAndHeightBounds) {
    struct Row {
        void (*change)(OwnWindowMetrics&);
        int width;
        int height;
        const char* why;
    } rows[] = {
        {[](OwnWindowMetrics&) {}, 350, 105, "minimum width"},
        {[](OwnWindowMetrics& m) { m.captionWidth = 400; }, 450, 105, "caption + 50"},
        {[](OwnWindowMetrics& m) {
             m.instruction = {400, 60};
         },
         471, 133, "margins + icon + spacing + text; text taller than the icon"},
        {[](OwnWindowMetrics& m) {
             m.buttonWidths = {100, 100, 100, 100, 100};
         },
         554, 105, "row of five buttons with their gaps"},
        {[](OwnWindowMetrics& m) {
             m.instruction = {2000, 30};
         },
         1276, 105, "screen bound"},
        {[](OwnWindowMetrics& m) {
             m.content = {150, 45};
         },
         350, 164, "content one spacing under the instruction"},
        {[](OwnWindowMetrics& m) {
             m.verification = {120, 13};
         },
         350, 126, "check box half a spacing under the buttons"},
        {[](OwnWindowMetrics& m) { m.minimumWidth = 500; }, 500, 105, "larger minimum"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        OwnWindowMetrics m = BaseMetrics();
        r.change(m);
        OwnWindowLayout l = LayoutOwnWindow(m);
        EXPECT_EQ(l.clientWidth, r.width);
        EXPECT_EQ(l.clientHeight, r.height);
        EXPECT_EQ(l.buttons.back().right, r.width - 19);
        EXPECT_EQ(l.band.bottom, l.clientHeight);
    }
}

TEST(OwnWindowRules, LayoutPlacesTextsAndCheckBox) {
    OwnWindowMetrics m = BaseMetrics();
    m.hasIcon = false;
    m.content = {150, 45};
    m.verification = {120, 13};
    OwnWindowLayout l = LayoutOwnWindow(m);
    EXPECT_EQ(l.instruction, (LayoutRect{12, 13, 212, 43}));  // no icon: at the margin
    EXPECT_EQ(l.content, (LayoutRect{12, 59, 162, 104}));
    EXPECT_EQ(l.buttons[0].top, 104 + 16 + 8);
    EXPECT_EQ(l.verification, (LayoutRect{12, 159, 132, 172}));
    EXPECT_EQ(l.clientHeight, 185);
    EXPECT_EQ(l.band.top, 120);
}

TEST(OwnWindowRules, Caption) {
    struct Row {
        const char* title;
        const char* exe;
        const char* expected;
    } rows[] = {
        {"Pellion", "C:\\cd\\PellionSetup.exe", "Pellion"},
        {"", "C:\\cd\\dialog_host.exe", "dialog_host"},
        {"", "C:\\a.b\\setup", "setup"},
        {"", "/tmp/x/PellionSetup.EXE", "PellionSetup"},
        {"", "name.tar.gz", "name.tar"},
        {"", "C:\\x\\.hidden", ".hidden"},
    };
    for (const Row& r : rows) EXPECT_EQ(OwnWindowCaption(r.title, r.exe), r.expected) << r.exe;
}

}  // namespace
}  // namespace pellion
