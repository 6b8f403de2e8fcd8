#include "ui/dialogs/dialogs.h"

#include <cstdarg>
#include <iterator>
#include <string>

#include "base/text.h"
#include "base/win/application.h"
#include "base/win/run_log.h"

namespace pellion {

bool ShowMessage(const std::string& text) {
    return ShowMessageTitled(std::string(), text);
}

bool ShowMessageTitled(const std::string& title, const std::string& text) {
    TCustomTaskDialog dialog;
    dialog.Title = title;
    dialog.Instruction = text;
    dialog.Icon = TaskDialogIcon::Information;
    win::LogFormat("message: %s", text.c_str());
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

namespace {

// The answer as the log names it: the button's caption, or the result.
std::string AnswerName(int result) {
    static const char* const kNames[] = {"none", "OK", "Cancel", "Abort", "Retry", "Ignore",
                                         "Yes",  "No", "All",    "No to All", "Yes to All"};
    if (result >= 0 && result < int(std::size(kNames))) return kNames[result];
    return std::to_string(result);
}

// A shown message and the answer it got, for a run's log.
int Logged(const std::string& text, int result) {
    win::LogFormat("message: %s", text.c_str());
    win::LogFormat("answer: %s", AnswerName(result).c_str());
    return result;
}

}  // namespace

int MessageBoxDialog(HWND /*owner*/, const std::string& text, const std::string& caption,
                     uint32_t flags) {
    TCustomTaskDialog dialog;
    dialog.Title = caption;
    dialog.Instruction = text;
    DescribeMessageBox(flags, dialog);
    return Logged(text, MessageBoxResult(flags, dialog.Execute()));
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
    return Logged(text, outcome.result);
}

}  // namespace pellion
