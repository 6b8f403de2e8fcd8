#pragma once
// The switches that the installer and its uninstaller take, as
// administrators know them from other installers: /S (no window at all),
// /LOG=<file>, /D=<folder> (last: the rest of the line, blanks included)
// and /?. Switches are matched without regard to ASCII case. A value may be
// put in double quotes (/LOG="C:\my logs\run.log"); the quotes go. An
// argument holding "/t" belongs to the start-up gate (the DOSBox notice),
// which reads the whole command line: it is never "not understood".

#include <string>
#include <string_view>

namespace pellion {

struct Switches {
    bool silent = false;    // /S
    bool usage = false;     // /?
    std::string log;        // /LOG=<file>
    std::string folder;     // /D=<folder>
    bool hasFolder = false;
    std::string unknown;    // the first argument not understood

    // Whether any of the switches above was given: a command line without
    // them runs exactly as it always has, whatever else it holds.
    bool Any() const { return silent || usage || !log.empty() || hasFolder; }
    // A command line with a switch of ours and something not understood.
    bool Refused() const { return Any() && !unknown.empty(); }
};

// The arguments of a whole command line: what follows the program's name
// (quoted or not) and the blanks after it.
std::string_view ArgumentsOf(std::string_view commandLine);

Switches ParseSwitches(std::string_view arguments);

}  // namespace pellion
