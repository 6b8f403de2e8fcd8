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

}  // namespace

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
        (::MoveFileExW(tempPath.c_str(), Widen(path).c_str(), MOVEFILE_REPLACE_EXISTING) ||
         Fail(reason));
    if (!placed) ::DeleteFileW(tempPath.c_str());
    return placed;
}

}  // namespace pellion
