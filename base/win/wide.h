#pragma once
// The boundary between the program's UTF-8 texts and Windows' UTF-16 ones.
// Every text reaches Windows through a wide (W) function, so characters
// outside the system code page survive (a profile folder named Łukasz on
// code page 1252, say).

#include <string>
#include <string_view>

namespace pellion::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace pellion::win
