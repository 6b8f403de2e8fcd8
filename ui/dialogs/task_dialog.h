#pragma once
// The dialog component: a task-dialog description (title, instruction,
// content, icon, buttons, default button) shown modally either by the
// system's task dialog, where the system offers one, or by the program's own
// dialog window, and the number of the button that closed it.

#include <windows.h>

#include <string>

#include "ui/dialogs/task_dialog_description.h"

namespace pellion {

class TTaskMessageForm;

// Automatic: the system task dialog on Windows 6 or later with common
// controls 6 or later, else the own window. OwnWindow forces the own window.
// SystemTaskDialog skips the version test (for tests under Wine, whose
// common controls report version 5.81 but offer the task dialog).
enum class DialogPresentation { Automatic, OwnWindow, SystemTaskDialog };

// Process-wide default taken by every new component.
void SetDialogPresentation(DialogPresentation p);
DialogPresentation GetDialogPresentation();

enum class TaskDialogElement { Title, Instruction, Content };

class TCustomTaskDialog : public TaskDialogDescription {
  public:
    TCustomTaskDialog();
    ~TCustomTaskDialog();
    TCustomTaskDialog(const TCustomTaskDialog&) = delete;
    TCustomTaskDialog& operator=(const TCustomTaskDialog&) = delete;

    DialogPresentation Presentation;

    // Shows the dialog modally, owned by the application's main window, and
    // answers the number of the button that closed it; stores
    // VerificationChecked. -1 when the system task dialog is chosen but
    // missing; 0 when nothing could be shown, and when a quit request ended
    // (or came before) the dialog: a pending WM_QUIT makes the system dialog
    // answer 1 at once, which must not pass for the user's OK.
    int Execute();

    // Whether Execute takes the own window for the current Presentation.
    bool UsesOwnWindow() const;

    // Changes a text, also in the own window while it is shown.
    void SetText(TaskDialogElement element, const std::string& text);

    // The own window while Execute shows it, else null. The window sets
    // itself while it is shown, so SetText reaches it.
    TTaskMessageForm* Form() const { return form_; }
    void SetForm(TTaskMessageForm* form) { form_ = form; }

  private:
    int ExecuteOwnWindow();
    int ExecuteSystemDialog();

    TTaskMessageForm* form_ = nullptr;
};

// The version test of the Automatic presentation, for diagnostics and tests.
int SystemMajorVersion();
int CommonControlsMajorVersion();

// Whether a WM_QUIT waits in this thread's queue (left in place).
bool QuitPending();

}  // namespace pellion
