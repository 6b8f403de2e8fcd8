// Both windows at the DPI they are shown at. With the other Win32 tests the
// prefix is at 96 dpi and only the DPI-change part runs; ctest's
// win32_dpi144 entry runs this file again in a prefix whose LogPixels is 144
// (PELLION_EXPECT_DPI=144), where every length must be 1.5 times the layout's.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "child_windows.h"
#include "base/win/dpi.h"
#include "ui/controls/styled_gdi.h"
#include "ui/fmiProgress.h"
#include "ui/tfmMain.h"

namespace pellion {
namespace {

std::string FixedWindowsFolder() {
    return "C:\\WINDOWS";
}

// The child's rectangle, placed as the layout says.
void ExpectRect(const testing_util::Child& c, const ScaledRect& want) {
    ASSERT_TRUE(c.hwnd);
    EXPECT_EQ(c.rect.left, want.left);
    EXPECT_EQ(c.rect.top, want.top);
    EXPECT_EQ(c.rect.right - c.rect.left, want.width);
    EXPECT_EQ(c.rect.bottom - c.rect.top, want.height);
}

SIZE ClientSize(HWND h) {
    RECT r{};
    ::GetClientRect(h, &r);
    return {r.right, r.bottom};
}

// The main window's lengths that show whether everything followed `s`: the
// client area, a button, the edit and its font, a label sized to its text in
// a font of the scaled height.
void ExpectMainWindowAt(const tMainForm& form, const DpiScale& s) {
    HWND top = form.Handle();
    EXPECT_EQ(ClientSize(top).cx, s(685));
    EXPECT_EQ(ClientSize(top).cy, s(400));
    ExpectRect(testing_util::Find(top, L"TGradientButton", "Setup"), s(ScaledRect{102, 332, 73, 22}));
    testing_util::Child edit = testing_util::Find(top, L"Edit", "c:\\kx");
    ExpectRect(edit, s(ScaledRect{64, 35, 287, 26}));
    LOGFONTW lf{};
    auto font = reinterpret_cast<HFONT>(::SendMessageW(edit.hwnd, WM_GETFONT, 0, 0));
    ASSERT_TRUE(::GetObjectW(font, sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, s(-15));

    FontSpec tahoma;
    tahoma.face = "Tahoma";
    tahoma.height = -15;
    win::UniqueFont scaled = win::CreateFontFrom(tahoma, s);
    TextSize text = win::MeasureText(scaled.Get(), "Install Folder:");
    RECT label = testing_util::Find(top, L"TStyledLabel", "Install Folder:").rect;
    EXPECT_EQ(label.left, s(63));
    EXPECT_EQ(label.right - label.left, text.width);
    EXPECT_EQ(label.bottom - label.top, text.height);
}

TEST(HighDpi, BothWindowsFollowTheDpiTheyAreCreatedAt) {
    tMainForm form(&FixedWindowsFolder);
    form.PrepareSetupPage();
    const int dpi = form.Scale().Dpi();
    if (const char* expected = std::getenv("PELLION_EXPECT_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected)) << "the prefix's LogPixels did not reach the window";
    }
    if (dpi == kDesignDpi) GTEST_SKIP() << "the prefix is at 96 dpi";
    ExpectMainWindowAt(form, form.Scale());

    TInstProgressForm progress(0);
    const DpiScale& s = progress.Scale();
    EXPECT_EQ(s.Dpi(), dpi);
    EXPECT_EQ(ClientSize(progress.Handle()).cx, s(447));
    EXPECT_EQ(ClientSize(progress.Handle()).cy, s(170));
    const ProgressControls& c = progress.Controls();
    ExpectRect(testing_util::Placed(c.pbar->Handle()), s(ScaledRect{8, 92, 433, 18}));
    ExpectRect(testing_util::Placed(c.btnCancel->Handle()), s(ScaledRect{267, 6, 114, 26}));
    EXPECT_EQ(c.GradientPanel2->Height(), s(41));
}

// What the system sends when the window moves to a monitor at `next`: the
// suggested frame holds the designed client area at that DPI. The frame's own
// size is the window's present one (Wine draws frames at the system DPI).
void SendDpiChange(HWND h, const DpiScale& next, int clientWidth, int clientHeight) {
    RECT outer{}, client{};
    ::GetWindowRect(h, &outer);
    ::GetClientRect(h, &client);
    int frameX = outer.right - outer.left - client.right;
    int frameY = outer.bottom - outer.top - client.bottom;
    RECT suggested{10, 20, 10 + frameX + next(clientWidth), 20 + frameY + next(clientHeight)};
    ::SendMessageW(h, win::kDpiChangedMessage, MAKEWPARAM(next.Dpi(), next.Dpi()),
                   reinterpret_cast<LPARAM>(&suggested));
}

// Moved to a monitor of another DPI, a window takes the suggested frame and
// lays itself out again at that DPI.
TEST(HighDpi, DpiChangeLaysTheWindowsOutAgain) {
    tMainForm form(&FixedWindowsFolder);
    // Another DPI whose window still fits the test display (1280 x 1024).
    const DpiScale next(form.Scale().Dpi() == 144 ? 120 : 144);
    SendDpiChange(form.Handle(), next, 685, 400);
    EXPECT_EQ(form.Scale().Dpi(), next.Dpi());
    form.PrepareSetupPage();  // built after the change: at the new DPI
    ExpectMainWindowAt(form, next);

    TInstProgressForm progress(0);
    SendDpiChange(progress.Handle(), next, 447, 170);
    const ProgressControls& c = progress.Controls();
    ExpectRect(testing_util::Placed(c.pbar->Handle()), next(ScaledRect{8, 92, 433, 18}));
    EXPECT_EQ(c.GradientPanel2->Height(), next(41));
    // The information area's labels are centred again in the wider panel.
    RECT status = testing_util::Placed(c.lbStatus->Handle()).rect;
    EXPECT_EQ(status.left, (c.GradientPanel1->Width() - (status.right - status.left)) / 2);
}

}  // namespace
}  // namespace pellion
