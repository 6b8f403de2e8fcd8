// Win32 tests run as the installer does: DLL search restricted first, then
// the application object (COM in a single-threaded apartment).
#include <gtest/gtest.h>

#include "base/win/application.h"
#include "base/win/dll_search.h"

int main(int argc, char** argv) {
    pellion::win::RestrictDllSearch();
    pellion::win::Application::Instance().Initialize();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
