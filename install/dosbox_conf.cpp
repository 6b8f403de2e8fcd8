#include "install/dosbox_conf.h"

#include "install/ucargo_text.h"

namespace pellion {

namespace {

constexpr std::string_view kCutMarker = "mount c ";

// The closing text when everything was made, in its twelve pieces. Note the
// lone CRs and LFs, the two blanks after the product name and the four-blank
// indents: the text is shown exactly like this.
std::string SuccessMessage(const std::string& title) {
    std::string text;
    text +=
        "Pellion has been installed and shortcuts created to run it in DOSbox and another to "
        "Print to File F.\r\rClick the ";
    text += title;
    text += " Icon to start ";
    text += kProductName;
    text += ".  ";
    text += "To print from ";
    text += kProductName;
    text += ", choose \"print to file\" ";
    text += "and always name it the single letter \"f\".\n\n";
    text += "To send the file F to the default printer,\n";
    text += "    click \"Print F\" icon or \r";
    text += "    press CTRL+ALT+P.";
    return text;
}

constexpr char kFixAndRunAgain[] =
    "A file of that name may be read-only or in use, or the disk may be full. "
    "Fix that and run the installer again.";

std::string NoDesktopMessage(const DosBoxSetupResult& result) {
    std::string text = std::string(kProductName) +
                       " has been installed, but no desktop folder was found for its shortcuts, "
                       "so none were made.";
    if (!result.confWritten)
        return text + " Nor could this file be written:\r\n\r\n    " + result.confPath +
               "\r\n\r\n" + kFixAndRunAgain;
    return text + "\r\n\r\nTo start " + kProductName + ", run DOSbox like this:\r\n\r\n    " +
           result.dosboxCommand;
}

// The install folder as MOUNT's argument (see AutoexecLines).
std::string MountArgument(std::string_view folder, const AnsiCodePage& codePage) {
    std::string text = StripTrailingBackslashes(folder, codePage);
    if (text.find_first_of(" |") == std::string::npos) return text;
    return "\"" + text + "\"";
}

// The last character of a UTF-8 folder name, its trailing backslashes
// passed over.
std::string LastLetter(std::string_view folder) {
    const std::string name = StripTrailingBackslashes(folder);
    size_t start = name.size();
    while (start > 0 && (static_cast<unsigned char>(name[start - 1]) & 0xC0) == 0x80) --start;
    return start > 0 ? name.substr(start - 1) : name;
}

// The opening of the messages about a folder DOSBox cannot open.
std::string CannotOpenFolder(std::string_view installFolder) {
    return std::string(kProductName) +
           " has been installed, but DOSbox cannot open its folder:\r\n\r\n    " +
           std::string(installFolder) + "\r\n\r\n";
}

}  // namespace

std::string CutAtMountLine(std::string_view templateText) {
    return std::string(templateText.substr(0, templateText.find(kCutMarker)));
}

std::string QuoteIfBlank(std::string_view text) {
    if (text.find(' ') == std::string_view::npos) return std::string(text);
    return "\"" + std::string(text) + "\"";
}

std::string AutoexecLines(std::string_view installFolder, std::string_view exeName,
                          const AnsiCodePage& codePage) {
    std::string lines = "mount c " + MountArgument(installFolder, codePage) + "\r\n";
    lines += "c:\r\n";
    lines += "del f\r\n";
    lines += std::string(exeName) + " /ns\r\n";
    lines += "exit\r\n";
    return lines;
}

std::string DosBoxConfText(std::string_view templateText, std::string_view installFolder,
                           std::string_view exeName, const AnsiCodePage& codePage) {
    return CutAtMountLine(templateText) + AutoexecLines(installFolder, exeName, codePage);
}

bool DosBoxMountsWhole(std::string_view ansiFolder, const AnsiCodePage& codePage) {
    // After the walk by character a trailing 0x5C can only be the second
    // byte of a character.
    const std::string mounted = StripTrailingBackslashes(ansiFolder, codePage);
    return mounted.empty() || mounted.back() != '\\';
}

std::string DosBoxShortcutArguments(std::string_view installFolder) {
    return "-noconsole -conf " + QuoteIfBlank(std::string(installFolder) + kConfFile);
}

std::string DosBoxShortcutTitle() {
    return TitleCase(FileBaseName(kShortcutIcon)) + " DOSbox";
}

std::string DosBoxUnusableFolderMessage(std::string_view installFolder) {
    return CannotOpenFolder(installFolder) +
           "DOSbox reads folder names only in this computer's code page, and this "
           "name has letters outside it. Install " +
           kProductName + " again into a folder named in plain letters, such as C:\\kx.";
}

std::string DosBoxMisreadFolderMessage(std::string_view installFolder) {
    return CannotOpenFolder(installFolder) + "DOSbox takes part of the last letter of this name, " +
           LastLetter(installFolder) + ", for a backslash and misses the folder. Install " +
           kProductName + " again into a folder whose name ends in another letter, such as C:\\kx.";
}

std::string DosBoxClosingMessage(const DosBoxSetupResult& result) {
    if (result.AllMade()) return SuccessMessage(DosBoxShortcutTitle());
    if (result.noDesktop) return NoDesktopMessage(result);
    std::string text = std::string(kProductName) +
                       " has been installed, but it is not ready to run in DOSbox: "
                       "these files could not be written:\r\n";
    if (!result.confWritten) text += "\r\n    " + result.confPath;
    if (!result.dosboxLinkMade) text += "\r\n    " + result.dosboxLinkPath;
    if (!result.printLinkMade) text += "\r\n    " + result.printLinkPath;
    return text + "\r\n\r\n" + kFixAndRunAgain;
}

}  // namespace pellion
