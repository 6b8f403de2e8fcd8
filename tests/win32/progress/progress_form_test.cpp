// The progress window driven as the install run drives it, with the user's
// clicks and close requests posted into its message processing, as they
// would arrive while the run is suspended inside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ui/fmiProgress.h"

namespace pellion {
namespace {

// A window whose posted WM_APP messages run the next queued step: lets a
// test see the form's state between two posted clicks, from inside the
// form's own message processing.
class Probe {
  public:
    Probe() {
        static const wchar_t* cls = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &Probe::Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"ProgressTestProbe";
            ::RegisterClassW(&wc);
            return L"ProgressTestProbe";
        }();
        hwnd_ = ::CreateWindowExW(0, cls, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), this);
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Probe() { ::DestroyWindow(hwnd_); }
    HWND Handle() const { return hwnd_; }
    void Post(std::function<void()> step) {
        steps_.push_back(std::move(step));
        ::PostMessageW(hwnd_, WM_APP, 0, 0);
    }
    // True when a probe message is still waiting (and takes it off).
    bool Queued() {
        MSG msg;
        return ::PeekMessageW(&msg, hwnd_, WM_APP, WM_APP, PM_REMOVE) != 0;
    }

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<Probe*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
        if (m == WM_APP && self && !self->steps_.empty()) {
            auto step = std::move(self->steps_.front());
            self->steps_.erase(self->steps_.begin());
            step();
            return 0;
        }
        return ::DefWindowProcW(h, m, w, l);
    }
    HWND hwnd_;
    std::vector<std::function<void()>> steps_;
};

