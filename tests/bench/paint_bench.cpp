// Paint time of the main window's 492 x 390 pyramid backdrop (maroon to
// red, 100 steps): drawn from scratch (the kept bitmap dropped before each
// paint, as after a property change) against copied from the kept bitmap.
// Prints per-paint medians and their ratio, into a memory bitmap and onto
// a visible window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/bench/bench_timer.h"
#include "ui/controls/gradient_backdrop.h"
#include "ui/controls/styled_gdi.h"

namespace {

// Median over rounds of the mean time per paint, in milliseconds.
template <typename Paint>
double Measure(Paint&& paint, int rounds = 9, int perRound = 40) {
    std::vector<double> means;
    for (int r = 0; r < rounds; ++r) {
        double start = pellion::bench::NowMs();
        for (int i = 0; i < perRound; ++i) paint();
        ::GdiFlush();
        means.push_back((pellion::bench::NowMs() - start) / perRound);
    }
    std::sort(means.begin(), means.end());
    return means[means.size() / 2];
}

void Report(const char* target, pellion::TGradientBackdrop& backdrop, HDC dc) {
    backdrop.PaintTo(dc);  // warm up
    double scratch = Measure([&] {
        backdrop.SetSteps(100);  // same value: only drops the kept bitmap
        backdrop.PaintTo(dc);
    });
    double kept = Measure([&] { backdrop.PaintTo(dc); });
    std::printf("%-14s from scratch %8.3f ms   from kept bitmap %8.3f ms   ratio %6.1f\n", target,
                scratch, kept, kept > 0 ? scratch / kept : 0.0);
}

}  // namespace

int main() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PaintBenchHost";
    ::RegisterClassW(&wc);
    HWND host = ::CreateWindowExW(0, wc.lpszClassName, L"paint bench", WS_POPUP, 0, 0, 492, 390,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    pellion::TGradientBackdrop backdrop(host);
    backdrop.SetStyle(pellion::GradientStyle::grPyramid);
    backdrop.SetStartColor(pellion::clMaroon);
    backdrop.SetEndColor(pellion::clRed);

    {
        pellion::win::MemoryDC mem(nullptr);
        pellion::win::UniqueBitmap bitmap = pellion::win::CreateBitmap32(492, 390);
        pellion::win::SelectScope keep(mem.Get(), bitmap.Get());
        Report("memory bitmap:", backdrop, mem.Get());
    }
    ::ShowWindow(host, SW_SHOWNOACTIVATE);
    ::UpdateWindow(host);
    {
        pellion::win::WindowDC screen(backdrop.Handle());
        Report("window:", backdrop, screen.Get());
    }
    ::DestroyWindow(host);
    return 0;
}
