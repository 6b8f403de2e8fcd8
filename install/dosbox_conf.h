#pragma once
// Portable half of the DOSBox launch set-up: the fixed names, the text of
// dosbox.conf made from the template, the DOSBox shortcut's arguments and
// the closing message. Folders are in normal form (one trailing backslash).

#include <string>
#include <string_view>

#include "install/product_names.h"

namespace pellion {

constexpr const char kProductExe[] = "veskpnx.exe";
constexpr const char kSiblingProgram[] = "vesk.exe";  // its presence: set-up skipped
constexpr const char kPrintProgram[] = "lpf32.exe";
constexpr const char kPrintArguments[] = "f";
constexpr const char kConfFile[] = "dosbox.conf";
constexpr const char kConfMask[] = "*.conf";
constexpr const char kConfResource[] = "rs_Conf";
constexpr const char kPrintLinkFile[] = "Print F.lnk";
constexpr const char kPrintDescription[] = "Print File f (CTRL+ALT+P)";
// Ctrl+Alt+P: virtual key 'P' low, HOTKEYF_CONTROL | HOTKEYF_ALT high.
constexpr unsigned short kPrintHotkey = 0x0650;

// The template up to (not including) the first "mount c ", compared
// case-sensitively; the whole template when it holds none.
std::string CutAtMountLine(std::string_view templateText);

// `text` in double quotes when it holds a blank, else unchanged. DOSBox
// splits both its command line and its MOUNT arguments at blanks.
std::string QuoteIfBlank(std::string_view text);

// The five lines appended to the template, each ending in CR LF: the mount
// of the install folder as C: (trailing backslashes dropped, so "D:\" gives
// "mount c D:"; quoted when it holds a blank), "c:", "del f", the product
// started with "/ns", and "exit".
std::string AutoexecLines(std::string_view installFolder, std::string_view exeName);

// The whole dosbox.conf: the cut template followed by AutoexecLines.
std::string DosBoxConfText(std::string_view templateText, std::string_view installFolder,
                           std::string_view exeName);

// "-noconsole -conf " and the configuration's path (quoted when it holds a
// blank).
std::string DosBoxShortcutArguments(std::string_view installFolder);

// TitleCase(FileBaseName("v.ico")) + " DOSbox": "V DOSbox".
std::string DosBoxShortcutTitle();

// What the set-up managed to write; each missing piece is named by its full
// path in the closing message.
struct DosBoxSetupResult {
    std::string confPath;
    std::string dosboxLinkPath;
    std::string printLinkPath;
    bool confWritten = false;
    bool dosboxLinkMade = false;
    bool printLinkMade = false;
    // No desktop folder: no shortcuts were tried, and the message gives the
    // command line that starts the product instead.
    bool noDesktop = false;
    std::string dosboxCommand;

    bool AllMade() const { return confWritten && dosboxLinkMade && printLinkMade && !noDesktop; }
};

// The message that ends a 64-bit installation: how to start and print when
// everything was made; otherwise what is missing and what to do.
std::string DosBoxClosingMessage(const DosBoxSetupResult& result);

// The message when DOSBox could not open the install folder (a name outside
// the ANSI code page, with no short form): no set-up was made.
std::string DosBoxUnusableFolderMessage(std::string_view installFolder);

}  // namespace pellion
