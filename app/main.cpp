// Process entry: restrict DLL loading, read the switches, run the
// prerequisite gate, then set up the application frame and run the main
// window's message loop, or the silent run (/S). An interactive run ends
// with exit code 0 in every case; the silent run's codes are in
// silent_run.h.
#include <windows.h>

#include <exception>
#include <stdexcept>

#include "app/gate.h"
#include "app/gate_rules.h"
#include "app/silent_run.h"
#include "base/command_line.h"
#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/optional_api.h"
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

// Milliseconds since Windows created this process, for the log's start-up
// marks (where the time before the welcome page goes).
double MsSinceProcessStart() {
    FILETIME created, unused, now;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &unused, &unused, &unused)) return 0;
    using PreciseFn = void(WINAPI*)(LPFILETIME);
    static const auto precise = pellion::win::OptionalProc<PreciseFn>(
        L"kernel32.dll", "GetSystemTimePreciseAsFileTime");
    (precise ? precise : &::GetSystemTimeAsFileTime)(&now);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return double(ticks(now) - ticks(created)) / 1e4;
}

void Mark(const char* what) {
    if (pellion::win::RunLogOpen())
        pellion::win::LogFormat("start-up: %s, %.1f ms after the process was created", what,
                                MsSinceProcessStart());
}

void RunApplication(const pellion::Switches& switches) {
    auto& app = pellion::win::Application::Instance();
    const bool go = pellion::StartupGate();
    Mark("gate done");
    if (!go) return;

    // The application object; COM, which the shortcuts and the folder
    // browser need, starts at their first use (Application::EnsureCom).
    app.Initialize();
    Mark("application object ready (the first window: the display connection)");
    app.SetTitle(pellion::kApplicationTitle);
    pellion::tMainForm mainForm(&pellion::WindowsFolderPath, switches.folder);
    Mark("main window created");
    // Cancel to the installed-version question queued a quit request: the
    // program ends without showing the window (the exit code stays 0).
    if (mainForm.QuitRequested()) return;
    app.SetMainWindow(mainForm.Handle());
    mainForm.Show();
    Mark("welcome page shown");
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
    const std::string commandLine = pellion::win::Narrow(::GetCommandLineW());
    const pellion::Switches switches = pellion::ParseSwitches(pellion::ArgumentsOf(commandLine));
    if (!switches.log.empty()) pellion::win::OpenRunLog(switches.log);
    int code = pellion::kExitFailed;
    auto& app = pellion::win::Application::Instance();
    // A silent run shows nothing, not even an unexpected error.
    if (!switches.silent) app.SetExceptionPresenter(&PresentError);
    try {
        if (pellion::win::RunLogOpen()) {
            Mark("wWinMain");
            LogStart(commandLine);
        }
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
