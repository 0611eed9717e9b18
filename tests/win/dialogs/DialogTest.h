#pragma once
// Helpers for the tests of the secondary dialogs: the main window they are
// opened from, and a script that drives a modal window from inside its own
// message loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "tests/win/common/WinTest.h"

namespace dialogtest {

// A shown main window for each test; it is destroyed without closing, so
// that the tests never write the settings file.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

using Step = std::function<bool()>;

// A thread timer runs the steps on the user-interface thread, one after
// another, and tries each again on every tick until it returns true. Clicks
// are posted, so a step never waits inside a nested loop of its own.
class ModalScript {
public:
    // If the steps have not all run within timeoutMs, any open system
    // dialog and the window of class windowClass are closed, so that a
    // failing test ends instead of hanging in the modal loop.
    ModalScript(std::string windowClass, std::vector<Step> steps, int timeoutMs = 20000);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool Finished() const { return !timedOut_ && next_ == steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunSteps();

    std::string windowClass_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    DWORD deadline_;
    UINT_PTR timer_;
    bool running_ = false;
    bool timedOut_ = false;
};

// The form whose window is the visible window of class cls, or null.
template <class T>
T* FindForm(const char* cls) {
    HWND h = wintest::FindProcessWindow(cls, "");
    return h ? dynamic_cast<T*>(rt::WinControl::FromHandle(h)) : nullptr;
}

// A left click in the middle of a control, as posted mouse input.
void PostClick(rt::WinControl* control);

// The close box of a form: the system command the frame sends.
void PostCloseBox(rt::Form* form);

// The centre of a window on the screen.
POINT WindowCentre(HWND h);

}  // namespace dialogtest
