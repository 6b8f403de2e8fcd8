#pragma once
// The application object: one per process. It initialises COM for the GUI
// thread, carries the application title (on a hidden "TApplication" window,
// which is never on the taskbar: the main window carries the taskbar button),
// knows the main window that dialogs are owned by, runs the message loop and
// is the last stop for errors that reach a window procedure.

#include <windows.h>

#include <exception>
#include <memory>
#include <string>

namespace pellion::win {

class ComApartment;

class Application {
  public:
    using ExceptionPresenter = void (*)(const std::string& message);
    using HelpHandler = void (*)(int context);

    static Application& Instance();

    // The hidden application window. Safe to call more than once. COM comes
    // with the first use that needs it (EnsureCom), not here: loading it
    // would delay the first window.
    void Initialize();
    bool Initialized() const { return appWindow_ != nullptr; }

    // COM in a single-threaded apartment on the calling thread (the GUI
    // thread: the shortcuts, the folder browser, screen readers), from the
    // first call until the program ends. Safe to call more than once.
    void EnsureCom();
    bool ComReady() const { return com_ != nullptr; }

    void SetTitle(const std::string& title);
    const std::string& Title() const { return title_; }
    HWND Handle() const { return appWindow_; }

    void SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }
    HWND MainWindow() const { return mainWindow_; }

    // The window that owns the message dialogs: the main window, unless a
    // window that is for a while the user's one view of the program (the
    // progress window during a run) stands in for it. A dialog disables its
    // owner, so that window takes no input while the dialog is up. Answers
    // the stand-in that was set before.
    HWND SetDialogOwner(HWND hwnd) {
        HWND previous = dialogOwner_;
        dialogOwner_ = hwnd;
        return previous;
    }
    HWND DialogOwner() const {
        return dialogOwner_ && ::IsWindow(dialogOwner_) ? dialogOwner_ : mainWindow_;
    }

    // Pumps messages until WM_QUIT arrives.
    void Run();

    // Full path of the running executable, UTF-8.
    static std::string ExeName();

    // Shows an error that reached a boundary Windows called into. The
    // presenter is the program's message dialog once the UI is wired up;
    // before that a plain message box.
    void ShowException(const std::exception& e);
    void SetExceptionPresenter(ExceptionPresenter presenter) { presenter_ = presenter; }

    // The application's help, opened at a context number (F1 in dialogs).
    void SetHelpHandler(HelpHandler handler) { help_ = handler; }
    bool ShowHelp(int context);

  private:
    Application() = default;
    std::unique_ptr<ComApartment> com_;
    HWND appWindow_ = nullptr;
    HWND mainWindow_ = nullptr;
    HWND dialogOwner_ = nullptr;
    std::string title_;
    ExceptionPresenter presenter_ = nullptr;
    HelpHandler help_ = nullptr;
};

}  // namespace pellion::win
