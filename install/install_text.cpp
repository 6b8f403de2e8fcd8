#include "install/install_text.h"

#include <algorithm>

#include "base/text.h"
#include "install/dosbox_conf.h"
#include "install/ucargo_text.h"
#include "payload/payload_list.h"

namespace pellion {

namespace {

constexpr char kDriveProblem[] = "Install Directory is not on a valid device, ";
constexpr char kFolderTooLong[] =
    "Install Directory name is too long: it may have at most %d characters.";
constexpr char kReadErrorPiece[] = "\r\nError Reading resource item %s, Filename %s";
constexpr char kCancelMessage[] = "Installation cancelled. %d of %d files were installed.";
constexpr char kMenuProgramText[] =
    "\r\n\r\nTo run %s, start the Tovarin Menu program,\r\nand click the %s icon.";
constexpr char kSuccessLine[] = "%s, version %s, was installed successfully.";
constexpr char kSiblingText[] = "To run %s, first run Corvanel, then press the function key %s.";
constexpr char kShortcutQuestion[] =
    "Normally %s is run from inside Corvanel by pressing the function key, %s. If you are not "
    "\ninstalling Corvanel, you need a shortcut on the \ndesktop to run this wheel program. "
    "\n\nClick NO if you do NOT want the %s shortcut created.";
constexpr char kAfterYes[] = "To run %s, click the %s icon on your desktop.";
constexpr char kAfterNo[] = "To run %s, start Corvanel and press function key %s.";

}  // namespace

std::string DriveRootOf(std::string_view folder) {
    return std::string(folder.substr(0, 3));
}

bool IsUsableDriveType(unsigned driveType) {
    return driveType == 2 || driveType == 3 || driveType == 4;
}

std::string FinishProblemText(std::string_view text) {
    if (text.size() < 2) return std::string(text);
    std::string out(text.substr(0, text.size() - 1));
    out.back() = '.';
    return out;
}

std::string DriveProblemMessage() {
    return FinishProblemText(kDriveProblem);
}

std::string LongestWrittenName() {
    std::string longest = kConfFile;
    for (const PayloadItemName& item : kPayloadItems) {
        std::string temporary = TemporaryFileName(item.file, kTemporaryAttempts - 1);
        if (temporary.size() > longest.size()) longest = temporary;
    }
    return longest;
}

size_t MaxFolderLength(std::string_view longestName) {
    // A file's path is the folder, a backslash and the name.
    const size_t room = Utf16Length(longestName) + 1;
    const size_t forFiles = room < kMaxFilePathLength ? kMaxFilePathLength - room : 0;
    return std::min(kMaxFolderPathLength, forFiles);
}

bool FolderPathsFit(std::string_view folder, std::string_view longestName) {
    // Each level the run creates is a beginning of the folder's path, so the
    // folder itself is the longest.
    return Utf16Length(StripTrailingBackslashes(folder)) <= MaxFolderLength(longestName);
}

std::string FolderTooLongMessage() {
    return Format(kFolderTooLong, int(MaxFolderLength(LongestWrittenName())));
}

void ReadErrorReport::Add(std::string_view resourceName, std::string_view fileName) {
    text_ +=
        Format(kReadErrorPiece, std::string(resourceName).c_str(), std::string(fileName).c_str());
}

std::string ReadErrorReport::Text() const {
    // Every piece begins with CR LF; the first line of the report does not.
    return text_.size() >= 2 ? text_.substr(2) : text_;
}

std::string WriteFailureReport(const std::vector<WriteFailure>& failures) {
    std::string out;
    for (const WriteFailure& f : failures) {
        if (!out.empty()) out += "\r\n";
        out += "Error writing file " + f.path + ": " + f.reason;
    }
    return out;
}

std::string CancelMessage(int written, int total) {
    return Format(kCancelMessage, written, total);
}

int32_t AddToTotal(int32_t total, size_t length) {
    return int32_t(uint32_t(total) + uint32_t(length));
}

std::string MenuProgramParent(std::string_view folder) {
    if (folder.empty()) return {};
    size_t i = folder.size() - 1;
    if (folder[i] == '\\') {
        if (i == 0) return {};
        --i;
    }
    while (folder[i] != '\\') {
        if (i == 0) return {};
        --i;
    }
    // A drive root such as "C:\" is no place for the menu program.
    if (i + 1 <= 3) return {};
    return std::string(folder.substr(0, i + 1));
}

std::string MenuProgramText() {
    return Format(kMenuProgramText, kProductName, kIconLetter);
}

std::string SuccessLine() {
    return Format(kSuccessLine, kProductName, kVersionText);
}

std::string SiblingProductText() {
    return SuccessLine() + "\r\n\r\n" + Format(kSiblingText, kProductName, kFunctionKey);
}

std::string ShortcutQuestionText() {
    return SuccessLine() + "\n\n" +
           Format(kShortcutQuestion, kProductName, kFunctionKey, kIconLetter);
}

std::string AfterYesText() {
    return Format(kAfterYes, kProductName, kIconLetter);
}

std::string AfterNoText() {
    return Format(kAfterNo, kProductName, kFunctionKey);
}

std::string TemporaryFileName(std::string_view path, int n) {
    return std::string(path) + "." + std::to_string(n) + kTemporarySuffix;
}

bool IsTemporaryFileOf(std::string_view candidate, std::string_view fileName) {
    const std::string_view suffix = kTemporarySuffix;
    const size_t fixed = fileName.size() + 1 + suffix.size();
    if (candidate.size() <= fixed) return false;  // at least one digit
    const std::string lower = AsciiLowerCase(candidate);
    const std::string_view c = lower;
    if (c.substr(0, fileName.size()) != AsciiLowerCase(fileName) || c[fileName.size()] != '.')
        return false;
    if (c.substr(c.size() - suffix.size()) != suffix) return false;
    const std::string_view digits = c.substr(fileName.size() + 1, c.size() - fixed);
    for (char d : digits)
        if (d < '0' || d > '9') return false;
    return true;
}

}  // namespace pellion
