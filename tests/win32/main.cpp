// Win32 tests run as the installer does: DLL search restricted first, then
// the application object (COM in a single-threaded apartment).
#include <gtest/gtest.h>

#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/optional_api.h"

int main(int argc, char** argv) {
    // Aware of each monitor's DPI, as the installer's manifest declares.
    using SetAwarenessFn = BOOL(WINAPI*)(HANDLE);
    if (auto set = pellion::win::OptionalProc<SetAwarenessFn>(L"user32.dll",
                                                             "SetProcessDpiAwarenessContext"))
        set(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    pellion::win::RestrictDllSearch();
    pellion::win::Application::Instance().Initialize();
    // COM as the installer has it by the time it makes shortcuts.
    pellion::win::Application::Instance().EnsureCom();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
