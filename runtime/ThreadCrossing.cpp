#include "runtime/ThreadCrossing.h"

#include <atomic>
#include <exception>

namespace rt {

namespace {
constexpr UINT WM_SYNCHRONIZE = WM_APP + 0x100;
struct SyncCall {
    const std::function<void()>* fn;
    std::exception_ptr error;
    bool done = false;
};
std::atomic<ThreadCrossing*> current{nullptr};
}  // namespace

ThreadCrossing::ThreadCrossing() {
    window_ = CreateHelperWindow("TApplicationSync", Proc, true);
    current = this;
}

ThreadCrossing::~ThreadCrossing() {
    ThreadCrossing* self = this;
    current.compare_exchange_strong(self, nullptr);
    if (window_) DestroyWindow(window_);
}

ThreadCrossing* ThreadCrossing::Current() { return current; }

LRESULT CALLBACK ThreadCrossing::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYNCHRONIZE) {
        auto* call = reinterpret_cast<SyncCall*>(lp);
        try {
            (*call->fn)();
        } catch (...) {
            call->error = std::current_exception();
        }
        call->done = true;
        return 1;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

void ThreadCrossing::Run(const std::function<void()>& fn) {
    SyncCall call{&fn, nullptr, false};
    if (GetWindowThreadProcessId(window_, nullptr) == GetCurrentThreadId()) {
        Proc(window_, WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&call));
    } else {
        SendMessageA(window_, WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&call));
    }
    if (call.error) std::rethrow_exception(call.error);
    if (!call.done) throw Error("The user interface is gone");
}

}  // namespace rt
