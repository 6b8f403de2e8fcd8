#include "ui/tfmMain.h"

#include <utility>

#include "base/text.h"
#include "base/win/dpi.h"
#include "base/win/system_api.h"
#include "base/win/wide.h"
#include "install/ucargo.h"
#include "ui/controls/gradient_backdrop.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/gradient_panel.h"
#include "ui/controls/styled_label.h"
#include "ui/dialogs/dialogs.h"

namespace pellion {

namespace {
constexpr wchar_t kClassName[] = L"tMainForm";
constexpr int kClientWidth = 685;
constexpr int kClientHeight = 400;
// Fixed single border: no sizing frame, no maximize box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
}  // namespace

tMainForm::tMainForm(WindowsFolderSource windowsFolder, std::string initialFolder)
    : windowsFolder_(windowsFolder), initialFolder_(std::move(initialFolder)) {
    static HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));  // lives as long as the class
    RegisterClassOnce(kClassName, CS_HREDRAW | CS_VREDRAW, red);
    // Created in place at the screen's DPI; placed again only when Windows
    // gives the window another one.
    const int dpi = win::WindowDpi(nullptr);
    const RECT frame = CentredFrame(dpi);
    Create(kExStyle, kClassName, Format("Tovarin %s Installer", kProductName), kStyle, frame.left,
           frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr);
    if (win::WindowDpi(Handle()) == dpi)
        layout_ = ScaledLayout(dpi);
    else
        FitToDpi();
    layout_.Then([this](const DpiScale& s) {
        // A cursor on show is replaced on screen before it is destroyed.
        HCURSOR next = MakeDragCursor(s);
        if (dragCursor_ && ::GetCursor() == dragCursor_.Get()) ::SetCursor(next);
        dragCursor_.Reset(next);
    });
    CreateBanner();
    CreatePages();
    FormCreate();
}

tMainForm::~tMainForm() = default;

