// The uninstaller's entry. It removes what the installer wrote into its own
// folder, the shortcuts it made and the Apps & features entry, asking once
// and telling the outcome once; /S does the same without any window.
//
//   uninstall.exe [/S] [/LOG=<file>] [/?]
//
// Exit codes:
//   0  removed (the uninstaller's own file and the emptied folder go a
//      moment after the process ends)
//   1  the command line was not understood
//   2  the user answered No; nothing removed
//   3  the folder is one the uninstaller never empties; nothing removed
//   4  something could not be removed; the entry and the uninstaller stay
//   5  no installation record; nothing removed
//   6  an unexpected error
#include <windows.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "base/command_line.h"
#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/run_log.h"
#include "base/win/system_api.h"
#include "base/win/wide.h"
#include "install/self_removal.h"
#include "install/uninstall_run.h"
#include "install/uninstall_text.h"
#include "ui/dialogs/dialogs.h"

namespace {

void PresentError(const std::string& message) {
    pellion::MessageDialog(message, pellion::mtError, pellion::Buttons({pellion::mbOK}), 0);
}

// The one view of a run: dialogs, or nothing at all under /S.
class Voice {
  public:
    explicit Voice(bool silent) : silent_(silent) {
        if (silent_) return;
        auto& app = pellion::win::Application::Instance();
        app.SetExceptionPresenter(&PresentError);
        app.Initialize();
        app.SetTitle(pellion::kUninstallTitle);
    }
    void Tell(const std::string& text) const {
        if (silent_)
            pellion::win::LogFormat("message: %s", text.c_str());
        else
            pellion::ShowMessageTitled(pellion::kUninstallTitle, text);
    }
    // A silent run is asked nothing: the answer is Yes.
    bool Confirm(const std::string& question) const {
        if (silent_) return true;
        const int answer =
            pellion::MessageDialog(question, pellion::mtConfirmation,
                                   pellion::Buttons({pellion::mbYes, pellion::mbNo}), 0);
        return answer == 6;  // Yes; No and closing the dialog keep everything
    }
    void ShowError(const std::exception& e) const {
        pellion::win::LogFormat("unexpected error: %s", e.what());
        if (!silent_) pellion::win::Application::Instance().ShowException(e);
    }

  private:
    bool silent_;
};

int Uninstall(const Voice& voice) {
    const pellion::UninstallTask task = pellion::PrepareUninstall();
    if (task.stopCode != pellion::kUninstallRemoved) {
        voice.Tell(task.message);
        return task.stopCode;
    }
    if (!voice.Confirm(pellion::ConfirmRemovalText(task.folder)))
        return pellion::kUninstallDeclined;
    const pellion::UninstallOutcome outcome = pellion::CarryOutUninstall(task);
    voice.Tell(outcome.message);
    return outcome.exitCode;
}

int Run(const pellion::Switches& switches) {
    const Voice voice(switches.silent);
    try {
        // /D= is the installer's: the uninstaller removes its own folder only.
        if (!switches.unknown.empty() || switches.hasFolder) {
            pellion::win::LogFormat("command line not understood: %s",
                                    switches.hasFolder ? "/D=" : switches.unknown.c_str());
            voice.Tell(pellion::kUninstallUsageText);
            return pellion::kUninstallBadCommandLine;
        }
        if (switches.usage) {
            voice.Tell(pellion::kUninstallUsageText);
            return pellion::kUninstallRemoved;
        }
        return Uninstall(voice);
    } catch (const std::exception& e) {
        voice.ShowError(e);
    } catch (...) {
        voice.ShowError(std::runtime_error("Unknown error"));
    }
    return pellion::kUninstallUnexpected;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything else can load a DLL.
    pellion::win::RestrictDllSearch();
    try {
        const std::string commandLine = pellion::win::Narrow(::GetCommandLineW());
        const std::string arguments(pellion::ArgumentsOf(commandLine));
        pellion::CleanupRequest cleanup;
        if (pellion::ParseCleanupArguments(arguments, cleanup)) return pellion::RunCleaner(cleanup);

        pellion::win::lazy::UseCommonControls();
        const pellion::Switches switches = pellion::ParseSwitches(arguments);
        if (!switches.log.empty()) pellion::win::OpenRunLog(switches.log);
        const int code = Run(switches);
        pellion::win::LogFormat("exit code %d", code);
        return code;
    } catch (...) {
        // Before the switches are known nothing may be shown: /S could be
        // among them.
        return pellion::kUninstallUnexpected;
    }
}
