#pragma once
// The installer's main window: a gradient banner on the left and two pages
// without tabs on the right, the welcome page and the set-up page on which
// the user picks the install folder. It carries the taskbar button; closing
// it ends the program. Its "Install" runs the whole install with the window
// hidden.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/win/unique_handle.h"
#include "base/win/window.h"
#include "install/ucargo.h"
#include "ui/main_window_rules.h"
#include "ui/scaled_layout.h"

namespace pellion {

class TGradientBackdrop;
class TGradientButton;
class TGradientPanel;
class TStyledLabel;
struct FontSpec;

// Whether a copy of the product is in `folder` (its program kVersionedProgram
// exists there) and the version that program records (0 when none).
InstalledVersion ReadInstalledVersion(const std::string& folder);

// Paints the logo onto dc over a w x h area: red fill, a yellow frame whose
// 10-pixel pen (at 96 dpi; `scale` gives the DPI) runs along the outer
// edges, a bold white "V" in the middle.
void DrawLogo(HDC dc, int width, int height, const DpiScale& scale = DpiScale());

// The face Windows substitutes for "MS Shell Dlg 2" (HKLM FontSubstitutes),
// "MS Sans Serif" when none is listed: the logo's font.
std::string ShellDialogFace();

// The drag cursor (an arrow over a small box), made from masks at run time
// at the size of `scale`'s DPI; null when it cannot be made. The caller owns
// it (DestroyIcon).
HCURSOR MakeDragCursor(const DpiScale& scale = DpiScale());

// A plain child window that holds other windows on the form's colour: the
// page control and its pages. Notifications of its children go on to its
// parent.
class ContainerWindow : public win::Window {
  public:
    ContainerWindow(HWND parent, const wchar_t* className, int x, int y, int width, int height,
                    bool visible = true);

  private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// An image that keeps what is painted on it in a bitmap of its own size and
// repaints from that bitmap (also for WM_PRINTCLIENT).
class ImageControl : public win::Window {
  public:
    ImageControl(HWND parent, int x, int y, int width, int height);
    // Moves and sizes the image; a new size starts from an empty bitmap.
    void SetBounds(const ScaledRect& r);
    // A memory DC with the image's bitmap selected, for painting on it once.
    template <typename Paint>
    void Draw(Paint&& paint) {
        win::MemoryDC mem(nullptr);
        win::SelectScope keep(mem.Get(), bitmap_.Get());
        paint(mem.Get(), width_, height_);
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }

  private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    win::UniqueBitmap bitmap_;
    int width_, height_;
};

class tMainForm : public win::Window {
  public:
    // Where the Windows folder comes from (WindowsFolderPath unless a test
    // says otherwise).
    using WindowsFolderSource = std::string (*)();

    // `initialFolder` (from /D=) replaces the default install folder.
    explicit tMainForm(WindowsFolderSource windowsFolder = &WindowsFolderPath,
                       std::string initialFolder = {});
    ~tMainForm() override;

    // Shows the window (centred when it was created) and paints the welcome
    // page, then builds the set-up page (PrepareSetupPage) and gives the
    // focus to the active page.
    void Show();
    // Builds the set-up page, hidden, if it is not built yet. The window is
    // created without it, so that the welcome page shows without waiting for
    // its controls (and the common controls they load); everything that
    // needs the page builds it first.
    void PrepareSetupPage();
    // True when the user answered Cancel to the installed-version question:
    // a quit request is queued and the window must not be shown.
    bool QuitRequested() const { return quitRequested_; }
    // 1 (welcome) or 2 (set-up).
    int ActivePage() const { return activePage_; }
    std::string InstallDir() const;

    void btnSetupClick();
    void btnBrowseClick();
    void btnInstallClick();
    void btnCancelClick();

    // What the folder browser's answer does to the edit: taken (and
    // lower-cased by the edit) only when it differs from the edit's text.
    void TakeBrowsedFolder(const std::string& folder);

    // The scale the window is laid out at (its DPI / 96).
    const DpiScale& Scale() const { return layout_.Scale(); }

    // Test switch: every label of both pages drawn as under the classic style
    // (filled) or as under visual styles (transparent), whatever the system
    // uses.
    void ForceLabelPresentation(bool filled);

  private:
    void FormCreate();
    static RECT CentredFrame(int dpi);
    void FitToDpi();
    void CreateBanner();
    void CreatePages();
    void CreateWelcomePage();
    void CreateSetupPage();
    std::unique_ptr<TGradientButton> AddButton(HWND parent, int x, int y, const char* caption,
                                               void (tMainForm::*click)());
    // An auto-sized label; `parentColor` is what it fills its rectangle with
    // under the classic style.
    std::unique_ptr<TStyledLabel> AddLabel(HWND parent, int x, int y, const std::string& text,
                                           const FontSpec& font, int32_t parentColor);
    void SetActivePage(int page);
    void CheckInstalledVersion();
    bool RunInstallAndReport();
    bool HandleKeyCommand(WPARAM wp);
    static LRESULT CALLBACK EditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                     DWORD_PTR form);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    WindowsFolderSource windowsFolder_;
    std::string initialFolder_;
    // The install folder the window opens with, until the edit holds it.
    std::string folder_;
    ScaledLayout layout_;
    bool quitRequested_ = false;
    // Set from a click on Install until the window is back: clicks queued
    // before it hid are dispatched by the run's own message processing, and
    // none of the window's buttons may act then.
    bool installing_ = false;
    int activePage_ = 1;
    win::UniqueIcon dragCursor_;

    win::UniqueFont editFont_;
    std::unique_ptr<TGradientPanel> GradientPanel1;
    std::unique_ptr<ImageControl> Image1;
    std::unique_ptr<ContainerWindow> PageControl1, TabSheet1, TabSheet2;
    std::unique_ptr<TGradientBackdrop> Backdrop1, Backdrop2;
    std::unique_ptr<TGradientButton> btnSetup, btnCancel, btnBrowse, btnInstall, BtnCancel2;
    std::unique_ptr<TStyledLabel> Label14, Label15, lbP1Progname, lbP1ProgVer;
    std::unique_ptr<TStyledLabel> lbIns1, lbIns2, lbDetails, Label13, Label10;
    HWND edInstallDir = nullptr;
};

}  // namespace pellion
