#include "base/win/window.h"

#include <exception>

#include "base/win/application.h"
#include "base/win/wide.h"
#include "base/win/win_error.h"

namespace pellion::win {

Window::~Window() {
    if (hwnd_ && ::IsWindow(hwnd_)) {
        // Detach first so that messages sent during destruction do not reach
        // a half-destroyed object.
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void Window::RegisterClassOnce(const wchar_t* className, UINT classStyle, HBRUSH background) {
    WNDCLASSEXW wc{};
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, className, &wc)) return;
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!::RegisterClassExW(&wc)) RaiseLastError("RegisterClassExW");
}

void Window::Create(DWORD exStyle, const wchar_t* className, const std::string& title, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
    HWND hwnd = ::CreateWindowExW(exStyle, className, Widen(title).c_str(), style, x, y, width,
                                  height, parent, menuOrId, ::GetModuleHandleW(nullptr), this);
    if (!hwnd) RaiseLastError("CreateWindowExW");
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return Default(msg, wp, lp);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
    try {
        LRESULT result = self->HandleMessage(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    } catch (const std::exception& e) {
        Application::Instance().ShowException(e);
    } catch (...) {
        Application::Instance().ShowException(std::runtime_error("Unknown error"));
    }
    return 0;
}

bool AcceptsInput(HWND hwnd) {
    HWND top = ::GetAncestor(hwnd, GA_ROOT);
    return ::IsWindowEnabled(hwnd) && (!top || ::IsWindowEnabled(top));
}

std::string GetWindowTextUtf8(HWND hwnd) {
    int n = ::GetWindowTextLengthW(hwnd);
    std::wstring text(size_t(n) + 1, L'\0');
    n = ::GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(size_t(n > 0 ? n : 0));
    return Narrow(text);
}

void SetWindowTextUtf8(HWND hwnd, const std::string& text) {
    ::SetWindowTextW(hwnd, Widen(text).c_str());
}

}  // namespace pellion::win
