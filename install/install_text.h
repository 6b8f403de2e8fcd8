#pragma once
// Portable half of the install run: every text it shows, built letter for
// letter (their CR LF and lone LF mixtures and the blanks before line feeds
// included), the drive-check and menu-program rules, and the reports that
// collect one line per problem. The Win32 half is install_run.cpp.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "install/product_names.h"

namespace pellion {

inline constexpr char kVersionText[] = "3.14";
inline constexpr char kIconLetter[] = "V";
inline constexpr char kFunctionKey[] = "F7";

inline constexpr char kInstallingStage[] = "Installing ...";
// The maker's menu program, looked for in the parent of the install folder.
inline constexpr char kMenuProgramFile[] = "kxmenu.exe";
// The sibling product's program, looked for in the install folder.
inline constexpr char kSiblingProgramFile[] = "vesk.exe";
// The desktop shortcut of a 32-bit system: file and target (its icon is
// kShortcutIcon).
inline constexpr char kShortcutFile[] = "pnx.lnk";
inline constexpr char kShortcutTarget[] = "pnx.exe";

// ---- Drive check -----------------------------------------------------------

// The text whose drive type decides: the first three characters of the
// folder text, all of it when shorter.
std::string DriveRootOf(std::string_view folder);

// Removable (2), fixed (3) and remote (4) drives are accepted; unknown (0),
// no root directory (1), CD-ROM (5) and RAM disk (6) are not.
bool IsUsableDriveType(unsigned driveType);

// Turns a problem text ending in ", " into a sentence: drops the last
// character and makes the new last one a full stop. Texts shorter than two
// characters come back unchanged.
std::string FinishProblemText(std::string_view text);

// "Install Directory is not on a valid device." (finished as above).
std::string DriveProblemMessage();

// ---- Folder length ---------------------------------------------------------

// Windows without long-path support creates no folder whose path has more
// than 247 characters (CreateDirectory keeps room below MAX_PATH for an 8.3
// name) and opens no file whose path has more than 259 (MAX_PATH, 260, less
// the terminating zero). Both count UTF-16 units. Wine enforces neither.
inline constexpr size_t kMaxFolderPathLength = 247;
inline constexpr size_t kMaxFilePathLength = 259;

// The longest file name the run writes into the install folder: the last
// temporary name (TemporaryFileName) of its longest payload file, as the
// build packs them (kPayloadItems), or dosbox.conf if that were longer.
std::string LongestWrittenName();

// The most characters an install folder may have (without its trailing
// backslash) so that FolderPathsFit holds for names up to `longestName`.
size_t MaxFolderLength(std::string_view longestName);

// Whether a run into `folder` (normal form, absolute) stays within both
// limits: every folder it creates, each level up to `folder` itself (without
// its backslash), and every file it writes there with a name no longer than
// `longestName`.
bool FolderPathsFit(std::string_view folder, std::string_view longestName);

// "Install Directory name is too long: it may have at most N characters.",
// N the MaxFolderLength of this installer's LongestWrittenName.
std::string FolderTooLongMessage();

// ---- Reading the items -----------------------------------------------------

// Collects one line per payload item that came back without content.
class ReadErrorReport {
  public:
    void Add(std::string_view resourceName, std::string_view fileName);
    bool Empty() const { return text_.empty(); }
    // The collected lines as shown: without the CR LF that begins the first.
    std::string Text() const;

  private:
    std::string text_;
};

// ---- Writing the files -----------------------------------------------------

struct WriteFailure {
    std::string path;    // the file that could not be written or dated
    std::string reason;  // the system's text for why
};

// One line per failure, "Error writing file <path>: <reason>", the lines
// separated by CR LF. The caller reports that the product was not installed.
std::string WriteFailureReport(const std::vector<WriteFailure>& failures);

// "Installation cancelled. <written> of <total> files were installed."
std::string CancelMessage(int written, int total);

// The byte total of the run as the progress window takes it: a signed
// 32-bit value shown unsigned, so sums up to 4 GiB - 1 stay readable.
int32_t AddToTotal(int32_t total, size_t length);

// ---- Temporary files -------------------------------------------------------

// Each file is written as "<path>.<n>.~pellion" first, then moved into place;
// n counts from 0 past names an earlier run left behind, below this bound.
inline constexpr char kTemporarySuffix[] = ".~pellion";
inline constexpr int kTemporaryAttempts = 100;
std::string TemporaryFileName(std::string_view path, int n);

// Whether `candidate` (a bare file name) is a temporary file of `fileName`
// as TemporaryFileName makes them: that name in any case, a dot, decimal
// digits, ".~pellion" (also in any case, as Windows matches names).
bool IsTemporaryFileOf(std::string_view candidate, std::string_view fileName);

// ---- Closing step ----------------------------------------------------------

// The parent of `folder` (which normally ends in a backslash), with its
// trailing backslash; "" when there is none before the last character or
// when it is a drive root (3 characters or fewer).
std::string MenuProgramParent(std::string_view folder);

// Begins with CR LF twice: the menu program's hint.
std::string MenuProgramText();
// "Pellion, version 3.14, was installed successfully."
std::string SuccessLine();
// 32-bit, sibling product present: success line, CR LF twice, its hint.
std::string SiblingProductText();
// 32-bit, no sibling: success line, LF twice, the shortcut question.
std::string ShortcutQuestionText();
std::string AfterYesText();
std::string AfterNoText();

}  // namespace pellion
