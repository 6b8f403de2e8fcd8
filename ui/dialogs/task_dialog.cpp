#include "ui/dialogs/task_dialog.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>
#include <vector>

#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/optional_api.h"
#include "base/win/system_api.h"
#include "base/win/unique_handle.h"
#include "base/win/wide.h"
#include "ui/dialogs/message_rules.h"
#include "ui/dialogs/task_message_form.h"

namespace pellion {

namespace {

DialogPresentation g_presentation = DialogPresentation::Automatic;

using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

#ifndef _WIN64
static_assert(sizeof(TASKDIALOGCONFIG) == 96, "the system expects the packed 32-bit layout");
#endif

// The common controls this process uses: the side-by-side version 6 when the
// executable's manifest asks for it.
win::UniqueModule LoadCommonControls() {
    return win::UniqueModule(win::LoadSideBySideLibrary(L"comctl32.dll"));
}

// Major file version of a module (the high word of dwFileVersionMS), read
// through version.dll from the system folder; 0 when unknown.
int FileMajorVersion(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = ::GetModuleFileNameW(module, path.data(), DWORD(path.size()));
    if (n == 0 || n >= path.size()) return 0;
    path.resize(n);
    win::UniqueModule version(win::LoadSystemLibrary(L"version.dll"));
    if (!version) return 0;
    auto sizeFn = win::OptionalProc<DWORD(WINAPI*)(LPCWSTR, LPDWORD)>(version.Get(),
                                                                      "GetFileVersionInfoSizeW");
    auto infoFn = win::OptionalProc<BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID)>(
        version.Get(), "GetFileVersionInfoW");
    auto queryFn = win::OptionalProc<BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT)>(
        version.Get(), "VerQueryValueW");
    if (!sizeFn || !infoFn || !queryFn) return 0;
    DWORD handle = 0;
    DWORD size = sizeFn(path.c_str(), &handle);
    if (size == 0) return 0;
    std::vector<BYTE> block(size);
    if (!infoFn(path.c_str(), 0, size, block.data())) return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!queryFn(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    return HIWORD(info->dwFileVersionMS);
}

// Text for the system dialog: escapes rewritten, empty meaning absent.
struct SystemText {
    explicit SystemText(const std::string& text) : wide(win::Widen(SystemDialogText(text))) {}
    const wchar_t* Get() const { return wide.empty() ? nullptr : wide.c_str(); }
    std::wstring wide;
};

// Icons by the system's own constants, which every task dialog knows. The
// question icon has none and goes by handle (a shared system icon).
void SetSystemIcon(TaskDialogIcon icon, TASKDIALOGCONFIG& c) {
    switch (icon) {
        case TaskDialogIcon::Warning:
            c.pszMainIcon = TD_WARNING_ICON;
            break;
        case TaskDialogIcon::Error:
            c.pszMainIcon = TD_ERROR_ICON;
            break;
        case TaskDialogIcon::Information:
            c.pszMainIcon = TD_INFORMATION_ICON;
            break;
        case TaskDialogIcon::Shield:
            c.pszMainIcon = TD_SHIELD_ICON;
            break;
        case TaskDialogIcon::Question:
            c.hMainIcon = ::LoadIconW(nullptr, IDI_QUESTION);
            c.dwFlags |= TDF_USE_HICON_MAIN;
            break;
        default:
            break;
    }
}

// F1 in the system dialog: the application's help at the dialog's context.
// Called from the system's own code, so nothing may escape it.
HRESULT CALLBACK SystemDialogCallback(HWND, UINT notification, WPARAM, LPARAM, LONG_PTR data) {
    try {
        auto* dialog = reinterpret_cast<const TCustomTaskDialog*>(data);
        if (notification == TDN_HELP && dialog->HelpContext != 0)
            win::Application::Instance().ShowHelp(dialog->HelpContext);
    } catch (const std::exception& e) {
        win::Application::Instance().ShowException(e);
    } catch (...) {
        win::Application::Instance().ShowException(std::runtime_error("Unknown error"));
    }
    return S_OK;
}

}  // namespace

