#pragma once
// The uninstaller's run: what it finds before removing anything (its own
// folder, the installation record, the folders it refuses), then the
// removal itself. Shows nothing: the caller tells the user (or, silent,
// nobody) from the answers, and the run log receives every step.

#include <string>

#include "install/uninstall_rules.h"
#include "install/uninstall_text.h"

namespace pellion {

// What the uninstaller found before removing anything.
struct UninstallTask {
    std::string selfPath;  // the running uninstaller, long form
    std::string folder;    // its folder, normal form
    RemovalPlan plan;
    // Not kUninstallRemoved: nothing is to be removed, `message` says why.
    int stopCode = kUninstallRemoved;
    std::string message;
};

// Reads the record and checks the folder; removes nothing.
UninstallTask PrepareUninstall();

struct UninstallOutcome {
    int exitCode = kUninstallRemoved;
    std::string message;  // the closing message
};

// Removes what `task` plans (a prepared task without a stop code). On
// success the entry is gone and the cleaner has been started to remove the
// uninstaller's own file and the folder, if empty, once this process ends.
// On failure the entry and the uninstaller stay for another try.
UninstallOutcome CarryOutUninstall(const UninstallTask& task);

}  // namespace pellion