RECT InParent(HWND h) {
    RECT r{};
    ::GetWindowRect(h, &r);
    ::MapWindowPoints(nullptr, ::GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Click(TGradientButton& b) {
    ::PostMessageW(b.Handle(), BM_CLICK, 0, 0);
}

class ProgressForm : public testing::Test {
  protected:
    // The harness runs Wine with LC_ALL=C: the user's locale is en-US, whose
    // thousands separator is a comma.
    void StartRun(int32_t total) {
        form_.SetProgramName("Pellion");
        form_.SetStage("Installing ...");
        form_.Show();
        form_.SetTotal(total);
    }
    const ProgressControls& c() { return form_.Controls(); }
    void TearDown() override {
        MSG msg;  // a quit request a test left behind
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    TInstProgressForm form_{0};  // draws every change
    Probe probe_;
};

TEST_F(ProgressForm, WindowAsLaidOut) {
    HWND h = form_.Handle();
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_EQ(win::GetWindowTextUtf8(h), "Installation Progress");
    RECT client{};
    ::GetClientRect(h, &client);
    EXPECT_EQ(client.right, 447);
    EXPECT_EQ(client.bottom, 170);
    LONG style = ::GetWindowLongW(h, GWL_STYLE);
    for (LONG bit : {WS_THICKFRAME, WS_SYSMENU, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
        EXPECT_TRUE(style & bit) << std::hex << bit;
    EXPECT_EQ(::GetWindow(h, GW_OWNER), nullptr);
    EXPECT_TRUE(::GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(c().btnPause->Caption(), "Pause");
    EXPECT_EQ(form_.LastShownPosition(), -1);
    RECT pause = InParent(c().btnPause->Handle()), cancel = InParent(c().btnCancel->Handle());
    EXPECT_EQ(pause.left, 54);
    EXPECT_EQ(cancel.left, 267);
    EXPECT_EQ(cancel.right - cancel.left, 114);
    RECT bar = InParent(c().pbar->Handle());
    EXPECT_EQ(bar.left, 8);
    EXPECT_EQ(bar.top, 92);
    EXPECT_EQ(c().pbar->Width(), 433);
    EXPECT_EQ(c().GradientPanel2->Height(), 41);
    EXPECT_EQ(c().GradientPanel1->Height(), 129);
}

TEST_F(ProgressForm, RunInOrder) {
    form_.SetProgramName("Pellion");
    form_.SetStage("Installing ...");
    form_.Show();
    EXPECT_TRUE(::IsWindowVisible(form_.Handle()));
    RECT w{};
    ::GetWindowRect(form_.Handle(), &w);
    EXPECT_EQ(w.left, (::GetSystemMetrics(SM_CXSCREEN) - (w.right - w.left)) / 2);
    EXPECT_EQ(c().lbStage->Text(), "Installing ...");
    TStyledLabel& name = *c().lbProgramName;
    EXPECT_EQ(name.Text(), "Pellion");
    EXPECT_EQ(name.Left(), (447 - name.Width()) / 2);
    EXPECT_EQ(name.Top(), 41);
    EXPECT_FALSE(c().pbar->Visible());
    EXPECT_FALSE(c().lbFileName->Visible());
    EXPECT_FALSE(c().lbStatus->Visible());
    EXPECT_TRUE(c().lbFiles->Visible());
    EXPECT_EQ(c().lbFiles->Text(), "Files:  0");
    EXPECT_EQ(form_.LastShownPosition(), 0);

    form_.SetTotal(123456);
    EXPECT_TRUE(c().pbar->Visible() && c().lbFileName->Visible() && c().lbStatus->Visible());
    EXPECT_EQ(c().pbar->Max(), 123456);
    EXPECT_EQ(c().pbar->Position(), 0);
    EXPECT_EQ(c().lbStatus->Text(), "0 of 123,456 bytes");
    EXPECT_EQ(c().lbFileName->Text(), "");

    TStyledLabel& files = *c().lbFiles;
    for (int i = 1; i <= 2; ++i) {
        form_.SetCurrentFile("C:\\Pellion\\pnx.exe");
        EXPECT_EQ(files.Text(), "Files: " + std::to_string(i));
        EXPECT_EQ(447 - (files.Left() + files.Width()), files.TextWidth("##"));
        EXPECT_EQ(files.Top(), 73);
    }
    EXPECT_EQ(c().lbFileName->Text(), "C:\\Pellion\\pnx.exe");
    form_.SetPosition(61728);
    EXPECT_EQ(c().pbar->Position(), 61728);
    TStyledLabel& status = *c().lbStatus;
    EXPECT_EQ(status.Text(), "61,728 of 123,456 bytes");
    EXPECT_EQ(status.Left(), (447 - status.Width()) / 2);
    EXPECT_EQ(status.Top(), 113);

    Click(*c().btnCancel);  // "OK", pressed once the wait has begun
    form_.WaitForOk();
    EXPECT_FALSE(form_.Cancelled());
    EXPECT_FALSE(c().btnPause->Visible());
    EXPECT_EQ(c().btnCancel->Caption(), "OK");
    EXPECT_EQ(InParent(c().btnCancel->Handle()).left, 166);
    EXPECT_EQ(c().lbStage->Text(), "Installation Successful.");
    EXPECT_FALSE(c().lbFileName->Visible());
}

TEST_F(ProgressForm, MessagesProcessedOnlyWhenThePositionChanges) {
    // The first call after creation always redraws, even for -1's neighbour 0.
    probe_.Post([] {});
    form_.SetPosition(0);
    EXPECT_FALSE(probe_.Queued());
    StartRun(1000);
    form_.SetPosition(500);
    c().lbStatus->SetText("junk");
    probe_.Post([] {});
    form_.SetPosition(500);
    EXPECT_TRUE(probe_.Queued());
    EXPECT_EQ(c().lbStatus->Text(), "junk");
    probe_.Post([] {});
    form_.SetPosition(501);
    EXPECT_FALSE(probe_.Queued());
    EXPECT_EQ(c().lbStatus->Text(), "501 of 1,000 bytes");
}

TEST_F(ProgressForm, UnsignedValues) {
    StartRun(int32_t(0xFFFFFFFFu));
    form_.SetPosition(int32_t(0x80000000u));
    EXPECT_EQ(c().lbStatus->Text(), "2,147,483,648 of 4,294,967,295 bytes");
    // The bar keeps the share: half way.
    EXPECT_EQ(c().pbar->Max(), 0x7FFFFFFF);
    EXPECT_EQ(c().pbar->Position(), 0x40000000);
}

// Sets the user's thousands separator (the registry value under
// HKCU\Control Panel\International) for the test's length.
class ThousandsSeparator {
  public:
    explicit ThousandsSeparator(const wchar_t* sep) {
        ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved_, 8);
        ok_ = ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, sep) != 0;
    }
    ~ThousandsSeparator() { ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved_); }
    bool ok() const { return ok_; }

  private:
    wchar_t saved_[8] = {};
    bool ok_ = false;
};

TEST_F(ProgressForm, SeparatorFollowsTheUsersLocale) {
    ThousandsSeparator dot(L".");
    ASSERT_TRUE(dot.ok());
    StartRun(1234567);
    EXPECT_EQ(c().lbStatus->Text(), "0 of 1.234.567 bytes");
    form_.SetPosition(1000);
    EXPECT_EQ(c().lbStatus->Text(), "1.000 of 1.234.567 bytes");
}

struct Seen {
    bool paused;
    std::string caption;
};

TEST_F(ProgressForm, PauseResumeAndCancel) {
    StartRun(100);
    std::vector<Seen> seen;
    auto look = [&] { seen.push_back({form_.Paused(), c().btnPause->Caption()}); };
    // Pause, Resume: the run goes on.
    Click(*c().btnPause);
    probe_.Post(look);
    Click(*c().btnPause);
    probe_.Post(look);
    form_.SetPosition(10);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].paused);
    EXPECT_EQ(seen[0].caption, "Resume");
    EXPECT_FALSE(seen[1].paused);
    EXPECT_EQ(seen[1].caption, "Pause");
    EXPECT_FALSE(form_.Cancelled());

    // Pause again (the handler is back), then Cancel ends the pause.
    seen.clear();
    Click(*c().btnPause);
    probe_.Post(look);
    Click(*c().btnCancel);
    probe_.Post(look);
    form_.SetPosition(20);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "Resume");
    EXPECT_FALSE(seen[1].paused);
    EXPECT_EQ(seen[1].caption, "Pause");
    EXPECT_TRUE(form_.Cancelled());

    // After a cancelled run WaitForOk processes nothing and keeps the flag.
    probe_.Post([] {});
    form_.WaitForOk();
    EXPECT_TRUE(probe_.Queued());
    EXPECT_TRUE(form_.Cancelled());
}

