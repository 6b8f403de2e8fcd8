#include "base/win/application.h"

#include <vector>

#include "base/win/com.h"
#include "base/win/wide.h"

namespace pellion::win {

namespace {
constexpr wchar_t kAppClass[] = L"TApplication";
}

Application& Application::Instance() {
    static Application app;
    return app;
}

void Application::EnsureCom() {
    if (!com_) com_ = std::make_unique<ComApartment>(COINIT_APARTMENTTHREADED);
}

void Application::Initialize() {
    if (appWindow_) return;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kAppClass;
    ::RegisterClassExW(&wc);
    // Never shown: a tool window off the taskbar that only carries the title.
    appWindow_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kAppClass, Widen(title_).c_str(), WS_POPUP, 0,
                                   0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

void Application::SetTitle(const std::string& title) {
    title_ = title;
    if (appWindow_) ::SetWindowTextW(appWindow_, Widen(title).c_str());
}

void Application::Run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (mainWindow_ && ::IsDialogMessageW(mainWindow_, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::string Application::ExeName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n < buffer.size()) return Narrow(std::wstring_view(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

void Application::ShowException(const std::exception& e) {
    if (presenter_) {
        presenter_(e.what());
        return;
    }
    ::MessageBoxW(mainWindow_, Widen(e.what()).c_str(), Widen(title_).c_str(),
                  MB_OK | MB_ICONERROR);
}

bool Application::ShowHelp(int context) {
    if (!help_) return false;
    help_(context);
    return true;
}

}  // namespace pellion::win
