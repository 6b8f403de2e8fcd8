#pragma once
// The install run that the main window's "Install" starts: the drive check
// of the chosen folder, then the whole installation under the progress
// window, with the closing step for the kind of system. Both run on the GUI
// thread and tell the user about problems themselves, through `messages`.

#include <string>

#include "install/install_progress.h"
#include "install/install_record.h"

namespace pellion {

// True when the folder text's drive (its first three characters) is a
// removable, fixed or remote drive and every path the run makes there stays
// within Windows' limits (FolderPathsFit); otherwise shows "Install
// Directory is not on a valid device." or FolderTooLongMessage() and
// answers false, creating nothing.
bool ValidateInstallFolder(const std::string& folder, InstallMessages& messages);

// Installs the payload into `folder` (as typed: normalised here). The
// progress window comes from `makeProgress` and is released before the
// final message. Answers true only when every file was written and dated
// and the run was not cancelled. Errors raised by the payload reader or the
// shell pass to the caller unchanged, with everything released. `record`,
// when given, learns how the run ended and what it made.
bool RunInstall(const std::string& folder, const InstallProgressFactory& makeProgress,
                InstallMessages& messages, InstallRecord* record = nullptr);

// The closing step of a 32-bit system, after a complete run into `folder`
// (both folders end in a backslash): the sibling product's hint when its
// "vesk.exe" is in the folder; otherwise the question about a desktop
// shortcut, and on Yes "pnx.lnk" in `desktop`. Answers the text to show
// last. Raises EOSError when the shell link object cannot be made. A
// shortcut made is added to `record` when given.
std::string OfferDesktopShortcut(const std::string& folder, const std::string& desktop,
                                 InstallMessages& messages, InstallRecord* record = nullptr);

// Whether the maker's menu program "kxmenu.exe" lies in the parent of
// `folder` (which ends in a backslash); false when that parent is a drive
// root or there is none.
bool HasMenuProgram(const std::string& folder);

}  // namespace pellion
