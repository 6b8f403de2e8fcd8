#pragma once
// The installer's run without any window (/S): the same install run as the
// interactive one, with answers and a log behind its interfaces instead of
// dialogs and a progress window. Its exit code says how it ended.

#include "base/command_line.h"

namespace pellion {

// The installer's exit codes. An interactive run always ends with 0, as it
// always has; only the silent run and a refused command line use the rest.
enum InstallerExitCode : int {
    kExitInstalled = 0,
    kExitBadCommandLine = 1,  // a switch of ours with something not understood
    kExitDosBoxMissing = 2,   // 64-bit Windows without DOSBox (or "/t": the notice)
    kExitFolderRefused = 3,   // not on a usable drive, or too long a path
    kExitWriteFailed = 4,     // the folder or a file could not be written
    kExitPayloadUnreadable = 5,
    kExitFailed = 6,          // any other error (a shortcut object, say)
};

// Installs into `switches.folder` (else the default folder) and answers the
// exit code. Every message goes to the log; every question takes the answer
// the README documents: a copy already there is installed over, and the
// desktop shortcut of a 32-bit system is made.
int RunSilent(const Switches& switches);

}  // namespace pellion