// The frame for the client area at `dpi`, centred on the screen.
RECT tMainForm::CentredFrame(int dpi) {
    const DpiScale s(dpi);
    SIZE size = win::OuterSizeForClient(s(kClientWidth), s(kClientHeight), kStyle, kExStyle, dpi);
    int x = (::GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    int y = (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    return RECT{x, y, x + size.cx, y + size.cy};
}

// The window's size at the DPI of the monitor it was created on, centred on
// the screen when first shown.
void tMainForm::FitToDpi() {
    layout_ = ScaledLayout(win::WindowDpi(Handle()));
    const RECT r = CentredFrame(layout_.Scale().Dpi());
    ::SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void tMainForm::FormCreate() {
    SetActivePage(1);
    // The texts are given when the window and its labels are created, each
    // label then sized once; here they are centred.
    layout_.Then([this](const DpiScale&) {
        for (TStyledLabel* label : {lbIns1.get(), lbIns2.get(), lbP1Progname.get(), lbP1ProgVer.get()})
            CenterInParent(label->Handle());
    });
    folder_ = !initialFolder_.empty()
                  ? initialFolder_
                  : DefaultInstallFolder(windowsFolder_(), [](const std::string& path) {
                        return DirectoryExists(path);
                    });
    CheckInstalledVersion();
}

void tMainForm::CheckInstalledVersion() {
    std::string question = InstalledVersionQuestion(ReadInstalledVersion(InstallDir()));
    if (question.empty()) return;
    // Cancel, Escape and the close box all answer 2; a dialog that could not
    // be shown answers 0 and the window opens as after Yes.
    if (MessageDialog(question, mtWarning, Buttons({mbYes, mbCancel}), 0) == 2) {
        // The application's loop has not started yet: it meets the quit
        // request first and ends without showing the window.
        ::PostQuitMessage(1);
        quitRequested_ = true;
    }
}

void tMainForm::Show() {
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(Handle());
    PrepareSetupPage();
    if (activePage_ == 2) ::SetFocus(edInstallDir);
}

void tMainForm::PrepareSetupPage() {
    if (edInstallDir) return;
    CreateSetupPage();
    win::SetWindowTextUtf8(edInstallDir, folder_);
}

// The edit's text once it exists; before, the folder as the edit will show
// it (in lower case).
std::string tMainForm::InstallDir() const {
    if (edInstallDir) return win::GetWindowTextUtf8(edInstallDir);
    std::wstring folder = win::Widen(folder_);
    ::CharLowerBuffW(folder.data(), DWORD(folder.size()));
    return win::Narrow(folder);
}

void tMainForm::SetActivePage(int page) {
    if (page == 2) PrepareSetupPage();
    activePage_ = page;
    // Show the new page before hiding the old one, so nothing of the form's
    // background flashes between them.
    ContainerWindow* shown = (page == 1 ? TabSheet1 : TabSheet2).get();
    ContainerWindow* hidden = (page == 1 ? TabSheet2 : TabSheet1).get();
    ::ShowWindow(shown->Handle(), SW_SHOW);
    if (hidden) ::ShowWindow(hidden->Handle(), SW_HIDE);  // the set-up page may be unbuilt
    // The edit is the only control that takes the focus, and it is on page 2.
    if (page == 2 && ::IsWindowVisible(Handle())) ::SetFocus(edInstallDir);
}

void tMainForm::btnSetupClick() {
    if (installing_) return;
    SetActivePage(2);
}

void tMainForm::btnCancelClick() {
    if (installing_) return;
    // Posted: the clicked button is still inside its click handler.
    ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void tMainForm::TakeBrowsedFolder(const std::string& folder) {
    PrepareSetupPage();
    if (folder != InstallDir()) win::SetWindowTextUtf8(edInstallDir, folder);
}

// The edit passes Alt+B on to the form: otherwise the system would take it
// for a menu key.
LRESULT CALLBACK tMainForm::EditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                     DWORD_PTR form) {
    if (msg == WM_SYSCHAR && (wp == 'b' || wp == 'B'))
        return ::SendMessageW(reinterpret_cast<tMainForm*>(form)->Handle(), msg, wp, lp);
    if (msg == WM_NCDESTROY) win::lazy::RemoveWindowSubclass(edit, &tMainForm::EditProc, id);
    return win::lazy::DefSubclassProc(edit, msg, wp, lp);
}

// Enter, Escape (from the dialog manager, as IDOK and IDCANCEL) and Alt+B:
// the drawn buttons never take the focus, so the keyboard reaches them here.
bool tMainForm::HandleKeyCommand(WPARAM wp) {
    switch (LOWORD(wp)) {
        case IDOK:
            if (activePage_ == 1)
                btnSetupClick();
            else
                btnInstallClick();
            return true;
        case IDCANCEL:
            btnCancelClick();
            return true;
    }
    return false;
}

LRESULT tMainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (lp == 0 && HandleKeyCommand(wp)) return 0;
            break;
        case WM_SYSCHAR:
            // Alt+B, here or passed on by the edit.
            if (wp == 'b' || wp == 'B') {
                if (activePage_ == 2) btnBrowseClick();
                return 0;
            }
            break;
        case WM_SETCURSOR: {
            HWND over = reinterpret_cast<HWND>(wp);
            HWND banner = GradientPanel1 ? GradientPanel1->Handle() : nullptr;
            if (dragCursor_ && LOWORD(lp) == HTCLIENT &&
                (over == banner || ::IsChild(banner, over))) {
                ::SetCursor(dragCursor_.Get());
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLOREDIT:
            ::SetTextColor(reinterpret_cast<HDC>(wp), RGB(0, 0, 0));
            ::SetBkColor(reinterpret_cast<HDC>(wp), ::GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && activePage_ == 2) {
                ::SetFocus(edInstallDir);
                return 0;
            }
            break;
        case win::kDpiChangedMessage: {
            // Moved to a monitor of another scale: the controls first, then
            // the frame at the size Windows suggests.
            layout_.Rescale(LOWORD(wp));
            win::TakeSuggestedRect(Handle(), lp);
            return 0;
        }
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
    }
    return Default(msg, wp, lp);
}

}  // namespace pellion
