#pragma once
// The DOSBox launch set-up of a 64-bit system: dosbox.conf in the install
// folder from the template resource "rs_Conf", the two desktop shortcuts
// (V DOSbox.lnk, Print F.lnk) and the closing message that tells the user
// about them.

#include <string>

#include "base/ansi_code_page.h"
#include "install/install_progress.h"
#include "install/install_record.h"

namespace pellion {

// The install folder as DOSBox 0.74, a program of the ANSI code page, can
// open it: `conf` for dosbox.conf's mount line, `argument` for the shortcut's
// command line (which reaches DOSBox through that code page). Both are the
// folder itself when every character has a place in the code page (`conf`
// then in the code page's bytes) and DOSBox's MOUNT keeps it whole (see
// DosBoxMountsWhole), else its short (8.3) form when the volume keeps one
// that passes both tests; `usable` is false when neither works, and
// `misread` then tells that the folder's own name was in the code page but
// ends in a letter DOSBox misreads. ASCII folders come back unchanged.
// Folders end in a backslash. `codePage` is the one DOSBox reads in; 0 is
// the system's ANSI code page, the one it uses (tests name others).
struct DosBoxFolder {
    std::string conf;
    std::string argument;
    AnsiCodePage codePage;  // the lead bytes of the code page `conf` is in
    bool usable = false;
    bool misread = false;
};
DosBoxFolder FolderForDosBox(const std::string& folder, unsigned codePage = 0);

// Writes dosbox.conf beside `productExe` (the install folder followed by
// "veskpnx.exe") after sending the folder's *.conf files to the recycle bin.
// Answers whether the file was written (never when DOSBox could not open the
// folder). Raises EResNotFound when the template resource is missing.
bool WriteDosBoxConf(const std::string& productExe);

// Both folders end in exactly one backslash (the desktop's may be empty:
// no desktop). Does nothing (and answers true) when the sibling product's
// "vesk.exe" is in the install folder; otherwise writes the configuration,
// replaces both shortcuts and shows the closing message through
// `messages`, which names anything that could not be made. A folder DOSBox
// cannot open gets no set-up, a missing desktop no shortcuts; the message
// says so. Answers whether everything was made. Errors of CreateShortcut
// pass to the caller, with COM left balanced. What was made (the
// configuration, each shortcut) is added to `record` when given.
bool CreateDosBoxShortcuts(const std::string& installFolder, const std::string& desktopFolder,
                           InstallMessages& messages, InstallRecord* record = nullptr);

}  // namespace pellion