TEST_F(ProgressForm, CloseRequests) {
    StartRun(100);
    HWND h = form_.Handle();
    // The close box during the run hides the window and cancels.
    ::PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    form_.SetPosition(10);
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_TRUE(form_.Cancelled());
    // A close request while Cancelled is set is refused.
    ::ShowWindow(h, SW_SHOWNA);
    ::PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    form_.SetPosition(20);
    EXPECT_TRUE(::IsWindowVisible(h));

    // While "OK" is shown the close box acts as OK.
    TInstProgressForm second;
    second.Show();
    second.SetTotal(100);
    ::PostMessageW(second.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    second.WaitForOk();
    EXPECT_FALSE(::IsWindowVisible(second.Handle()));
    EXPECT_FALSE(second.Cancelled());
}

// A quit request inside any of the three loops ends it as a cancel would,
// and stays posted for the application's loop.
TEST_F(ProgressForm, QuitRequestEndsEachLoop) {
    auto quitTaken = [] {
        MSG msg;
        return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 7;
    };
    StartRun(100);
    ::PostQuitMessage(7);
    form_.SetPosition(10);
    EXPECT_TRUE(form_.Cancelled());
    EXPECT_TRUE(quitTaken());

    TInstProgressForm paused;
    paused.Show();
    paused.SetTotal(100);
    Click(*paused.Controls().btnPause);
    probe_.Post([] { ::PostQuitMessage(7); });
    paused.SetPosition(10);
    EXPECT_TRUE(paused.Cancelled());
    EXPECT_FALSE(paused.Paused());
    EXPECT_TRUE(quitTaken());

    // In the OK wait it acts as OK: the run completed, the flag is as on entry.
    TInstProgressForm waiting;
    waiting.Show();
    ::PostQuitMessage(7);
    waiting.WaitForOk();
    EXPECT_FALSE(waiting.Cancelled());
    EXPECT_TRUE(quitTaken());
}

// A BM_CLICK sent from another thread after a moment, as another program (an
// accessibility tool, a test driver) sends it. Should the waiting loop not
// notice, a message posted to `wake` after three seconds ends its sleep, so
// that the test fails instead of hanging.
class SentClick {
  public:
    SentClick(HWND button, HWND wake) : done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this, button, wake] {
            ::Sleep(200);
            ::SendMessageW(button, BM_CLICK, 0, 0);
            if (::WaitForSingleObject(done_, 3000) == WAIT_TIMEOUT)
                ::PostMessageW(wake, WM_NULL, 0, 0);
        });
    }
    ~SentClick() {
        ::SetEvent(done_);
        thread_.join();
        ::CloseHandle(done_);
    }

  private:
    HANDLE done_;
    std::thread thread_;
};

