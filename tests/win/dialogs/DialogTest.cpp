#include "tests/win/dialogs/DialogTest.h"

#include "engine/ConvertThread.h"

namespace dialogtest {

void MainWindowTest::SetUp() {
    wintest::ShownErrors().clear();
    new TfrmMain(nullptr);
    frmMain->Show();
    wintest::PumpFor(100);
}

void MainWindowTest::TearDown() {
    delete frmMain;
    delete ConvertProcess;
    ConvertProcess = nullptr;
    wintest::PumpFor(50);
    EXPECT_TRUE(wintest::ShownErrors().empty());
}

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
    if (!timedOut_) {
        running_ = true;
        while (next_ < steps_.size() && steps_[next_]()) ++next_;
        running_ = false;
        if (next_ == steps_.size() || static_cast<int>(deadline_ - GetTickCount()) >= 0) return;
        timedOut_ = true;
        ADD_FAILURE() << "the script stopped at step " << next_ + 1 << " of " << steps_.size();
    }
    if (HWND box = wintest::FindProcessWindow("#32770", "")) PostMessageA(box, WM_CLOSE, 0, 0);
    if (HWND form = wintest::FindProcessWindow(windowClass_, "")) PostMessageA(form, WM_CLOSE, 0, 0);
}

void PostClick(rt::WinControl* control) {
    HWND h = control->Handle();
    const LPARAM at = MAKELPARAM(control->Width() / 2, control->Height() / 2);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(h, WM_LBUTTONUP, 0, at);
}

void PostCloseBox(rt::Form* form) { PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }

POINT WindowCentre(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace dialogtest
