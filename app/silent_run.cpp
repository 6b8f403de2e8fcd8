#include "app/silent_run.h"

#include <windows.h>

#include <exception>
#include <memory>

#include "app/gate.h"
#include "base/errors.h"
#include "base/win/application.h"
#include "base/win/run_log.h"
#include "install/install_run.h"
#include "install/register_install.h"
#include "install/ucargo.h"
#include "ui/main_window_rules.h"
#include "ui/tfmMain.h"

namespace pellion {

namespace {

// Draws nothing, is never paused or cancelled, and never waits.
class SilentProgress : public InstallProgress {
  public:
    void SetProgramName(const std::string&) override {}
    void SetStage(const std::string&) override {}
    void Show() override {}
    void SetTotal(int32_t) override {}
    void SetCurrentFile(const std::string&) override {}
    void SetPosition(int32_t) override {}
    void ProcessMessages() override {}
    bool Cancelled() const override { return false; }
    void WaitForOk() override {}
};

// Writes what would have been shown to the log; every question is answered
// Yes.
class SilentMessages : public InstallMessages {
  public:
    void Tell(const std::string& text) override { win::LogFormat("message: %s", text.c_str()); }
    void TellTitled(const std::string&, const std::string& text) override { Tell(text); }
    bool AskYesNo(const std::string& question) override {
        win::LogFormat("question: %s", question.c_str());
        win::LogLine("answer: Yes (silent run)");
        return true;
    }
};

int ExitCodeOf(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::kInstalled:
            return kExitInstalled;
        case RunOutcome::kReadFailed:
            return kExitPayloadUnreadable;
        case RunOutcome::kWriteFailed:
            return kExitWriteFailed;
        default:
            return kExitFailed;
    }
}

// The run proper, once the gate let it through.
int InstallSilently(const std::string& folder) {
    SilentMessages messages;
    // A copy already there is installed over, whatever its version.
    const std::string question = InstalledVersionQuestion(ReadInstalledVersion(folder));
    if (!question.empty()) messages.AskYesNo(question);
    if (!ValidateInstallFolder(folder, messages)) return kExitFolderRefused;
    InstallRecord record;
    try {
        RunInstall(folder, [] { return std::make_unique<SilentProgress>(); }, messages, &record);
    } catch (const EOSError&) {
        throw;  // the shell, not the payload
    } catch (const EPellionError& e) {
        // A missing, short or damaged item, or no memory to unpack one.
        win::LogFormat("error: %s", e.what());
        return kExitPayloadUnreadable;
    }
    RegisterInstall(record);
    return ExitCodeOf(record.outcome);
}

}  // namespace

int RunSilent(const Switches& switches) {
    switch (CheckGate()) {
        case GateVerdict::kGo:
            break;
        case GateVerdict::kDosBoxMissing:
            return kExitDosBoxMissing;
        case GateVerdict::kNoticeRequested:
            // "/t" keeps its meaning everywhere on the command line.
            ShowDosBoxNotice();
            return kExitDosBoxMissing;
    }
    // As the interactive run has it; COM starts with the shortcuts.
    win::Application::Instance().Initialize();
    const std::string folder =
        switches.hasFolder ? switches.folder
                           : DefaultInstallFolder(WindowsFolderPath(),
                                                  [](const std::string& path) {
                                                      return DirectoryExists(path);
                                                  });
    try {
        return InstallSilently(folder);
    } catch (const std::exception& e) {
        win::LogFormat("error: %s", e.what());
    }
    return kExitFailed;
}

}  // namespace pellion
