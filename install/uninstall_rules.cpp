#include "install/uninstall_rules.h"

#include "base/text.h"
#include "install/install_text.h"
#include "install/product_names.h"
#include "install/ucargo_text.h"

namespace pellion {

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// A folder's normal form for comparing: one last backslash, ASCII lower case.
std::string FolderKey(const std::string& folder) {
    return AsciiLowerCase(NormalizeFolder(folder));
}

bool IsDriveRoot(const std::string& key) {
    // "c:\", a bare "\", or "\\server\share\".
    if (key.size() <= 3) return true;
    if (key.compare(0, 2, "\\\\") != 0) return false;
    size_t parts = 0;
    for (size_t i = 2; i < key.size(); ++i) parts += key[i] == '\\';
    return parts <= 2;
}

bool HasDotPart(const std::string& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "." || part == "..") return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

UninstallEntry MakeUninstallEntry(const InstallRecord& record, InstallDate date) {
    UninstallEntry entry;
    const std::string folder = NormalizeFolder(record.folder);
    const std::string uninstaller = folder + kUninstallerFile;
    entry.displayName = Format("Tovarin %s %s", kProductName, kVersionText);
    entry.displayVersion = kVersionText;
    entry.publisher = "Tovarin";
    entry.installLocation = folder.size() > 3 ? folder.substr(0, folder.size() - 1) : folder;
    entry.displayIcon = folder + kShortcutIcon;
    entry.uninstallString = Quoted(uninstaller);
    entry.quietUninstallString = Quoted(uninstaller) + " /S";
    entry.installDate = Format("%04d%02d%02d", date.year, date.month, date.day);
    const uint64_t kib = (record.bytes + 1023) / 1024;
    entry.estimatedSizeKiB = kib > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(kib);
    entry.files = record.files;
    entry.shortcuts = record.shortcuts;
    return entry;
}

bool SameFolder(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && FolderKey(a) == FolderKey(b);
}

std::string RemovalRefusal(const std::string& folder, const ProtectedFolders& protect) {
    const std::string shown = NormalizeFolder(folder);
    if (IsDriveRoot(AsciiLowerCase(shown)))
        return Format("%s is the root of a drive.", shown.c_str());
    if (HasDotPart(shown)) return Format("%s is not a plain folder path.", shown.c_str());
    const struct {
        const std::string& path;
        const char* what;
    } named[] = {{protect.windows, "the Windows folder"},
                 {protect.profile, "your user profile"},
                 {protect.desktop, "your desktop"}};
    for (const auto& n : named)
        if (SameFolder(folder, n.path)) return Format("%s is %s.", shown.c_str(), n.what);
    for (const std::string& programFiles : protect.programFiles)
        if (SameFolder(folder, programFiles))
            return Format("%s is a Program Files folder.", shown.c_str());
    return {};
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

bool IsShortcutPath(const std::string& path) {
    const bool rooted =
        (path.size() > 3 && path[1] == ':' && path[2] == '\\') || path.compare(0, 2, "\\\\") == 0;
    // A colon past the drive's would name a stream of another file
    // ("notes.txt:x.lnk"), not a shortcut.
    if (!rooted || HasDotPart(path) || path.find(':', 2) != std::string::npos) return false;
    const std::string name = FileNamePart(path);
    if (name.size() <= 4 || name.find_first_of("/*?\"<>|") != std::string::npos) return false;
    return AsciiLowerCase(name.substr(name.size() - 4)) == ".lnk";
}

RemovalPlan PlanRemoval(const std::string& ownFolder, const UninstallEntry& entry,
                        bool entryIsOurs) {
    RemovalPlan plan;
    const std::string folder = NormalizeFolder(ownFolder);
    const std::string self = AsciiLowerCase(kUninstallerFile);
    for (const std::string& name : entry.files) {
        // The uninstaller goes last, once everything else is gone.
        if (!IsPlainFileName(name) || AsciiLowerCase(name) == self) continue;
        plan.files.push_back(folder + name);
    }
    plan.files.push_back(folder + kUninstallerFile);
    if (entryIsOurs) {
        for (const std::string& link : entry.shortcuts)
            if (IsShortcutPath(link)) plan.shortcuts.push_back(link);
        plan.removeEntry = true;
    }
    return plan;
}

}  // namespace pellion
