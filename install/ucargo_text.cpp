#include "install/ucargo_text.h"

#include "base/text.h"

namespace pellion {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Only the hyphen, 1-9 and the ASCII letters continue a word; the digit 0,
// punctuation and every byte above 127 start a new one.
bool IsWordChar(char c) {
    return c == '-' || (c >= '1' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Index just past the end of the text's separator run that starts at `pos`.
size_t SkipSeparators(std::string_view path, size_t pos) {
    while (pos < path.size() && IsSeparator(path[pos])) ++pos;
    return pos;
}

// Index just past the next separator at or after `pos` (or the length).
size_t PastNextSeparator(std::string_view path, size_t pos) {
    while (pos < path.size() && !IsSeparator(path[pos])) ++pos;
    return pos < path.size() ? pos + 1 : pos;
}

// Length of the part of a path that can never be created: "C:\", "C:",
// "\", "\\server\share\". 0 for a relative path.
size_t RootLength(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') {
        return (path.size() >= 3 && IsSeparator(path[2])) ? 3 : 2;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        size_t afterServer = PastNextSeparator(path, SkipSeparators(path, 0));
        return PastNextSeparator(path, afterServer);
    }
    return (!path.empty() && IsSeparator(path[0])) ? 1 : 0;
}

// Where the run of backslash characters that ends the text begins; its
// length when it ends in none. Walks forward by character: a double-byte
// character cannot be told from its last byte alone.
size_t TrailingBackslashRun(std::string_view text, const AnsiCodePage& codePage) {
    size_t runStart = text.size();
    for (size_t i = 0; i < text.size();) {
        const size_t length = codePage.CharLength(text, i);
        if (length == 1 && text[i] == '\\') {
            if (runStart == text.size()) runStart = i;
        } else {
            runStart = text.size();
        }
        i += length;
    }
    return runStart;
}

}  // namespace

std::string NormalizeFolder(std::string_view path, const AnsiCodePage& codePage) {
    if (path.empty()) return std::string();
    return std::string(path.substr(0, TrailingBackslashRun(path, codePage))) + '\\';
}

std::string StripTrailingBackslashes(std::string_view path, const AnsiCodePage& codePage) {
    return std::string(path.substr(0, TrailingBackslashRun(path, codePage)));
}

std::string FolderPart(std::string_view path) {
    size_t cut = path.find_last_of("\\:");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string FileNamePart(std::string_view path) {
    size_t cut = path.find_last_of("\\:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string FileBaseName(std::string_view path) {
    std::string name = AsciiLowerCase(FileNamePart(path));
    size_t dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

std::string TitleCase(std::string_view text) {
    std::string out = AsciiLowerCase(text);
    if (!out.empty()) out[0] = AsciiUpper(out[0]);
    for (size_t i = 1; i < out.size(); ++i) {
        if (!IsWordChar(out[i - 1])) out[i] = AsciiUpper(out[i]);
    }
    return out;
}

void SplitFirstToken(std::string& list, std::string_view delimiters, std::string& token) {
    // A single delimiter and a set of them come to the same thing: the first
    // character of the list that is any of them ends the token.
    const std::string s = list;
    size_t i = delimiters.empty() ? std::string::npos : s.find_first_of(delimiters);
    if (i == std::string::npos) {
        token = s;
        list.clear();
        return;
    }
    token = s.substr(0, i);
    list = s.substr(i + 1);
}

bool IsAbsolutePath(std::string_view path) {
    return (!path.empty() && path[0] == '\\') || (path.size() >= 2 && path[1] == ':');
}

std::string AbsoluteFolder(std::string_view path, std::string_view currentFolder) {
    if (IsAbsolutePath(path)) return std::string(path);
    return NormalizeFolder(currentFolder) + StripTrailingBackslashes(path);
}

std::vector<std::string> FolderCreationSteps(std::string_view folder) {
    std::vector<std::string> steps;
    size_t pos = RootLength(folder);
    while (pos < folder.size()) {
        pos = SkipSeparators(folder, pos);
        if (pos >= folder.size()) break;
        size_t end = pos;
        while (end < folder.size() && !IsSeparator(folder[end])) ++end;
        steps.emplace_back(folder.substr(0, end));
        pos = end;
    }
    return steps;
}

int CenteredLeft(int parentWidth, int controlWidth) {
    // C++ division truncates toward zero, which is the rule wanted here:
    // (200 - 301) / 2 gives -50, not -51.
    return (parentWidth - controlWidth) / 2;
}

}  // namespace pellion
