// Process entry: restrict DLL loading, run the prerequisite gate, then set up
// the application frame and run the main window's message loop. The exit
// code is 0 in every case.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <stdexcept>

#include "app/gate.h"
#include "app/gate_rules.h"
#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "ui/dialogs/dialogs.h"
#include "ui/tfmMain.h"

namespace {

void PresentError(const std::string& message) {
    pellion::MessageDialog(message, pellion::mtError, pellion::Buttons({pellion::mbOK}), 0);
}

void RunApplication() {
    auto& app = pellion::win::Application::Instance();
    app.SetExceptionPresenter(&PresentError);
    if (!pellion::StartupGate()) return;

    // COM in a single-threaded apartment before any window: shortcut
    // creation relies on it.
    app.Initialize();
    app.SetTitle(pellion::kApplicationTitle);
    pellion::tMainForm mainForm;
    // Cancel to the installed-version question queued a quit request: the
    // program ends without showing the window (the exit code stays 0).
    if (mainForm.QuitRequested()) return;
    app.SetMainWindow(mainForm.Handle());
    mainForm.Show();
    app.Run();
    app.SetMainWindow(nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything else can load a DLL.
    pellion::win::RestrictDllSearch();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    try {
        RunApplication();
    } catch (const std::exception& e) {
        pellion::win::Application::Instance().ShowException(e);
    } catch (...) {
        pellion::win::Application::Instance().ShowException(std::runtime_error("Unknown error"));
    }
    return 0;
}
