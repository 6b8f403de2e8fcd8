// The portable dialog rules carry Windows numbers of their own (they build
// without <windows.h>); here each is checked against the system's headers.
#include <windows.h>
#include <commctrl.h>

#include "ui/dialogs/message_rules.h"
#include "ui/dialogs/task_dialog_description.h"

namespace pellion {

// Message-box button styles, icons, default button and Help.
static_assert(mb::kOK == MB_OK && mb::kOKCancel == MB_OKCANCEL &&
              mb::kAbortRetryIgnore == MB_ABORTRETRYIGNORE && mb::kYesNoCancel == MB_YESNOCANCEL &&
              mb::kYesNo == MB_YESNO && mb::kRetryCancel == MB_RETRYCANCEL &&
              mb::kCancelTryContinue == MB_CANCELTRYCONTINUE && mb::kButtonsMask == MB_TYPEMASK);
static_assert(mb::kIconHand == MB_ICONHAND && mb::kIconQuestion == MB_ICONQUESTION &&
              mb::kIconExclamation == MB_ICONEXCLAMATION && mb::kIconAsterisk == MB_ICONASTERISK &&
              mb::kIconMask == MB_ICONMASK);
static_assert(MB_DEFBUTTON1 == 0 && (MB_DEFBUTTON2 >> mb::kDefButtonShift) == 1 &&
              (MB_DEFBUTTON3 >> mb::kDefButtonShift) == 2 &&
              (MB_DEFBUTTON4 >> mb::kDefButtonShift) == 3 &&
              (mb::kDefButtonMask & MB_DEFMASK) == MB_DEFBUTTON4);
static_assert(mb::kHelp == MB_HELP);

// Button numbers: the message boxes' results.
static_assert(kButtonOK == IDOK && kButtonCancel == IDCANCEL && kButtonAbort == IDABORT &&
              kButtonRetry == IDRETRY && kButtonIgnore == IDIGNORE && kButtonYes == IDYES &&
              kButtonNo == IDNO && kButtonClose == IDCLOSE && kButtonTryAgain == IDTRYAGAIN &&
              kButtonContinue == IDCONTINUE);

// Common buttons: the system task dialog's bits. Both sides are enums of
// their own, so each is compared as the plain mask it is passed as.
static constexpr TaskDialogCommonButtons Bits(TaskDialogCommonButton b) { return b; }
static_assert(Bits(cbOK) == TDCBF_OK_BUTTON && Bits(cbYes) == TDCBF_YES_BUTTON &&
              Bits(cbNo) == TDCBF_NO_BUTTON && Bits(cbCancel) == TDCBF_CANCEL_BUTTON &&
              Bits(cbRetry) == TDCBF_RETRY_BUTTON && Bits(cbClose) == TDCBF_CLOSE_BUTTON);

}  // namespace pellion
