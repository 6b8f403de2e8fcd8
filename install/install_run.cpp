// The install run on the GUI thread: the drive check, then reading every
// payload item, writing the files under the progress window and the closing
// step for the kind of system. Texts and rules come from install_text.h.
#include "install/install_run.h"

#include <windows.h>

#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "base/win/application.h"
#include "base/win/run_log.h"
#include "base/win/wide.h"
#include "base/win/win_error.h"
#include "install/dosbox_setup.h"
#include "install/install_file.h"
#include "install/install_text.h"
#include "install/ucargo.h"
#include "payload/payload_list.h"
#include "payload/payload_reader.h"

namespace pellion {

namespace {

// Every payload item, read and decoded before anything is written, so the
// total is known and nothing is written when an item is unreadable.
struct ItemTable {
    std::vector<tInstItem> items;
    int32_t total = 0;
    ReadErrorReport readErrors;
};

// The items are decoded on worker threads while the progress window keeps
// answering; the first error an item raised, in install order, ends the run
// as it would have on its own.
void ReadAllItems(ItemTable& table, InstallProgress& progress) {
    std::string list = kPayloadList;
    size_t count = 1;
    for (char c : list) count += c == ',';
    std::vector<PayloadRead> reads(count);
    for (PayloadRead& read : reads) SplitFirstToken(list, ",", read.resource);
    ReadPayloadItems(reads, [&progress] { progress.ProcessMessages(); });
    // Once more: a Cancel clicked as the last item ended counts before the
    // first file is written.
    progress.ProcessMessages();
    for (const PayloadRead& read : reads)
        if (read.error) std::rethrow_exception(read.error);
    table.items.assign(reads.size(), tInstItem{});
    for (size_t i = 0; i < reads.size(); ++i) {
        tInstItem& item = table.items[i];
        PayloadRead& read = reads[i];
        item.fileName = std::move(read.fileName);
        item.dateTime = read.dateTime;
        item.content = std::move(read.content);
        if (item.content.empty())
            table.readErrors.Add(read.resource, item.fileName);
        else
            table.total = AddToTotal(table.total, item.content.size());
    }
}

struct WriteOutcome {
    int written = 0;  // files now in place
    bool cancelled = false;
    std::vector<WriteFailure> failures;
};

// "name, 1234 bytes, 2004-05-11 12:00:00" for the log.
void LogWrittenFile(const tInstItem& item) {
    const uint32_t dt = uint32_t(item.dateTime);
    const unsigned date = dt >> 16, time = dt & 0xFFFF;
    win::LogFormat("wrote %s, %u bytes, dated %04u-%02u-%02u %02u:%02u:%02u", item.fileName.c_str(),
                   unsigned(item.content.size()), 1980 + (date >> 9), (date >> 5) & 15, date & 31,
                   time >> 11, (time >> 5) & 63, (time & 31) * 2);
}

// Writes and dates one file after the other; the progress window handles
// Pause, Resume and Cancel inside SetPosition, between files.
WriteOutcome WriteAllFiles(InstallProgress& progress, const std::string& folder,
                           const ItemTable& table, InstallRecord* record) {
    WriteOutcome out;
    for (const tInstItem& item : table.items) RemoveLeftoverTemporaries(folder + item.fileName);
    progress.SetTotal(table.total);
    int32_t sum = 0;
    for (const tInstItem& item : table.items) {
        // A Cancel clicked while the items were read stops before any file.
        if (progress.Cancelled()) {
            out.cancelled = true;
            break;
        }
        const std::string path = folder + item.fileName;
        progress.SetCurrentFile(path);
        std::string reason;
        if (PlaceInstalledFile(path, item.content, item.dateTime, reason)) {
            ++out.written;
            LogWrittenFile(item);
            if (record) record->AddFile(item.fileName, item.content.size());
        } else {
            win::LogFormat("could not write %s: %s", path.c_str(), reason.c_str());
            out.failures.push_back({path, reason});
        }
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

std::string OfferDesktopShortcut(const std::string& folder, const std::string& desktop,
                                 InstallMessages& messages, InstallRecord* record) {
    if (FileExists(folder + kSiblingProgramFile)) return SiblingProductText();
    if (!messages.AskYesNo(ShortcutQuestionText())) return AfterNoText();
    // Without a desktop folder the shortcut would land in the current folder.
    if (desktop.empty()) return AfterNoText();
    const std::string link = desktop + kShortcutFile;
    CreateShortcut(link, folder + kShortcutTarget, "", kProductName, folder + kShortcutIcon, 0, 0);
    // CreateShortcut ignores a failed save; the file on disk tells.
    const bool made = FileExists(link);
    win::LogFormat("%s shortcut %s", made ? "made" : "could not make", link.c_str());
    if (made && record) record->shortcuts.push_back(link);
    return AfterYesText();
}

namespace {

// Tells the user how to start the product; answers the text to show once
// the progress window is gone (empty: nothing more to show).
std::string ClosingStep(const std::string& folder, InstallMessages& messages,
                        InstallRecord* record) {
    if (HasMenuProgram(folder)) return MenuProgramText();
    // The shortcuts need COM; it is started at its first use.
    win::Application::Instance().EnsureCom();
    const std::string desktop = NormalizeFolder(SpecialFolderPath(kCsidlDesktop));
    if (Is64BitWindows()) {
        // It shows its own closing message.
        CreateDosBoxShortcuts(folder, desktop, messages, record);
        return {};
    }
    return OfferDesktopShortcut(folder, desktop, messages, record);
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

// The run with the progress window open: every item read, every file
// written, the failures reported, the OK state and the closing step.
// Answers the success flag; `outcome` gets the text to show after the
// window is gone.
bool InstallUnderProgress(InstallProgress& progress, InstallMessages& messages,
                          const std::string& folder, const WriteFailure* folderFailure,
                          std::string& outcome, InstallRecord& record) {
    progress.SetProgramName(kProductName);
    progress.SetStage(kInstallingStage);
    progress.Show();
    ItemTable table;
    ReadAllItems(table, progress);
    if (!table.readErrors.Empty()) {
        record.outcome = RunOutcome::kReadFailed;
        messages.Tell(table.readErrors.Text());
        return false;
    }
    WriteOutcome written;
    if (folderFailure) {
        win::LogFormat("could not make the folder %s: %s", folderFailure->path.c_str(),
                       folderFailure->reason.c_str());
        written.failures.push_back(*folderFailure);
    } else {
        written = WriteAllFiles(progress, folder, table, &record);
    }
    const int count = int(table.items.size());
    if (!written.failures.empty()) {
        record.outcome = RunOutcome::kWriteFailed;
        // Not a success: the window's OK state would announce one.
        messages.Tell(WriteFailureReport(written.failures));
        if (written.cancelled) outcome = CancelMessage(written.written, count);
        return false;
    }
    progress.WaitForOk();
    if (progress.Cancelled() || written.cancelled) {
        record.outcome = RunOutcome::kCancelled;
        win::LogLine("cancelled by the user");
        outcome = CancelMessage(written.written, count);
        return false;
    }
    outcome = ClosingStep(folder, messages, &record);
    record.outcome = RunOutcome::kInstalled;
    return true;
}

}  // namespace

bool ValidateInstallFolder(const std::string& folder, InstallMessages& messages) {
    std::string problem;
    // An empty text would ask about the current folder's drive and pass.
    if (folder.empty() ||
        !IsUsableDriveType(::GetDriveTypeW(win::Widen(DriveRootOf(folder)).c_str())))
        problem = DriveProblemMessage();
    // Refused before the first folder is made: without long-path support
    // Windows would stop the run half way (Wine never does).
    else if (!FolderPathsFit(NormalizeFolder(folder), LongestWrittenName()))
        problem = FolderTooLongMessage();
    if (problem.empty()) return true;
    messages.Tell(problem);
    return false;
}

bool RunInstall(const std::string& typed, const InstallProgressFactory& makeProgress,
                InstallMessages& messages, InstallRecord* given) {
    InstallRecord local;
    InstallRecord& record = given ? *given : local;
    std::string folder;
    WriteFailure folderFailure;
    const bool folderMade = PrepareFolder(typed, folder, folderFailure.reason);
    folderFailure.path = folder;
    record.folder = folder;
    win::LogFormat("installing into %s", folder.c_str());
    std::string outcome;
    bool success;
    {
        // Released before the final message, and on every error too.
        std::unique_ptr<InstallProgress> progress = makeProgress();
        success = InstallUnderProgress(*progress, messages, folder,
                                       folderMade ? nullptr : &folderFailure, outcome, record);
    }
    if (!outcome.empty()) messages.TellTitled(kProductName, outcome);
    return success;
}

bool HasMenuProgram(const std::string& folder) {
    const std::string parent = MenuProgramParent(folder);
    return !parent.empty() && FileExists(parent + kMenuProgramFile);
}

}  // namespace pellion
