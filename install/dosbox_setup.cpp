#include "install/dosbox_setup.h"

#include <windows.h>

#include <utility>

#include "base/win/com.h"
#include "base/win/wide.h"
#include "install/dosbox_conf.h"
#include "install/dosbox_path.h"
#include "install/ucargo.h"
#include "payload/payload_reader.h"
#include "ui/dialogs/dialogs.h"

namespace pellion {

namespace {

DosBoxMessagePresenter& Presenter() {
    static DosBoxMessagePresenter presenter;
    return presenter;
}

void PresentMessage(const std::string& text) {
    if (Presenter()) {
        Presenter()(text);
    } else {
        ShowMessage(text);
    }
}

// Removes an old shortcut (plain deletion, not to the recycle bin). Answers
// whether the name is free afterwards: a shortcut that cannot be removed
// cannot be replaced either, and must not pass for a new one.
bool ClearOldLink(const std::string& linkPath) {
    if (FileExists(linkPath)) ::DeleteFileW(win::Widen(linkPath).c_str());
    return !FileExists(linkPath);
}

}  // namespace

DosBoxMessagePresenter SetDosBoxMessagePresenter(DosBoxMessagePresenter presenter) {
    return std::exchange(Presenter(), std::move(presenter));
}

bool WriteDosBoxConf(const std::string& productExe) {
    std::string templateText = ReadRawResource(kConfResource);
    std::string folder = FolderPart(productExe);
    // Any earlier configuration goes to the recycle bin; a failure here shows
    // up as a configuration that cannot be written just below.
    DeleteByMask(folder + kConfMask);
    std::string text = DosBoxConfText(templateText, folder, FileNamePart(productExe));
    return WriteWholeFile(folder + kConfFile, text);
}

bool CreateDosBoxShortcuts(const std::string& installFolder, const std::string& desktopFolder) {
    // The sibling product sets up its own way of starting.
    if (FileExists(installFolder + kSiblingProgram)) return true;

    tDosBoxSetupResult result;
    result.confPath = installFolder + kConfFile;
    result.confWritten = WriteDosBoxConf(installFolder + kProductExe);

    std::string title = DosBoxShortcutTitle();
    std::string iconPath = installFolder + kShortcutIcon;
    result.dosboxLinkPath = desktopFolder + title + ".lnk";
    result.printLinkPath = desktopFolder + kPrintLinkFile;
    bool dosboxLinkFree = ClearOldLink(result.dosboxLinkPath);
    bool printLinkFree = ClearOldLink(result.printLinkPath);
    {
        // One more reference on the thread's apartment, given back also when
        // CreateShortcut raises (the error then goes on to the caller).
        win::ComApartment com;
        CreateShortcut(result.dosboxLinkPath, DosBoxPath, DosBoxShortcutArguments(installFolder),
                       kProductName, iconPath, 0, 0);
        CreateShortcut(result.printLinkPath, installFolder + kPrintProgram, kPrintArguments,
                       kPrintDescription, iconPath, 0, kPrintHotkey);
    }
    // CreateShortcut ignores a failed save; the file on disk tells.
    result.dosboxLinkMade = dosboxLinkFree && FileExists(result.dosboxLinkPath);
    result.printLinkMade = printLinkFree && FileExists(result.printLinkPath);

    PresentMessage(DosBoxClosingMessage(result));
    return result.AllMade();
}

}  // namespace pellion
