#pragma once
// Drives a modal window from inside its own message loop: a thread timer
// runs the steps on the user-interface thread, one after another, and tries
// each again on every tick until it returns true. Clicks are posted, so a
// step never waits inside a nested loop of its own.
#include <functional>
#include <string>
#include <vector>

#include "runtime/Forms.h"

namespace dialogtest {

using Step = std::function<bool()>;

class ModalScript {
public:
    // If the steps have not all run within timeoutMs, the windows of class
    // windowClass and any open system dialog are closed, so that a failing
    // test ends instead of hanging in the modal loop.
    ModalScript(std::string windowClass, std::vector<Step> steps, int timeoutMs = 20000);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool Finished() const { return next_ == steps_.size(); }
    bool TimedOut() const { return timedOut_; }

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
T* FindForm(const char* cls);

// A left click in the middle of a control, as posted mouse input.
void PostClick(rt::WinControl* control);

// The close box of a form: the system command the frame sends.
void PostCloseBox(rt::Form* form);

}  // namespace dialogtest

#include "tests/win/common/WinTest.h"

template <class T>
T* dialogtest::FindForm(const char* cls) {
    HWND h = wintest::FindProcessWindow(cls, "");
    return h ? dynamic_cast<T*>(rt::WinControl::FromHandle(h)) : nullptr;
}
