#include "install/self_removal.h"

#include <windows.h>

#include "base/win/application.h"
#include "base/win/run_log.h"
#include "base/win/unique_handle.h"
#include "base/win/wide.h"
#include "base/win/win_error.h"
#include "install/ucargo_text.h"
#include "install/uninstall_rules.h"

namespace pellion {

namespace {

// How long the cleaner keeps trying to delete the uninstaller's file:
// Windows may hold a program's image for a moment after its process ended.
constexpr int kDeleteTries = 50;
constexpr DWORD kDeletePauseMs = 100;

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(ARRAYSIZE(buffer), buffer);
    return length == 0 || length >= ARRAYSIZE(buffer) ? std::wstring()
                                                      : std::wstring(buffer, length);
}

// A new, empty file with a unique ".exe" name in `temp`. GetTempFileName
// makes the name unique but ends it in ".tmp"; the rename to ".exe" fails
// rather than replace a file that happens to have that name.
std::wstring ReserveProgramName(const std::wstring& temp) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        wchar_t reserved[MAX_PATH];
        if (!::GetTempFileNameW(temp.c_str(), L"pun", 0, reserved)) return std::wstring();
        std::wstring program = reserved;
        program.replace(program.size() - 4, 4, L".exe");
        if (::MoveFileExW(reserved, program.c_str(), 0)) return program;
        ::DeleteFileW(reserved);
    }
    return std::wstring();
}

// The copy of this program, open so that it is deleted when the last
// handle to it (ours, then the running cleaner's image) is gone.
win::UniqueFile SelfDeletingCopy(const std::wstring& program) {
    const std::wstring self = win::Widen(win::Application::ExeName());
    if (!::CopyFileW(self.c_str(), program.c_str(), FALSE)) return win::UniqueFile();
    return win::UniqueFile(::CreateFileW(program.c_str(), GENERIC_READ | DELETE,
                                         FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

bool Launch(const std::wstring& program, const std::wstring& temp, const std::string& folder) {
    HANDLE inheritable = nullptr;
    // The cleaner waits on this handle, so it is started before we end.
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(),
                           &inheritable, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return false;
    const win::UniqueKernelHandle ours(inheritable);
    std::wstring commandLine =
        L"\"" + program + L"\" " +
        win::Widen(CleanupArguments(reinterpret_cast<uintptr_t>(inheritable), folder));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;  // no busy cursor for a program with no window
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          temp.c_str(), &startup, &started))
        return false;
    const win::UniqueKernelHandle process(started.hProcess), thread(started.hThread);
    win::LogFormat("started the cleaner %s (process %lu)", win::Narrow(program).c_str(),
                   static_cast<unsigned long>(started.dwProcessId));
    return true;
}

}  // namespace

bool StartCleaner(const std::string& folder) {
    const std::wstring temp = TempFolder();
    const std::wstring program = temp.empty() ? std::wstring() : ReserveProgramName(temp);
    if (program.empty()) {
        win::LogFormat("no temporary file for the cleaner: %s; %s stays",
                       win::SystemMessage(::GetLastError()).c_str(), kUninstallerFile);
        return false;
    }
    const win::UniqueFile copy = SelfDeletingCopy(program);
    if (!copy || !Launch(program, temp, folder)) {
        win::LogFormat("could not start the cleaner: %s; %s stays",
                       win::SystemMessage(::GetLastError()).c_str(), kUninstallerFile);
        if (!copy) ::DeleteFileW(program.c_str());
        return false;
    }
    return true;
}

int RunCleaner(const CleanupRequest& request) {
    const win::UniqueKernelHandle uninstaller(
        reinterpret_cast<HANDLE>(static_cast<uintptr_t>(request.processHandle)));
    // Only a handle to another process: anything else would be waited on
    // for ever, or not at all.
    const DWORD id = ::GetProcessId(uninstaller.Get());
    if (id == 0 || id == ::GetCurrentProcessId()) return 1;
    if (::WaitForSingleObject(uninstaller.Get(), INFINITE) != WAIT_OBJECT_0) return 1;
    const std::string folder = NormalizeFolder(request.folder);
    const std::wstring program = win::Widen(folder + kUninstallerFile);
    bool gone = false;
    for (int attempt = 0; attempt < kDeleteTries && !gone; ++attempt) {
        gone = ::DeleteFileW(program.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
        if (!gone) ::Sleep(kDeletePauseMs);
    }
    // Fails, as it should, while anything else is left in the folder.
    ::RemoveDirectoryW(win::Widen(folder).c_str());
    return gone ? 0 : 1;
}

}  // namespace pellion
