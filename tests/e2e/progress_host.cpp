// A scripted fake install run under the real progress window, so that
// end-to-end scenarios can pause, resume, cancel and close it from another
// process. It writes what it observed to LOG, one line per event, each line
// flushed at once so the scenario can follow the run:
//
//   progress_host LOG FILES MS_PER_FILE
//
//   themed 0|1                       labels drawn transparently or filled
//   write K                          file K is being "written" (a sleep)
//   position K paused 0|1 CAPTION    after SetPosition of file K returned
//   cancelled K                      the run read Cancelled after file K
//   waitforok                        WaitForOk begins
//   done cancelled 0|1 visible 0|1 CAPTION   WaitForOk returned
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/unique_handle.h"
#include "ui/fmiProgress.h"

namespace {

std::wstring g_log;

void Log(const std::string& line) {
    FILE* f = _wfopen(g_log.c_str(), L"ab");
    if (!f) return;
    std::string text = line + "\n";
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

std::string Flag(bool b) {
    return b ? "1" : "0";
}

void Run(pellion::InstallProgress& progress, const pellion::TInstProgressForm& form, int files,
         DWORD msPerFile) {
    const pellion::ProgressControls& c = form.Controls();
    progress.SetProgramName("Pellion");
    progress.SetStage("Installing ...");
    progress.Show();
    progress.SetTotal(files * 1000);
    Log("themed " + Flag(c.lbStage->DrawsTransparent()));
    for (int k = 1; k <= files; ++k) {
        progress.SetCurrentFile("C:\\Pellion\\file" + std::to_string(k) + ".dat");
        Log("write " + std::to_string(k));
        ::Sleep(msPerFile);
        progress.SetPosition(k * 1000);
        Log("position " + std::to_string(k) + " paused " + Flag(form.Paused()) + " " +
            c.btnPause->Caption());
        if (progress.Cancelled()) {
            Log("cancelled " + std::to_string(k));
            break;
        }
    }
    Log("waitforok");
    progress.WaitForOk();
    Log("done cancelled " + Flag(progress.Cancelled()) + " visible " +
        Flag(::IsWindowVisible(form.Handle()) != 0) + " " + c.btnPause->Caption());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    pellion::win::RestrictDllSearch();
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 4) return 2;
    g_log = argv[1];
    int files = _wtoi(argv[2]);
    DWORD msPerFile = DWORD(_wtoi(argv[3]));
    ::LocalFree(argv);
    pellion::win::Application::Instance().Initialize();
    try {
        // Through the factory, as the install run receives it.
        std::unique_ptr<pellion::InstallProgress> progress = pellion::ProgressFormFactory()();
        auto& form = static_cast<pellion::TInstProgressForm&>(*progress);
        Run(*progress, form, files, msPerFile);
    } catch (const std::exception& e) {
        Log(std::string("error ") + e.what());
        return 1;
    }
    return 0;
}
