#pragma once
// System functions that some Windows versions lack (IsWow64Process,
// SetDefaultDllDirectories, TaskDialogIndirect, ...) are looked up by name at
// run time instead of imported, so the program still starts where they are
// missing; callers take a null answer as "absent" and fall back.

#include <windows.h>

namespace pellion::win {

// The export `name` of `module` as a pointer of type Fn; null when the module
// or the export is absent.
template <typename Fn>
Fn OptionalProc(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// The same from a module the process has loaded already (kernel32.dll ...),
// by its file name.
template <typename Fn>
Fn OptionalProc(const wchar_t* loadedModule, const char* name) {
    return OptionalProc<Fn>(::GetModuleHandleW(loadedModule), name);
}

}  // namespace pellion::win
