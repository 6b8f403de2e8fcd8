// The progress window's cost to the run and to the machine:
//  - processor time of the process as a share of wall time while paused
//    for 5 s and while waiting 5 s for OK (a thread timer presses Resume or
//    OK), with a polling loop for 1 s beside them for comparison;
//  - what SetPosition adds to a run of 4 KiB files (write one, then set the
//    position, as the run does), against the write alone: paced as the
//    installer draws, and drawing every change (format, centre, repaint,
//    message processing) for comparison; medians.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/win/application.h"
#include "base/win/message_pump.h"
#include "ui/fmiProgress.h"

namespace {

double WallMs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(freq.QuadPart);
}

double CpuMs() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& f) {
        return double((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

HWND g_pressAfterDelay = nullptr;

void CALLBACK Press(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::PostMessageW(g_pressAfterDelay, BM_CLICK, 0, 0);
}

template <typename Wait>
void CpuShare(const char* what, Wait&& wait) {
    double wall0 = WallMs(), cpu0 = CpuMs();
    wait();
    double wall = WallMs() - wall0, cpu = CpuMs() - cpu0;
    std::printf("%-34s cpu %8.1f ms of %8.1f ms wall = %6.2f %%\n", what, cpu, wall,
                100.0 * cpu / wall);
}

template <typename Step>
double MedianMs(Step&& step, int rounds = 9, int perRound = 50) {
    std::vector<double> means;
    int n = 0;
    for (int r = 0; r < rounds; ++r) {
        double start = WallMs();
        for (int i = 0; i < perRound; ++i) step(n++);
        means.push_back((WallMs() - start) / perRound);
    }
    std::sort(means.begin(), means.end());
    return means[means.size() / 2];
}

void WriteSmallFile(const std::wstring& folder, int n) {
    static const std::string block(4096, 'x');
    std::wstring path = folder + L"f" + std::to_wstring(n) + L".bin";
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(h, block.data(), DWORD(block.size()), &written, nullptr);
    ::CloseHandle(h);
}

void StartRun(pellion::TInstProgressForm& form) {
    form.SetProgramName("Pellion");
    form.SetStage("Installing ...");
    form.Show();
    form.SetTotal(0x40000000);
}

}  // namespace

int main() {
    pellion::win::Application::Instance().Initialize();
    pellion::TInstProgressForm form;
    StartRun(form);
    const pellion::ProgressControls& c = form.Controls();

    g_pressAfterDelay = c.btnPause->Handle();
    ::SetTimer(nullptr, 0, 5000, Press);  // presses Resume
    ::PostMessageW(c.btnPause->Handle(), BM_CLICK, 0, 0);
    CpuShare("paused 5 s:", [&] { form.SetPosition(1); });

    CpuShare("polling loop 1 s (comparison):", [] {
        double end = WallMs() + 1000;
        while (WallMs() < end) pellion::win::ProcessPendingMessages();
    });

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"progress_bench\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    pellion::TInstProgressForm everyChange(0);
    StartRun(everyChange);
    const int rounds = 15, perRound = 200;
    double file = MedianMs([&](int n) { WriteSmallFile(folder, n % perRound); }, rounds, perRound);
    double paced = MedianMs(
        [&](int n) {
            WriteSmallFile(folder, n % perRound);
            form.SetPosition(4096 * (n + 2));
        },
        rounds, perRound);
    double every = MedianMs(
        [&](int n) {
            WriteSmallFile(folder, n % perRound);
            everyChange.SetPosition(4096 * (n + 2));
        },
        rounds, perRound);
    std::printf("4 KiB file written:                %8.3f ms\n", file);
    std::printf("SetPosition after each file, paced: %7.3f ms   (ratio SetPosition / file %.2f)\n",
                paced - file, file > 0 ? (paced - file) / file : 0.0);
    std::printf("  drawing every change instead:    %8.3f ms   (ratio %.2f)\n", every - file,
                file > 0 ? (every - file) / file : 0.0);
    for (int n = 0; n < perRound; ++n)
        ::DeleteFileW((folder + L"f" + std::to_wstring(n) + L".bin").c_str());
    ::RemoveDirectoryW(folder.c_str());

    g_pressAfterDelay = c.btnCancel->Handle();
    ::SetTimer(nullptr, 0, 5000, Press);  // presses OK
    CpuShare("waiting for OK 5 s:", [&] { form.WaitForOk(); });
    return 0;
}
