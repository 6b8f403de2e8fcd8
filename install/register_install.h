#pragma once
// The uninstaller and the Apps & features entry, for an installer whose
// maker built it with its uninstaller (it then carries the uninstaller as
// the raw resource kUninstallerResource). An installer without it does
// nothing here: no file, no registry key.

#include "install/install_record.h"

namespace pellion {

inline constexpr char kUninstallerResource[] = "rs_Uninst";

// Whether this installer carries its uninstaller.
bool CarriesUninstaller();

// After a complete run (`record.outcome` kInstalled): writes the uninstaller
// into the record's folder, then the entry naming what the run made. Any
// other outcome leaves an existing entry as it was. Answers whether the
// entry was written; failures go to the log only.
bool RegisterInstall(InstallRecord& record);

}  // namespace pellion
