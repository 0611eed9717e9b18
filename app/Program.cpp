// The program entry: one running copy at a time.
#include "app/AppTitle.h"
#include "app/Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Another copy is running: hand it the front and end, touching nothing.
    if (HWND running = FindWindowA(kMainWindowClass, nullptr)) {
        PostMessageA(running, WM_ACTIVATEINSTANCE, 0, 0);
        // The front goes to the window the running copy last had active (a
        // dialog it shows modally, else its main window); making the main
        // window the foreground would make it the last active one.
        SetForegroundWindow(GetLastActivePopup(running));
        return 0;
    }
    rt::TApplication app;
    app.Title = kProgramTitle;
    try {
        auto* main = new TfrmMain(nullptr);
        app.MainForm = main;
        app.Run();
        delete main;
    } catch (...) {
        app.HandleException();
    }
    return 0;
}
