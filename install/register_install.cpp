#include "install/register_install.h"

#include <windows.h>

#include "base/win/run_log.h"
#include "base/win/wide.h"
#include "base/win/win_error.h"
#include "install/ucargo.h"
#include "install/uninstall_entry.h"
#include "install/uninstall_rules.h"
#include "payload/payload_reader.h"

namespace pellion {

bool CarriesUninstaller() {
    return ::FindResourceW(nullptr, win::Widen(kUninstallerResource).c_str(),
                           MAKEINTRESOURCEW(10) /* RT_RCDATA */) != nullptr;
}

bool RegisterInstall(InstallRecord& record) {
    if (record.outcome != RunOutcome::kInstalled || !CarriesUninstaller()) return false;
    const std::string uninstaller = record.folder + kUninstallerFile;
    const std::string program = ReadRawResource(kUninstallerResource);
    if (!WriteWholeFile(uninstaller, program)) {
        win::LogFormat("could not write %s: %s; no Apps & features entry", uninstaller.c_str(),
                       win::SystemMessage(::GetLastError()).c_str());
        return false;
    }
    win::LogFormat("wrote %s, %u bytes", kUninstallerFile, unsigned(program.size()));
    record.AddFile(kUninstallerFile, program.size());

    SYSTEMTIME today;
    ::GetLocalTime(&today);
    const bool written = WriteUninstallEntry(
        MakeUninstallEntry(record, {today.wYear, today.wMonth, today.wDay}));
    win::LogFormat(written ? "wrote the Apps & features entry HKCU\\%s"
                           : "could not write the Apps & features entry HKCU\\%s",
                   kUninstallKey);
    return written;
}

}  // namespace pellion
