#include "base/win/win_error.h"

#include "base/text.h"
#include "base/win/wide.h"

namespace pellion::win {

std::string SystemMessage(unsigned long code) {
    wchar_t* buffer = nullptr;
    DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (n && buffer) text = Narrow(std::wstring_view(buffer, n));
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty()) text = Format("System error %lu (0x%08lX)", code, code);
    return text;
}

void RaiseLastError(const char* api, const std::string& path) {
    DWORD code = ::GetLastError();
    std::string message = Format("%s failed: %s (%lu)", api, SystemMessage(code).c_str(), code);
    if (!path.empty()) message += Format(" [%s]", path.c_str());
    throw EOSError(message, code);
}

void RaiseHResult(const char* api, HRESULT hr) {
    throw EOSError(Format("%s failed: %s (0x%08lX)", api, SystemMessage(unsigned(hr)).c_str(),
                          static_cast<unsigned long>(hr)),
                   static_cast<unsigned long>(hr));
}

}  // namespace pellion::win
