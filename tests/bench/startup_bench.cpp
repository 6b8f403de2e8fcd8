// Times process start until a window with a given title is visible, for two
// programs in turn, under a warm Wine. Prints each run, the medians and the
// ratio of the first program to the second.
//   startup_bench N TITLE_A "COMMAND_A" TITLE_B "COMMAND_B"
// With "watch TITLE" it only waits for that window instead, for a program
// started from outside Wine: it prints "ready", then the wall-clock time
// (Unix milliseconds) at which the window became visible, and closes it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/bench/bench_timer.h"

namespace {

// Milliseconds from CreateProcess until the window shows; -1 on failure.
double TimeOnce(const std::wstring& title, std::wstring command) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    double start = pellion::bench::NowMs();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    double elapsed = -1;
    HWND shown = nullptr;
    while (pellion::bench::NowMs() - start < 20000) {
        HWND h = FindWindowW(nullptr, title.c_str());
        if (h && IsWindowVisible(h)) {
            elapsed = pellion::bench::NowMs() - start;
            shown = h;
            break;
        }
        Sleep(1);
    }
    if (shown) PostMessageW(shown, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return elapsed;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}



// Wall-clock time in Unix milliseconds: Wine takes it from the host's clock,
// which the script that started the program reads too.
double UnixMs() {
    FILETIME t;
    ::GetSystemTimePreciseAsFileTime(&t);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return double(ticks - 116444736000000000ull) / 1e4;
}

int Watch(const wchar_t* title) {
    printf("ready\n");
    fflush(stdout);
    const double start = pellion::bench::NowMs();
    while (pellion::bench::NowMs() - start < 20000) {
        HWND h = FindWindowW(nullptr, title);
        if (h && IsWindowVisible(h)) {
            printf("shown %.1f\n", UnixMs());
            fflush(stdout);
            PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        }
        Sleep(1);
    }
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && wcscmp(argv[1], L"watch") == 0) return Watch(argv[2]);
    if (argc != 6) return 2;
    int n = _wtoi(argv[1]);
    std::vector<double> a, b;
    TimeOnce(argv[2], argv[3]);  // warm both up once
    TimeOnce(argv[4], argv[5]);
    for (int i = 0; i < n; ++i) {
        double ta = TimeOnce(argv[2], argv[3]);
        double tb = TimeOnce(argv[4], argv[5]);
        if (ta < 0 || tb < 0) {
            printf("a window did not appear\n");
            return 1;
        }
        a.push_back(ta);
        b.push_back(tb);
        printf("run %2d: %7.1f ms  %7.1f ms\n", i + 1, ta, tb);
    }
    double ma = Median(a), mb = Median(b);
    printf("median: %7.1f ms  %7.1f ms\n", ma, mb);
    printf("ratio: %.2f\n", mb > 0 ? ma / mb : 0.0);
    return 0;
}
