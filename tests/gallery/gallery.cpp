// The styled controls in one borderless window at the screen's top-left
// corner, with the values the two windows use: the main window's side
// panel and both pages (pyramid and vertical backdrops with their buttons),
// the progress window's panels, bar and buttons, bars at each level, and
// both button styles in every state. Client coordinates are screen
// coordinates, so a screenshot can be checked pixel by pixel.
//   gallery [READY_FILE]   writes READY_FILE once everything is painted
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/win/unique_handle.h"
#include "base/win/wide.h"
#include "ui/controls/gradient_backdrop.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/gradient_panel.h"
#include "ui/controls/level_progress_bar.h"
#include "ui/controls/styled_gdi.h"

namespace pellion {
namespace {

constexpr int kWidth = 1220, kHeight = 650;

FontSpec Font(int height, bool bold, TColor color, const char* face = "Tahoma") {
    FontSpec f;
    f.face = face;
    f.height = height;
    f.bold = bold;
    f.color = color;
    return f;
}

// A plain child window that only holds other windows, on a colour of its own.
LRESULT CALLBACK HolderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) {
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        ::FillRect(reinterpret_cast<HDC>(wp), &rc, static_cast<HBRUSH>(::GetPropW(hwnd, L"brush")));
        return 1;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

HWND Holder(HWND parent, int x, int y, int w, int h, COLORREF background) {
    static bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = HolderProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"GalleryHolder";
        return ::RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    HWND hwnd =
        ::CreateWindowExW(0, L"GalleryHolder", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                          w, h, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    // The brush lives as long as the process.
    ::SetPropW(hwnd, L"brush", ::CreateSolidBrush(background));
    return hwnd;
}

class Gallery {
  public:
    explicit Gallery(HWND top) : top_(top) {
        MainWindowParts();
        ProgressWindowParts(10, 420);
        LevelBars(470, 420);
        ButtonStates(930, 420);
    }

  private:
    void MainButton(HWND parent, int x, int y, const char* caption) {
        auto b = std::make_unique<TGradientButton>(parent, x, y, 73, 22, caption);
        b->SetColor(clRed);
        b->SetColorTo(clMaroon);
        b->SetColorHot(clMaroon);
        b->SetColorHotTo(clBlack);
        b->SetColorDown(14210002);
        b->SetFont(Font(-15, true, clWhite));
        buttons_.push_back(std::move(b));
    }
    void ProgressButton(HWND parent, int x, int y, const char* caption) {
        auto b = std::make_unique<TGradientButton>(parent, x, y, 114, 26, caption);
        b->SetColor(clRed);
        b->SetColorTo(clBlack);
        b->SetColorHot(clRed);
        b->SetColorHotTo(101609);
        b->SetColorDown(101609);
        b->SetColorDownTo(clRed);
        b->SetRounded(true);
        b->SetFont(Font(-13, true, clWhite));
        buttons_.push_back(std::move(b));
    }
    TGradientPanel& Panel(HWND parent, int x, int y, int w, int h, TColor from, TColor to) {
        panels_.push_back(std::make_unique<TGradientPanel>(parent, x, y, w, h));
        panels_.back()->SetColor(from);
        panels_.back()->SetColorTo(to);
        return *panels_.back();
    }
    TGradientBackdrop& Page(int x, GradientStyle style) {
        HWND page = Holder(top_, x, 10, 492, 390, RGB(255, 0, 0));
        backdrops_.push_back(std::make_unique<TGradientBackdrop>(page));
        backdrops_.back()->SetStyle(style);
        backdrops_.back()->SetStartColor(clMaroon);
        backdrops_.back()->SetEndColor(clRed);
        return *backdrops_.back();
    }
    void MainWindowParts() {
        TGradientPanel& side = Panel(top_, 10, 10, 185, 400, 19967, clMaroon);
        side.SetBevelOuter(PanelBevel::bvNone);
        side.SetFont(Font(-16, true, clWhite));
        HWND welcome = Page(205, GradientStyle::grPyramid).Handle();
        MainButton(welcome, 102, 332, "Setup");
        MainButton(welcome, 321, 332, "Cancel");
        HWND setup = Page(707, GradientStyle::grVertical).Handle();
        MainButton(setup, 354, 37, "Browse");
        MainButton(setup, 209, 341, "Install");
        MainButton(setup, 343, 341, "Cancel");
    }
    void ProgressWindowParts(int x, int y) {
        HWND form = Holder(top_, x, y, 447, 170, RGB(128, 0, 0));
        TGradientPanel& info = Panel(form, 0, 0, 447, 129, clRed, clMaroon);
        info.SetColorMirrorTo(clMaroon);
        Bar(info.Handle(), 8, 92, 50);
        TGradientPanel& buttons = Panel(form, 0, 129, 447, 41, clRed, clMaroon);
        ProgressButton(buttons.Handle(), 54, 6, "Pause");
        ProgressButton(buttons.Handle(), 267, 6, "Cancel");
    }
    void Bar(HWND parent, int x, int y, int position, int max = 100) {
        bars_.push_back(std::make_unique<TLevelProgressBar>(parent, x, y, 433, 18));
        bars_.back()->SetMax(max);
        bars_.back()->SetPosition(position);
        bars_.back()->SetFont(Font(-13, false, clWindowText, "Verdana"));
    }
    void LevelBars(int x, int y) {
        TGradientPanel& panel = Panel(top_, x, y, 447, 210, clRed, clMaroon);
        const int positions[] = {0, 50, 69, 70, 90, 99, 100};
        int row = 0;
        for (int p : positions) Bar(panel.Handle(), 7, 8 + 25 * row++, p);
        Bar(panel.Handle(), 7, 8 + 25 * row, 0, 0);  // Max = Min
    }
    // Rest, hot, down and disabled, top to bottom, for both styles.
    void ButtonStates(int x, int y) {
        HWND holder = Holder(top_, x, y, 220, 150, RGB(128, 0, 0));
        for (int state = 0; state < 4; ++state) {
            MainButton(holder, 10, 10 + 34 * state, "Setup");
            Force(*buttons_.back(), state);
            ProgressButton(holder, 95, 8 + 34 * state, "Pause");
            Force(*buttons_.back(), state);
        }
    }
    // Hot stays set: no WM_MOUSELEAVE comes while the real pointer is away.
    // Only one window can hold the mouse, so a pressed button is shown as a
    // picture of itself taken while pressed, in its place.
    void Force(TGradientButton& b, int state) {
        if (state == 1 || state == 2) ::SendMessageW(b.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        if (state == 3) b.SetEnabled(false);
        if (state != 2) return;
        ::SendMessageW(b.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        RECT rc;
        ::GetWindowRect(b.Handle(), &rc);
        ::MapWindowPoints(nullptr, ::GetParent(b.Handle()), reinterpret_cast<POINT*>(&rc), 2);
        win::WindowDC screen(nullptr);
        win::MemoryDC mem(screen.Get());
        HBITMAP picture = win::CreateBitmap32(b.Width(), b.Height()).Release();
        {
            win::SelectScope keep(mem.Get(), picture);
            win::PaintParentBackground(b.Handle(), mem.Get());
            b.PaintTo(mem.Get());
        }
        ::ReleaseCapture();
        ::ShowWindow(b.Handle(), SW_HIDE);
        HWND still = ::CreateWindowExW(
            0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, rc.left, rc.top, b.Width(),
            b.Height(), ::GetParent(b.Handle()), nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(still, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }

  private:
    HWND top_;
    std::vector<std::unique_ptr<TGradientPanel>> panels_;
    std::vector<std::unique_ptr<TGradientBackdrop>> backdrops_;
    std::vector<std::unique_ptr<TGradientButton>> buttons_;
    std::vector<std::unique_ptr<TLevelProgressBar>> bars_;
};

LRESULT CALLBACK TopProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace
}  // namespace pellion

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace pellion;
    WNDCLASSW wc{};
    wc.lpfnWndProc = TopProc;
    wc.hInstance = instance;
    wc.hbrBackground = ::CreateSolidBrush(RGB(64, 64, 64));
    wc.lpszClassName = L"StyledGallery";
    ::RegisterClassW(&wc);
    HWND top =
        ::CreateWindowExW(0, L"StyledGallery", L"Styled controls", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                          kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    Gallery gallery(top);
    ::ShowWindow(top, SW_SHOWNORMAL);
    ::UpdateWindow(top);
    ::RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (__argc > 1) {
        FILE* ready = _wfopen(__wargv[1], L"w");
        if (ready) std::fclose(ready);
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
