#pragma once
// The rules of the start-up prerequisite gate that need no Windows: the
// command-line switch, which directory entry names DOSBox, and the texts of
// the notice.

#include <string>
#include <string_view>

namespace pellion {

inline constexpr char kApplicationTitle[] = "Mirabond Installer Version 3.24";
inline constexpr char kNoticeCaption[] = "Corvex355 Installer";
inline constexpr char kNoticeText[] =
    "This computer has a 64 bit operating system which cannot directly execute DOS programs."
    "\n\n"
    "Pellion cannot run on this operating system except in XP Mode (which requires upgrading "
    "to Windows 7 Professional) or by using the free program, DOSbox, which does not appear to "
    "be installed on this computer."
    "\n\n"
    "Click OK to go to the DOSbox website.  Download, and install DOSbox to it's default "
    "location then start this installer again.";
// MB_OKCANCEL | MB_ICONEXCLAMATION.
inline constexpr unsigned kNoticeFlags = 49;
// The DOSBox project's download page, opened when the user answers OK.
inline constexpr char kDosBoxPage[] = "https://www.dosbox.com/download.php?main=1";

// "/t" anywhere in the lower-cased whole command line forces the notice.
bool CommandLineForcesNotice(std::string_view commandLine);

// Whether a directory entry of Program Files names DOSBox: "dosbox"
// anywhere in its lower-cased name.
bool IsDosBoxEntry(std::string_view entryName);

// The DOSBox executable path for a matching entry: the lower-cased root in
// normal form, the lower-cased entry name, a backslash and "dosbox.exe".
std::string DosBoxExePath(std::string_view lowerRoot, std::string_view entryName);

}  // namespace pellion
