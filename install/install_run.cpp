// The install run on the GUI thread: the drive check, then reading every
// payload item, writing the files under the progress window and the closing
// step for the kind of system. Texts and rules come from install_text.h.
#include "install/install_run.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "base/win/wide.h"
#include "base/win/win_error.h"
#include "install/dosbox_setup.h"
#include "install/install_file.h"
#include "install/install_text.h"
#include "install/ucargo.h"
#include "payload/payload_list.h"
#include "payload/payload_reader.h"
#include "ui/dialogs/dialogs.h"

namespace pellion {

namespace {

constexpr int kYes = 6;

// Every payload item, read and decoded before anything is written, so the
// total is known and nothing is written when an item is unreadable.
struct tItemTable {
    std::vector<tInstItem> items;
    int32_t total = 0;
    tReadErrorReport readErrors;
};

void ReadAllItems(tItemTable& table) {
    std::string list = kPayloadList;
    size_t count = 1;
    for (char c : list) count += c == ',';
    table.items.assign(count, tInstItem{});
    std::string resource;
    for (tInstItem& item : table.items) {
        SplitFirstToken(list, ",", resource);
        ReadPayloadItem(resource, item.fileName, item.dateTime, item.content);
        if (item.content.empty())
            table.readErrors.Add(resource, item.fileName);
        else
            table.total = AddToTotal(table.total, item.content.size());
    }
}

struct tWriteOutcome {
    int written = 0;  // files now in place
    bool cancelled = false;
    std::vector<tWriteFailure> failures;
};

// Writes and dates one file after the other; the progress window handles
// Pause, Resume and Cancel inside SetPosition, between files.
tWriteOutcome WriteAllFiles(InstallProgress& progress, const std::string& folder,
                            const tItemTable& table) {
    tWriteOutcome out;
    progress.SetTotal(table.total);
    int32_t sum = 0;
    for (const tInstItem& item : table.items) {
        const std::string path = folder + item.fileName;
        progress.SetCurrentFile(path);
        std::string reason;
        if (PlaceInstalledFile(path, item.content, item.dateTime, reason))
            ++out.written;
        else
            out.failures.push_back({path, reason});
        sum = AddToTotal(sum, item.content.size());
        progress.SetPosition(sum);
        if (progress.Cancelled()) {
            out.cancelled = true;
            break;
        }
    }
    return out;
}

}  // namespace

std::string OfferDesktopShortcut(const std::string& folder, const std::string& desktop) {
    if (FileExists(folder + kSiblingProgramFile)) return SiblingProductText();
    if (MessageDialog(ShortcutQuestionText(), mtWarning, Buttons({mbYes, mbNo}), 0) != kYes)
        return AfterNoText();
    // Without a desktop folder the shortcut would land in the current folder.
    if (desktop.empty()) return AfterNoText();
    CreateShortcut(desktop + kShortcutFile, folder + kShortcutTarget, "", kProductName,
                   folder + kShortcutIcon, 0, 0);
    return AfterYesText();
}

namespace {

// Tells the user how to start the product; answers the text to show once
// the progress window is gone (empty: nothing more to show).
std::string ClosingStep(const std::string& folder) {
    if (HasMenuProgram(folder)) return MenuProgramText();
    const std::string desktop = NormalizeFolder(SpecialFolderPath(kCsidlDesktop));
    if (Is64BitWindows()) {
        // It shows its own closing message.
        CreateDosBoxShortcuts(folder, desktop);
        return {};
    }
    return OfferDesktopShortcut(folder, desktop);
}

// The install folder in normal form, created with its parents; on failure
// answers false with the system's reason.
bool PrepareFolder(const std::string& typed, std::string& folder, std::string& reason) {
    folder = NormalizeFolder(typed);
    if (!EnsureFolder(folder)) {
        reason = win::SystemMessage(::GetLastError());
        return false;
    }
    // EnsureFolder gives a relative folder back without its backslash.
    folder = NormalizeFolder(folder);
    return true;
}

// Steps 2 to 10 of a run with the progress window open. Answers the success
// flag; `outcome` gets the text to show after the window is gone.
bool InstallUnderProgress(InstallProgress& progress, const std::string& folder,
                          const tWriteFailure* folderFailure, std::string& outcome) {
    progress.SetProgramName(kProductName);
    progress.SetStage(kInstallingStage);
    progress.Show();
    tItemTable table;
    ReadAllItems(table);
    if (!table.readErrors.Empty()) {
        ShowMessage(table.readErrors.Text());
        return false;
    }
    tWriteOutcome written;
    if (folderFailure)
        written.failures.push_back(*folderFailure);
    else
        written = WriteAllFiles(progress, folder, table);
    const int count = int(table.items.size());
    if (!written.failures.empty()) {
        // Not a success: the window's OK state would announce one.
        ShowMessage(WriteFailureReport(written.failures));
        if (written.cancelled) outcome = CancelMessage(written.written, count);
        return false;
    }
    progress.WaitForOk();
    if (progress.Cancelled() || written.cancelled) {
        outcome = CancelMessage(written.written, count);
        return false;
    }
    outcome = ClosingStep(folder);
    return true;
}

}  // namespace

bool ValidateInstallFolder(const std::string& folder) {
    std::string problem;
    // An empty text would ask about the current folder's drive and pass.
    if (folder.empty() ||
        !IsUsableDriveType(::GetDriveTypeW(win::Widen(DriveRootOf(folder)).c_str())))
        problem = DriveProblemMessage();
    if (problem.empty()) return true;
    ShowMessage(problem);
    return false;
}

bool RunInstall(const std::string& typed, const InstallProgressFactory& makeProgress) {
    std::string folder;
    tWriteFailure folderFailure;
    const bool folderMade = PrepareFolder(typed, folder, folderFailure.reason);
    folderFailure.path = folder;
    std::string outcome;
    bool success;
    {
        // Released before the final message, and on every error too.
        std::unique_ptr<InstallProgress> progress = makeProgress();
        success =
            InstallUnderProgress(*progress, folder, folderMade ? nullptr : &folderFailure, outcome);
    }
    if (!outcome.empty()) ShowMessageTitled(kProductName, outcome);
    return success;
}

bool HasMenuProgram(const std::string& folder) {
    const std::string parent = MenuProgramParent(folder);
    return !parent.empty() && FileExists(parent + kMenuProgramFile);
}

}  // namespace pellion
