// Process entry: restrict DLL loading, read the switches, run the
// prerequisite gate, then set up the application frame and run the main
// window's message loop, or the silent run (/S). An interactive run ends
// with exit code 0 in every case; the silent run's codes are in
// silent_run.h.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <stdexcept>

#include "app/gate.h"
#include "app/gate_rules.h"
#include "app/silent_run.h"
#include "base/command_line.h"
#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/run_log.h"
#include "base/win/wide.h"
#include "install/install_text.h"
#include "install/ucargo.h"
#include "ui/dialogs/dialogs.h"
#include "ui/tfmMain.h"

namespace {

constexpr char kUsage[] =
    "Usage: PellionSetup.exe [/S] [/LOG=<file>] [/D=<folder>]\n"
    "\n"
    "/S\tinstalls without any window, answering every question as the\n"
    "\tREADME describes; the exit code tells how it ended\n"
    "/LOG=<file>\twrites a log of the run to <file>\n"
    "/D=<folder>\tinstalls into <folder>: last on the line, no quotes,\n"
    "\twith backslashes (C:\\Games\\Pellion)\n"
    "/?\tshows this message";

void PresentError(const std::string& message) {
    pellion::MessageDialog(message, pellion::mtError, pellion::Buttons({pellion::mbOK}), 0);
}

void ShowUsage(const std::string& problem) {
    pellion::win::Application::Instance().SetTitle(pellion::kApplicationTitle);
    pellion::MessageDialog(problem.empty() ? kUsage : problem + "\n\n" + kUsage,
                           problem.empty() ? pellion::mtInformation : pellion::mtError,
                           pellion::Buttons({pellion::mbOK}), 0);
}

void RunApplication(const pellion::Switches& switches) {
    auto& app = pellion::win::Application::Instance();
    if (!pellion::StartupGate()) return;

    // COM in a single-threaded apartment before any window: shortcut
    // creation relies on it.
    app.Initialize();
    app.SetTitle(pellion::kApplicationTitle);
    pellion::tMainForm mainForm(&pellion::tMainForm::ShellWindowsFolder, switches.folder);
    // Cancel to the installed-version question queued a quit request: the
    // program ends without showing the window (the exit code stays 0).
    if (mainForm.QuitRequested()) return;
    app.SetMainWindow(mainForm.Handle());
    mainForm.Show();
    app.Run();
    app.SetMainWindow(nullptr);
}

// Start, Windows' kind and the command line, for the log.
void LogStart(const std::string& commandLine) {
    using namespace pellion;
    win::LogFormat("Tovarin %s %s installer started", kProductName, kVersionText);
    win::LogFormat("command line: %s", commandLine.c_str());
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&version);
#pragma GCC diagnostic pop
    win::LogFormat("Windows %lu.%lu build %lu, %s", version.dwMajorVersion,
                   version.dwMinorVersion, version.dwBuildNumber,
                   Is64BitWindows() ? "64-bit" : "32-bit");
}

int Run(const pellion::Switches& switches) {
    if (switches.Refused()) {
        pellion::win::LogFormat("not understood: %s", switches.unknown.c_str());
        if (!switches.silent) ShowUsage("Not understood: " + switches.unknown);
        return pellion::kExitBadCommandLine;
    }
    if (switches.usage) {
        ShowUsage({});
        return pellion::kExitInstalled;
    }
    if (switches.silent) return pellion::RunSilent(switches);
    RunApplication(switches);
    return pellion::kExitInstalled;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything else can load a DLL.
    pellion::win::RestrictDllSearch();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    const std::string commandLine = pellion::win::Narrow(::GetCommandLineW());
    const pellion::Switches switches = pellion::ParseSwitches(pellion::ArgumentsOf(commandLine));
    if (!switches.log.empty()) pellion::win::OpenRunLog(switches.log);
    int code = pellion::kExitFailed;
    auto& app = pellion::win::Application::Instance();
    // A silent run shows nothing, not even an unexpected error.
    if (!switches.silent) app.SetExceptionPresenter(&PresentError);
    try {
        if (pellion::win::RunLogOpen()) LogStart(commandLine);
        code = Run(switches);
    } catch (const std::exception& e) {
        pellion::win::LogFormat("error: %s", e.what());
        if (!switches.silent) app.ShowException(e);
    } catch (...) {
        pellion::win::LogLine("error: unknown");
        if (!switches.silent) app.ShowException(std::runtime_error("Unknown error"));
    }
    // Interactive runs end with 0, whatever happened, as they always have.
    if (!switches.silent && !switches.Refused()) code = pellion::kExitInstalled;
    pellion::win::LogFormat("exit code %d", code);
    return code;
}
