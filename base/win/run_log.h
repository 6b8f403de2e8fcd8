#pragma once
// The log that /LOG=<file> asks for: one UTF-8 line per event, each with the
// local time, written through at once so that a killed run leaves what it
// did. Without OpenRunLog every call does nothing. A log that cannot be
// created or written is dropped silently: it never stops or changes a run.

#include <string>

namespace pellion::win {

// Creates (or empties) the log at `path`; later lines go there.
void OpenRunLog(const std::string& path);

// Whether lines are being written.
bool RunLogOpen();

// Writes one line: "YYYY-MM-DD hh:mm:ss.mmm <text>" and CR LF.
void LogLine(const std::string& text);

// LogLine with printf-style formatting.
void LogFormat(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace pellion::win
