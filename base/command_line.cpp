#include "base/command_line.h"

#include "base/text.h"

namespace pellion {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// One argument from the front of `rest`: up to the next blank outside
// double quotes, the quotes dropped.
std::string NextArgument(std::string_view& rest) {
    std::string arg;
    bool quoted = false;
    size_t i = 0;
    for (; i < rest.size() && (quoted || !IsBlank(rest[i])); ++i) {
        if (rest[i] == '"')
            quoted = !quoted;
        else
            arg += rest[i];
    }
    rest.remove_prefix(i);
    return arg;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           AsciiLowerCase(text.substr(0, prefix.size())) == AsciiLowerCase(prefix);
}

}  // namespace

std::string_view ArgumentsOf(std::string_view commandLine) {
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t close = commandLine.find('"', 1);
        i = close == std::string_view::npos ? commandLine.size() : close + 1;
    }
    while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
    return TrimBlanks(commandLine.substr(i));
}

Switches ParseSwitches(std::string_view arguments) {
    Switches s;
    std::string_view rest = TrimBlanks(arguments);
    while (!rest.empty()) {
        // "/D=..." or, from a caller that quotes whatever holds a blank,
        // "\"/D=...\"".
        const bool quotedFolder = StartsWithNoCase(rest, "\"/D=");
        if (quotedFolder || StartsWithNoCase(rest, "/D=")) {
            // The rest of the line, as typed: a folder may hold blanks.
            std::string_view folder = TrimBlanks(rest.substr(quotedFolder ? 4 : 3));
            if (quotedFolder && !folder.empty() && folder.back() == '"') folder.remove_suffix(1);
            if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
                folder = folder.substr(1, folder.size() - 2);
            s.folder = std::string(folder);
            s.hasFolder = !s.folder.empty();
            if (!s.hasFolder && s.unknown.empty()) s.unknown = "/D=";
            break;
        }
        const std::string arg = NextArgument(rest);
        rest = TrimBlanks(rest);
        const std::string lower = AsciiLowerCase(arg);
        if (lower == "/s")
            s.silent = true;
        else if (lower == "/?")
            s.usage = true;
        else if (StartsWithNoCase(arg, "/LOG=") && arg.size() > 5)
            s.log = arg.substr(5);
        // "/t" is the DOSBox notice's, which the gate finds in the whole line.
        else if (s.unknown.empty() && lower.find("/t") == std::string::npos)
            s.unknown = arg;
    }
    return s;
}

}  // namespace pellion
