#pragma once
// How the message operations turn their requests (message-box style flags,
// MessageDialog's type and button set) into a dialog description, how the
// closing button turns back into their results, and how texts are prepared
// for the system task dialog. Needs no window.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialogs/task_dialog_description.h"

namespace pellion {

// Windows message-box style flags, by their values (pinned against
// <windows.h> on the Win32 side).
namespace mb {
inline constexpr uint32_t kButtonsMask = 0xF;  // one of the button styles:
inline constexpr uint32_t kOK = 0;
inline constexpr uint32_t kOKCancel = 1;
inline constexpr uint32_t kAbortRetryIgnore = 2;
inline constexpr uint32_t kYesNoCancel = 3;
inline constexpr uint32_t kYesNo = 4;
inline constexpr uint32_t kRetryCancel = 5;
inline constexpr uint32_t kCancelTryContinue = 6;
inline constexpr uint32_t kIconMask = 0xF0;  // one of the icons:
inline constexpr uint32_t kIconHand = 0x10;
inline constexpr uint32_t kIconQuestion = 0x20;
inline constexpr uint32_t kIconExclamation = 0x30;
inline constexpr uint32_t kIconAsterisk = 0x40;
inline constexpr uint32_t kDefButtonMask = 0x300;  // MB_DEFBUTTON1 to MB_DEFBUTTON4
inline constexpr unsigned kDefButtonShift = 8;
inline constexpr uint32_t kHelp = 0x4000;
}  // namespace mb

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

}  // namespace pellion
