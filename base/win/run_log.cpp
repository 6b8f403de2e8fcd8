#include "base/win/run_log.h"

#include <windows.h>

#include <cstdarg>

#include "base/text.h"
#include "base/win/unique_handle.h"
#include "base/win/wide.h"

namespace pellion::win {

namespace {

// One log for the process; the GUI thread writes it, worker threads never do.
UniqueFile& LogFile() {
    static UniqueFile file;
    return file;
}

}  // namespace

void OpenRunLog(const std::string& path) {
    // Readable by others while the run goes on (a tail in another window).
    LogFile().Reset(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool RunLogOpen() {
    return LogFile().Valid();
}

void LogLine(const std::string& text) {
    if (!RunLogOpen()) return;
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    std::string line = Format("%04u-%02u-%02u %02u:%02u:%02u.%03u ", t.wYear, t.wMonth, t.wDay,
                              t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    // A message's own line breaks become one log line each, indented.
    for (char c : text) {
        if (c == '\r') continue;
        line += c == '\n' ? std::string("\r\n    ") : std::string(1, c);
    }
    line += "\r\n";
    DWORD written = 0;
    if (!::WriteFile(LogFile().Get(), line.data(), DWORD(line.size()), &written, nullptr) ||
        written != line.size())
        LogFile().Reset();  // a full disk: the run goes on without its log
}

void LogFormat(const char* format, ...) {
    if (!RunLogOpen()) return;
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    LogLine(text);
}

}  // namespace pellion::win
