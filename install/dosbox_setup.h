#pragma once
// The DOSBox launch set-up of a 64-bit system: dosbox.conf in the install
// folder from the template resource "rs_Conf", the two desktop shortcuts
// (V DOSbox.lnk, Print F.lnk) and the closing message that tells the user
// about them.

#include <functional>
#include <string>

namespace pellion {

// Writes dosbox.conf beside `productExe` (the install folder followed by
// "veskpnx.exe") after sending the folder's *.conf files to the recycle bin.
// Answers whether the file was written. Raises EResNotFound when the
// template resource is missing.
bool WriteDosBoxConf(const std::string& productExe);

// Both folders end in exactly one backslash. Does nothing (and answers true)
// when the sibling product's "vesk.exe" is in the install folder; otherwise
// writes the configuration, replaces both shortcuts and shows the closing
// message, which names anything that could not be written. Answers whether
// everything was made. Errors of CreateShortcut pass to the caller, with COM
// left balanced.
bool CreateDosBoxShortcuts(const std::string& installFolder, const std::string& desktopFolder);

// Where the closing message goes: ShowMessage unless replaced. Tests put a
// recorder here; an empty function restores ShowMessage. Answers the
// presenter that was in place.
using DosBoxMessagePresenter = std::function<void(const std::string&)>;
DosBoxMessagePresenter SetDosBoxMessagePresenter(DosBoxMessagePresenter presenter);

}  // namespace pellion
