#include "install/uninstall_run.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "base/text.h"
#include "base/win/application.h"
#include "base/win/run_log.h"
#include "base/win/wide.h"
#include "base/win/win_error.h"
#include "install/self_removal.h"
#include "install/ucargo.h"
#include "install/uninstall_entry.h"

namespace pellion {

namespace {

// The long form of an existing path. A program started through a short
// name (C:\PROGRA~1\...) finds that form in its module path, and the
// protected folders are only recognised by their long names.
std::string LongPath(const std::string& path) {
    if (path.empty()) return path;
    const std::wstring wide = win::Widen(path);
    DWORD size = ::GetLongPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring buffer(size, L'\0');
    const DWORD length = ::GetLongPathNameW(wide.c_str(), buffer.data(), size);
    if (length == 0 || length >= size) return path;
    buffer.resize(length);
    return win::Narrow(buffer);
}

std::string EnvironmentFolder(const wchar_t* name) {
    wchar_t buffer[1024];
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, ARRAYSIZE(buffer));
    if (length == 0 || length >= ARRAYSIZE(buffer)) return std::string();
    return LongPath(win::Narrow(std::wstring_view(buffer, length)));
}

std::string SpecialFolder(int csidl) {
    return LongPath(SpecialFolderPath(csidl));
}

// A 32-bit program on 64-bit Windows sees the x86 Program Files folder
// under both CSIDLs; only the environment names the 64-bit one.
ProtectedFolders FoldersOfWindows() {
    ProtectedFolders protect;
    protect.windows = SpecialFolder(CSIDL_WINDOWS);
    protect.profile = SpecialFolder(CSIDL_PROFILE);
    protect.desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    for (std::string folder :
         {SpecialFolder(CSIDL_PROGRAM_FILES), SpecialFolder(CSIDL_PROGRAM_FILESX86),
          EnvironmentFolder(L"ProgramW6432"), EnvironmentFolder(L"ProgramFiles(x86)")})
        if (!folder.empty()) protect.programFiles.push_back(folder);
    return protect;
}

bool SamePath(const std::string& a, const std::string& b) {
    return AsciiLowerCase(a) == AsciiLowerCase(b);
}

UninstallTask Stopped(UninstallTask task, int code, const std::string& message) {
    task.stopCode = code;
    task.message = message;
    win::LogFormat("nothing removed: %s", message.c_str());
    return task;
}

void Keep(const std::string& path, const std::string& reason, std::vector<Leftover>& leftovers) {
    win::LogFormat("kept %s: %s", path.c_str(), reason.c_str());
    leftovers.push_back({path, reason});
}

// Deletes one file the install made. A missing one is gone already. The
// read-only mark (DeleteFile refuses such a file) is cleared first and put
// back when the file stays anyway.
void RemoveMadeFile(const std::string& path, std::vector<Leftover>& leftovers) {
    const std::wstring wide = win::Widen(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            win::LogFormat("not there: %s", path.c_str());
        else
            Keep(path, win::SystemMessage(code), leftovers);
        return;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Keep(path, "A folder stands where the install wrote a file.", leftovers);
    const bool readOnly = attributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly) {
        const DWORD writable = attributes & ~DWORD(FILE_ATTRIBUTE_READONLY);
        ::SetFileAttributesW(wide.c_str(), writable ? writable : FILE_ATTRIBUTE_NORMAL);
    }
    if (::DeleteFileW(wide.c_str())) {
        win::LogFormat("removed %s", path.c_str());
        return;
    }
    const DWORD code = ::GetLastError();
    if (readOnly) ::SetFileAttributesW(wide.c_str(), attributes);
    Keep(path, win::SystemMessage(code), leftovers);
}

}  // namespace

UninstallTask PrepareUninstall() {
    UninstallTask task;
    task.selfPath = LongPath(win::Application::ExeName());
    task.folder = NormalizeFolder(FolderPart(task.selfPath));
    win::LogFormat("uninstaller %s", task.selfPath.c_str());
    UninstallEntry entry;
    if (!ReadUninstallEntry(entry) || entry.files.empty())
        return Stopped(task, kUninstallNoRecord, kNoRecordText);
    const bool ours = SameFolder(LongPath(entry.installLocation), task.folder);
    win::LogFormat("installation record: %s in %s (%s)", entry.displayName.c_str(),
                   entry.installLocation.c_str(), ours ? "this folder" : "another folder");
    const ProtectedFolders protect = FoldersOfWindows();
    std::string refusal = RemovalRefusal(task.folder, protect);
    if (refusal.empty() && ours) refusal = RemovalRefusal(entry.installLocation, protect);
    if (!refusal.empty()) return Stopped(task, kUninstallRefused, RefusalText(refusal));
    task.plan = PlanRemoval(task.folder, entry, ours);
    return task;
}

UninstallOutcome CarryOutUninstall(const UninstallTask& task) {
    std::vector<Leftover> leftovers;
    bool selfPlanned = false;
    for (const std::string& path : task.plan.files) {
        // Windows refuses to delete a running program's file: the cleaner
        // removes it once this process has ended.
        if (SamePath(path, task.selfPath)) {
            selfPlanned = true;
            continue;
        }
        RemoveMadeFile(path, leftovers);
    }
    for (const std::string& link : task.plan.shortcuts) RemoveMadeFile(link, leftovers);
    const std::string key = Format("HKCU\\%s", kUninstallKey);
    if (leftovers.empty() && task.plan.removeEntry) {
        if (DeleteUninstallEntry())
            win::LogFormat("removed the entry %s", key.c_str());
        else
            Keep(key, win::SystemMessage(::GetLastError()), leftovers);
    } else {
        win::LogFormat(task.plan.removeEntry ? "kept the entry %s"
                                             : "kept the entry %s: it belongs to another folder",
                       key.c_str());
    }
    if (!leftovers.empty()) return {kUninstallIncomplete, LeftoverText(leftovers)};
    if (selfPlanned) StartCleaner(task.folder);
    return {kUninstallRemoved, kRemovedText};
}

}  // namespace pellion
