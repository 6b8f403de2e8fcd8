// The main window's side of an installation: the version of a copy already
// in a folder, and "Install", which hands the folder to the install run with
// the window hidden.
#include <windows.h>

#include <exception>
#include <stdexcept>

#include "base/win/application.h"
#include "base/win/wide.h"
#include "install/install_run.h"
#include "install/register_install.h"
#include "install/ucargo.h"
#include "ui/dialogs/dialogs.h"
#include "ui/fmiProgress.h"
#include "ui/install_messages.h"
#include "ui/tfmMain.h"

namespace pellion {

namespace {

// A program that records the version is a small DOS executable; a file far
// larger than any such program is read only this far.
constexpr DWORD kMaxVersionScan = 16u << 20;

std::string ReadFilePrefix(const std::string& path, DWORD limit) {
    win::UniqueFile file(::CreateFileW(win::Widen(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file) return bytes;
    char buffer[64 * 1024];
    DWORD got = 0;
    while (bytes.size() < limit && ::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) &&
           got > 0)
        bytes.append(buffer, got);
    return bytes;
}

}  // namespace

InstalledVersion ReadInstalledVersion(const std::string& folder) {
    std::string program = NormalizeFolder(folder) + kVersionedProgram;
    InstalledVersion installed;
    if (!FileExists(program)) return installed;
    installed.present = true;
    installed.version = FindRecordedVersion(ReadFilePrefix(program, kMaxVersionScan)).value_or(0);
    return installed;
}

namespace {

// Holds the main window's "a run is going" flag; cleared when the scope
// ends unless kept (the window closes after a successful run).
class RunningFlag {
  public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() {
        if (!kept_) flag_ = false;
    }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;
    void Keep() { kept_ = true; }

  private:
    bool& flag_;
    bool kept_ = false;
};

}  // namespace

void tMainForm::btnInstallClick() {
    // One run at a time: a second click queued before the window hid comes
    // out of the first run's message processing, and does nothing.
    if (installing_) return;
    RunningFlag running(installing_);
    if (!ValidateInstallFolder(InstallDir(), DialogMessages())) return;
    ::ShowWindow(Handle(), SW_HIDE);
    if (RunInstallAndReport()) {
        running.Keep();
        // Posted: a clicked button may still be inside its click handler.
        ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
        return;
    }
    // A failed, cancelled or broken run: the window comes back where it was.
    SetActivePage(2);
    Show();
    ShowMessageFmt("%s was not installed.", kProductName);
}

// The run with the progress window; an error it raises (a missing or broken
// payload resource, a shell object that cannot be made) is shown here, so
// the hidden window always comes back.
bool tMainForm::RunInstallAndReport() {
    try {
        InstallRecord record;
        const bool installed =
            RunInstall(InstallDir(), ProgressFormFactory(), DialogMessages(), &record);
        // Only an installer built with its uninstaller writes anything here.
        RegisterInstall(record);
        return installed;
    } catch (const std::exception& e) {
        win::Application::Instance().ShowException(e);
    } catch (...) {
        win::Application::Instance().ShowException(std::runtime_error("Unknown error"));
    }
    return false;
}

}  // namespace pellion
