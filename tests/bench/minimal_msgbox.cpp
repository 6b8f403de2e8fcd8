// The yardstick for start-up time: the smallest static GUI program that
// shows a message box with the notice's flags.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"Minimal program", L"Minimal", MB_OKCANCEL | MB_ICONEXCLAMATION);
    return 0;
}
