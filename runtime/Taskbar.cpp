#include "runtime/Taskbar.h"

#include <shobjidl.h>

namespace rt {

namespace {

// The shell's taskbar list. It is made on first use, not at start-up: the
// shell answers only once the button exists, and by the time a batch runs
// the main window has long been shown. Failures are dropped silently: the
// button is decoration, and a shell without a taskbar (or one that cannot
// draw progress) must not stop a conversion.
class ShellTaskbar : public TaskbarButton {
public:
    ~ShellTaskbar() override {
        if (list_) list_->Release();
    }

    void SetProgressValue(HWND window, unsigned long long completed, unsigned long long total) override {
        if (ITaskbarList3* list = List()) list->SetProgressValue(window, completed, total);
    }

    void SetProgressState(HWND window, TaskbarState state) override {
        if (ITaskbarList3* list = List()) {
            TBPFLAG flag = TBPF_NOPROGRESS;
            if (state == TaskbarState::Normal) flag = TBPF_NORMAL;
            if (state == TaskbarState::Error) flag = TBPF_ERROR;
            list->SetProgressState(window, flag);
        }
    }

    void Flash(HWND window) override {
        FLASHWINFO info{sizeof info, window, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
        FlashWindowEx(&info);
    }

private:
    ITaskbarList3* List() {
        if (!tried_) {
            tried_ = true;
            // COM stays initialised for the user-interface thread's life.
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            void* made = nullptr;
            if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                           &made))) {
                list_ = static_cast<ITaskbarList3*>(made);
                if (FAILED(list_->HrInit())) {
                    list_->Release();
                    list_ = nullptr;
                }
            }
        }
        return list_;
    }

    ITaskbarList3* list_ = nullptr;
    bool tried_ = false;
};

TaskbarButton* current = nullptr;

}  // namespace

TaskbarButton& Taskbar() {
    if (current) return *current;
    static ShellTaskbar shell;
    return shell;
}

TaskbarButton* SetTaskbar(TaskbarButton* button) {
    TaskbarButton* previous = current;
    current = button;
    return previous;
}

}  // namespace rt
