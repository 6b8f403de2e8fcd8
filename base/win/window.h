#pragma once
// Base of the program's own window classes: binds an HWND to its C++ object
// at WM_NCCREATE (GWLP_USERDATA) and hands every message to HandleMessage.
// No exception ever leaves a window procedure: it is caught there and shown
// to the user through the application.

#include <windows.h>

#include <string>

namespace pellion::win {

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

  protected:
    // Registers `className` once per process with this module's instance.
    static void RegisterClassOnce(const wchar_t* className,
                                  UINT classStyle = CS_HREDRAW | CS_VREDRAW,
                                  HBRUSH background = nullptr);
    // Creates the window; the object receives every message from WM_NCCREATE
    // on. Raises EOSError when CreateWindowEx fails.
    void Create(DWORD exStyle, const wchar_t* className, const std::string& title, DWORD style,
                int x, int y, int width, int height, HWND parent, HMENU menuOrId = nullptr);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcW(hwnd_, msg, wp, lp); }

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Whether the window takes input: it and its top-level window are enabled.
// Windows disables the top-level window while a dialog is modal to it, but
// not its children, so a control asked only about itself would still act.
bool AcceptsInput(HWND hwnd);

// Text of a window as UTF-8.
std::string GetWindowTextUtf8(HWND hwnd);
void SetWindowTextUtf8(HWND hwnd, const std::string& text);

}  // namespace pellion::win
