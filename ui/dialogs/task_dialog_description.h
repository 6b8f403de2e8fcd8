#pragma once
// What a message dialog shows, shared by the message operations, the system
// task dialog and the program's own dialog window: texts, icon, buttons, the
// default button and options, and the numbers of the closing buttons.

#include <cstdint>
#include <string>
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
inline constexpr TaskDialogCommonButtons kAllCommonButtons =
    cbOK | cbYes | cbNo | cbCancel | cbRetry | cbClose;

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

}  // namespace pellion
