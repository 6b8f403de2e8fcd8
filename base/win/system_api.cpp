#include "base/win/system_api.h"

#include <exception>

#include "base/win/lazy_library.h"

namespace pellion::win::lazy {

LazyLibrary& Shell32() {
    static LazyLibrary library(L"shell32.dll");
    return library;
}

LazyLibrary& Ole32() {
    static LazyLibrary library(L"ole32.dll");
    return library;
}

namespace {

LazyLibrary& OleAut32() {
    static LazyLibrary library(L"oleaut32.dll");
    return library;
}

LazyLibrary& ComCtl32() {
    static LazyLibrary library(L"comctl32.dll", LazyLibrary::From::kSideBySide);
    return library;
}

}  // namespace

// Each wrapper keeps its function's address in a static of its own.
#define PELLION_LAZY(library, name) \
    static LazyFunction<decltype(&::name)> fn(library(), #name); \
    return fn

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, INT show) {
    PELLION_LAZY(Shell32, ShellExecuteW)(hwnd, operation, file, parameters, directory, show);
}

int SHFileOperationW(LPSHFILEOPSTRUCTW operation) {
    PELLION_LAZY(Shell32, SHFileOperationW)(operation);
}

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info) {
    PELLION_LAZY(Shell32, SHBrowseForFolderW)(info);
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path) {
    PELLION_LAZY(Shell32, SHGetPathFromIDListW)(list, path);
}

HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list) {
    PELLION_LAZY(Shell32, SHGetSpecialFolderLocation)(owner, folder, list);
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD model) {
    PELLION_LAZY(Ole32, CoInitializeEx)(reserved, model);
}

void CoUninitialize() {
    PELLION_LAZY(Ole32, CoUninitialize)();
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                         LPVOID* out) {
    PELLION_LAZY(Ole32, CoCreateInstance)(clsid, outer, context, iid, out);
}

void CoTaskMemFree(LPVOID memory) {
    PELLION_LAZY(Ole32, CoTaskMemFree)(memory);
}

int StringFromGUID2(REFGUID guid, LPOLESTR text, int size) {
    PELLION_LAZY(Ole32, StringFromGUID2)(guid, text, size);
}

HRESULT CoDisconnectObject(LPUNKNOWN object, DWORD reserved) {
    PELLION_LAZY(Ole32, CoDisconnectObject)(object, reserved);
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    PELLION_LAZY(OleAut32, SysAllocStringLen)(text, length);
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
    PELLION_LAZY(ComCtl32, InitCommonControlsEx)(classes);
}

BOOL SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    PELLION_LAZY(ComCtl32, SetWindowSubclass)(hwnd, proc, id, data);
}

BOOL RemoveWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
    PELLION_LAZY(ComCtl32, RemoveWindowSubclass)(hwnd, proc, id);
}

LRESULT DefSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PELLION_LAZY(ComCtl32, DefSubclassProc)(hwnd, msg, wp, lp);
}

#undef PELLION_LAZY

bool UseCommonControls() noexcept {
    static const bool ready = [] {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        try {
            return lazy::InitCommonControlsEx(&classes) != FALSE;
        } catch (const std::exception&) {
            return false;
        }
    }();
    return ready;
}

}  // namespace pellion::win::lazy
