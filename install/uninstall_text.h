#pragma once
// What the uninstaller says and how it ends, without Windows: its exit
// codes, its messages, and the command line of its cleaner (a copy of the
// uninstaller, started from the temporary folder, that removes the
// uninstaller's own file and the emptied folder once the uninstaller has
// ended: a running program's file cannot be deleted).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

// The uninstaller's exit codes (documented for administrators at the top of
// app/uninstall_main.cpp).
enum UninstallExit : int {
    kUninstallRemoved = 0,         // everything it made is gone
    kUninstallBadCommandLine = 1,  // a switch was not understood
    kUninstallDeclined = 2,        // the user answered No
    kUninstallRefused = 3,         // the folder is one it never empties
    kUninstallIncomplete = 4,      // something could not be removed; the entry stays
    kUninstallNoRecord = 5,        // no installation record: nothing removed
    kUninstallUnexpected = 6,      // an error nobody planned for
};

// The title of the uninstaller's messages.
inline constexpr char kUninstallTitle[] = "Tovarin Pellion";
inline constexpr char kRemovedText[] = "Tovarin Pellion was removed from your computer.";
inline constexpr char kNoRecordText[] =
    "Tovarin Pellion's installation record was not found, so nothing was removed.\n\n"
    "If Tovarin Pellion is still on your computer, install it again into the same folder, "
    "then remove it.";
inline constexpr char kUninstallUsageText[] =
    "uninstall.exe [/S] [/LOG=<file>]\n\n"
    "Removes Tovarin Pellion: the files its installer wrote into this folder, the shortcuts "
    "it made and its Apps & features entry. Files of your own in the folder are kept.\n\n"
    "/S\tremove without asking and without any window\n"
    "/LOG=<file>\twrite what is done into <file>\n"
    "/?\tshow this text\n\n"
    "Exit codes: 0 removed, 1 command line not understood, 2 answered No, 3 folder refused, "
    "4 something could not be removed, 5 no installation record, 6 unexpected error.";

// The one question of an interactive run, for the folder in normal form.
std::string ConfirmRemovalText(const std::string& folder);

// Why nothing was removed, from RemovalRefusal's reason.
std::string RefusalText(const std::string& reason);

// A path that could not be removed, with Windows' reason.
struct Leftover {
    std::string path;
    std::string reason;
};
// The closing message when some paths could not be removed: each on its
// own line with its reason, then what to do.
std::string LeftoverText(const std::vector<Leftover>& leftovers);

// The cleaner's arguments: "/CLEANUP=<handle> /D=<folder>". The handle is
// the uninstaller's process handle as the cleaner inherits it, in decimal;
// /D= comes last because it takes the rest of the line, blanks included.
// (No switch of the uninstaller may hold "/t": the installer, which shares
// the command-line conventions, reads that anywhere in its line.)
std::string CleanupArguments(uint64_t processHandle, const std::string& folder);

struct CleanupRequest {
    uint64_t processHandle = 0;
    std::string folder;
};
// Reads CleanupArguments' form back; false for anything else (then the
// line is an ordinary uninstaller command line). The folder must be
// absolute.
bool ParseCleanupArguments(std::string_view arguments, CleanupRequest& request);

}  // namespace pellion
