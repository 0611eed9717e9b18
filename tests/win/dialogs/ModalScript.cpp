#include "tests/win/dialogs/ModalScript.h"

namespace dialogtest {

namespace {
ModalScript* current = nullptr;
}

ModalScript::ModalScript(std::string windowClass, std::vector<Step> steps, int timeoutMs)
    : windowClass_(std::move(windowClass)),
      steps_(std::move(steps)),
      deadline_(GetTickCount() + static_cast<DWORD>(timeoutMs)) {
    current = this;
    timer_ = SetTimer(nullptr, 0, 30, &ModalScript::Tick);
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, timer_);
    current = nullptr;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current) current->RunSteps();
}

void ModalScript::RunSteps() {
    if (running_) return;
    running_ = true;
    while (next_ < steps_.size() && steps_[next_]()) ++next_;
    running_ = false;
    if (!Finished() && static_cast<int>(deadline_ - GetTickCount()) < 0) {
        timedOut_ = true;
        if (HWND box = wintest::FindProcessWindow("#32770", "")) PostMessageA(box, WM_CLOSE, 0, 0);
        if (HWND form = wintest::FindProcessWindow(windowClass_, "")) PostMessageA(form, WM_CLOSE, 0, 0);
    }
}

void PostClick(rt::WinControl* control) {
    HWND h = control->Handle();
    const LPARAM at = MAKELPARAM(control->Width() / 2, control->Height() / 2);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(h, WM_LBUTTONUP, 0, at);
}

void PostCloseBox(rt::Form* form) { PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }

}  // namespace dialogtest
