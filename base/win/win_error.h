#pragma once
// Turns a failing Win32 or COM call into an EOSError that names the call,
// the code and, where there is one, the path.

#include <windows.h>

#include <string>

#include "base/errors.h"

namespace pellion::win {

// The system's own text for an error code, without the trailing line break.
std::string SystemMessage(unsigned long code);

[[noreturn]] void RaiseLastError(const char* api, const std::string& path = std::string());
[[noreturn]] void RaiseHResult(const char* api, HRESULT hr);

}  // namespace pellion::win
