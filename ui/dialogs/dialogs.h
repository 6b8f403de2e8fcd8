#pragma once
// The five message operations through which the installer tells and asks
// the user everything. Each builds a TCustomTaskDialog, runs it once,
// translates its result and destroys it before returning; all are modal and
// owned by the application's dialog owner (the main window, or the progress
// window while a run shows it).

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/dialogs/task_dialog.h"
#include "ui/dialogs/message_rules.h"

namespace pellion {

// The text with the information icon and a single OK button, titled with the
// executable's name. Answers whether a verification box was ticked: never
// here, callers ignore it.
bool ShowMessage(const std::string& text);
bool ShowMessageTitled(const std::string& title, const std::string& text);
// printf-style (%s takes const char*, %d int), then ShowMessage.
bool ShowMessageFmt(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// A message box from Windows message-box style flags (buttons, icon,
// MB_DEFBUTTONn, MB_HELP). `owner` is ignored: the dialog is owned by the
// application. Answers IDOK ... IDNO, IDTRYAGAIN, IDCONTINUE, or 0 for
// anything else (including a dialog that could not be shown).
int MessageBoxDialog(HWND owner, const std::string& text, const std::string& caption,
                     uint32_t flags);

// A dialog of a type (icon and title) with a set of buttons. Answers the
// modal result: 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No,
// 8 All, 9 No to All, 10 Yes to All, 0 anything else. The Help button opens
// the application's help at `helpContext` (when positive) and answers 0.
int MessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                  int helpContext);

}  // namespace pellion
