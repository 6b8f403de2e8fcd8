#include "install/ucargo.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "base/win/com.h"
#include "base/win/optional_api.h"
#include "base/win/system_api.h"
#include "base/win/unique_handle.h"
#include "base/win/wide.h"
#include "base/win/win_error.h"

namespace pellion {

namespace {

using win::Narrow;
using win::Widen;

// Silent, no confirmation, to the recycle bin, no "create folder?" question,
// no error box. FOF_FILESONLY is deliberately absent: matching folders go too.
constexpr FILEOP_FLAGS kDeleteFlags =
    FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
static_assert(kDeleteFlags == 0x0654, "shell deletion flags");

// In-process server or local server, as the shell link object may be either.
constexpr DWORD kShellLinkContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;
static_assert(kShellLinkContext == 5, "class context of the shell link object");

struct PidlFree {
    void operator()(ITEMIDLIST* pidl) const { win::lazy::CoTaskMemFree(pidl); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

bool AnythingAt(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CurrentFolder() {
    DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    std::vector<wchar_t> buffer(size + 1);
    DWORD n = ::GetCurrentDirectoryW(DWORD(buffer.size()), buffer.data());
    return n && n < buffer.size() ? Narrow(std::wstring_view(buffer.data(), n)) : std::string();
}

// Creates the folder and its missing parents, outermost first. On failure
// the thread's last error is the failed call's, set again after the checks
// that follow it.
bool CreateFolderChain(const std::string& folder) {
    if (DirectoryExists(folder)) return true;
    for (const std::string& step : FolderCreationSteps(folder)) {
        if (DirectoryExists(step)) continue;
        if (::CreateDirectoryW(Widen(step).c_str(), nullptr)) continue;
        const DWORD error = ::GetLastError();
        // Another process may create the same step in between: that is
        // fine; a file of that name is not.
        if (error == ERROR_ALREADY_EXISTS && DirectoryExists(step)) continue;
        ::SetLastError(error);
        return false;
    }
    if (DirectoryExists(folder)) return true;
    ::SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
}

// WriteFile may in principle write less than asked: keep going until every
// byte is down or the call fails.
bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        DWORD chunk = content.size() > 0x40000000u ? 0x40000000u : DWORD(content.size());
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        content.remove_prefix(written);
    }
    return true;
}

std::string GuidText(REFGUID guid) {
    wchar_t buffer[40] = {};
    int n = win::lazy::StringFromGUID2(guid, buffer, 40);
    return n > 1 ? Narrow(std::wstring_view(buffer, size_t(n - 1))) : std::string();
}

// Asks the link object for one of its interfaces; an object without it is
// not a usable shell link.
template <typename T>
void QueryLinkInterface(IUnknown* object, REFIID iid, win::ComPtr<T>& out) {
    HRESULT hr = object->QueryInterface(iid, out.PutVoid());
    if (FAILED(hr) || !out) {
        throw EOSError(Format("%s, InterfaceID: %s", win::SystemMessage(unsigned(hr)).c_str(),
                              GuidText(iid).c_str()),
                       static_cast<unsigned long>(hr));
    }
}

}  // namespace

bool FileExists(const std::string& path) {
    DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool DirectoryExists(const std::string& path) {
    DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnsureFolder(std::string& path) {
    // The install run hands over a normalised, non-empty folder; an empty
    // text names no folder at all.
    if (path.empty()) {
        ::SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    std::string folder = AbsoluteFolder(path, CurrentFolder());
    if (!CreateFolderChain(folder)) return false;
    path = folder;
    return true;
}

bool WriteWholeFile(const std::string& path, std::string_view content) {
    std::wstring widePath = Widen(path);
    if (content.empty()) {
        ::DeleteFileW(widePath.c_str());
        return !AnythingAt(widePath);
    }
    win::UniqueFile file(::CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    if (WriteAll(file.Get(), content)) return true;
    // A short file would pass for an installed one; leave none instead.
    file.Reset();
    ::DeleteFileW(widePath.c_str());
    return false;
}

bool DeleteByMask(const std::string& mask) {
    if (mask.empty() || mask.find('\0') != std::string::npos) return false;
    // The source list ends in a double NUL: one here, one from c_str().
    std::wstring list = Widen(mask);
    list.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.hwnd = nullptr;
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.pTo = nullptr;
    op.fFlags = kDeleteFlags;
    return win::lazy::SHFileOperationW(&op) == 0;
}

std::string SpecialFolderPath(int csidl) {
    ITEMIDLIST* raw = nullptr;
    HRESULT hr = win::lazy::SHGetSpecialFolderLocation(nullptr, csidl, &raw);
    UniquePidl pidl(raw);  // freed on every way out, also after a failure
    if (FAILED(hr) || !pidl) return std::string();
    wchar_t buffer[MAX_PATH] = {};
    if (!win::lazy::SHGetPathFromIDListW(pidl.get(), buffer)) return std::string();
    // Wine answers some virtual folders (Printers) with their "::{CLSID}"
    // parsing name instead of failing; that is no file-system path either.
    if (buffer[0] == L':' && buffer[1] == L':') return std::string();
    return Narrow(buffer);
}

std::string WindowsFolderPath() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT n = ::GetSystemWindowsDirectoryW(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? Narrow(std::wstring_view(buffer, n)) : std::string();
}

void CreateShortcut(const std::string& linkPath, const std::string& target,
                    const std::string& arguments, const std::string& description,
                    const std::string& iconPath, int iconIndex, uint16_t hotkey) {
    std::wstring wideLink = Widen(linkPath);
    win::ComPtr<IUnknown> object;
    HRESULT hr = win::lazy::CoCreateInstance(CLSID_ShellLink, nullptr, kShellLinkContext,
                                             IID_IUnknown, object.PutVoid());
    if (FAILED(hr) || !object) {
        throw EOSError(Format("%s, ClassID: %s", win::SystemMessage(unsigned(hr)).c_str(),
                              GuidText(CLSID_ShellLink).c_str()),
                       static_cast<unsigned long>(hr));
    }
    win::ComPtr<IShellLinkW> link;
    QueryLinkInterface(object.Get(), IID_IShellLinkW, link);
    win::ComPtr<IPersistFile> file;
    QueryLinkInterface(object.Get(), IID_IPersistFile, file);

    // Empty texts go in as "" rather than null pointers. The results of the
    // setters and of the save are not looked at: a shortcut is a convenience.
    link->SetPath(Widen(target).c_str());
    link->SetWorkingDirectory(Widen(FolderPart(target)).c_str());
    link->SetArguments(Widen(arguments).c_str());
    link->SetIconLocation(Widen(iconPath).c_str(), iconIndex);
    link->SetDescription(Widen(description).c_str());
    link->SetShowCmd(SW_SHOWNORMAL);
    if (hotkey != 0) link->SetHotkey(hotkey);
    file->Save(wideLink.c_str(), FALSE);
}

bool Is64BitWindows() {
#if defined(_WIN64)
    // A 64-bit build runs only on 64-bit Windows.
    return true;
#else
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    // Absent from Windows versions without 64-bit support.
    auto isWow64 = win::OptionalProc<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
    if (!isWow64) return false;
    BOOL wow64 = FALSE;
    if (!isWow64(::GetCurrentProcess(), &wow64)) {
        throw EOSError("Bad process handle", ::GetLastError());
    }
    return wow64 != FALSE;
#endif
}

void CenterInParent(HWND control) {
    if (!::IsWindow(control) || !(::GetWindowLongW(control, GWL_STYLE) & WS_CHILD)) return;
    HWND parent = ::GetParent(control);
    if (!parent) return;
    RECT parentRect{}, controlRect{};
    ::GetWindowRect(parent, &parentRect);
    ::GetWindowRect(control, &controlRect);
    // The control's current top, in its parent's client coordinates.
    POINT topLeft{controlRect.left, controlRect.top};
    ::ScreenToClient(parent, &topLeft);
    int left =
        CenteredLeft(parentRect.right - parentRect.left, controlRect.right - controlRect.left);
    ::SetWindowPos(control, nullptr, left, topLeft.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace pellion
