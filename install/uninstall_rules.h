#pragma once
// The rules of the Apps & features entry and of the uninstaller that need
// no Windows: the entry's values from an install's facts, the folders the
// uninstaller refuses to empty, and which recorded paths it may remove.
// Paths are UTF-8 with backslashes; folders in normal form end in one.

#include <cstdint>
#include <string>
#include <vector>

#include "install/install_record.h"

namespace pellion {

// Where the entry lives under HKEY_CURRENT_USER (the installer runs
// without elevation, so the entry is the user's).
inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tovarin Pellion";
// The uninstaller's name in the install folder.
inline constexpr char kUninstallerFile[] = "uninstall.exe";
// The entry's own values beside Windows' ones: what the install made, so
// that the uninstaller removes exactly that. Both are REG_MULTI_SZ.
inline constexpr char kFilesValue[] = "PellionFiles";          // names in the folder
inline constexpr char kShortcutsValue[] = "PellionShortcuts";  // full paths

// The local date of a run.
struct InstallDate {
    int year = 0, month = 0, day = 0;
};

// The entry's values, as they are stored.
struct UninstallEntry {
    std::string displayName;           // "Tovarin Pellion 3.14"
    std::string displayVersion;        // "3.14"
    std::string publisher;             // "Tovarin"
    std::string installLocation;       // the folder without its last backslash ("C:\" stays)
    std::string displayIcon;           // the installed icon
    std::string uninstallString;       // quoted uninstaller path
    std::string quietUninstallString;  // the same with " /S"
    std::string installDate;           // YYYYMMDD
    uint32_t estimatedSizeKiB = 0;     // rounded up
    std::vector<std::string> files;
    std::vector<std::string> shortcuts;
};

// The entry for what a complete run made (`record`: its folder, files,
// shortcuts and bytes).
UninstallEntry MakeUninstallEntry(const InstallRecord& record, InstallDate date);

// Folders Windows or the user own as a whole; the uninstaller never empties
// one of them, whatever the entry says. Empty members are not compared.
struct ProtectedFolders {
    std::string windows;
    std::vector<std::string> programFiles;  // every Program Files folder
    std::string profile;
    std::string desktop;
};

// Why `folder` may not be emptied (a drive's root, a share's root, or one
// of `protect`, compared in normal form without regard to ASCII case);
// "" when it may.
std::string RemovalRefusal(const std::string& folder, const ProtectedFolders& protect);

// Whether two paths name the same folder: normal form, ASCII case ignored.
bool SameFolder(const std::string& a, const std::string& b);

// Whether `name` is a plain file name that stays inside its folder: not
// empty, no separator, colon or wildcard, not "." or "..". A recorded name
// that is not is passed over, so a changed entry cannot reach outside.
bool IsPlainFileName(const std::string& name);

// Whether `path` is a full path of a shortcut file (".lnk", ASCII case
// ignored) with a drive or share, no "." or ".." part and no other colon
// than the drive's.
bool IsShortcutPath(const std::string& path);

// What the uninstaller in `ownFolder` removes, from the entry it found.
// `entryIsOurs`: the entry's folder is `ownFolder` (a later install into
// another folder took the entry over: then only the files here go, and the
// entry and the shortcuts stay with that install).
struct RemovalPlan {
    std::vector<std::string> files;      // full paths in ownFolder; the uninstaller last
    std::vector<std::string> shortcuts;  // full paths
    bool removeEntry = false;
};
RemovalPlan PlanRemoval(const std::string& ownFolder, const UninstallEntry& entry,
                        bool entryIsOurs);

}  // namespace pellion
