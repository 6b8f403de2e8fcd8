#include "ui/dialogs/task_dialog_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pellion {
namespace {

using Strings = std::vector<std::string>;
constexpr TaskDialogIcon kNone = TaskDialogIcon::None;
constexpr TaskDialogIcon kWarning = TaskDialogIcon::Warning;
constexpr TaskDialogIcon kQuestion = TaskDialogIcon::Question;
constexpr TaskDialogIcon kError = TaskDialogIcon::Error;
constexpr TaskDialogIcon kInformation = TaskDialogIcon::Information;

static_assert(Buttons({mbYes, mbNo}) == 3u, "set bits follow the member numbers");
static_assert(Buttons({mbHelp}) == 1u << 10, "Help is bit 10");

// ---- MessageBoxDialog ----------------------------------------------------

TEST(MessageBoxRules, DescribesFlags) {
    struct Row {
        uint32_t flags;
        TaskDialogIcon icon;
        unsigned common;
        Strings custom;
        int defaultButton;
        bool allowCancel;
        const char* why;
    } rows[] = {
        {0x00, kNone, cbOK, {}, 1, false, "MB_OK: no icon"},
        {49, kWarning, cbOK | cbCancel, {}, 1, true, "the start-up notice: OK default, cancelable"},
        {0x12, kError, 0, {"Abort", "&Retry", "&Ignore"}, 100, false, "abort/retry/ignore, hand"},
        {0x23, kQuestion, cbYes | cbNo | cbCancel, {}, 6, true, "yes/no/cancel, question"},
        {0x44, kInformation, cbYes | cbNo, {}, 6, false, "yes/no without Cancel: not cancelable"},
        {0x05, kNone, 0, {"&Retry", "Cancel"}, 100, false, "retry/cancel: custom Cancel only"},
        {0x06, kNone, 0, {"Cancel", "&Retry", "continue"}, 100, false, "cancel/try/continue"},
        {0x07, kNone, 0, {}, 0, false, "unknown style: no buttons, no default"},
        {0x5F, kNone, 0, {}, 0, false, "unknown icon bits and style"},
        {0x103, kNone, cbYes | cbNo | cbCancel, {}, 7, true, "MB_DEFBUTTON2: No"},
        {0x203, kNone, cbYes | cbNo | cbCancel, {}, 2, true, "MB_DEFBUTTON3: Cancel"},
        {0x303,
         kNone,
         cbYes | cbNo | cbCancel,
         {},
         0,
         true,
         "MB_DEFBUTTON4 of three: rule chooses"},
        {0x101, kNone, cbOK | cbCancel, {}, 2, true, "ok/cancel, second: Cancel"},
        {0x105, kNone, 0, {"&Retry", "Cancel"}, 101, false, "retry/cancel, second: Cancel"},
        {0x4000, kNone, cbOK, {"&Help"}, 1, false, "MB_HELP adds a last custom button"},
        {0x4100, kNone, cbOK, {"&Help"}, 100, false, "OK, Help with MB_DEFBUTTON2: Help"},
        {0x4302, kNone, 0, {"Abort", "&Retry", "&Ignore", "&Help"}, 103, false, "fourth: Help"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        TaskDialogDescription d;
        DescribeMessageBox(r.flags, d);
        EXPECT_EQ(d.Icon, r.icon);
        EXPECT_EQ(d.CommonButtons, r.common);
        EXPECT_EQ(d.CustomButtons, r.custom);
        EXPECT_EQ(d.DefaultButton, r.defaultButton);
        EXPECT_EQ(d.AllowsCancel(), r.allowCancel);
    }
}

TEST(MessageBoxRules, TranslatesResults) {
    struct Row {
        uint32_t flags;
        int button;
        int expected;
        const char* why;
    } rows[] = {
        {1, 1, 1, "OK unchanged"},
        {1, 2, 2, "Cancel, Escape and close box unchanged"},
        {4, 7, 7, "No unchanged"},
        {2, 100, 3, "Abort"},
        {2, 101, 4, "Retry"},
        {2, 102, 5, "Ignore"},
        {0x4002, 103, 0, "the Help button shows no help and gives 0"},
        {5, 100, 4, "&Retry of retry/cancel"},
        {5, 101, 2, "Cancel of retry/cancel"},
        {6, 100, 2, "Cancel of cancel/try/continue"},
        {6, 101, 10, "Try Again"},
        {6, 102, 11, "Continue"},
        {0x4000, 100, 0, "Help of MB_OK"},
        {1, 8, 0, "Close is not a message-box answer"},
        {1, 0, 0, "nothing shown"},
        {1, -1, 0, "system dialog missing"},
        {5, 102, 0, "no such custom button"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        EXPECT_EQ(MessageBoxResult(r.flags, r.button), r.expected);
    }
}

// ---- MessageDialog -------------------------------------------------------

TEST(MessageDialogRules, DescribesTypesAndButtons) {
    struct Row {
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        TaskDialogIcon icon;
        const char* title;
        unsigned common;
        Strings custom;
        std::vector<int> results;
        const char* why;
    } rows[] = {
        {mtWarning, Buttons({mbYes, mbNo}), kWarning, "Warning", cbYes | cbNo, {}, {}, "shortcut"},
        {mtWarning,
         Buttons({mbYes, mbCancel}),
         kWarning,
         "Warning",
         cbYes | cbCancel,
         {},
         {},
         "already installed"},
        {mtError, Buttons({mbOK}), kError, "Error", cbOK, {}, {}, "error message"},
        {mtInformation, 0, kInformation, "Information", 0, {}, {}, "no buttons"},
        {mtConfirmation,
         Buttons({mbOK, mbRetry}),
         kQuestion,
         "Confirm",
         cbOK | cbRetry,
         {},
         {},
         "confirmation"},
        {mtCustom, Buttons({mbAbort}), kNone, "", cbClose, {}, {}, "Abort takes the Close bit"},
        {mtWarning,
         Buttons({mbHelp, mbIgnore}),
         kWarning,
         "Warning",
         0,
         {"&Ignore", "&Help"},
         {5, 0},
         "customs in fixed order, not request order"},
        {mtWarning,
         Buttons({mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp}),
         kWarning,
         "Warning",
         0,
         {"&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"},
         {5, 8, 9, 10, 0},
         "all five extras keep their buttons and results"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        TaskDialogDescription d;
        std::vector<int> results = DescribeMessageDialog(r.type, r.buttons, 7, mbHelp, d);
        EXPECT_EQ(d.Icon, r.icon);
        EXPECT_EQ(d.Title, r.title);
        EXPECT_EQ(d.CommonButtons, r.common);
        EXPECT_EQ(d.CustomButtons, r.custom);
        EXPECT_EQ(results, r.results);
        EXPECT_EQ(d.DefaultButton, 0);
        EXPECT_EQ(d.HelpContext, 7);
        EXPECT_TRUE(d.AllowsCancel());
    }
}

TEST(MessageDialogRules, TranslatesResults) {
    const std::vector<int> four{5, 8, 9, 10};
    struct Row {
        std::vector<int> results;
        int helpContext;
        int button;
        int expected;
        bool openHelp;
        const char* why;
    } rows[] = {
        {{}, 0, 6, 6, false, "Yes"},
        {{}, 0, 7, 7, false, "No"},
        {{}, 0, 2, 2, false, "Cancel, Escape, close box"},
        {{}, 0, 3, 3, false, "Abort of the own window"},
        {{}, 0, 8, 3, false, "the system dialog's Close stands for Abort"},
        {{}, 0, 5, 0, false, "5 is no button of this dialog"},
        {{}, 0, -1, 0, false, "system dialog missing"},
        {{}, 0, 0, 0, false, "quit request"},
        {four, 0, 100, 5, false, "Ignore"},
        {four, 0, 103, 10, false, "the fourth custom button answers too"},
        {{5, 8, 9, 10, 0}, 0, 104, 0, false, "Help without context"},
        {{0}, 12, 100, 0, true, "Help with a context opens help"},
        {{0}, -3, 100, 0, false, "negative context: no help"},
        {{5}, 0, 101, 0, false, "no such custom button"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        MessageDialogOutcome o = MessageDialogResult(r.results, r.helpContext, r.button);
        EXPECT_EQ(o.result, r.expected);
        EXPECT_EQ(o.openHelp, r.openHelp);
    }
}

// ---- System dialog texts -------------------------------------------------

TEST(SystemDialogTextRules, RewritesBackslashN) {
    struct Row {
        std::string in;
        std::string out;
        const char* why;
    } rows[] = {
        {"C:\\new", "C:\new", "a folder path breaks the line"},
        {"a\\\\nb", "a\\nb", "doubled backslash escapes the n"},
        {"x\\\\n y\\n", "x\\n y\\n", "with a doubled one present, single ones stay"},
        {"\\\\\\n", "\\\\n", "three backslashes: the last two and n collapse"},
        {"one\ntwo\r\nthree\r", "one\ntwo\r\nthree\r", "real line ends pass"},
        {"ends with \\", "ends with \\", "lone trailing backslash"},
        {"\\n\\n", "\n\n", "adjacent"},
        {"", "", "empty"},
    };
    for (const Row& r : rows) EXPECT_EQ(SystemDialogText(r.in), r.out) << r.why;
}

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
