#pragma once
// Text rules shared by every subsystem. Texts are UTF-8 byte strings; case
// changes and character classes touch the ASCII letters only, so bytes of
// multi-byte characters always pass through unchanged.

#include <cstdarg>
#include <string>
#include <string_view>

namespace pellion {

inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

std::string AsciiLowerCase(std::string_view text);
std::string AsciiUpperCase(std::string_view text);

// printf-style formatting into a std::string (%s takes const char*, %d int).
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
std::string FormatV(const char* format, va_list args);

// Length of a UTF-8 text in UTF-16 code units, the units of Windows' path
// limits: a character above U+FFFF counts twice.
size_t Utf16Length(std::string_view utf8);

// Replaces every occurrence of `from` in `text` by `to`, left to right,
// without rescanning replaced text.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace pellion