void SetDialogPresentation(DialogPresentation p) {
    g_presentation = p;
}
DialogPresentation GetDialogPresentation() {
    return g_presentation;
}

int SystemMajorVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    return ::GetVersionExW(&info) ? int(info.dwMajorVersion) : 0;
}

int CommonControlsMajorVersion() {
    win::UniqueModule comctl = LoadCommonControls();
    return comctl ? FileMajorVersion(comctl.Get()) : 0;
}

bool QuitPending() {
    MSG msg;
    return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

TCustomTaskDialog::TCustomTaskDialog() : Presentation(g_presentation) {}

TCustomTaskDialog::~TCustomTaskDialog() = default;

bool TCustomTaskDialog::UsesOwnWindow() const {
    switch (Presentation) {
        case DialogPresentation::OwnWindow:
            return true;
        case DialogPresentation::SystemTaskDialog:
            return false;
        default:
            break;
    }
    // Read once: neither version changes while the process runs.
    static const bool oldSystem = SystemMajorVersion() < 6 || CommonControlsMajorVersion() < 6;
    return oldSystem;
}

int TCustomTaskDialog::Execute() {
    // The program is ending: showing nothing is the only sound answer.
    if (QuitPending()) return 0;
    // Loaded for good at the first message: the dialog's controls are
    // theirs, and they must not unload under a window of their classes.
    win::lazy::UseCommonControls();
    int result = UsesOwnWindow() ? ExecuteOwnWindow() : ExecuteSystemDialog();
    return QuitPending() ? 0 : result;
}

int TCustomTaskDialog::ExecuteOwnWindow() {
    TTaskMessageForm form(*this);
    return form.ShowModal();
}

int TCustomTaskDialog::ExecuteSystemDialog() {
    win::UniqueModule comctl = LoadCommonControls();
    if (!comctl) return -1;
    auto taskDialog = win::OptionalProc<TaskDialogIndirectFn>(comctl.Get(), "TaskDialogIndirect");
    if (!taskDialog) return -1;

    SystemText title(Title), instruction(Instruction), content(Content);
    std::vector<std::wstring> captions;
    for (const std::string& c : CustomButtons) captions.push_back(win::Widen(c));
    std::vector<TASKDIALOG_BUTTON> buttons(captions.size());
    for (size_t i = 0; i < captions.size(); ++i)
        buttons[i] = {kFirstCustomButton + int(i), captions[i].c_str()};
    std::wstring verification = win::Widen(VerificationText);

    TASKDIALOGCONFIG c{};
    c.cbSize = sizeof(c);
    c.hwndParent = win::Application::Instance().DialogOwner();
    c.pszWindowTitle = title.Get();  // absent: the system shows the exe's name
    c.pszMainInstruction = instruction.Get();
    c.pszContent = content.Get();
    c.dwCommonButtons = CommonButtons & kAllCommonButtons;
    c.cButtons = UINT(buttons.size());
    c.pButtons = buttons.empty() ? nullptr : buttons.data();
    c.nDefaultButton = DefaultButton;
    if (AllowsCancel()) c.dwFlags |= TDF_ALLOW_DIALOG_CANCELLATION;
    if (!verification.empty()) c.pszVerificationText = verification.c_str();
    SetSystemIcon(Icon, c);
    c.pfCallback = SystemDialogCallback;
    c.lpCallbackData = reinterpret_cast<LONG_PTR>(this);

    int button = 0, radio = 0;
    BOOL checked = FALSE;
    if (FAILED(taskDialog(&c, &button, &radio, &checked))) return 0;
    VerificationChecked = checked != FALSE;
    return button;
}

void TCustomTaskDialog::SetText(TaskDialogElement element, const std::string& text) {
    switch (element) {
        case TaskDialogElement::Title:
            Title = text;
            break;
        case TaskDialogElement::Instruction:
            Instruction = text;
            break;
        case TaskDialogElement::Content:
            Content = text;
            break;
    }
    if (form_) form_->ShowText(element, text);
}

}  // namespace pellion
