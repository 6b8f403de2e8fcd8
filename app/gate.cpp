#include "app/gate.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/gate_rules.h"
#include "base/text.h"
#include "base/win/run_log.h"
#include "base/win/system_api.h"
#include "base/win/unique_handle.h"
#include "base/win/wide.h"
#include "install/dosbox_path.h"
#include "install/ucargo.h"
#include "install/ucargo_text.h"
#include "ui/dialogs/dialogs.h"

namespace pellion {

// The notice's flags are written as the number the product uses.
static_assert(kNoticeFlags == (MB_OKCANCEL | MB_ICONEXCLAMATION), "OK and Cancel, warning icon");

bool ShowDosBoxNotice() {
    if (MessageBoxDialog(nullptr, kNoticeText, kNoticeCaption, kNoticeFlags) == IDOK) {
        // Whether the browser could be started is not examined: the program
        // ends either way.
        win::lazy::ShellExecuteW(nullptr, L"open", win::Widen(kDosBoxPage).c_str(), L"", L"",
                                 SW_SHOWNORMAL);
    }
    return false;
}

bool FindDosBox(std::string& path) {
    std::string root = AsciiLowerCase(NormalizeFolder(SpecialFolderPath(CSIDL_PROGRAM_FILES)));
    path.clear();
    if (!root.empty()) {
        WIN32_FIND_DATAW entry;
        win::UniqueFind find(::FindFirstFileW(win::Widen(root + "*.*").c_str(), &entry));
        if (find) {
            do {
                // Folders and ordinary files take part; hidden and system
                // entries are passed over.
                if (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
                    continue;
                std::string name = win::Narrow(entry.cFileName);
                if (IsDosBoxEntry(name)) {
                    path = DosBoxExePath(root, name);
                    break;
                }
            } while (::FindNextFileW(find.Get(), &entry));
        }
    }
    return !path.empty() && FileExists(path);
}

namespace {

void LogVerdict(GateVerdict verdict) {
    switch (verdict) {
        case GateVerdict::kGo:
            if (DosBoxPath.empty())
                win::LogLine("gate: 32-bit Windows, DOSBox not needed");
            else
                win::LogFormat("gate: DOSBox found at %s", DosBoxPath.c_str());
            break;
        case GateVerdict::kDosBoxMissing:
            win::LogLine("gate: 64-bit Windows without DOSBox under Program Files");
            break;
        case GateVerdict::kNoticeRequested:
            win::LogLine("gate: \"/t\" on the command line asks for the DOSBox notice");
            break;
    }
}

}  // namespace

GateVerdict CheckGate() {
    GateVerdict verdict = GateVerdict::kGo;
    if (Is64BitWindows() && !FindDosBox(DosBoxPath))
        verdict = GateVerdict::kDosBoxMissing;
    else if (CommandLineForcesNotice(win::Narrow(::GetCommandLineW())))
        verdict = GateVerdict::kNoticeRequested;
    LogVerdict(verdict);
    return verdict;
}

bool StartupGate() {
    return CheckGate() == GateVerdict::kGo || ShowDosBoxNotice();
}

}  // namespace pellion
