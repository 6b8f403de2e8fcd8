#pragma once
// The DOSBox launch set-up of a 64-bit system: dosbox.conf in the install
// folder from the template resource "rs_Conf", the two desktop shortcuts
// (V DOSbox.lnk, Print F.lnk) and the closing message that tells the user
// about them.

#include <string>

#include "install/install_progress.h"

namespace pellion {

// The install folder as DOSBox 0.74, a program of the ANSI code page, can
// open it: `conf` for dosbox.conf's mount line, `argument` for the shortcut's
// command line (which reaches DOSBox through that code page). Both are the
// folder itself when every character has a place in the code page (`conf`
// then in the code page's bytes), else its short (8.3) form when the volume
// keeps one; `usable` is false when neither works. ASCII folders come back
// unchanged. Folders end in a backslash.
struct DosBoxFolder {
    std::string conf;
    std::string argument;
    bool usable = false;
};
DosBoxFolder FolderForDosBox(const std::string& folder);

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
// pass to the caller, with COM left balanced.
bool CreateDosBoxShortcuts(const std::string& installFolder, const std::string& desktopFolder,
                           InstallMessages& messages);

}  // namespace pellion
