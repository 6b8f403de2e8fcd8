#include "ui/dialogs/dialogs.h"

#include <cstdarg>

#include "base/text.h"
#include "base/win/application.h"

namespace pellion {

bool ShowMessage(const std::string& text) {
    return ShowMessageTitled(std::string(), text);
}

bool ShowMessageTitled(const std::string& title, const std::string& text) {
    TCustomTaskDialog dialog;
    dialog.Title = title;
    dialog.Instruction = text;
    dialog.Icon = TaskDialogIcon::Information;
    dialog.Execute();
    return !dialog.VerificationText.empty() && dialog.VerificationChecked;
}

bool ShowMessageFmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return ShowMessage(text);
}

int MessageBoxDialog(HWND /*owner*/, const std::string& text, const std::string& caption,
                     uint32_t flags) {
    TCustomTaskDialog dialog;
    dialog.Title = caption;
    dialog.Instruction = text;
    DescribeMessageBox(flags, dialog);
    return MessageBoxResult(flags, dialog.Execute());
}

int MessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                  int helpContext) {
    TCustomTaskDialog dialog;
    dialog.Instruction = text;
    std::vector<int> customResults =
        DescribeMessageDialog(type, buttons, helpContext, mbHelp, dialog);
    MessageDialogOutcome outcome =
        MessageDialogResult(customResults, helpContext, dialog.Execute());
    if (outcome.openHelp) win::Application::Instance().ShowHelp(helpContext);
    return outcome.result;
}

}  // namespace pellion
