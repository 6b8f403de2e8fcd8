// "Browse": the shell's folder browser, centred on the monitor nearest the
// main window, starting at the folder shown in the edit.
#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "base/win/application.h"
#include "base/win/system_api.h"
#include "base/win/wide.h"
#include "ui/tfmMain.h"

namespace pellion {

namespace {

constexpr char kBrowseText[] =
    "Change Install Folder. Standard Tovarin folders are kx and tovarin\\kx. To install directly "
    "to a Tovarin flash drive, select the drive, then the kx folder.";
// BIF_NEWDIALOGSTYLE | BIF_RETURNONLYFSDIRS.
constexpr UINT kBrowseFlags = 0x41;

struct BrowseState {
    HWND mainWindow;
    std::wstring folder;
};

// Moves the dialog to the middle of the monitor nearest the main window.
void CenterOnMonitor(HWND dialog, HWND mainWindow) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (!::GetMonitorInfoW(::MonitorFromWindow(mainWindow, MONITOR_DEFAULTTONEAREST), &mi)) return;
    RECT r;
    ::GetWindowRect(dialog, &r);
    int mw = mi.rcMonitor.right - mi.rcMonitor.left, mh = mi.rcMonitor.bottom - mi.rcMonitor.top;
    // Offset by the monitor's own origin, so that a second monitor gets the
    // dialog in its middle too (on the primary monitor the origin is 0,0).
    int x = mi.rcMonitor.left + (mw - (r.right - r.left)) / 2;
    int y = mi.rcMonitor.top + (mh - (r.bottom - r.top)) / 2;
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM, LPARAM data) {
    if (msg != BFFM_INITIALIZED) return 0;
    auto* state = reinterpret_cast<BrowseState*>(data);
    CenterOnMonitor(dialog, state->mainWindow);
    if (!state->folder.empty())
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                       reinterpret_cast<LPARAM>(state->folder.c_str()));
    return 0;
}

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM lp) {
    if (::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd))
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

// The application's other windows are disabled while a modal window of the
// shell is open, and enabled again when it closes.
class DisabledTaskWindows {
  public:
    DisabledTaskWindows() {
        ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabled,
                            reinterpret_cast<LPARAM>(&windows_));
        for (HWND h : windows_) ::EnableWindow(h, FALSE);
    }
    ~DisabledTaskWindows() {
        for (HWND h : windows_)
            if (::IsWindow(h)) ::EnableWindow(h, TRUE);
    }
    DisabledTaskWindows(const DisabledTaskWindows&) = delete;
    DisabledTaskWindows& operator=(const DisabledTaskWindows&) = delete;

  private:
    std::vector<HWND> windows_;
};

// The chosen folder, or `start` when the user cancelled.
std::wstring RunBrowser(HWND mainWindow, const std::wstring& start) {
    BrowseState state{mainWindow, start};
    std::wstring title = win::Widen(kBrowseText);
    HWND owner = win::Application::Instance().Handle();
    BROWSEINFOW bi{};
    bi.hwndOwner = owner ? owner : mainWindow;
    bi.lpszTitle = title.c_str();
    bi.ulFlags = kBrowseFlags;
    bi.lpfn = &BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(&state);
    // The browser is a COM client of the shell.
    win::Application::Instance().EnsureCom();
    PIDLIST_ABSOLUTE chosen;
    {
        DisabledTaskWindows disabled;
        chosen = win::lazy::SHBrowseForFolderW(&bi);
    }
    if (!chosen) return start;
    wchar_t path[MAX_PATH] = {};
    bool ok = win::lazy::SHGetPathFromIDListW(chosen, path);
    win::lazy::CoTaskMemFree(chosen);
    return ok ? std::wstring(path) : start;
}

}  // namespace

void tMainForm::btnBrowseClick() {
    if (installing_) return;
    std::string folder = win::Narrow(RunBrowser(Handle(), win::Widen(InstallDir())));
    TakeBrowsedFolder(folder);
    if (!::IsWindowVisible(Handle())) return;
    // The browser went away while this window was still disabled, so Windows
    // may have activated another program's window: the user goes on here.
    ::SetForegroundWindow(Handle());
    ::SetFocus(edInstallDir);
}

}  // namespace pellion
