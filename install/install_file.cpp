#include "install/install_file.h"

#include <windows.h>

#include "base/win/unique_handle.h"
#include "base/win/wide.h"
#include "base/win/win_error.h"
#include "install/install_text.h"
#include "install/ucargo_text.h"

namespace pellion {

namespace {

using win::Widen;

// The failure text of the call that just failed, read before anything else
// can change the thread's last error.
bool Fail(std::string& reason) {
    reason = win::SystemMessage(::GetLastError());
    return false;
}

// A new, unshared file beside `path`; a name some earlier run left behind is
// skipped, not reused.
win::UniqueFile CreateTemporary(const std::string& path, std::wstring& tempPath) {
    for (int n = 0; n < kTemporaryAttempts; ++n) {
        tempPath = Widen(TemporaryFileName(path, n));
        win::UniqueFile file(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return file;
        DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            ::SetLastError(error);  // for the caller's report
            break;
        }
    }
    return win::UniqueFile(INVALID_HANDLE_VALUE);
}

// WriteFile may write less than asked: keep going until every byte is down.
bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        DWORD chunk = content.size() > 0x40000000u ? 0x40000000u : DWORD(content.size());
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr)) return false;
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        content.remove_prefix(written);
    }
    return true;
}

bool SetDosDateTime(HANDLE file, int32_t dosDateTime) {
    FILETIME local, utc;
    const uint32_t packed = uint32_t(dosDateTime);
    if (!::DosDateTimeToFileTime(WORD(packed >> 16), WORD(packed & 0xFFFF), &local)) return false;
    if (!::LocalFileTimeToFileTime(&local, &utc)) return false;
    return ::SetFileTime(file, nullptr, nullptr, &utc) != 0;
}

// Fills and dates the open temporary file, then closes it so that it can be
// moved. (Closed here, not by the parameter's destructor: a by-value
// parameter may live until the end of the caller's whole expression.)
bool FillTemporary(win::UniqueFile& file, std::string_view content, int32_t dosDateTime,
                   std::string& reason) {
    bool filled =
        (WriteAll(file.Get(), content) && SetDosDateTime(file.Get(), dosDateTime)) || Fail(reason);
    file.Reset();
    return filled;
}

bool SystemMove(const wchar_t* from, const wchar_t* to) {
    return ::MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}

ReplacingMove replacingMove = &SystemMove;

// Moves the temporary file over `target`. An older copy from a CD keeps its
// read-only attribute, which would make Windows refuse the move: only that
// flag is cleared, just before, and put back when the move fails anyway.
bool Replace(const std::wstring& tempPath, const std::wstring& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES &&
                          (attributes & FILE_ATTRIBUTE_READONLY) &&
                          !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (readOnly) ::SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (replacingMove(tempPath.c_str(), target.c_str())) return true;
    const DWORD error = ::GetLastError();
    if (readOnly) ::SetFileAttributesW(target.c_str(), attributes);
    ::SetLastError(error);
    return false;
}

}  // namespace

void SetReplacingMoveForTesting(ReplacingMove move) {
    replacingMove = move ? move : &SystemMove;
}

void RemoveLeftoverTemporaries(const std::string& path) {
    const std::string folder = FolderPart(path);
    const std::string name = FileNamePart(path);
    WIN32_FIND_DATAW found;
    win::UniqueFind find(::FindFirstFileW(Widen(path + ".*" + kTemporarySuffix).c_str(), &found));
    if (!find) return;
    do {
        const std::string candidate = win::Narrow(found.cFileName);
        // The mask also matches short names and longer names: the exact
        // pattern decides.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsTemporaryFileOf(candidate, name))
            ::DeleteFileW(Widen(folder + candidate).c_str());
    } while (::FindNextFileW(find.Get(), &found));
}

bool PlaceInstalledFile(const std::string& path, std::string_view content, int32_t dosDateTime,
                        std::string& reason) {
    std::wstring tempPath;
    win::UniqueFile file = CreateTemporary(path, tempPath);
    if (!file) return Fail(reason);
    bool placed =
        FillTemporary(file, content, dosDateTime, reason) &&
        (Replace(tempPath, Widen(path)) || Fail(reason));
    if (!placed) ::DeleteFileW(tempPath.c_str());
    return placed;
}

}  // namespace pellion
