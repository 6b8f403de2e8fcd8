#include "ui/fmiProgress.h"

#include <chrono>

#include "base/win/application.h"
#include "base/win/dpi.h"
#include "base/win/message_pump.h"
#include "base/win/wide.h"
#include "install/ucargo_text.h"
#include "ui/progress_rules.h"

namespace pellion {

std::string UserThousandsSeparator() {
    // Read here rather than through GetNumberFormat, whose default grouping
    // Wine gets wrong; the locale allows up to three characters.
    wchar_t buffer[8] = {};
    int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 8);
    return n > 1 ? win::Narrow(std::wstring(buffer, size_t(n - 1))) : std::string();
}

namespace {

int64_t MonotonicMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

InstallProgressFactory ProgressFormFactory() {
    return
        []() -> std::unique_ptr<InstallProgress> { return std::make_unique<TInstProgressForm>(); };
}

// ---- operations the install run calls ----------------------------------

void TInstProgressForm::FormCreate() {
    SetPaused(false);
    lastShownPosition_ = -1;  // the first SetPosition always redraws
}

void TInstProgressForm::SetProgramName(const std::string& text) {
    c_.lbProgramName->SetText(text);
    CentreInPanel1(*c_.lbProgramName);
}

void TInstProgressForm::SetStage(const std::string& text) {
    c_.lbStage->SetText(text);
}

void TInstProgressForm::Show() {
    if (!ownsDialogs_) {
        previousDialogOwner_ = win::Application::Instance().SetDialogOwner(Handle());
        ownsDialogs_ = true;
    }
    FormShow();
    CentreOnScreen();
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(Handle());
}

void TInstProgressForm::FormShow() {
    SetCancelled(false);
    DrawPosition(0);
    c_.pbar->SetVisible(false);
    c_.lbFileName->SetVisible(false);
    c_.lbStatus->SetVisible(false);
}

void TInstProgressForm::SetTotal(int32_t total) {
    total_ = uint32_t(total);
    c_.pbar->SetMax(BarValuesFor(0, total_).max);
    c_.pbar->SetVisible(true);
    c_.lbFileName->SetVisible(true);
    c_.lbStatus->SetVisible(true);
    // The new total shows at once, and the file label shows nothing until
    // the first file rather than the text it was designed with.
    DrawPosition(0);
    c_.lbFileName->SetText(std::string());
    fileCount_ = 0;
    // Paints the bar now, with the rest of its panel waiting to be painted
    // (the labels just shown), before the first file is written.
    ::RedrawWindow(c_.GradientPanel1->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TInstProgressForm::SetCurrentFile(const std::string& path) {
    c_.lbFileName->SetText(path);
    ++fileCount_;
    c_.lbFiles->SetText(FilesCountText(fileCount_));
    RightAlignFiles();
}

// The files count's right edge keeps a gap of two "#" from the panel's.
void TInstProgressForm::RightAlignFiles() {
    TStyledLabel& files = *c_.lbFiles;
    files.SetLeft(
        RightAlignedLeft(c_.GradientPanel1->Width(), files.Width(), files.TextWidth("##")));
}

void TInstProgressForm::SetPosition(int32_t position) {
    position_ = position;
    const int64_t now = MonotonicMicroseconds();
    // A pause pressed while the items were read holds the run here, at its
    // first position, so this one is drawn whatever the pace.
    if (!PauseGoesOn()) {
        if (position == lastShownPosition_) return;
        if (lastShownPosition_ >= 0 &&
            !RedrawDue(now, lastDrawnAt_, redrawInterval_, uint32_t(position), total_))
            return;
    }
    lastDrawnAt_ = now;
    DrawPosition(position);
    Pump();
    if (PauseGoesOn()) HoldWhilePaused();
}

void TInstProgressForm::DrawPosition(int32_t position) {
    position_ = lastShownPosition_ = position;
    c_.pbar->SetPosition(BarValuesFor(uint32_t(position), total_).position);
    ShowStatus(position);
}

void TInstProgressForm::WaitForOk() {
    bool saved = cancelled_;
    // A position held back by the pacing is drawn now: the window ends on
    // the run's exact figures.
    if (position_ != lastShownPosition_) DrawPosition(position_);
    c_.btnPause->SetVisible(false);
    c_.btnCancel->SetCaption("OK");
    // Centred in the button bar, also after a change of DPI.
    layout_.Then([this](const DpiScale& s) {
        TGradientButton& ok = *c_.btnCancel;
        RECT panel{};
        ::GetWindowRect(c_.GradientPanel2->Handle(), &panel);
        ok.SetBounds(CenteredLeft(panel.right - panel.left, ok.Width()), s(6), ok.Width(),
                     ok.Height());
    });
    c_.lbStage->SetText("Installation Successful.");
    c_.lbFileName->SetVisible(false);
    // Returns without processing any message when the run was cancelled.
    PumpWhile(&TInstProgressForm::OkAwaited);
    SetCancelled(saved);
}

// ---- internal operations ------------------------------------------------

void TInstProgressForm::SetPaused(bool paused) {
    paused_ = paused;
    c_.btnPause->SetCaption(paused ? "Resume" : "Pause");
}

void TInstProgressForm::SetCancelled(bool cancelled) {
    SetPaused(false);
    cancelled_ = cancelled;
}

void TInstProgressForm::ShowStatus(int32_t position) {
    c_.lbStatus->SetText(ProgressStatusText(uint32_t(position), total_, UserThousandsSeparator()));
    CentreInPanel1(*c_.lbStatus);
}

void TInstProgressForm::CentreInPanel1(TStyledLabel& label) {
    // The panel's outer width, as the centring rule takes it.
    RECT panel{};
    ::GetWindowRect(c_.GradientPanel1->Handle(), &panel);
    label.SetLeft(CenteredLeft(panel.right - panel.left, label.Width()));
}

void TInstProgressForm::ProcessMessages() {
    // While the items are read a Pause click only marks the run paused; the
    // hold begins at the first position, as for a click between two files.
    holdAtNextPosition_ = true;
    Pump();
    holdAtNextPosition_ = false;
}

void TInstProgressForm::Pump() {
    if (!win::ProcessPendingMessages()) SetCancelled(true);
}

// The pause loop and the OK loop. PumpUntil sleeps until the next message
// between rounds instead of polling: Paused and Cancelled change only in
// handlers that message dispatch runs on this thread (sent messages too), so
// waiting for the next message loses nothing the user sees or the run reads,
// and a paused installer, or one waiting for OK, leaves the processor idle.
// A quit request ends the loop as a cancel would and stays posted for the
// application's loop.
void TInstProgressForm::PumpWhile(bool (TInstProgressForm::*condition)() const) {
    if (!win::PumpUntil([&] { return !(this->*condition)(); })) SetCancelled(true);
}

// ---- event handlers -----------------------------------------------------

// Pause and Resume swap the button's click handler: the first click runs
// a nested message loop until the second (AltPauseClick), Cancel or a close
// request clears Paused. The first click is handled inside SetPosition, so
// the run stays suspended between two files until then; a click while the
// items are read starts that loop at the first position.
void TInstProgressForm::btnPauseClick(TGradientButton& sender) {
    sender.SetOnClick([this](TGradientButton& b) { AltPauseClick(b); });
    SetPaused(true);
    if (!holdAtNextPosition_) HoldWhilePaused();
}

void TInstProgressForm::HoldWhilePaused() {
    PumpWhile(&TInstProgressForm::PauseGoesOn);
    // Ended by Cancel or a close request, the button would otherwise keep
    // the resume handler; the next press must pause again.
    c_.btnPause->SetOnClick([this](TGradientButton& b) { btnPauseClick(b); });
}

void TInstProgressForm::AltPauseClick(TGradientButton& sender) {
    SetPaused(false);
    sender.SetOnClick([this](TGradientButton& b) { btnPauseClick(b); });
}

void TInstProgressForm::btnCancelClick(TGradientButton&) {
    SetCancelled(true);
}

// A first close request hides the window and cancels the run; one that
// comes when Cancelled is already set is refused.
void TInstProgressForm::FormCloseQuery(bool& canClose) {
    canClose = !cancelled_;
    SetCancelled(true);
}

LRESULT TInstProgressForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE: {
            bool canClose = true;
            FormCloseQuery(canClose);
            // Closing this secondary window hides it; the run frees it.
            if (canClose) ::ShowWindow(Handle(), SW_HIDE);
            return 0;
        }
        case WM_SIZE:
            LayOutPanels();
            break;
        case win::kDpiChangedMessage: {
            // Moved to a monitor of another scale: the frame at the size
            // Windows suggests, then the controls at the new DPI.
            win::TakeSuggestedRect(Handle(), lp);
            layout_.Rescale(LOWORD(wp));
            return 0;
        }
    }
    return Default(msg, wp, lp);
}

}  // namespace pellion
