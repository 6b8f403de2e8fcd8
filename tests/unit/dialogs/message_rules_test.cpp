#include "ui/dialogs/message_rules.h"

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

}  // namespace
}  // namespace pellion
