#pragma once
// The uninstaller's own removal. Windows (and Wine) refuse to delete the
// file of a running program, so the uninstaller starts a copy of itself
// from the temporary folder, the cleaner, which waits for the uninstaller
// to end, deletes its file and removes the folder if nothing else is left
// in it. The copy deletes itself: it is held open with
// FILE_FLAG_DELETE_ON_CLOSE until the cleaner has started, and the system
// deletes it once the cleaner, its last user, has ended.

#include <string>

#include "install/uninstall_text.h"

namespace pellion {

// Starts the cleaner for the uninstaller in `folder` (normal form). It
// inherits a handle to this process and runs in the temporary folder, so
// that no process keeps `folder` as its current folder. Answers whether it
// was started; when not, the uninstaller and the folder stay (logged).
bool StartCleaner(const std::string& folder);

// The cleaner's whole run; shows nothing. Answers its exit code: 0 when
// the uninstaller's file is gone, 1 otherwise.
int RunCleaner(const CleanupRequest& request);

}  // namespace pellion
