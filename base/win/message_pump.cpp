#include "base/win/message_pump.h"

namespace pellion::win {

namespace {

enum class Step { kEmpty, kDispatched, kQuit };

// Takes one message off the queue and handles it.
Step PumpOne(const MessageHook& hook) {
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return Step::kEmpty;
    if (msg.message == WM_QUIT) {
        // Nested loops must not swallow the program's end: hand it on.
        ::PostQuitMessage(int(msg.wParam));
        return Step::kQuit;
    }
    if (hook && hook(msg)) return Step::kDispatched;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return Step::kDispatched;
}

}  // namespace

bool ProcessPendingMessages(const MessageHook& hook) {
    for (;;) {
        switch (PumpOne(hook)) {
            case Step::kEmpty:
                return true;
            case Step::kQuit:
                return false;
            case Step::kDispatched:
                break;
        }
    }
}

bool PumpUntil(const std::function<bool()>& done, const MessageHook& hook) {
    while (!done()) {
        switch (PumpOne(hook)) {
            case Step::kEmpty:
                // PeekMessage also runs messages sent from other threads and
                // processes (a BM_CLICK, a WM_CLOSE) before it answers that
                // nothing is posted: one of them may have ended the wait.
                if (done()) return true;
                // Sleeps until a message arrives, a sent one included (it
                // is run by the next PeekMessage, and the condition asked
                // again); input already seen but left in the queue counts.
                ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT,
                                              MWMO_INPUTAVAILABLE);
                break;
            case Step::kQuit:
                return false;
            case Step::kDispatched:
                break;
        }
    }
    return true;
}

}  // namespace pellion::win
