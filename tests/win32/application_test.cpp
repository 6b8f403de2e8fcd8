// The application frame and the process-wide defences set up at start.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "base/errors.h"
#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/lazy_library.h"
#include "base/win/wide.h"

namespace pellion {
namespace {

using win::Application;

TEST(Application, ComIsASingleThreadedApartmentOnThisThread) {
    Application::Instance().EnsureCom();  // main() did this already: a no-op
    EXPECT_TRUE(Application::Instance().ComReady());
    // Asking for the multithreaded model now must be refused: the thread is
    // already a single-threaded apartment.
    HRESULT hr = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(hr, RPC_E_CHANGED_MODE);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(hr, S_FALSE);  // already initialised the same way
    if (SUCCEEDED(hr)) ::CoUninitialize();
}

TEST(LazyLibrary, LoadsOnceAndNamesWhatIsMissing) {
    win::LazyLibrary kernel(L"kernel32.dll");
    EXPECT_FALSE(kernel.Loaded());
    win::LazyFunction<decltype(&::GetTickCount)> tick(kernel, "GetTickCount");
    tick();
    tick();
    EXPECT_EQ(reinterpret_cast<void*>(tick.Get()),
              reinterpret_cast<void*>(
                  ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetTickCount")));
    win::LazyFunction<decltype(&::GetTickCount)> missing(kernel, "PellionNoSuchFunction");
    try {
        missing();
        ADD_FAILURE() << "a missing function must raise";
    } catch (const EOSError& e) {
        EXPECT_STREQ(e.what(), "kernel32.dll has no function PellionNoSuchFunction.");
        EXPECT_EQ(e.Code(), static_cast<unsigned long>(ERROR_PROC_NOT_FOUND));
    }
    EXPECT_EQ(kernel.LoadAttempts(), 1);  // two functions, three calls: one load

    win::LazyLibrary absent(L"pellion-no-such.dll");
    for (int i = 0; i < 2; ++i) {
        try {
            absent.Module();
            ADD_FAILURE() << "a missing DLL must raise";
        } catch (const EOSError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Cannot load pellion-no-such.dll: ", 0), 0u)
                << e.what();
        }
    }
    EXPECT_EQ(absent.LoadAttempts(), 1);  // a failed load is not tried again
}

TEST(Application, TitleLivesOnAHiddenWindowOffTheTaskbar) {
    auto& app = Application::Instance();
    app.SetTitle("Mirabond Installer Version 3.24");
    HWND h = app.Handle();
    ASSERT_TRUE(::IsWindow(h));
    wchar_t text[64] = L"junk";
    ::GetWindowTextW(h, text, 64);
    EXPECT_STREQ(text, L"Mirabond Installer Version 3.24");
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_TRUE(::GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

// A DLL planted next to the program or in the current folder, under a name
// the program asks for by search, must not be loaded.
TEST(DllSearch, PlantedLibraryIsNotLoaded) {
    std::wstring system = win::SystemFolder();
    std::wstring source = system + L"\\version.dll";
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring exeDir(exe);
    exeDir.resize(exeDir.rfind(L'\\') + 1);
    wchar_t cwd[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring planted[] = {exeDir + L"planted1.dll", std::wstring(cwd) + L"\\planted2.dll"};
    for (const auto& p : planted) ASSERT_TRUE(::CopyFileW(source.c_str(), p.c_str(), FALSE));

    EXPECT_TRUE(win::RestrictDllSearch());
    for (const wchar_t* name : {L"planted1.dll", L"planted2.dll"}) {
        ::SetLastError(0xdeadbeef);
        HMODULE m = ::LoadLibraryW(name);
        EXPECT_EQ(m, nullptr) << win::Narrow(name) << " was found by search";
        if (m) ::FreeLibrary(m);
    }
    // Loading by full path from the system folder still works.
    HMODULE version = win::LoadSystemLibrary(L"version.dll");
    EXPECT_NE(version, nullptr);
    if (version) ::FreeLibrary(version);
    for (const auto& p : planted) ::DeleteFileW(p.c_str());
}

}  // namespace
}  // namespace pellion
