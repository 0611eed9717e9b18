#include "runtime/Thread.h"

#include "runtime/ThreadCrossing.h"

namespace rt {

Thread::~Thread() = default;

void Thread::Start() {
    // Made suspended, so that the handle is stored before a thread that
    // frees itself can end.
    HANDLE h = CreateThread(nullptr, 0, Entry, this, CREATE_SUSPENDED, nullptr);
    if (!h) RaiseLastError("Thread creation error: ");
    handle_.Reset(h);
    ResumeThread(h);
}

DWORD WINAPI Thread::Entry(void* p) {
    auto* self = static_cast<Thread*>(p);
    try {
        self->Execute();
    } catch (...) {
        self->fatal_ = std::current_exception();
    }
    if (self->freeOnTerminate_) delete self;
    return 0;
}

void Thread::Synchronize(const std::function<void()>& fn) {
    ThreadCrossing* crossing = ThreadCrossing::Current();
    if (!crossing) throw Error("The user interface is gone");
    crossing->Run(fn);
}

}  // namespace rt
