#include "base/win/dll_search.h"

#include "base/win/optional_api.h"

namespace pellion::win {

bool RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
    // Absent before Windows 8 without KB2533623.
    auto setDefault =
        OptionalProc<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
    auto setDir = OptionalProc<SetDllDirectoryFn>(L"kernel32.dll", "SetDllDirectoryW");
    // An empty text takes the current folder out of the search order.
    if (setDir) setDir(L"");
    return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::wstring SystemFolder() {
    wchar_t buffer[MAX_PATH];
    UINT n = ::GetSystemDirectoryW(buffer, MAX_PATH);
    return std::wstring(buffer, n < MAX_PATH ? n : 0);
}

HMODULE LoadSideBySideLibrary(const wchar_t* name) {
    return ::LoadLibraryW(name);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    std::wstring path = SystemFolder() + L"\\" + name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace pellion::win
