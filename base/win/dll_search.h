#pragma once
// Installers are run from download folders, where a planted DLL with the
// name of a system library would otherwise be loaded. Call first thing in
// the process: afterwards every LoadLibrary looks in the system folder only.

#include <windows.h>

#include <string>

namespace pellion::win {

// Restricts the DLL search path to the system folder where the system
// supports it (SetDefaultDllDirectories), and removes the current folder
// from it everywhere. Answers whether the restriction is in force.
bool RestrictDllSearch();

// Loads a DLL from the system folder by its full path, never by search.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Loads a DLL of a side-by-side assembly that the executable's manifest
// names (the common controls, version 6) by its plain name: a full path
// would bypass the redirection to the assembly. The manifest answers first;
// past it the restricted search only knows the system folder.
HMODULE LoadSideBySideLibrary(const wchar_t* name);

// The system folder (C:\windows\system32 as the program sees it).
std::wstring SystemFolder();

}  // namespace pellion::win
