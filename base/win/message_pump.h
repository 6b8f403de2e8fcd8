#pragma once
// The program's one way of processing window messages outside the
// application's own loop: the nested loops of the modal dialogs and of the
// progress window. Long work runs on the GUI thread, so these loops are where
// clicks, repaints and close requests are handled while the work waits.
//
// A WM_QUIT met inside never gets lost: the loop stops and posts it again, so
// the loop further out (in the end the application's) sees it and ends too.

#include <windows.h>

#include <functional>

namespace pellion::win {

// Decides a message before it is translated and dispatched; answers true
// when it handled the message itself (for example IsDialogMessage).
using MessageHook = std::function<bool(MSG&)>;

// Dispatches every message now waiting in this thread's queue, then returns
// without waiting. Answers false when a WM_QUIT was met (and posted again).
bool ProcessPendingMessages(const MessageHook& hook = {});

// Processes messages until `done()` holds, testing it before waiting and
// after each message, also when a message sent from another thread or
// process was all there was. Between rounds it sleeps until the next message,
// so a loop that waits for the user costs no processor time. Answers true when `done()`
// ended it, false when a WM_QUIT did (posted again for the outer loop).
bool PumpUntil(const std::function<bool()>& done, const MessageHook& hook = {});

}  // namespace pellion::win
