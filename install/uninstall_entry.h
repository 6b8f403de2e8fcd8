#pragma once
// The Apps & features entry in the user's registry (kUninstallKey under
// HKEY_CURRENT_USER): written after a complete install, read and removed by
// the uninstaller.

#include "install/uninstall_rules.h"

namespace pellion {

// Creates the key or replaces its values. Answers whether every value was
// stored.
bool WriteUninstallEntry(const UninstallEntry& entry);

// Reads the entry back (the values an uninstaller needs: location, strings,
// files, shortcuts); false when there is no entry.
bool ReadUninstallEntry(UninstallEntry& entry);

// Removes the key with its values; true when no entry is left. On false
// the thread's last error is the registry's code.
bool DeleteUninstallEntry();

}  // namespace pellion
