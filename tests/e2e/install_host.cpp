// Starts the install run the way the main window's "Install" does, with the
// installer's own resources (payload and "rs_Conf") and the real progress
// window, for end-to-end scenarios and the install benchmark:
//
//   install_host FOLDER          drive check, then the run into FOLDER
//   install_host --bench FOLDER  the same, but the OK state ends the process
//                                at once, after printing the seconds from
//                                start to that state
//   install_host --slow MS FOLDER  the same, each file taking MS longer (as
//                                on a slow disk), so that a scenario can act
//                                between files however fast the machine
//
// Exit code: 0 installed, 1 refused by the drive check, 2 not installed,
// 3 an error left the run (its text goes to the standard output). The last
// line of the standard output is the process's peak working set, for the
// install benchmark.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <exception>
#include <memory>
#include <string>

#include "app/gate.h"
#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/wide.h"
#include "install/install_run.h"
#include "ui/fmiProgress.h"
#include "ui/install_messages.h"

namespace {

void PrintPeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        std::printf("peak working set: %lu bytes\n",
                    static_cast<unsigned long>(counters.PeakWorkingSetSize));
}

double Seconds() {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

// The real window, but reaching the OK state ends the benchmark run.
class BenchProgress : public pellion::TInstProgressForm {
  public:
    explicit BenchProgress(double start) : start_(start) {}
    void WaitForOk() override {
        std::printf("start to OK state: %.3f s\n", Seconds() - start_);
        PrintPeakWorkingSet();
        std::fflush(stdout);
        ::ExitProcess(0);
    }

  private:
    double start_;
};

// The real window; each file's position arrives late, as after a slow write.
class SlowDiskProgress : public pellion::TInstProgressForm {
  public:
    explicit SlowDiskProgress(DWORD ms) : ms_(ms) {}
    void SetPosition(int32_t position) override {
        ::Sleep(ms_);
        TInstProgressForm::SetPosition(position);
    }

  private:
    DWORD ms_;
};

int Install(const std::string& folder, bool bench, DWORD slowMs) {
    const double start = Seconds();
    pellion::InstallMessages& messages = pellion::DialogMessages();
    if (!pellion::ValidateInstallFolder(folder, messages)) return 1;
    return pellion::RunInstall(
               folder,
               [bench, start, slowMs]() -> std::unique_ptr<pellion::InstallProgress> {
                   if (bench) return std::make_unique<BenchProgress>(start);
                   if (slowMs) return std::make_unique<SlowDiskProgress>(slowMs);
                   return std::make_unique<pellion::TInstProgressForm>();
               },
               messages)
               ? 0
               : 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    pellion::win::RestrictDllSearch();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    bool bench = false;
    DWORD slowMs = 0;
    int i = 1;
    for (; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg == L"--bench") {
            bench = true;
        } else if (arg == L"--slow" && i + 1 < argc) {
            slowMs = DWORD(std::wcstoul(argv[++i], nullptr, 10));
        } else {
            break;
        }
    }
    std::string folder = i < argc ? pellion::win::Narrow(argv[i]) : std::string();
    ::LocalFree(argv);
    try {
        // The gate fills the DOSBox path on a 64-bit system, as at start.
        if (!pellion::StartupGate()) return 4;
        pellion::win::Application::Instance().Initialize();
        int code = Install(folder, bench, slowMs);
        PrintPeakWorkingSet();
        return code;
    } catch (const std::exception& e) {
        std::printf("%s\n", e.what());
        return 3;
    }
}
