#pragma once
// Portable half of the DOSBox launch set-up: the fixed names, the text of
// dosbox.conf made from the template, the DOSBox shortcut's arguments and
// the closing message. Folders are in normal form (one trailing backslash).

#include <string>
#include <string_view>

#include "base/ansi_code_page.h"
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
// "mount c D:"), "c:", "del f", the product started with "/ns", and "exit".
// The folder is in the bytes of `codePage`, walked by character: the second
// byte of a double-byte character stays, even a 0x5C. It is quoted when
// DOSBox's shell would cut it: at a blank, or at a '|' byte, which the shell
// takes for a pipe (the second byte of "ポ", 83 7C, in code page 932).
std::string AutoexecLines(std::string_view installFolder, std::string_view exeName,
                          const AnsiCodePage& codePage = {});

// The whole dosbox.conf: the cut template followed by AutoexecLines.
std::string DosBoxConfText(std::string_view templateText, std::string_view installFolder,
                           std::string_view exeName, const AnsiCodePage& codePage = {});

// Whether DOSBox 0.74 on Windows mounts `ansiFolder` (in the bytes of
// `codePage`) as the folder it names. Its MOUNT works on bytes: it drops one
// trailing 0x5C byte and adds a backslash only when the last byte is no
// 0x5C. A folder whose last character is a double-byte one ending in 0x5C
// ("C:\表\" in code page 932) therefore loses half of that character, or
// has the DOS file names glued to it ("C:\表VESKPNX.EXE"). Characters ending
// in 0x5C elsewhere in the path do no harm.
bool DosBoxMountsWhole(std::string_view ansiFolder, const AnsiCodePage& codePage);

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

// The message when DOSBox would misread the install folder (UTF-8) because
// of its last letter (see DosBoxMountsWhole), with no short form to take
// instead: no set-up was made. Names that letter.
std::string DosBoxMisreadFolderMessage(std::string_view installFolder);

}  // namespace pellion
