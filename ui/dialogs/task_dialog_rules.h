#pragma once
// Rules of the message dialogs that need no window: the dialog description,
// how the message operations turn their requests into one and the closing
// button back into their results, how texts are prepared for the system task
// dialog, and the arithmetic of the program's own dialog window.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

// Numbers of the buttons that close a dialog, shared by both presentations
// and by the results of the message operations.
enum ButtonNumber : int {
    kButtonOK = 1,
    kButtonCancel = 2,
    kButtonAbort = 3,
    kButtonRetry = 4,
    kButtonIgnore = 5,
    kButtonYes = 6,
    kButtonNo = 7,
    kButtonClose = 8,
    kButtonTryAgain = 10,
    kButtonContinue = 11,
    kFirstCustomButton = 100,  // custom button i answers 100 + i
};

enum class TaskDialogIcon : int {
    None = 0,
    Warning = 1,
    Question = 2,
    Error = 3,
    Information = 4,
    Shield = 6,
};

// Bits of CommonButtons; the same bits as the system task dialog's.
enum TaskDialogCommonButton : unsigned {
    cbOK = 1,
    cbYes = 2,
    cbNo = 4,
    cbCancel = 8,
    cbRetry = 16,
    cbClose = 32,
};
using TaskDialogCommonButtons = unsigned;

// Members of Options. Only AllowCancel is used: Escape and the close box end
// the dialog with Cancel.
enum TaskDialogOption : unsigned { tdoAllowCancel = 1 };

// A colour as $00BBGGRR, red in the low byte.
constexpr uint32_t ColorOf(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}

// What a dialog shows. Texts are UTF-8; an empty text is absent.
struct TaskDialogDescription {
    std::string Title;
    std::string Instruction;
    std::string Content;
    TaskDialogIcon Icon = TaskDialogIcon::None;
    TaskDialogCommonButtons CommonButtons = 0;
    std::vector<std::string> CustomButtons;
    // Number of the default button; 0 lets a rule choose, -1 means no
    // default button and no button in the tab order.
    int32_t DefaultButton = 0;
    unsigned Options = 0;
    int32_t HelpContext = 0;  // 0: no help
    std::string VerificationText;
    bool VerificationChecked = false;  // result
    int MinimumWidth = 350;            // own window: smallest client width
    uint32_t BandColor = ColorOf(240, 240, 240);
    uint32_t BandLineColor = ColorOf(223, 223, 223);

    bool AllowsCancel() const { return (Options & tdoAllowCancel) != 0; }
};

// ---- Message operations ------------------------------------------------

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = unsigned;  // bit i set: member i requested

constexpr TMsgDlgButtons Buttons(std::initializer_list<TMsgDlgBtn> members) {
    TMsgDlgButtons set = 0;
    for (TMsgDlgBtn b : members) set |= 1u << unsigned(b);
    return set;
}

// Fills icon, buttons, default button and AllowCancel of `d` from Windows
// message-box style flags (MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2 ...).
void DescribeMessageBox(uint32_t flags, TaskDialogDescription& d);

// The message-box result for the button number that closed the dialog:
// 1 to 7 unchanged, the custom buttons of a style by that style, anything
// else (the Help button, a dialog that could not be shown) 0.
int MessageBoxResult(uint32_t flags, int buttonNumber);

// Fills title, icon, buttons, default button, help context and AllowCancel
// of `d` for MessageDialog. Answers the modal result of each custom button,
// in custom-button order (0 for Help). `defaultMember` names the default
// button; mbHelp (MessageDialog's choice) leaves it to the rule.
std::vector<int> DescribeMessageDialog(TMsgDlgType type, TMsgDlgButtons buttons, int helpContext,
                                       TMsgDlgBtn defaultMember, TaskDialogDescription& d);

struct MessageDialogOutcome {
    int result;     // the modal result MessageDialog returns
    bool openHelp;  // the Help button was pressed and there is a help context
};
MessageDialogOutcome MessageDialogResult(const std::vector<int>& customResults, int helpContext,
                                         int buttonNumber);

// ---- System task dialog ------------------------------------------------

// Escapes in texts for the system task dialog: when the text holds
// backslash, backslash, n anywhere, each such triple becomes backslash n;
// otherwise each backslash n becomes a line feed.
std::string SystemDialogText(std::string_view text);

// ---- Own dialog window -------------------------------------------------

// a*b/c rounded to the nearest integer, halves away from zero (as MulDiv).
int MulDivRound(int a, int b, int c);

struct LayoutUnits {
    int hMargin;
    int vMargin;
    int hSpacing;
    int vSpacing;
    int buttonGap;
    int buttonHeight;
};
// From the drawn size of the 52 letters A-Z a-z on one line in the dialog
// font: w = width / 52, h = height.
LayoutUnits ComputeLayoutUnits(int sampleWidth, int sampleHeight);

struct OwnButton {
    std::string caption;
    int number;  // modal result and control id
};
// Custom buttons first, then OK, Yes, No, Cancel, Retry, Abort (the Close
// bit); a lone OK when nothing is requested.
std::vector<OwnButton> OwnWindowButtons(const TaskDialogDescription& d);

// Number of the window's default button (Enter, first in the tab order,
// initial focus), 0 when there is none.
int OwnWindowDefaultButton(const TaskDialogDescription& d, const std::vector<OwnButton>& buttons);

// Number of the button Escape presses when AllowCancel is set: Cancel, else
// No, else OK; 0 when none of them is shown.
int OwnWindowCancelButton(const std::vector<OwnButton>& buttons);

// A button is as wide as its caption plus 16 pixels, at least 60.
int ButtonWidth(int captionWidth);

// Button widths by caption, measured once per process.
class ButtonWidthCache {
  public:
    int Width(const std::string& caption, const std::function<int(const std::string&)>& measure);

  private:
    std::map<std::string, int> widths_;
};

struct LayoutSize {
    int cx = 0;
    int cy = 0;
};
struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayoutRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// What the own window's layout is computed from.
struct OwnWindowMetrics {
    LayoutUnits units{};
    int captionWidth = 0;           // drawn width of the window caption
    bool hasIcon = false;           // an icon other than none
    LayoutSize instruction;         // wrapped size of the instruction, 0 when absent
    LayoutSize content;             // wrapped size of the content, 0 when absent
    std::vector<int> buttonWidths;  // in row order
    LayoutSize verification;        // size of the check box, 0 when absent
    int minimumWidth = 350;
    int maxClientWidth = 0;  // screen width less twice the edge height
};

struct OwnWindowLayout {
    int clientWidth = 0;
    int clientHeight = 0;
    LayoutRect icon;  // the 32 by 32 square, reserved even without an icon
    LayoutRect instruction;
    LayoutRect content;
    std::vector<LayoutRect> buttons;  // in row order
    LayoutRect verification;
    LayoutRect band;      // button band, filled with BandColor
    LayoutRect bandLine;  // its top line, in BandLineColor
};

OwnWindowLayout LayoutOwnWindow(const OwnWindowMetrics& m);

// Caption of the own window: the title, or else the executable's file name
// without folder and extension.
std::string OwnWindowCaption(const std::string& title, std::string_view exePath);

// The text Ctrl+C puts on the clipboard: title, instruction and content on
// three CR LF separated lines.
std::string ClipboardText(const TaskDialogDescription& d);

}  // namespace pellion
