// The program entry: one running copy at a time. Files named on the command
// line are converted by the running copy, or by this one once it shows.
#include "app/AppTitle.h"
#include "app/FileList.h"
#include "app/Main.h"
#include "app/ShellFiles.h"
#include "app/SingleInstance.h"
#include "runtime/SystemLibraries.h"

namespace {

// Hands the front (and the files) to the running copy's main window.
void HandToRunningCopy(HWND running, const std::vector<std::string>& files) {
    if (files.empty()) {
        PostMessageA(running, WM_ACTIVATEINSTANCE, 0, 0);
        // The front goes to the window the running copy last had active (a
        // dialog it shows modally, else its main window); making the main
        // window the foreground would make it the last active one.
        SetForegroundWindow(GetLastActivePopup(running));
        return;
    }
    // The running copy may bring itself forward while it answers.
    DWORD pid = 0;
    GetWindowThreadProcessId(running, &pid);
    AllowSetForegroundWindow(pid);
    const std::string joined = filelist::Join(files);
    COPYDATASTRUCT data{kCopyDataFileList, static_cast<DWORD>(joined.size()), const_cast<char*>(joined.data())};
    // It answers at once, even with a dialog open; only a copy that has
    // stopped answering holds this start up, and not for ever.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 30000, &answer);
    // The front goes to what the running copy shows on top (its batch, a
    // dialog), never to a main window a dialog disables.
    SetForegroundWindow(GetLastActivePopup(running));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    rt::LoadLibrariesFromSystemFolderOnly();
    const std::vector<std::string> files = shellfiles::CommandLineFiles(GetCommandLineW());
    instance::SingleInstance instance;
    // Another copy runs: hand it the front (and the files) and end, touching
    // nothing and showing nothing.
    if (!instance.Runs()) {
        if (HWND running = instance.WaitForRunningCopy()) HandToRunningCopy(running, files);
        if (!instance.Runs()) return 0;
    }
    rt::TApplication app;
    app.Title = kProgramTitle;
    try {
        auto* main = new TfrmMain(nullptr);
        app.MainForm = main;
        main->HandOver(files);
        instance.MainWindowReady();
        app.Run();
        delete main;
    } catch (...) {
        app.HandleException();
    }
    return 0;
}
