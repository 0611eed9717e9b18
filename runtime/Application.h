#pragma once
// The application object: the message loop with the keyboard handling of
// forms, the error display and the crossing from other threads.
#include "runtime/ThreadCrossing.h"
#include "runtime/Win.h"

#include <exception>
#include <functional>
#include <string>

namespace rt {

class Form;

class TApplication {
public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    std::string Title;
    Form* MainForm = nullptr;
    bool Terminated() const { return terminated_; }
    void Terminate();

    void Run();                // until the main form closes
    bool HandleMessage();      // waits for and handles one message; false after WM_QUIT
    void ProcessMessages();    // handles what is queued, without waiting
    bool ProcessMessage(MSG& msg);

    // The general error display: an error box titled with the application
    // title; a final "." is added when the text's last character sorts
    // after ".".
    void ShowException(const std::exception& e);
    void HandleException();    // inside a catch block: shows the current error
    std::function<void(const std::string& text)> OnShowException;  // tests listen here

    // A modal message box owned by the active window; the application's
    // other windows are disabled while it shows.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    HWND Handle() const;       // the application's own top-level window
    void Restore();
    void BringToFront();

    // Runs fn on the user-interface thread and waits for it; an error it
    // raises is raised again in the caller. Served inside modal loops and
    // message boxes as well, since it travels as a sent message.
    void Synchronize(const std::function<void()>& fn);
    HWND SyncWindow() const { return crossing_.Handle(); }

private:
    bool HandleKeyboard(MSG& msg);
    ThreadCrossing crossing_;
    bool terminated_ = false;
};

extern TApplication* Application;

}  // namespace rt
