#pragma once
// TInstProgressForm: the progress window of an install run. It shows the
// product, the stage, the file being written, the file count and a bar with
// a byte status line; it lets the user pause, resume and cancel, and at the
// end waits for "OK".
//
// The run does its work on the GUI thread, so this window is also where the
// user interface stays alive: it processes pending messages when it draws a
// changed position (SetPosition, paced to about 60 drawings a second), in
// its two waiting loops (pause and the final OK) and while the run's items
// are read (ProcessMessages). The run stays suspended inside those calls.
//
// Created without an owner and shown without being modal: with the main
// window hidden during a run it is the one window the user sees, with its
// own taskbar button. A close request hides it (and cancels).

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/win/window.h"
#include "install/install_progress.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/gradient_panel.h"
#include "ui/controls/level_progress_bar.h"
#include "ui/controls/styled_label.h"
#include "ui/progress_rules.h"
#include "ui/scaled_layout.h"

namespace pellion {

// The window's controls, named as the layout names them.
struct ProgressControls {
    std::unique_ptr<TGradientPanel> GradientPanel1;  // information area
    std::unique_ptr<TGradientPanel> GradientPanel2;  // button bar
    std::unique_ptr<TStyledLabel> lbStage;
    std::unique_ptr<TStyledLabel> lbProgramName;
    std::unique_ptr<TStyledLabel> lbFileName;
    std::unique_ptr<TStyledLabel> lbFiles;
    std::unique_ptr<TLevelProgressBar> pbar;
    std::unique_ptr<TStyledLabel> lbStatus;
    std::unique_ptr<TGradientButton> btnPause;
    std::unique_ptr<TGradientButton> btnCancel;
};

class TInstProgressForm : public win::Window, public InstallProgress {
  public:
    // Creates the window hidden (FormCreate runs). A changed position is
    // drawn once `redrawInterval` microseconds have passed since the last
    // drawing (0: every change), and the run's last one always.
    explicit TInstProgressForm(int64_t redrawInterval = kRedrawIntervalMicroseconds);
    ~TInstProgressForm() override;

    // InstallProgress, in the order the run calls it.
    void SetProgramName(const std::string& text) override;
    void SetStage(const std::string& text) override;
    void Show() override;
    void SetTotal(int32_t total) override;
    void SetCurrentFile(const std::string& path) override;
    void SetPosition(int32_t position) override;
    // Runs pending messages while the run's items are read; a quit request
    // ends the processing as a cancel would (the request itself stays posted
    // for the application's loop). A Pause pressed meanwhile takes effect at
    // the first SetPosition.
    void ProcessMessages() override;
    bool Cancelled() const override { return cancelled_; }
    void WaitForOk() override;

    void SetPaused(bool paused);
    void SetCancelled(bool cancelled);

    bool Paused() const { return paused_; }
    uint32_t Total() const { return total_; }
    int32_t LastShownPosition() const { return lastShownPosition_; }
    int FileCount() const { return fileCount_; }
    const ProgressControls& Controls() const { return c_; }
    // The scale the window is laid out at (its DPI / 96).
    const DpiScale& Scale() const { return layout_.Scale(); }

  private:
    // Builds the controls as the layout gives them (fmiProgress_layout.cpp).
    void CreateControls();
    void LayOutPanels();

    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void btnPauseClick(TGradientButton& sender);
    void AltPauseClick(TGradientButton& sender);
    void btnCancelClick(TGradientButton& sender);

    // Sets the bar and the status line to `position` and processes pending
    // messages.
    void DrawPosition(int32_t position);
    // Formats the status line for `position` and centres it.
    void ShowStatus(int32_t position);
    void CentreInPanel1(TStyledLabel& label);
    void RightAlignFiles();
    void CentreOnScreen();
    void PumpWhile(bool (TInstProgressForm::*condition)() const);
    // Runs pending messages, a quit request counting as a cancel.
    void Pump();
    // The pause loop: until Resume, Cancel or a close request.
    void HoldWhilePaused();
    bool PauseGoesOn() const { return paused_ && !cancelled_; }
    bool OkAwaited() const { return !cancelled_; }

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    ScaledLayout layout_;
    ProgressControls c_;
    // Once shown, the window owns the run's dialogs: it is disabled while
    // one is up, so Pause cannot start its loop on top of the dialog's.
    bool ownsDialogs_ = false;
    HWND previousDialogOwner_ = nullptr;
    bool paused_ = false;
    bool holdAtNextPosition_ = false;  // set while the items are read
    bool cancelled_ = false;
    uint32_t total_ = 0;
    int32_t lastShownPosition_ = 0;
    int32_t position_ = 0;  // the last one set, drawn or not
    const int64_t redrawInterval_;
    int64_t lastDrawnAt_ = 0;
    int fileCount_ = 0;
};

// What the install run is handed: makes one progress window per run.
InstallProgressFactory ProgressFormFactory();

// The user's locale thousands separator (LOCALE_STHOUSAND), UTF-8.
std::string UserThousandsSeparator();

}  // namespace pellion