// A sent message runs inside the message functions, which then answer that
// nothing is posted: each wait must end on it alone, and at once.
TEST_F(ProgressForm, SentClickEndsEachWait) {
    StartRun(100);
    Click(*c().btnPause);  // posted: the pause loop starts inside SetPosition
    ULONGLONG start = ::GetTickCount64();
    {
        SentClick resume(c().btnPause->Handle(), probe_.Handle());
        form_.SetPosition(10);
    }
    EXPECT_LT(::GetTickCount64() - start, 1000u) << "the pause loop slept on";
    EXPECT_FALSE(form_.Paused());

    start = ::GetTickCount64();
    {
        SentClick ok(c().btnCancel->Handle(), probe_.Handle());
        form_.WaitForOk();
    }
    EXPECT_LT(::GetTickCount64() - start, 1000u) << "the OK loop slept on";
    EXPECT_FALSE(form_.Cancelled());
}

// Pause pressed while the items are read: the click only marks the run
// paused, and the first position holds it until Resume.
TEST_F(ProgressForm, PauseWhileReadingHoldsAtTheFirstPosition) {
    StartRun(100);
    Click(*c().btnPause);
    form_.ProcessMessages();  // as the read phase runs it
    EXPECT_TRUE(form_.Paused());
    EXPECT_EQ(c().btnPause->Caption(), "Resume");
    {
        SentClick resume(c().btnPause->Handle(), probe_.Handle());
        form_.SetPosition(10);
    }
    EXPECT_FALSE(form_.Paused()) << "the first position did not hold the run";
    EXPECT_EQ(c().btnPause->Caption(), "Pause");
    EXPECT_EQ(form_.LastShownPosition(), 10);
}

// At the default pace a burst of positions is drawn about 60 times a second;
// the run's total is drawn at once, and a position held back is drawn
// before the OK wait.
TEST(ProgressPacing, FewDrawingsAndExactEnds) {
    TInstProgressForm form;
    form.Show();
    form.SetTotal(1000000);
    const ProgressControls& c = form.Controls();
    int drawings = 0;
    ULONGLONG start = ::GetTickCount64();
    // Bounded in time too: where one drawing takes longer than the interval
    // (an emulated machine), every position is due and 20,000 would take
    // many minutes.
    for (int32_t p = 1; p <= 20000 && ::GetTickCount64() - start < 2000; ++p) {
        form.SetPosition(p);
        drawings += form.LastShownPosition() == p;
    }
    ULONGLONG ms = ::GetTickCount64() - start;
    EXPECT_LE(drawings, int(ms / 16) + 2) << ms << " ms";
    form.SetPosition(999999);
    form.SetPosition(1000000);
    EXPECT_EQ(c.lbStatus->Text(), "1,000,000 of 1,000,000 bytes");

    form.SetPosition(7);  // a cancelled run's last position, held back
    Click(*c.btnCancel);
    form.WaitForOk();
    EXPECT_EQ(c.lbStatus->Text(), "7 of 1,000,000 bytes");
    EXPECT_EQ(c.pbar->Position(), 7);
}

}  // namespace
}  // namespace pellion
