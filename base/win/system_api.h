#pragma once
// The functions of the shell, COM, OLE automation and the common controls
// that the installer calls, each loaded on its first call (lazy_library.h).
// Same names and arguments as Windows' own, in namespace lazy: a call written
// lazy::ShellExecuteW(...) loads shell32.dll when it first runs, and a
// missing DLL or function raises EOSError instead.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

namespace pellion::win {
class LazyLibrary;
}

namespace pellion::win::lazy {

// shell32.dll
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, INT show);
int SHFileOperationW(LPSHFILEOPSTRUCTW operation);
PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path);
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list);

// ole32.dll
HRESULT CoInitializeEx(LPVOID reserved, DWORD model);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out);
void CoTaskMemFree(LPVOID memory);
int StringFromGUID2(REFGUID guid, LPOLESTR text, int size);
HRESULT CoDisconnectObject(LPUNKNOWN object, DWORD reserved);

// oleaut32.dll
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);

// comctl32.dll, version 6 through the manifest
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes);
BOOL SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);
LRESULT DefSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Loads the common controls and registers the classes the program uses (the
// standard ones and the progress bar), once. Call before creating a control
// of theirs: the welcome page has none, so it shows without them. Answers
// false when they cannot be loaded; the system's own controls then serve.
bool UseCommonControls() noexcept;

// The libraries themselves, for tests: whether one was loaded yet.
LazyLibrary& Shell32();
LazyLibrary& Ole32();

}  // namespace pellion::win::lazy
