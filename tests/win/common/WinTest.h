#pragma once
// Helpers for the Windows test programs: the application object, message
// pumping, errors caught by the error display, and a watcher thread that
// answers message boxes and dialogs the code under test opens.
#include <functional>
#include <string>
#include <vector>

#include "runtime/Forms.h"

namespace wintest {

// Texts the application's error display was asked to show, oldest first.
std::vector<std::string>& ShownErrors();

// Handles messages for about `ms` milliseconds.
void PumpFor(int ms);
// Handles messages until pred() holds or `timeoutMs` passes; pred's value.
bool PumpUntil(const std::function<bool()>& pred, int timeoutMs);

// Runs fn once on this thread from a timer, about `delayMs` from now; it
// also runs inside modal loops, so it can drive a dialog the test opened.
void RunSoon(std::function<void()> fn, int delayMs = 100);

// A window of this process that is visible, of class cls (or any class when
// empty) and whose caption is title (or any when empty).
HWND FindProcessWindow(const std::string& cls, const std::string& title);
// How many processes run the program file exeName (no folder, any case).
int ProcessesNamed(const std::string& exeName);
// How many top-level windows of any process have the window class cls.
int CountTopWindows(const char* cls);
// The concatenated texts of a dialog's static controls.
std::string DialogText(HWND dialog);
std::string WindowText(HWND h);

// Answers dialogs from a second thread: each time a visible dialog ("#32770")
// of this process appears, `answer` gets its handle and its text and
// returns the command to send (IDOK, IDYES, ...), or 0 to leave it alone.
class DialogWatcher {
public:
    using Answer = std::function<int(HWND dialog, const std::string& text)>;
    explicit DialogWatcher(Answer answer);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;
    // Every dialog text seen, in order.
    std::vector<std::string> Seen();

private:
    struct State;
    State* state_;
};

// Waits until the folder browser `dialog` has the folder named `leaf`
// selected in its tree (the browser selects the initial folder a moment
// after it opens, and on a busy machine the tree takes seconds to fill in);
// false after `timeoutMs`.
bool WaitForBrowserSelection(HWND dialog, const std::string& leaf, int timeoutMs = 20000);

// A program started in its own folder, ended on destruction if it still
// runs.
class ProgramRun {
public:
    explicit ProgramRun(const std::string& exe);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;
    bool Started() const { return pi_.hProcess != nullptr; }
    // Its visible top-level window of class cls, once there is one; nullptr
    // after timeoutMs.
    HWND WindowOfClass(const char* cls, int timeoutMs);
    // Asks the window to close and waits for the program to end.
    bool CloseAndWait(HWND window, int timeoutMs = 30000);
    bool Ended() const;
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION pi_{};
};

// A fresh folder under the test program's folder (removed with its contents
// first if it exists). Ends in "\\".
std::string MakeCleanFolder(const std::string& name);
void WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
std::string TestProgramFolder();

}  // namespace wintest
