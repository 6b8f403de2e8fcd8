#pragma once
// Key input for the Win32 tests and the end-to-end driver: key presses posted
// to a window's focused control, as the system would deliver them, and real
// keyboard input through SendInput.

#include <windows.h>

#include <vector>

namespace pellion::test {

// The control with the keyboard focus in the thread that owns `top` (also
// across processes), else `top` itself.
inline HWND FocusedControl(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = ::GetWindowThreadProcessId(top, nullptr);
    if (::GetGUIThreadInfo(thread, &info) && info.hwndFocus) return info.hwndFocus;
    return top;
}

// Posts key down and key up of `vk`, with its scan code, to the focused
// control of `top`.
inline void PostKey(HWND top, UINT vk) {
    HWND target = FocusedControl(top);
    LPARAM scan = LPARAM(::MapVirtualKeyW(vk, 0)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, vk, 1 | scan);
    ::PostMessageW(target, WM_KEYUP, vk, 1 | scan | LPARAM(3u << 30));
}

// Real key input: `vk`, with Ctrl held when asked, after bringing `top`
// forward (keys go to the foreground window).
inline void SendRealKey(HWND top, WORD vk, bool ctrl = false) {
    ::SetForegroundWindow(top);
    std::vector<INPUT> in;
    auto add = [&](WORD key, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (ctrl) add(VK_CONTROL, false);
    add(vk, false);
    add(vk, true);
    if (ctrl) add(VK_CONTROL, true);
    ::SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

}  // namespace pellion::test
